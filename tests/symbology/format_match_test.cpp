#include "symbology/format_match.h"

#include <gtest/gtest.h>

#include "support/fake_front_end.h"

namespace tagmora {
namespace {

struct FormatCase {
    const char* format;
    const char* text;
    bool matches;
};

TEST(FormatMatchTest, TableOfCases) {
    const FormatCase cases[] = {
        {"QSZ0######", "QSZ0123456", true},
        {"QSZ0######", "QSZ0123456.jpg", true},
        {"QSZ0######", "QSZ0123456.JPG", true},
        {"QSZ0######", "QSZ0123456.Jpg", true},
        {"QSZ0######", "QSZ0123456a.jpg", false},
        {"QSZ0######", "qsz0123456", false},
        {"QSZ0######", "QSZ012345", false},
        {"QSZ0######", "QSZ01234A6", false},
        {"QSZ0######", "QSZ0.jpg123456", true},
        {"QSZ0######", "QSZ0123456.jpeg", false},
        {"QSZ0######", "QSZ0123456.CR2", false},
        {"@@@?###", "ABC 123", true},
        {"@@@?###", "ABC-123", true},
        {"@@@?###", "AB1-123", false},
        {"@@@?###", "ABC123", false},  // '?' stands for one character, never none
        {"#", "\xB2", false},          // only ASCII digits are digits
        {"@", "\xC4", false},
        {"", "", true},
        {"", "A", false},
        {"A", "", false},
        // A format ending in '*' and one more character accepts longer texts.
        {"AB*C", "AB*CDEF", true},
        {"AB*C", "ABXCDEF", false},
        {"AB*C", "AB*C", true},
        {"ABC*", "ABC*D", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TextMatchesFormat(c.text, c.format), c.matches) << c.format << " vs " << c.text;
}

TEST(FormatMatchTest, MatchesFormatReadsTheFormatLiveAndLeavesReadValidEqualToItsAnswer) {
    testing::TestCore core;
    core.state.run.ReadValid = false;
    EXPECT_TRUE(MatchesFormat(core.ctx, "QSZ0123456"));
    EXPECT_TRUE(core.state.run.ReadValid);
    EXPECT_FALSE(MatchesFormat(core.ctx, "QSZ012345"));
    EXPECT_FALSE(core.state.run.ReadValid);
    core.settings().BarcodeFormat = "QSZ0#####";
    EXPECT_TRUE(MatchesFormat(core.ctx, "QSZ012345"));
    EXPECT_TRUE(core.state.run.ReadValid);
}

}  // namespace
}  // namespace tagmora
