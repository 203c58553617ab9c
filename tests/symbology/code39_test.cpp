#include "symbology/code39.h"

#include <gtest/gtest.h>

#include <random>
#include <tuple>

#include "support/barcode_render.h"
#include "support/fake_front_end.h"
#include "symbology/format_match.h"

namespace tagmora {
namespace {

constexpr std::string_view kAlphabet = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-";

// The symbol as zint draws it, in run-string letters (one module narrow, more
// wide), with `gap` for the letter between characters.
std::string Zint(std::string_view text, char gap = 's') {
    const std::vector<int> modules = testing::RenderModules(testing::Symbology::Code39, text);
    std::string run;
    for (std::size_t i = 0; i < modules.size(); ++i) run += (i % 2 == 0 ? "bB" : "sS")[modules[i] > 1 ? 1 : 0];
    for (std::size_t i = 9; i < run.size(); i += 10) run[i] = gap;
    return run;
}
std::string PatternOf(char c) { return Zint(std::string(1, c)).substr(10, 9); }

using Result = std::tuple<std::string, bool, bool>;  // text, BarcodeSeen, ReadValid

Result Decode(std::string_view run, std::string_view format, bool validOnEntry = true) {
    testing::TestCore core;
    core.settings().BarcodeFormat = std::string(format);
    core.ctx.run.ReadValid = validOnEntry;
    core.ctx.run.BarcodeSeen = !validOnEntry;  // overwritten either way
    std::string text = DecodeCode39(core.ctx, run);
    return {text, core.ctx.run.BarcodeSeen, core.ctx.run.ReadValid};
}

TEST(DecodeCode39Char, ZintsPatternsAndNothingElse) {
    for (char c : kAlphabet) EXPECT_EQ(DecodeCode39Char(PatternOf(c)), c);
    EXPECT_EQ(DecodeCode39Char(Zint("A").substr(0, 9)), '*');
    EXPECT_EQ(DecodeCode39Char(Zint("A").substr(20, 9)), '*');
    // Characters left out of the table on purpose, and malformed patterns.
    for (char c : std::string_view(" .$/+%")) EXPECT_EQ(DecodeCode39Char(PatternOf(c)), '!') << c;
    for (std::string_view p : {"", "bsbSBsBs", "bsbSBsBsbs", "BSBSBSBSB", "bsbsbsbsb"}) EXPECT_EQ(DecodeCode39Char(p), '!') << p;
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
        bool validOnEntry;
        Result expected;
    } cases[] = {
        {Zint(kAlphabet), std::string(kAlphabet.size(), '?'), true, {std::string(kAlphabet), true, true}},
        {Zint("QSZ0123456"), "QSZ0######", true, {"QSZ0123456", true, true}},
        // 49 - 10 = 39 is not above 41: whatever stands at 41 is never read...
        {qsz, "@@@", true, {"QSZ", true, true}},
        {qszA, "@@@", true, {"QSZ", true, true}},
        {qszA + "sb", "@@@", true, {"QSZ", true, true}},  // 51 - 10 is not above 41 either
        // ...with 52 letters it is.
        {qsz + "sbs", "@@@", true, {"QSZ", true, true}},
        {qszA + "sbs", "@@@", true, {"QSZA", true, false}},
        // Gap letters are never examined.
        {Zint("QSZ0123456", 'S'), "QSZ0######", true, {"QSZ0123456", true, true}},
        {oddGaps, "@@#", true, {"AB1", true, true}},
        // The first start pattern counts; anything before it is skipped.
        {Zint("A") + "s" + qsz, "@", true, {"A", true, true}},
        {"BBSSbs" + Zint("QSZ0123456"), "QSZ0######", true, {"QSZ0123456", true, true}},
        {Zint("QSZ0123456"), "QSZ0######", false, {"", true, false}},
        {"", "QSZ0######", true, {"", false, false}},
        {"bsbsbsbsb" + PatternOf('A'), "@", true, {"", false, false}},  // no start: nothing is read
        {"bSbsBsBs", "QSZ0######", true, {"", false, false}},
        {"BSBSBSBSBSBSBSBSBSBSBSB", "QSZ0######", true, {"", false, false}},
        // An undecodable character ends the text; the format alone decides.
        {Zint("QSZ0$23456"), "QSZ0######", true, {"QSZ0", true, false}},
        {Zint("QSZ$12"), "QSZ", true, {"QSZ", true, true}},
        // Nothing (or too little) after the start: a failure, never a read past the string.
        {"bSbsBsBsb", "QSZ0######", true, {"", true, false}},
        {"bSbsBsBsbs", "QSZ0######", true, {"", true, false}},
        {"bSbsBsBsbsbsbSB", "QSZ0######", true, {"", true, false}},
        {"xxbSbsBsBsb", "QSZ0######", true, {"", true, false}},
    };
    for (const auto& c : cases) EXPECT_EQ(Decode(c.run, c.format, c.validOnEntry), c.expected) << c.run;
}

TEST(DecodeCode39, RandomRunStringsFollowTheFlagRules) {
    std::mt19937 rng(39);
    constexpr std::string_view letters = "bBsSbBsSx";
    for (int trial = 0; trial < 20000; ++trial) {
        std::string run(rng() % 81, ' ');
        for (char& c : run) c = letters[rng() % letters.size()];
        if (trial % 3 == 0) run.insert(rng() % (run.size() + 1), kCode39StartStop);
        const std::string format = trial % 2 == 0 ? "@@" : "?";
        const bool validOnEntry = trial % 5 != 0;
        const auto [text, seen, valid] = Decode(run, format, validOnEntry);
        const bool hasStart = run.find(kCode39StartStop) != std::string::npos;
        EXPECT_EQ(seen, hasStart);
        EXPECT_TRUE(text.empty() || (hasStart && validOnEntry));
        EXPECT_EQ(valid, TextMatchesFormat(text, format)) << run;
        EXPECT_EQ(text.find_first_not_of(kAlphabet), std::string::npos);
    }
}

}  // namespace
}  // namespace tagmora
