#include "symbology/code128.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "support/barcode_render.h"
#include "support/fake_front_end.h"
#include "symbology/code128_table.h"

namespace tagmora {
namespace {

using testing::RenderModules;
using testing::Symbology;
using testing::TestCore;

struct Widths {
    std::vector<float> bars, spaces;
};

// Modules to pixel widths: bar i followed by space i, as the engine lists them.
Widths ToWidths(const std::vector<int>& modules, float moduleWidth = 3.0f) {
    Widths w;
    for (std::size_t i = 0; i < modules.size(); ++i) (i % 2 == 0 ? w.bars : w.spaces).push_back(modules[i] * moduleWidth);
    return w;
}

// A hand-made symbol sequence: Start B, the patterns of the values, Stop.
std::vector<int> ModulesOfValues(std::initializer_list<int> values) {
    std::string digits = "211214";
    for (int v : values) digits += Code128Patterns[static_cast<std::size_t>(v)];
    digits += "2331112";
    std::vector<int> modules;
    for (char c : digits) modules.push_back(c - '0');
    return modules;
}

struct Decoded {
    std::string text;
    bool readValid;
};

Decoded Decode(const Widths& w, std::string_view format, bool readValidOnEntry = true) {
    TestCore core;
    core.settings().BarcodeFormat = std::string(format);
    core.ctx.run.ReadValid = readValidOnEntry;
    std::string text = DecodeCode128(core.ctx, w.bars, w.spaces);
    return {text, core.ctx.run.ReadValid};
}

Decoded DecodeText(std::string_view text, std::string_view format) {
    return Decode(ToWidths(RenderModules(Symbology::Code128, text)), format);
}

// Elements of symbol s (0 = Start B) within a module list.
std::size_t SymbolStart(std::size_t s) { return 6 * s; }

TEST(DecodeCode128Symbol, NumericAndCharacterLookups) {
    EXPECT_EQ(DecodeCode128Symbol("212222", true), "00");
    EXPECT_EQ(DecodeCode128Symbol("131222", true), "05");
    EXPECT_EQ(DecodeCode128Symbol("113141", true), "99");
    EXPECT_EQ(DecodeCode128Symbol("114131", true), "100");
    EXPECT_EQ(DecodeCode128Symbol("211412", true), "103");
    EXPECT_EQ(DecodeCode128Symbol("211331", false), "Q");
    // Values 100 to 103 exist only numerically.
    EXPECT_EQ(DecodeCode128Symbol("114131", false), "!");
    EXPECT_EQ(DecodeCode128Symbol("211412", false), "!");
    // Start B, Start C and Stop are not in the table; whole texts only.
    for (std::string_view p : {"211214", "211232", "233111", "2331112", "21222", "2122221", "", "212222 "}) {
        EXPECT_EQ(DecodeCode128Symbol(p, true), "!") << p;
        EXPECT_EQ(DecodeCode128Symbol(p, false), "!") << p;
    }
}

TEST(DecodeCode128Symbol, RandomPatternsNeverCrash) {
    std::mt19937 rng(128);
    for (int trial = 0; trial < 20000; ++trial) {
        std::string p(std::uniform_int_distribution<std::size_t>(0, 8)(rng), ' ');
        for (char& c : p) c = static_cast<char>('0' + std::uniform_int_distribution<int>(0, 9)(rng));
        const std::string numeric = DecodeCode128Symbol(p, true);
        EXPECT_TRUE(numeric == "!" || (numeric.size() >= 2 && numeric.size() <= 3)) << p;
        EXPECT_LE(DecodeCode128Symbol(p, false).size(), 2u);
    }
}

TEST(RenderModules, Code128LayoutIsZintsOwnWhereZintChoosesTheSame) {
    for (std::string_view text : {"QSZ0123456", "QSZ01234567", "AB1234", "AB12345", "ABC123", "Hello"})
        EXPECT_EQ(RenderModules(Symbology::Code128, text), testing::ZintOwnModules(Symbology::Code128, text)) << text;
    // zint would start an all-digit text in set C; ours starts in B and switches.
    const std::vector<int> digits = RenderModules(Symbology::Code128, "123456");
    EXPECT_EQ(std::vector<int>(digits.begin(), digits.begin() + 12), (std::vector<int>{2, 1, 1, 2, 1, 4, 1, 1, 3, 1, 4, 1}));
}

TEST(DecodeCode128, EverySetBCharacterThroughZint) {
    // Format length 3 reads exactly one symbol after the start.
    for (int code = 32; code < 128; ++code) {
        const char c = static_cast<char>(code);
        std::string expected(1, c);
        if (std::string_view("\"',\\~\x7f").find(c) != std::string_view::npos) expected = "X";
        if (c == ':' || c == ';') expected = std::string("\xA0") + c;
        const Decoded d = DecodeText(std::string(1, c), "???");
        EXPECT_EQ(d.text, expected) << "code " << code;
        EXPECT_TRUE(d.readValid) << "code " << code;
    }
}

TEST(DecodeCode128, CatalogueNumberStopsBeforeItsCheckSymbol) {
    // Start B, Q, S, Z, 0, Code C, 12, 34, 56: eight symbols fill the ten
    // characters of the format; the check symbol is never read...
    std::vector<int> modules = RenderModules(Symbology::Code128, "QSZ0123456");
    ASSERT_EQ(modules.size(), 6u * 10 + 7);
    EXPECT_EQ(Decode(ToWidths(modules), "QSZ0######").text, "QSZ0123456");
    // ...so even a broken one goes unnoticed.
    modules[SymbolStart(9)] = 1;
    const Decoded d = Decode(ToWidths(modules), "QSZ0######");
    EXPECT_EQ(d.text, "QSZ0123456");
    EXPECT_TRUE(d.readValid);
}

TEST(DecodeCode128, TextsWithSixOrMoreTrailingDigitsRoundTrip) {
    std::mt19937 rng(7);
    for (int trial = 0; trial < 300; ++trial) {
        std::string text;
        const int letters = std::uniform_int_distribution<int>(0, 5)(rng);
        const int digits = std::uniform_int_distribution<int>(6, 14)(rng);
        for (int i = 0; i < letters; ++i) text += static_cast<char>(std::uniform_int_distribution<int>('A', 'Z')(rng));
        for (int i = 0; i < digits; ++i) text += static_cast<char>(std::uniform_int_distribution<int>('0', '9')(rng));
        // Uneven module widths as a camera sees them.
        std::vector<int> modules = RenderModules(Symbology::Code128, text);
        Widths w = ToWidths(modules, 3.5f);
        std::uniform_real_distribution<float> jitter(-0.6f, 0.6f);
        for (float& b : w.bars) b += jitter(rng);
        for (float& s : w.spaces) s += jitter(rng);
        // The text itself is a format that it matches. Whether the flag
        // survives depends on the room left after the check symbol (below).
        EXPECT_EQ(Decode(w, text).text, text);
    }
}

TEST(DecodeCode128, ShortSetCSectionsAreCutByTheSymbolBound) {
    // Only n - 2 symbols follow the start: a text with fewer than six digits in
    // set C, or none, cannot be read whole.
    EXPECT_EQ(DecodeText("ABCDEFGH", "@@@@@@@@").text, "ABCDEF");
    EXPECT_EQ(DecodeText("QSZ12345", "QSZ#####").text, "QSZ123");
}

TEST(DecodeCode128, SetCDigitPairsKeepTheirLeadingZero) {
    EXPECT_EQ(DecodeText("AB050607", "AB######").text, "AB050607");
    // A set C symbol of value 100 is appended as its three digits.
    const Decoded d = Decode(ToWidths(ModulesOfValues({33, 34, 99, 100, 12, 34, 0})), "AB######");
    EXPECT_EQ(d.text, "AB1001234");
    EXPECT_TRUE(d.readValid);
}

TEST(DecodeCode128, SetBSymbolsOutsideTheCharacterTableLeaveAMark) {
    // Value 101 in set B: numerically known, so decoding goes on.
    const Decoded d = Decode(ToWidths(ModulesOfValues({33, 101, 34})), "?????");
    EXPECT_EQ(d.text, "A!B");
    EXPECT_TRUE(d.readValid);
}

TEST(DecodeCode128, CheckSymbolOfValueZero) {
    // Code C, 00, 01, 00, 00: the weighted sum 99 + 2*0 + 3*1 + 4*0 + 5*0 = 102
    // (mod 103), so the expected check value is 0. Eight digits fill the format
    // after five symbols; the sixth is the check.
    std::vector<int> modules = RenderModules(Symbology::Code128, "00010000");
    ASSERT_EQ(std::vector<int>(modules.begin() + SymbolStart(6), modules.begin() + SymbolStart(7)),
              (std::vector<int>{2, 1, 2, 2, 2, 2}));
    Decoded d = Decode(ToWidths(modules), "########");
    EXPECT_EQ(d.text, "00010000");
    EXPECT_TRUE(d.readValid);

    // The check symbol of value 1 instead: rejected, text kept.
    const std::vector<int> wrong = ModulesOfValues({99, 0, 1, 0, 0, 1});
    d = Decode(ToWidths(wrong), "########");
    EXPECT_EQ(d.text, "00010000");
    EXPECT_FALSE(d.readValid);
}

TEST(DecodeCode128, CheckSymbolReadAsTheLastOfTheBound) {
    // Eleven characters in eight data symbols: the ninth, last of n - 2, is the check.
    for (std::string_view text : {"QSZ01234567", "QSZ09999999", "ABC12345678"}) {
        const Decoded d = DecodeText(text, text);
        EXPECT_EQ(d.text, text);
        EXPECT_TRUE(d.readValid) << text;
    }
}

TEST(DecodeCode128, DecodingEndsAtAPassedCheckSymbol) {
    // Ten digits in six data symbols leave room for two more: the check is
    // read and passes, and the Stop symbol after it is not taken for another.
    for (std::string_view text : {"1234567890", "AB12345678901"}) {
        const Decoded d = DecodeText(text, text);
        EXPECT_EQ(d.text, text);
        EXPECT_TRUE(d.readValid) << text;
    }
}

TEST(DecodeCode128, AWrongCheckSymbolClearsReadValid) {
    // 1234567890: Code C, five digit pairs, then the check symbol.
    std::vector<int> modules = ModulesOfValues({99, 12, 34, 56, 78, 90, 0});
    const Decoded d = Decode(ToWidths(modules), "##########");
    EXPECT_EQ(d.text, "1234567890");
    EXPECT_FALSE(d.readValid);
}

TEST(DecodeCode128, SymbolOfTenModulesEndsDecoding) {
    std::vector<int> modules = RenderModules(Symbology::Code128, "QSZ0123456");
    modules[SymbolStart(2) + 5] = 2;  // S "213113" becomes "213112"
    const Decoded d = Decode(ToWidths(modules), "QSZ0######");
    EXPECT_EQ(d.text, "Q");
    EXPECT_FALSE(d.readValid);
}

TEST(DecodeCode128, UnknownDataPatternEndsDecoding) {
    std::vector<int> modules = RenderModules(Symbology::Code128, "QSZ0123456");
    modules[SymbolStart(3) + 1] = 2;  // Z "312311" becomes "322311": 12 modules
    const Decoded d = Decode(ToWidths(modules), "QSZ0######");
    EXPECT_EQ(d.text, "QS");
    EXPECT_FALSE(d.readValid);
}

TEST(DecodeCode128, OneTooWideBarWidensTheUnit) {
    // w "421112": its 4-module bar printed 4.6 modules wide rounds to 5; the
    // unit grows 5 % a pass until it is 4 again, the others keep their counts.
    std::vector<int> modules = RenderModules(Symbology::Code128, "QwZ0123456");
    Widths w = ToWidths(modules);
    ASSERT_EQ(modules[SymbolStart(2)], 4);
    w.bars[SymbolStart(2) / 2] = 4.6f * 3.0f;
    Decoded d = Decode(w, "Q@Z0######");
    EXPECT_EQ(d.text, "QwZ0123456");
    EXPECT_TRUE(d.readValid);

    // A bar fifty modules wide: the unit grows until it fits, the narrow
    // elements read as one module each and the read fails.
    w.bars[SymbolStart(2) / 2] = 150.0f;
    d = Decode(w, "Q@Z0######");
    EXPECT_FALSE(d.readValid);
}

TEST(DecodeCode128, AWidthJustUnderOneAndAHalfNarrowestCountsInTheUnit) {
    // Q "211331" printed with its one-module bar (3 + 2^-22) / (2 + 2^-22)
    // modules wide: just under 1.5 (a float quotient rounds it to 1.5), so it
    // joins the unit's mean, which then reads its two-module bar, printed a
    // hair over 2.5 modules, as 2.
    const float module = 2.0f + std::ldexp(1.0f, -22);
    const std::vector<int> modules = RenderModules(Symbology::Code128, "QSZ0123456");
    Widths w = ToWidths(modules, module);
    ASSERT_EQ(modules[SymbolStart(1)], 2);
    ASSERT_EQ(modules[SymbolStart(1) + 2], 1);
    w.bars[SymbolStart(1) / 2] = 5.0f + std::ldexp(1.0f, -20);
    w.bars[SymbolStart(1) / 2 + 1] = 3.0f + std::ldexp(1.0f, -22);
    const Decoded d = Decode(w, "QSZ0######");
    EXPECT_EQ(d.text, "QSZ0123456");
    EXPECT_TRUE(d.readValid);
}

TEST(DecodeCode128, TooFewElementsEndsWithReadValidCleared) {
    const std::vector<int> modules = RenderModules(Symbology::Code128, "QSZ0123456");
    // Start B, Q, S, Z, 0, Code C and the first element of 12.
    const std::vector<int> cut(modules.begin(), modules.begin() + SymbolStart(6) + 1);
    Decoded d = Decode(ToWidths(cut), "QSZ0######");
    EXPECT_EQ(d.text, "QSZ0");
    EXPECT_FALSE(d.readValid);

    // Spaces trimmed away by the engine while the bars are all there.
    Widths w = ToWidths(modules);
    w.spaces.resize(20);
    d = Decode(w, "QSZ0######");
    EXPECT_EQ(d.text, "QSZ0");
    EXPECT_FALSE(d.readValid);

    d = Decode({}, "QSZ0######");
    EXPECT_EQ(d.text, "");
    EXPECT_FALSE(d.readValid);
    // A format too short to read any symbol needs no element at all.
    d = Decode({}, "AB");
    EXPECT_EQ(d.text, "");
    EXPECT_TRUE(d.readValid);
}

TEST(DecodeCode128, WidthsThatCannotBeMeasured) {
    Widths w = ToWidths(RenderModules(Symbology::Code128, "QSZ0123456"));
    // The narrowest bar of no width: nothing is read and the flag is left alone.
    Widths zeroBar = w;
    zeroBar.bars[5] = 0.0f;
    Decoded d = Decode(zeroBar, "QSZ0######");
    EXPECT_EQ(d.text, "");
    EXPECT_TRUE(d.readValid);
    d = Decode(zeroBar, "QSZ0######", false);
    EXPECT_FALSE(d.readValid);

    // A space of no width, a width that is not a number, infinite or negative:
    // no read.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    for (float bad : {0.0f, nan, inf, -3.0f}) {
        Widths spaces = w;
        spaces.spaces[4] = bad;
        d = Decode(spaces, "QSZ0######");
        EXPECT_EQ(d.text, "");
        EXPECT_FALSE(d.readValid) << bad;
        if (bad == 0.0f) continue;
        Widths bars = w;
        bars.bars[4] = bad;
        d = Decode(bars, "QSZ0######");
        EXPECT_EQ(d.text, "");
        EXPECT_FALSE(d.readValid) << bad;
    }
}

TEST(DecodeCode128, RandomWidthListsNeverCrashOrHang) {
    std::mt19937 rng(1280);
    const std::vector<float> extremes = {0.0f, 1e-45f, 1e-30f, 1.0f, 3.0f, 1e30f, std::numeric_limits<float>::max(),
                                         std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(), -1.0f};
    auto randomList = [&](int size) {
        std::vector<float> list(static_cast<std::size_t>(size));
        for (float& v : list) {
            if (std::uniform_int_distribution<int>(0, 9)(rng) == 0)
                v = extremes[std::uniform_int_distribution<std::size_t>(0, extremes.size() - 1)(rng)];
            else
                v = std::uniform_real_distribution<float>(0.5f, 14.0f)(rng);
        }
        return list;
    };
    for (int trial = 0; trial < 3000; ++trial) {
        Widths w{randomList(std::uniform_int_distribution<int>(0, 45)(rng)), randomList(std::uniform_int_distribution<int>(0, 45)(rng))};
        const std::string format(std::uniform_int_distribution<std::size_t>(0, 20)(rng), '?');
        const Decoded d = Decode(w, format);
        // Never more than two characters (three digits in set C) per symbol read.
        EXPECT_LE(d.text.size(), 3 * w.bars.size());
    }
}

}  // namespace
}  // namespace tagmora
