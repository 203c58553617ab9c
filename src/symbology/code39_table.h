#pragma once
// The Code 39 patterns the decoders know, written as run-string letters:
// positions 1, 3, 5, 7, 9 are bars, 2, 4, 6, 8 spaces, capitals are wide.
// Space, full stop, $, /, + and % are deliberately absent: none of them may
// appear in a catalogue number.
#include <array>
#include <string_view>

namespace tagmora {

struct Code39Entry {
    std::string_view Pattern;
    char Character;
};

inline constexpr std::array<Code39Entry, 38> Code39Patterns{{
    {"bsbSBsBsb", '0'}, {"BsbSbsbsB", '1'}, {"bsBSbsbsB", '2'}, {"BsBSbsbsb", '3'}, {"bsbSBsbsB", '4'},
    {"BsbSBsbsb", '5'}, {"bsBSBsbsb", '6'}, {"bsbSbsBsB", '7'}, {"BsbSbsBsb", '8'}, {"bsBSbsBsb", '9'},
    {"BsbsbSbsB", 'A'}, {"bsBsbSbsB", 'B'}, {"BsBsbSbsb", 'C'}, {"bsbsBSbsB", 'D'}, {"BsbsBSbsb", 'E'},
    {"bsBsBSbsb", 'F'}, {"bsbsbSBsB", 'G'}, {"BsbsbSBsb", 'H'}, {"bsBsbSBsb", 'I'}, {"bsbsBSBsb", 'J'},
    {"BsbsbsbSB", 'K'}, {"bsBsbsbSB", 'L'}, {"BsBsbsbSb", 'M'}, {"bsbsBsbSB", 'N'}, {"BsbsBsbSb", 'O'},
    {"bsBsBsbSb", 'P'}, {"bsbsbsBSB", 'Q'}, {"BsbsbsBSb", 'R'}, {"bsBsbsBSb", 'S'}, {"bsbsBsBSb", 'T'},
    {"BSbsbsbsB", 'U'}, {"bSBsbsbsB", 'V'}, {"BSBsbsbsb", 'W'}, {"bSbsBsbsB", 'X'}, {"BSbsBsbsb", 'Y'},
    {"bSBsBsbsb", 'Z'}, {"bSbsbsBsB", '-'}, {"bSbsBsBsb", '*'},
}};

// The start/stop character comes last so that data characters are matched first.
inline constexpr std::size_t kCode39StartStopIndex = 37;

namespace code39_checks {

constexpr bool IsWellFormed(std::string_view p) {
    if (p.size() != 9) return false;
    int wide = 0;
    for (std::size_t i = 0; i < p.size(); ++i) {
        const bool barPlace = i % 2 == 0;
        const char c = p[i];
        if (barPlace ? (c != 'b' && c != 'B') : (c != 's' && c != 'S')) return false;
        wide += (c == 'B' || c == 'S') ? 1 : 0;
    }
    return wide == 3;
}

constexpr bool AllWellFormed() {
    for (const auto& e : Code39Patterns)
        if (!IsWellFormed(e.Pattern)) return false;
    return true;
}

constexpr bool AllUnique() {
    for (std::size_t i = 0; i < Code39Patterns.size(); ++i)
        for (std::size_t j = i + 1; j < Code39Patterns.size(); ++j)
            if (Code39Patterns[i].Pattern == Code39Patterns[j].Pattern) return false;
    return true;
}

constexpr bool CharactersInOrder() {
    constexpr std::string_view expected = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-*";
    for (std::size_t i = 0; i < Code39Patterns.size(); ++i)
        if (Code39Patterns[i].Character != expected[i]) return false;
    return true;
}

static_assert(Code39Patterns.size() == 38);
static_assert(AllWellFormed(), "every pattern: five bars, four spaces, three of them wide");
static_assert(AllUnique());
static_assert(CharactersInOrder());
static_assert(Code39Patterns[kCode39StartStopIndex].Pattern == "bSbsBsBsb");

}  // namespace code39_checks
}  // namespace tagmora
