#include "symbology/code128.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "support/barcode_render.h"
#include "symbology/code128_table.h"

namespace tagmora {
namespace {

using support::RenderModules;
using support::Symbology;

struct Widths {
    std::vector<float> bars, spaces;
};

// Module runs to pixel widths: bar i followed by space i, as the engine lists them.
Widths ToWidths(const std::vector<int>& modules, float moduleWidth = 3.0f) {
    Widths w;
    for (std::size_t i = 0; i < modules.size(); ++i)
        (i % 2 == 0 ? w.bars : w.spaces).push_back(modules[i] * moduleWidth);
    return w;
}
Widths Zint(std::string_view text) { return ToWidths(RenderModules(Symbology::Code128, text)); }

// Start B, the patterns of the values, Stop.
Widths OfValues(std::initializer_list<int> values) {
    std::string digits = "211214";
    for (int v : values) digits += Code128Patterns[static_cast<std::size_t>(v)];
    std::vector<int> modules;
    for (char c : digits + "2331112") modules.push_back(c - '0');
    return ToWidths(modules);
}

// Element e (bar 0, space 1, ...) of symbol s (0 = Start B) set to `width`
// pixels, or to `modules` of 3 pixels.
Widths Set(Widths w, std::size_t s, std::size_t e, float width) {
    (e % 2 == 0 ? w.bars : w.spaces)[3 * s + e / 2] = width;
    return w;
}
Widths With(const Widths& w, std::size_t s, std::size_t e, float modules) { return Set(w, s, e, modules * 3.0f); }
Widths Cut(Widths w, std::size_t bars, std::size_t spaces) {
    w.bars.resize(bars);
    w.spaces.resize(spaces);
    return w;
}

struct Result {
    std::string text;
    bool valid;
};

Result Decode(const Widths& w, std::string_view format) {
    const Code128Read read = DecodeCode128(w.bars, w.spaces, format.size());
    return {read.Text, !read.Failed};
}

TEST(DecodeCode128Symbol, NumericAndCharacterLookups) {
    const std::pair<std::string_view, std::string_view> numeric[] = {
        {"212222", "00"}, {"131222", "05"}, {"113141", "99"}, {"114131", "100"}, {"211412", "103"}};
    for (auto [pattern, text] : numeric) EXPECT_EQ(DecodeCode128Symbol(pattern, true), text);
    EXPECT_EQ(DecodeCode128Symbol("211331", false), "Q");
    EXPECT_EQ(DecodeCode128Symbol("114131", false), "!");  // 100 to 103 only numerically
    EXPECT_EQ(DecodeCode128Symbol("211412", false), "!");
    // Start B, Start C and Stop are not in the table; whole texts only.
    for (std::string_view p : {"211214", "211232", "233111", "2331112", "21222", "2122221", "", "212222 "}) {
        EXPECT_EQ(DecodeCode128Symbol(p, true), "!") << p;
        EXPECT_EQ(DecodeCode128Symbol(p, false), "!") << p;
    }
}

TEST(RenderModules, Code128LayoutIsZintsOwnWhereZintChoosesTheSame) {
    for (std::string_view text : {"QSZ0123456", "QSZ01234567", "AB1234", "AB12345", "Hello"})
        EXPECT_EQ(RenderModules(Symbology::Code128, text), support::ZintOwnModules(Symbology::Code128, text)) << text;
    // zint would start an all-digit text in set C; ours starts in B and switches.
    const std::vector<int> digits = RenderModules(Symbology::Code128, "123456");
    EXPECT_EQ(std::vector<int>(digits.begin(), digits.begin() + 12),
              (std::vector<int>{2, 1, 1, 2, 1, 4, 1, 1, 3, 1, 4, 1}));
}

TEST(DecodeCode128, EverySetBCharacterThroughZint) {
    // Format length 3 reads exactly one symbol after the start.
    for (int code = 32; code < 128; ++code) {
        const char c = static_cast<char>(code);
        std::string expected(1, c);
        if (std::string_view("\"',\\~\x7f").find(c) != std::string_view::npos) expected = "X";
        if (c == ':' || c == ';') expected = std::string("\u00A0") + c;  // UTF-8, as every name
        const Result r = Decode(Zint(std::string(1, c)), "???");
        EXPECT_EQ(r.text, expected) << "code " << code;
        EXPECT_TRUE(r.valid) << "code " << code;
    }
}

TEST(DecodeCode128, TextAndReadValid) {
    const Widths qsz = Zint("QSZ0123456");                   // Start B, Q, S, Z, 0, Code C, 12, 34, 56, check, Stop
    const Widths qw = With(Zint("QwZ0123456"), 2, 0, 4.6f);  // w "421112" with its 4-module bar 4.6 wide
    const Widths fine = ToWidths(RenderModules(Symbology::Code128, "QSZ0123456"), 2.0f + std::ldexp(1.0f, -22));
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    const struct {
        const char* what;
        Widths widths;
        std::string_view format;
        Result expected;
    } cases[] = {
        {"eight symbols fill the format: the check is never read", qsz, "QSZ0######", {"QSZ0123456", true}},
        {"so even a broken one goes unnoticed", With(qsz, 9, 0, 1), "QSZ0######", {"QSZ0123456", true}},
        {"digit pairs keep their leading zero", Zint("AB050607"), "AB######", {"AB050607", true}},
        {"value 100 in set C", OfValues({33, 34, 99, 100, 12, 34, 0}), "AB######", {"AB1001234", true}},
        {"value 101 in set B leaves a mark", OfValues({33, 101, 34}), "?????", {"A!B", true}},
        // Code C, 00, 01, 00, 00: 99 + 2*0 + 3*1 + 4*0 + 5*0 = 102, so the check value is 0.
        {"check value 0", OfValues({99, 0, 1, 0, 0, 0}), "########", {"00010000", true}},
        {"check value 1 where 0 is due", OfValues({99, 0, 1, 0, 0, 1}), "########", {"00010000", false}},
        {"check as the last symbol of the bound", Zint("QSZ01234567"), "QSZ01234567", {"QSZ01234567", true}},
        {"check as the last symbol of the bound", Zint("QSZ09999999"), "QSZ09999999", {"QSZ09999999", true}},
        {"check as the last symbol of the bound", Zint("ABC12345678"), "ABC12345678", {"ABC12345678", true}},
        {"a passed check ends decoding: Stop is not another", Zint("1234567890"), "##########", {"1234567890", true}},
        {"a passed check ends decoding: Stop is not another",
         Zint("AB12345678901"),
         "AB###########",
         {"AB12345678901", true}},
        {"wrong check", OfValues({99, 12, 34, 56, 78, 90, 0}), "##########", {"1234567890", false}},
        {"Code C counts no character: 7 is data",
         OfValues({33, 34, 99, 12, 34, 56, 7}),
         "?????????",
         {"AB12345607", true}},
        {"only n - 2 symbols after the start", Zint("ABCDEFGH"), "@@@@@@@@", {"ABCDEF", true}},
        {"only n - 2 symbols after the start", Zint("QSZ12345"), "QSZ#####", {"QSZ123", true}},
        {"S with ten modules", With(qsz, 2, 5, 2), "QSZ0######", {"Q", false}},
        {"Z as 12 modules, no pattern", With(qsz, 3, 1, 2), "QSZ0######", {"QS", false}},
        {"too few elements: up to the first bar of 12", Cut(qsz, 19, 18), "QSZ0######", {"QSZ0", false}},
        {"spaces trimmed away", Cut(qsz, 34, 20), "QSZ0######", {"QSZ0", false}},
        {"no elements", {}, "QSZ0######", {"", false}},
        {"a format too short to read a symbol needs none", {}, "AB", {"", true}},
        {"a bar of no width: nothing read, the flag left", With(qsz, 1, 4, 0), "QSZ0######", {"", true}},
        {"a space of no width", With(qsz, 1, 3, 0), "QSZ0######", {"", false}},
        {"a width that is not a number", Set(qsz, 1, 3, nan), "QSZ0######", {"", false}},
        {"a width that is not a number", Set(qsz, 1, 2, nan), "QSZ0######", {"", false}},
        {"an infinite width", Set(qsz, 1, 3, inf), "QSZ0######", {"", false}},
        {"an infinite width", Set(qsz, 1, 2, inf), "QSZ0######", {"", false}},
        {"a negative width", Set(qsz, 1, 3, -3), "QSZ0######", {"", false}},
        {"a negative width", Set(qsz, 1, 2, -3), "QSZ0######", {"", false}},
        // Q "211331" with its one-module bar (3 + 2^-22) / (2 + 2^-22) modules
        // wide: under 1.5 (a float quotient rounds it to 1.5), so in the unit's
        // mean, which reads its two-module bar, a hair over 2.5, as 2.
        {"a width just under 1.5 narrowest",
         Set(Set(fine, 1, 0, 5.0f + std::ldexp(1.0f, -20)), 1, 2, 3.0f + std::ldexp(1.0f, -22)),
         "QSZ0######",
         {"QSZ0123456", true}},
        // Q's two-module bar 1.5 narrowest: out of the mean, and 1.5 rounds up to 2.
        {"a width of 1.5 narrowest",
         Set(ToWidths(RenderModules(Symbology::Code128, "QSZ0123456"), 2.0f), 1, 0, 3.0f),
         "QSZ0######",
         {"QSZ0123456", true}},
        // A space of 12 modules in Start B widens the space unit until the
        // one-module spaces of P, 7 and U (all "x1x1x1") count 0, written as 1.
        {"spaces of 0 modules count 1", Set(OfValues({48, 23, 53}), 0, 5, 36.0f), "?????", {"P7U", true}},
        {"a bar too wide: the unit grows", qw, "Q@Z0######", {"QwZ0123456", true}},
        // After one pass (unit 3.15) Q's three-module bar printed 8 pixels still counts 3.
        {"the unit grows by 5 %", Set(qw, 1, 4, 8.0f), "Q@Z0######", {"QwZ0123456", true}},
        {"a bar fifty modules wide", With(qw, 2, 0, 50), "Q@Z0######", {"", false}},
    };
    for (const auto& c : cases) {
        const Result r = Decode(c.widths, c.format);
        EXPECT_EQ(r.text, c.expected.text) << c.what;
        EXPECT_EQ(r.valid, c.expected.valid) << c.what;
    }
}

TEST(DecodeCode128, JitteredTextsWithSixOrMoreTrailingDigitsRoundTrip) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<float> jitter(-0.6f, 0.6f);
    for (int trial = 0; trial < 300; ++trial) {
        std::string text;
        for (int i = 0, n = static_cast<int>(rng() % 6); i < n; ++i) text += static_cast<char>('A' + rng() % 26);
        for (int i = 0, n = 6 + static_cast<int>(rng() % 9); i < n; ++i) text += static_cast<char>('0' + rng() % 10);
        Widths w = ToWidths(RenderModules(Symbology::Code128, text), 3.5f);
        for (float& b : w.bars) b += jitter(rng);
        for (float& s : w.spaces) s += jitter(rng);
        EXPECT_EQ(Decode(w, text).text, text);
    }
}

TEST(DecodeCode128, RandomWidthListsNeverCrashOrHang) {
    std::mt19937 rng(1280);
    const float extremes[] = {0.0f,
                              1e-45f,
                              1e-30f,
                              1.0f,
                              3.0f,
                              1e30f,
                              std::numeric_limits<float>::max(),
                              std::numeric_limits<float>::quiet_NaN(),
                              std::numeric_limits<float>::infinity(),
                              -1.0f};
    auto randomList = [&] {
        std::vector<float> list(rng() % 46);
        for (float& v : list)
            v = rng() % 10 == 0 ? extremes[rng() % 10] : std::uniform_real_distribution<float>(0.5f, 14.0f)(rng);
        return list;
    };
    for (int trial = 0; trial < 3000; ++trial) {
        const Widths w{randomList(), randomList()};
        // Never more than three characters (digits in set C) per bar.
        EXPECT_LE(Decode(w, std::string(rng() % 21, '?')).text.size(), 3 * w.bars.size());
    }
}

}  // namespace
}  // namespace tagmora
