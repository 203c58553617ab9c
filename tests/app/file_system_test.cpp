#include "base/file_system.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <map>

#include "base/folder_watcher.h"
#include "base/unique_fd.h"
#include "support/temp_folder.h"

namespace tagmora {
namespace {

using support::TempFolder;
using Names = std::vector<std::string>;
using Files = std::map<std::string, std::string>;
namespace fs = std::filesystem;

// Sets or clears the append-only flag of a folder: entries can then be added
// but not removed. False when the file system or the process cannot do it.
bool SetAppendOnly(const std::string& folder, bool on) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    int flags = 0;
    bool done = fd >= 0 && ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = on ? (flags | FS_APPEND_FL) : (flags & ~FS_APPEND_FL);
    done = done && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    if (fd >= 0) close(fd);
    return done;
}

TEST(FileSystemTest, RenameMovesAFileWithinItsFolderButNeverOntoAnExistingName) {
    for (auto move : {&RenameNoReplace, &RenameByLinkNoReplace}) {
        TempFolder folder;
        folder.Write("IMG_1.jpg", "photo one");
        folder.Write("QSZ0123456.jpg", "another specimen");
        fs::create_directory(folder / "taken.jpg");
        fs::create_symlink(folder / "nowhere", folder / "link.jpg");  // a dangling link takes its name too
        // A name in another letter case is taken as well; the file's own is not.
        for (const char* target :
             {"QSZ0123456.jpg", "IMG_1.jpg", "taken.jpg", "link.jpg", "qsz0123456.JPG", "Taken.jpg"})
            EXPECT_FALSE(move(folder.path(), "IMG_1.jpg", target)) << target;
        EXPECT_FALSE(move(folder.path(), "missing.jpg", "new.jpg"));
        ASSERT_TRUE(move(folder.path(), "IMG_1.jpg", "img_1.JPG"));
        ASSERT_TRUE(move(folder.path(), "img_1.JPG", "QSZ0123457.jpg"));
        EXPECT_EQ(folder.Files(), (Files{{"QSZ0123457.jpg", "photo one"}, {"QSZ0123456.jpg", "another specimen"}}));
    }
}

TEST(FileSystemTest, RenameRefusesNamesThatLeaveTheFolder) {
    TempFolder folder;
    fs::create_directory(folder / "sub");
    folder.Write("IMG_1.jpg", "photo");
    using namespace std::string_view_literals;
    for (auto move : {&RenameNoReplace, &RenameByLinkNoReplace}) {
        for (std::string_view bad : {""sv, "."sv, ".."sv, "sub/x.jpg"sv, "../x.jpg"sv, "/tmp/x.jpg"sv, "a\0b.jpg"sv}) {
            EXPECT_FALSE(move(folder.path(), "IMG_1.jpg", bad)) << bad;
            EXPECT_FALSE(move(folder.path(), bad, "new.jpg")) << bad;
        }
    }
    EXPECT_EQ(folder.Files(), (Files{{"IMG_1.jpg", "photo"}}));
    EXPECT_TRUE(fs::is_empty(folder / "sub"));
    EXPECT_TRUE(IsPlainFileName("..."));
    EXPECT_TRUE(IsPlainFileName("a\\b.jpg"));  // a backslash is an ordinary character here
}

// A folder whose entries can be added but not removed: the link of the
// fallback succeeds and the old name cannot go, nor can the new link be
// taken back. Nothing may be lost, and the file must not pick up a name per
// attempt: the move counts as done.
TEST(FileSystemTest, RenameFallbackInAFolderThatOnlyGrowsLosesNothing) {
    TempFolder folder;
    folder.Write("IMG_1.jpg", "photo");
    if (!SetAppendOnly(folder.path(), true)) GTEST_SKIP() << "append-only folders not available here";
    EXPECT_FALSE(RenameNoReplace(folder.path(), "IMG_1.jpg", "A.jpg"));  // rename itself is refused
    const bool moved = RenameByLinkNoReplace(folder.path(), "IMG_1.jpg", "B.jpg");
    SetAppendOnly(folder.path(), false);
    EXPECT_TRUE(moved);
    EXPECT_EQ(folder.Files(), (Files{{"B.jpg", "photo"}, {"IMG_1.jpg", "photo"}}));
}

// Regular, visible files only (a link is not the photograph itself), sorted
// by name ignoring case.
TEST(FileSystemTest, ListingPhotographsAndTheFilesOfOneBaseName) {
    TempFolder folder;
    for (const char* name :
         {"img_2.jpg", "IMG_10.JPG", "IMG_1.jpg", "b.Jpg", "c.jpeg", "d.jpg.txt", ".hidden.jpg", "jpg", "img_1.CR2",
          "IMG_1.jpg.xmp", "IMG_1.", "IMG_1", "IMG_1x.jpg", "xIMG_1.jpg", ".IMG_1.jpg"})
        folder.Write(name, "x");
    fs::create_directory(folder / "folder.jpg");
    fs::create_directory(folder / "IMG_1.d");
    fs::create_symlink(folder / "IMG_1.jpg", folder / "link.jpg");
    Names names{"stale"};
    ASSERT_TRUE(ListJpegFiles(folder.path(), names));
    EXPECT_EQ(names, (Names{"b.Jpg", "IMG_1.jpg", "IMG_10.JPG", "IMG_1x.jpg", "img_2.jpg", "xIMG_1.jpg"}));
    EXPECT_FALSE(ListJpegFiles(folder / "missing", names));
    EXPECT_TRUE(names.empty());

    EXPECT_EQ(ListFilesWithBase(folder.path(), "IMG_1"), (Names{"IMG_1.", "img_1.CR2", "IMG_1.jpg", "IMG_1.jpg.xmp"}));
    EXPECT_TRUE(ListFilesWithBase(folder.path(), "IMG_3").empty());
    EXPECT_TRUE(ListFilesWithBase(folder.path(), "").empty());  // would be dot-files only
    EXPECT_TRUE(ListFilesWithBase(folder / "missing", "IMG_1").empty());
}

// A file is complete once closed or moved in, or, kept open, once it has
// stood still for the quiet period; one removed while written never is.
TEST(FolderWatcherTest, YieldsFilesOnceCompleteAndOnlyThen) {
    using namespace std::chrono_literals;
    TempFolder folder, elsewhere;
    FolderWatcher watcher(folder.path(), 150ms);
    ASSERT_TRUE(watcher.Valid()) << watcher.Error();

    UniqueFd open(::open((folder / "open.jpg").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644));
    ASSERT_EQ(::write(open.get(), "half", 4), 4);
    UniqueFd gone(::open((folder / "gone.CR2").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644));
    ASSERT_EQ(::write(gone.get(), "raw", 3), 3);
    fs::remove(folder / "gone.CR2");
    folder.Write("closed.jpg", "whole");
    elsewhere.Write("moved.CR2", "raw");
    fs::rename(elsewhere / "moved.CR2", folder / "moved.CR2");
    fs::create_directory(folder / "sub.jpg");

    EXPECT_EQ(watcher.Wait(1s), (Names{"closed.jpg", "moved.CR2"}));
    EXPECT_EQ(watcher.Incomplete(), Names{"open.jpg"});
    ASSERT_TRUE(watcher.TimeToNextLook());
    EXPECT_LE(*watcher.TimeToNextLook(), 150ms);
    Names later;
    for (int i = 0; i < 20 && later.empty(); ++i) later = watcher.Wait(100ms);
    EXPECT_EQ(later, Names{"open.jpg"});  // still open, but standing still
    EXPECT_EQ(watcher.TimeToNextLook(), std::nullopt);

    fs::remove_all(folder / "sub.jpg");
    for (const char* name : {"closed.jpg", "moved.CR2", "open.jpg"}) fs::remove(folder / name);
    open.Close();  // an open file keeps its removed folder about
    gone.Close();
    fs::remove(folder.path());
    watcher.Wait(100ms);
    EXPECT_TRUE(watcher.FolderGone());
}

}  // namespace
}  // namespace tagmora
