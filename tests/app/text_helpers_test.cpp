#include "app/text_helpers.h"

#include <gtest/gtest.h>

namespace tagmora {
namespace {

TEST(ReadLeadingPieceTest, TakesThePieceAndTheSeparator) {
    std::string source = "  key : value\r\nrest";
    EXPECT_EQ(ReadLeadingPiece(source, ":", true), "key");
    EXPECT_EQ(source, " value\r\nrest");
    EXPECT_EQ(ReadLeadingPiece(source, kCrLf, true), "value");
    EXPECT_EQ(source, "rest");
}

TEST(ReadLeadingPieceTest, CrLfSeparatorAlsoAcceptsALoneLineFeed) {
    std::string source = "one\ntwo\r\nthree";
    EXPECT_EQ(ReadLeadingPiece(source, kCrLf, false), "one\ntwo");  // CR LF found first
    source = "one\ntwo";
    EXPECT_EQ(ReadLeadingPiece(source, kCrLf, false), "one");
    EXPECT_EQ(source, "two");
}

TEST(ReadLeadingPieceTest, WithoutSeparatorTheWholeTextIsReturnedUntrimmed) {
    std::string source = " last \t";
    EXPECT_EQ(ReadLeadingPiece(source, kCrLf, true), " last \t");
    EXPECT_TRUE(source.empty());
}

TEST(ReadLeadingPieceTest, TrimRemovesControlBytesButNotHighBytes) {
    std::string source = "\x01\xA0x\x1F|";
    EXPECT_EQ(ReadLeadingPiece(source, "|", true), "\xA0x");
}

TEST(TextReplaceTest, ReplacesEveryOccurrenceIgnoringCaseWithoutOverlap) {
    EXPECT_EQ(ReplaceAllNoCase("IMG_1.JPG.jpg", ".jpg", ""), "IMG_1");
    EXPECT_EQ(ReplaceAllNoCase("aaa", "aa", "b"), "ba");
    EXPECT_EQ(ReplaceAllNoCase("img_1.cr2", "IMG_1", "QSZ"), "QSZ.cr2");
    EXPECT_EQ(ReplaceAll("IMG_1.jpg", "img", "x"), "IMG_1.jpg");
    EXPECT_EQ(FindNoCase("abcABC", "CA"), 2u);
    EXPECT_FALSE(ContainsNoCase("short", "longer text"));
}

TEST(DecimalOrZeroTest, ReadsDecimalIntegersOnly) {
    EXPECT_EQ(DecimalOrZero("12"), 12);
    EXPECT_EQ(DecimalOrZero(" 1"), 1);
    EXPECT_EQ(DecimalOrZero("-5"), -5);
    EXPECT_EQ(DecimalOrZero("yes"), 0);
    EXPECT_EQ(DecimalOrZero("1x"), 0);
    EXPECT_EQ(DecimalOrZero(""), 0);
    EXPECT_EQ(DecimalOrZero("99999999999"), 0);
}

}  // namespace
}  // namespace tagmora
