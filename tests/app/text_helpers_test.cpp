#include "base/text_helpers.h"

#include <gtest/gtest.h>

namespace tagmora {
namespace {

TEST(TextHelpersTest, ReadLeadingPiece) {
    const struct {
        std::string source;
        std::string_view separator;
        bool trim;
        const char* piece;
        const char* rest;
    } cases[] = {
        {"  key : value\r\nrest", ":", true, "key", " value\r\nrest"},
        {" value\r\nrest", kCrLf, true, "value", "rest"},
        {"one\ntwo\r\nthree", kCrLf, false, "one\ntwo", "three"},  // CR LF found first
        {"one\ntwo", kCrLf, false, "one", "two"},                  // else a lone LF
        {" last \t", kCrLf, true, " last \t", ""},                 // no separator: untrimmed
        {"\x01\xA0x\x1F|", "|", true, "\xA0x", ""},                // high bytes are not blanks
    };
    for (auto c : cases) {
        EXPECT_EQ(ReadLeadingPiece(c.source, c.separator, c.trim), c.piece);
        EXPECT_EQ(c.source, c.rest);
    }
}

TEST(TextHelpersTest, CaseInsensitiveSearchAndReplace) {
    EXPECT_EQ(ReplaceAllNoCase("IMG_1.JPG.jpg", ".jpg", ""), "IMG_1");
    EXPECT_EQ(ReplaceAllNoCase("aaa", "aa", "b"), "ba");
    EXPECT_EQ(ReplaceAll("IMG_1.jpg", "img", "x"), "IMG_1.jpg");
    EXPECT_EQ(FindNoCase("abcABC", "CA"), 2u);
    EXPECT_FALSE(ContainsNoCase("short", "longer text"));
}

TEST(TextHelpersTest, DecimalOrZero) {
    const std::pair<const char*, int> cases[] = {{"12", 12}, {" 1", 1}, {"-5", -5},        {"yes", 0},
                                                 {"1x", 0},  {"", 0},   {"99999999999", 0}};
    for (const auto& [text, value] : cases) EXPECT_EQ(DecimalOrZero(text), value) << text;
}

}  // namespace
}  // namespace tagmora
