#include "base/sha256.h"

#include <gtest/gtest.h>

#include <string>

#include "support/temp_folder.h"

namespace tagmora {
namespace {

// The standard vectors, and lengths either side of the padding's turn to a
// second block, given whole and in uneven pieces.
TEST(Sha256Test, StandardVectorsWholeAndInPieces) {
    struct Case {
        std::string bytes;
        std::string_view hex;
    };
    const Case cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Sha256Hex(c.bytes), c.hex) << c.bytes.size() << " bytes";
        Sha256 pieces;
        for (std::size_t at = 0, step = 1; at < c.bytes.size(); at += step, step = step * 3 % 97 + 1)
            pieces.Update(std::string_view(c.bytes).substr(at, step));
        Sha256 whole;
        whole.Update(c.bytes);
        EXPECT_EQ(pieces.Finish(), whole.Finish()) << c.bytes.size() << " bytes in pieces";
    }
}

TEST(Sha256Test, FilesAreHashedWholeAndAbsentOnesGiveNothing) {
    support::TempFolder folder;
    folder.Write("abc.jpg", "abc");
    EXPECT_EQ(FileSha256Hex(folder / "abc.jpg"), Sha256Hex("abc"));
    EXPECT_EQ(FileSha256Hex(folder / "missing.jpg"), std::nullopt);
    EXPECT_EQ(FileSha256Hex(folder.path()), std::nullopt);  // a folder is no photograph
}

}  // namespace
}  // namespace tagmora
