#include "symbology/code39.h"

#include <gtest/gtest.h>

#include <random>
#include <tuple>

#include "support/barcode_render.h"
#include "symbology/format_match.h"

namespace tagmora {
namespace {

constexpr std::string_view kAlphabet = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-";

// The symbol as zint draws it, in run-string letters (one module narrow, more
// wide), with `gap` for the letter between characters.
std::string Zint(std::string_view text, char gap = 's') {
    const std::vector<int> modules = support::RenderModules(support::Symbology::Code39, text);
    std::string run;
    for (std::size_t i = 0; i < modules.size(); ++i) run += (i % 2 == 0 ? "bB" : "sS")[modules[i] > 1 ? 1 : 0];
    for (std::size_t i = 9; i < run.size(); i += 10) run[i] = gap;
    return run;
}
std::string PatternOf(char c) { return Zint(std::string(1, c)).substr(10, 9); }

using Result = std::tuple<std::string, bool, bool>;  // text, BarcodeSeen, ReadValid

Result Decode(std::string_view run, std::string_view format) {
    const Code39Read read = DecodeCode39(run, format);
    return {read.Text, read.StartSeen, read.Accepted};
}

TEST(DecodeCode39Char, ZintsPatternsAndNothingElse) {
    for (char c : kAlphabet) EXPECT_EQ(DecodeCode39Char(PatternOf(c)), c);
    EXPECT_EQ(DecodeCode39Char(Zint("A").substr(0, 9)), '*');
    EXPECT_EQ(DecodeCode39Char(Zint("A").substr(20, 9)), '*');
    // Characters left out of the table on purpose, and malformed patterns.
    for (char c : std::string_view(" .$/+%")) EXPECT_EQ(DecodeCode39Char(PatternOf(c)), '!') << c;
    for (std::string_view p : {"", "bsbSBsBs", "bsbSBsBsbs", "BSBSBSBSB", "bsbsbsbsb"})
        EXPECT_EQ(DecodeCode39Char(p), '!') << p;
}

TEST(DecodeCode39, TextAndFlags) {
    const std::string qsz = Zint("QSZ");  // 49 letters: Q at 11, S at 21, Z at 31, stop at 41
    std::string qszA = qsz;
    qszA.replace(40, 9, PatternOf('A'));
    std::string oddGaps = Zint("AB1");
    oddGaps[9] = 'x';
    oddGaps[19] = 'b';
    const struct {
        std::string run;
        std::string format;
        Result expected;
    } cases[] = {
        {Zint(kAlphabet), std::string(kAlphabet.size(), '?'), {std::string(kAlphabet), true, true}},
        {Zint("QSZ0123456"), "QSZ0######", {"QSZ0123456", true, true}},
        // 49 - 10 = 39 is not above 41: whatever stands at 41 is never read...
        {qsz, "@@@", {"QSZ", true, true}},
        {qszA, "@@@", {"QSZ", true, true}},
        {qszA + "sb", "@@@", {"QSZ", true, true}},  // 51 - 10 is not above 41 either
        // ...with 52 letters it is.
        {qsz + "sbs", "@@@", {"QSZ", true, true}},
        {qszA + "sbs", "@@@", {"QSZA", true, false}},
        // Gap letters are never examined.
        {Zint("QSZ0123456", 'S'), "QSZ0######", {"QSZ0123456", true, true}},
        {oddGaps, "@@#", {"AB1", true, true}},
        // The first start pattern counts; anything before it is skipped.
        {Zint("A") + "s" + qsz, "@", {"A", true, true}},
        {"BBSSbs" + Zint("QSZ0123456"), "QSZ0######", {"QSZ0123456", true, true}},
        {"", "QSZ0######", {"", false, false}},
        {"bsbsbsbsb" + PatternOf('A'), "@", {"", false, false}},  // no start: nothing is read
        {"bSbsBsBs", "QSZ0######", {"", false, false}},
        {"BSBSBSBSBSBSBSBSBSBSBSB", "QSZ0######", {"", false, false}},
        // An undecodable character ends the text; the format alone decides.
        {Zint("QSZ0$23456"), "QSZ0######", {"QSZ0", true, false}},
        {Zint("QSZ$12"), "QSZ", {"QSZ", true, true}},
        // Nothing (or too little) after the start: a failure, never a read past the string.
        {"bSbsBsBsb", "QSZ0######", {"", true, false}},
        {"bSbsBsBsbs", "QSZ0######", {"", true, false}},
        {"bSbsBsBsbsbsbSB", "QSZ0######", {"", true, false}},
        {"xxbSbsBsBsb", "QSZ0######", {"", true, false}},
    };
    for (const auto& c : cases) EXPECT_EQ(Decode(c.run, c.format), c.expected) << c.run;

    // Whole: read up to the stop character, read or standing just past the
    // last character; a label of another format is told from a misread.
    EXPECT_TRUE(DecodeCode39(qsz, "@@@").Whole);
    EXPECT_TRUE(DecodeCode39(Zint("ABC0123456"), "QSZ0######").Unmatched());
    EXPECT_FALSE(DecodeCode39(qszA, "@@@").Whole);
    EXPECT_FALSE(DecodeCode39(Zint("QSZ0$23456"), "QSZ0######").Whole);
}

TEST(DecodeCode39, RandomRunStringsFollowTheFlagRules) {
    std::mt19937 rng(39);
    constexpr std::string_view letters = "bBsSbBsSx";
    for (int trial = 0; trial < 20000; ++trial) {
        std::string run(rng() % 81, ' ');
        for (char& c : run) c = letters[rng() % letters.size()];
        if (trial % 3 == 0) run.insert(rng() % (run.size() + 1), kCode39StartStop);
        const std::string format = trial % 2 == 0 ? "@@" : "?";
        const auto [text, seen, valid] = Decode(run, format);
        const bool hasStart = run.find(kCode39StartStop) != std::string::npos;
        EXPECT_EQ(seen, hasStart);
        EXPECT_TRUE(text.empty() || hasStart);
        EXPECT_EQ(valid, MatchesFormat(text, format)) << run;
        EXPECT_EQ(text.find_first_not_of(kAlphabet), std::string::npos);
    }
}

}  // namespace
}  // namespace tagmora
