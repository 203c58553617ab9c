#include "symbology/format_match.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace tagmora {
namespace {

TEST(FormatMatchTest, TextMatchesFormat) {
    const struct {
        const char* format;
        std::vector<const char*> matching, rejected;
    } cases[] = {
        {"QSZ0######",
         {"QSZ0123456", "QSZ0123456.jpg", "QSZ0123456.JPG", "QSZ0123456.Jpg", "QSZ0.jpg123456"},
         {"QSZ0123456a.jpg", "qsz0123456", "QSZ012345", "QSZ01234A6", "QSZ0123456.jpeg", "QSZ0123456.CR2"}},
        {"@@@?###", {"ABC 123", "ABC-123"}, {"AB1-123", "ABC123"}},  // '?' is one character, never none
        {"#", {"7"}, {"\xB2"}},                                      // ASCII digits and letters only
        {"@", {"z"}, {"\xC4"}},
        // Extended characters are UTF-8: one character of two bytes, never two.
        {"QSZ0??????", {"QSZ0\u00B123456"}, {"QSZ0\u00B12345"}},
        {"??", {"ab", "\u00E91"}, {"\u00E9"}},
        {"QSZ\u00F3#", {"QSZ\u00F37"}, {"QSZo7", "QSZ\u00F3"}},
        {"", {""}, {"A"}},
        {"A", {"A"}, {""}},
        // A next-to-last '*' (a literal itself) lets longer texts whose start fits pass.
        {"AB*C", {"AB*CDEF", "AB*C"}, {"ABXCDEF"}},
        {"ABC*", {"ABC*"}, {"ABC*D"}},
    };
    for (const auto& c : cases) {
        for (const char* text : c.matching) EXPECT_TRUE(MatchesFormat(text, c.format)) << c.format << " " << text;
        for (const char* text : c.rejected) EXPECT_FALSE(MatchesFormat(text, c.format)) << c.format << " " << text;
    }
}

}  // namespace
}  // namespace tagmora
