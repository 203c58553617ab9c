#pragma once
// Code 128 symbol patterns of values 0 to 103 (ISO/IEC 15417) as module widths
// of bar, space, bar, space, bar, space, and the code set B texts of values 0
// to 99. Start B, Start C and Stop are never looked up and are left out.
#include <array>
#include <string_view>

namespace tagmora {

inline constexpr std::array<std::string_view, 104> Code128Patterns{
    "212222", "222122", "222221", "121223", "121322", "131222", "122213", "122312", "132212", "221213",  //  0
    "221312", "231212", "112232", "122132", "122231", "113222", "123122", "123221", "223211", "221132",  // 10
    "221231", "213212", "223112", "312131", "311222", "321122", "321221", "312212", "322112", "322211",  // 20
    "212123", "212321", "232121", "111323", "131123", "131321", "112313", "132113", "132311", "211313",  // 30
    "231113", "231311", "112133", "112331", "132131", "113123", "113321", "133121", "313121", "211331",  // 40
    "231131", "213113", "213311", "213131", "311123", "311321", "331121", "312113", "312311", "332111",  // 50
    "314111", "221411", "431111", "111224", "111422", "121124", "121421", "141122", "141221", "112214",  // 60
    "112412", "122114", "122411", "142112", "142211", "241211", "221114", "413111", "241112", "134111",  // 70
    "111242", "121142", "121241", "114212", "124112", "124211", "411212", "421112", "421211", "212141",  // 80
    "214121", "412121", "111143", "111341", "131141", "114113", "114311", "411113", "411311", "113141",  // 90
    "114131", "311141", "411131", "211412",                                                              // 100
};

inline constexpr int kCode128CodeC = 99;

namespace code128_detail {

// Set B characters of values 0 to 95 (codes 32 to 127), one after the other.
inline constexpr std::string_view kSetBCharacters =
    " !\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_"
    "`abcdefghijklmnopqrstuvwxyz{|}~\x7f";

constexpr std::array<std::string_view, 100> MakeSetB() {
    std::array<std::string_view, 100> texts{};
    for (std::size_t v = 0; v < kSetBCharacters.size(); ++v) texts[v] = kSetBCharacters.substr(v, 1);
    // Characters a file name must not carry (double quote, apostrophe, comma,
    // backslash), tilde, DEL and the set B control symbols all read as "X".
    for (std::size_t v : {2, 7, 12, 60, 94, 95, 96, 97, 98, 99}) texts[v] = "X";
    // Colon and semicolon keep a non-breaking space (UTF-8) in front of them.
    texts[26] = "\xC2\xA0:";
    texts[27] = "\xC2\xA0;";
    return texts;
}

}  // namespace code128_detail

inline constexpr std::array<std::string_view, 100> Code128SetB = code128_detail::MakeSetB();

namespace code128_checks {

constexpr bool IsWellFormed(std::string_view p) {
    if (p.size() != 6) return false;
    int modules = 0, barModules = 0;
    for (std::size_t i = 0; i < p.size(); ++i) {
        if (p[i] < '1' || p[i] > '4') return false;
        modules += p[i] - '0';
        if (i % 2 == 0) barModules += p[i] - '0';
    }
    return modules == 11 && barModules % 2 == 0;
}

constexpr bool AllWellFormed() {
    for (auto p : Code128Patterns)
        if (!IsWellFormed(p)) return false;
    return true;
}

constexpr bool AllUnique() {
    for (std::size_t i = 0; i < Code128Patterns.size(); ++i)
        for (std::size_t j = i + 1; j < Code128Patterns.size(); ++j)
            if (Code128Patterns[i] == Code128Patterns[j]) return false;
    return true;
}

static_assert(Code128Patterns.size() == 104);
static_assert(AllWellFormed(), "six widths of 1 to 4 modules, 11 in all, bars even");
static_assert(AllUnique());
static_assert(Code128Patterns[0] == "212222" && Code128Patterns[kCode128CodeC] == "113141" &&
              Code128Patterns[103] == "211412");
static_assert(code128_detail::kSetBCharacters.size() == 96);
static_assert(Code128SetB[0] == " " && Code128SetB[33] == "A" && Code128SetB[16] == "0" && Code128SetB[93] == "}" &&
              Code128SetB[61] == "]");
static_assert(Code128SetB[2] == "X" && Code128SetB[60] == "X" && Code128SetB[95] == "X");
static_assert(Code128SetB[26] == "\u00A0:" && Code128SetB[27] == "\u00A0;");

}  // namespace code128_checks
}  // namespace tagmora
