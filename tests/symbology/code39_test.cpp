#include "symbology/code39.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "support/barcode_render.h"
#include "support/fake_front_end.h"
#include "symbology/code39_table.h"
#include "symbology/format_match.h"

namespace tagmora {
namespace {

using testing::RenderModules;
using testing::Symbology;
using testing::TestCore;

// Patterns as an independent reference would write them, for characters the
// table leaves out on purpose.
constexpr std::string_view kDollar = "bSbSbSbsb";
constexpr std::string_view kSlash = "bSbSbsbSb";
constexpr std::string_view kPlus = "bSbsbSbSb";
constexpr std::string_view kPercent = "bsbSbSbSb";
constexpr std::string_view kSpace = "bSBsbsBsb";
constexpr std::string_view kFullStop = "BSbsbsBsb";

std::string PatternOf(char c) {
    for (const auto& e : Code39Patterns)
        if (e.Character == c) return std::string(e.Pattern);
    ADD_FAILURE() << "no pattern for " << c;
    return {};
}

// Start, the characters' patterns and stop, each followed by the gap letter.
std::string RunString(std::string_view text, char gap = 's') {
    std::string run = std::string(kCode39StartStop) + gap;
    for (char c : text) run += PatternOf(c) + gap;
    return run + std::string(kCode39StartStop);
}

// zint's module widths as run-string letters: width 1 narrow, more wide.
std::string RunStringFromZint(std::string_view text) {
    const std::vector<int> modules = RenderModules(Symbology::Code39, text);
    std::string run;
    for (std::size_t i = 0; i < modules.size(); ++i) {
        const bool wide = modules[i] > 1;
        run += i % 2 == 0 ? (wide ? 'B' : 'b') : (wide ? 'S' : 's');
    }
    return run;
}

struct Decoded {
    std::string text;
    bool barcodeSeen;
    bool readValid;
};

Decoded Decode(std::string_view runString, std::string_view format, bool readValidOnEntry = true) {
    TestCore core;
    core.settings().BarcodeFormat = std::string(format);
    core.ctx.run.ReadValid = readValidOnEntry;
    core.ctx.run.BarcodeSeen = !readValidOnEntry;  // must be overwritten either way
    std::string text = DecodeCode39(core.ctx, runString);
    return {text, core.ctx.run.BarcodeSeen, core.ctx.run.ReadValid};
}

TEST(DecodeCode39Char, EveryZintCharacterDecodesToItself) {
    constexpr std::string_view characters = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-";
    for (char c : characters) {
        const std::string run = RunStringFromZint(std::string(1, c));
        ASSERT_EQ(run.size(), 29u);
        EXPECT_EQ(DecodeCode39Char(run.substr(10, 9)), c) << run;
        EXPECT_EQ(DecodeCode39Char(run.substr(0, 9)), '*');
        EXPECT_EQ(DecodeCode39Char(run.substr(20, 9)), '*');
    }
}

TEST(DecodeCode39Char, LeftOutCharactersAndMalformedPatternsFail) {
    for (std::string_view p : {kDollar, kSlash, kPlus, kPercent, kSpace, kFullStop}) EXPECT_EQ(DecodeCode39Char(p), '!') << p;
    // zint's own rendering of the left-out characters agrees.
    for (char c : std::string_view(" .$/+%")) EXPECT_EQ(DecodeCode39Char(RunStringFromZint(std::string(1, c)).substr(10, 9)), '!') << c;
    EXPECT_EQ(DecodeCode39Char(""), '!');
    EXPECT_EQ(DecodeCode39Char("bsbSBsBs"), '!');     // 0 without its last bar
    EXPECT_EQ(DecodeCode39Char("bsbSBsBsbs"), '!');   // 0 with a gap letter
    EXPECT_EQ(DecodeCode39Char("BSBSBSBSB"), '!');
    EXPECT_EQ(DecodeCode39Char("bsbsbsbsb"), '!');
}

TEST(DecodeCode39, ZintAlphabetRoundTrip) {
    constexpr std::string_view text = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-";
    const Decoded d = Decode(RunStringFromZint(text), std::string(text.size(), '?'));
    EXPECT_EQ(d.text, text);
    EXPECT_TRUE(d.barcodeSeen);
    EXPECT_TRUE(d.readValid);

    const Decoded catalogue = Decode(RunStringFromZint("QSZ0123456"), "QSZ0######");
    EXPECT_EQ(catalogue.text, "QSZ0123456");
    EXPECT_TRUE(catalogue.readValid);
}

TEST(DecodeCode39, LengthRuleDecidesWhetherTheLastPatternIsRead) {
    // 49 letters: Q at 11, S at 21, Z at 31; 49 - 10 = 39 is not above 41, so
    // whatever stands at 41 is never read. Put an A there to see it.
    const std::string run49 = RunString("QSZ");
    ASSERT_EQ(run49.size(), 49u);
    std::string withA = run49;
    withA.replace(40, 9, PatternOf('A'));
    for (const std::string& run : {run49, withA}) {
        const Decoded d = Decode(run, "@@@");
        EXPECT_EQ(d.text, "QSZ");
        EXPECT_TRUE(d.barcodeSeen);
        EXPECT_TRUE(d.readValid);
    }
    // 52 letters: 42 is above 41, so position 41 is read.
    const Decoded stop = Decode(run49 + "sbs", "@@@");
    EXPECT_EQ(stop.text, "QSZ");
    EXPECT_TRUE(stop.readValid);
    const Decoded fourth = Decode(withA + "sbs", "@@@");
    EXPECT_EQ(fourth.text, "QSZA");
    EXPECT_FALSE(fourth.readValid);
}

TEST(DecodeCode39, GapLettersAreNeverExamined) {
    EXPECT_EQ(Decode(RunString("QSZ0123456", 'S'), "QSZ0######").text, "QSZ0123456");
    std::string odd = RunString("AB1");
    odd[9] = 'x';
    odd[19] = 'b';
    EXPECT_EQ(Decode(odd, "@@#").text, "AB1");
}

TEST(DecodeCode39, FirstStartPatternIsUsed) {
    const std::string run = RunString("A") + "s" + RunString("QSZ");
    const Decoded d = Decode(run, "@");
    EXPECT_EQ(d.text, "A");  // reading from the first start stops at its stop
    EXPECT_TRUE(d.readValid);
    // Anything before the first start is skipped.
    EXPECT_EQ(Decode("BBSSbs" + RunString("QSZ0123456"), "QSZ0######").text, "QSZ0123456");
}

TEST(DecodeCode39, ReadValidClearedOnEntryReadsNothing) {
    const Decoded d = Decode(RunString("QSZ0123456"), "QSZ0######", false);
    EXPECT_EQ(d.text, "");
    EXPECT_TRUE(d.barcodeSeen);
    EXPECT_FALSE(d.readValid);
}

TEST(DecodeCode39, NoStartPattern) {
    for (std::string_view run : {"", "bsbSBsBsb", "bSbsBsBs", "BSBSBSBSBSBSBSBSBSBSBSB"}) {
        const Decoded d = Decode(run, "QSZ0######");
        EXPECT_EQ(d.text, "");
        EXPECT_FALSE(d.barcodeSeen);
        EXPECT_FALSE(d.readValid);
    }
}

TEST(DecodeCode39, UndecodableCharacterEndsTheText) {
    // zint's $ is outside our table: the text ends before it.
    const Decoded wrongShape = Decode(RunStringFromZint("QSZ0$23456"), "QSZ0######");
    EXPECT_EQ(wrongShape.text, "QSZ0");
    EXPECT_FALSE(wrongShape.readValid);
    // The format alone decides: a text of its shape is accepted even though an
    // undecodable character followed and no stop was read.
    const Decoded accepted = Decode(RunStringFromZint("QSZ$12"), "QSZ");
    EXPECT_EQ(accepted.text, "QSZ");
    EXPECT_TRUE(accepted.readValid);
    EXPECT_TRUE(accepted.barcodeSeen);
}

TEST(DecodeCode39, RunStringEndingInsideOrRightAfterTheStart) {
    // The first character is always attempted; there is nothing (or too
    // little) to read, which is a failure, never a read past the string.
    for (std::string_view run : {"bSbsBsBsb", "bSbsBsBsbs", "bSbsBsBsbsbsbSB", "xxbSbsBsBsb"}) {
        const Decoded d = Decode(run, "QSZ0######");
        EXPECT_EQ(d.text, "");
        EXPECT_TRUE(d.barcodeSeen);
        EXPECT_FALSE(d.readValid);
    }
}

TEST(DecodeCode39, RandomRunStringsNeverCrashAndFollowTheFlagRules) {
    std::mt19937 rng(39);
    constexpr std::string_view letters = "bBsSbBsSx";
    for (int trial = 0; trial < 20000; ++trial) {
        std::string run;
        const int length = std::uniform_int_distribution<int>(0, 80)(rng);
        for (int i = 0; i < length; ++i) run += letters[std::uniform_int_distribution<std::size_t>(0, letters.size() - 1)(rng)];
        if (trial % 3 == 0) {  // make a start pattern likely
            const auto at = std::uniform_int_distribution<std::size_t>(0, run.size())(rng);
            run.insert(at, kCode39StartStop);
        }
        const std::string format = trial % 2 == 0 ? "@@" : "?";
        const bool entry = trial % 5 != 0;
        const Decoded d = Decode(run, format, entry);
        const bool hasStart = run.find(kCode39StartStop) != std::string::npos;
        EXPECT_EQ(d.barcodeSeen, hasStart);
        if (!hasStart || !entry) {
            EXPECT_EQ(d.text, "");
        }
        EXPECT_EQ(d.readValid, TextMatchesFormat(d.text, format)) << run;
        EXPECT_EQ(d.text.find_first_not_of("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-"), std::string::npos);
    }
}

}  // namespace
}  // namespace tagmora
