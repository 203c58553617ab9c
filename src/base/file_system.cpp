#include "base/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <memory>

#include "base/text_helpers.h"
#include "base/unique_fd.h"

namespace tagmora {

namespace {

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

// Names of the folder's entries accepted by keep(dirFd, name), sorted unless
// asked not to. The entries are examined with lstat semantics: a symbolic link
// is not a regular file, so a rename can only ever move the photograph itself.
template <typename Keep>
bool ListEntries(const std::string& folder, Keep keep, std::vector<std::string>& names, bool sorted = true) {
    names.clear();
    DirHandle dir(opendir(folder.empty() ? "." : folder.c_str()));
    if (!dir) return false;
    const int dirFd = dirfd(dir.get());
    while (const dirent* entry = readdir(dir.get())) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..") continue;
        if (keep(dirFd, name)) names.emplace_back(name);
    }
    if (sorted) std::sort(names.begin(), names.end(), LessByNameNoCase);
    return true;
}

bool IsRegularAt(int dirFd, std::string_view name) {
    struct stat info {};
    return fstatat(dirFd, std::string(name).c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode);
}

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

}  // namespace

bool LessByNameNoCase(std::string_view a, std::string_view b) {
    const auto lowerLess = [](char x, char y) {
        return static_cast<unsigned char>(ToLowerAscii(x)) < static_cast<unsigned char>(ToLowerAscii(y));
    };
    if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), lowerLess)) return true;
    if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), lowerLess)) return false;
    return a < b;
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    if (!path.empty() && path.back() != '/') path += '/';
    path += name;
    return path;
}

bool IsPlainFileName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

bool IsHiddenName(std::string_view name) { return !name.empty() && name.front() == '.'; }

bool EndsWithJpgNoCase(std::string_view name) {
    constexpr std::string_view kJpg = ".jpg";
    return name.size() >= kJpg.size() && EqualsNoCase(name.substr(name.size() - kJpg.size()), kJpg);
}

bool HoldsLineBreak(std::string_view name) { return name.find_first_of("\r\n") != std::string_view::npos; }

bool ListJpegFiles(const std::string& folder, std::vector<std::string>& names, std::vector<std::string>* passedOver) {
    const bool listed = ListEntries(
        folder,
        [](int dirFd, std::string_view name) {
            return !IsHiddenName(name) && EndsWithJpgNoCase(name) && IsRegularAt(dirFd, name);
        },
        names);
    const auto unloggable = std::stable_partition(names.begin(), names.end(),
                                                  [](const std::string& name) { return !HoldsLineBreak(name); });
    if (passedOver != nullptr) passedOver->assign(unloggable, names.end());
    names.erase(unloggable, names.end());
    return listed;
}

std::vector<std::string> ListFilesWithBase(const std::string& folder, std::string_view base) {
    std::vector<std::string> names;
    ListEntries(
        folder,
        [base](int dirFd, std::string_view name) {
            return !IsHiddenName(name) && !HoldsLineBreak(name) && name.size() > base.size() &&
                   name[base.size()] == '.' && EqualsNoCase(name.substr(0, base.size()), base) &&
                   IsRegularAt(dirFd, name);
        },
        names);
    return names;
}

std::string PhotoBaseName(std::string_view photo) { return ReplaceAllNoCase(photo, ".jpg", ""); }

std::vector<std::string> ListAllNames(const std::string& folder) {
    std::vector<std::string> names;
    // Only asked whether a name is among them: no order needed.
    ListEntries(
        folder, [](int, std::string_view) { return true; }, names, false);
    return names;
}

bool HoldsNameNoCase(const std::vector<std::string>& names, std::string_view name) {
    return std::any_of(names.begin(), names.end(),
                       [name](const std::string& held) { return EqualsNoCase(held, name); });
}

bool HoldsBaseNoCase(const std::vector<std::string>& names, std::string_view base) {
    return std::any_of(names.begin(), names.end(), [base](const std::string& held) {
        return held.size() > base.size() && held[base.size()] == '.' &&
               EqualsNoCase(std::string_view(held).substr(0, base.size()), base);
    });
}

bool FolderOffersJpeg(const std::string& folder) {
    std::vector<std::string> matches;
    // Hidden entries count here, and so do folders: only the first match decides.
    if (!ListEntries(
            folder, [](int, std::string_view name) { return EndsWithJpgNoCase(name); }, matches))
        return false;
    return !matches.empty() && IsRegularFile(JoinPath(folder, matches.front()));
}

bool FileExists(const std::string& path) {
    struct stat info {};
    return lstat(path.c_str(), &info) == 0;
}

bool IsRegularFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool IsDirectory(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

namespace {

// The move itself, both names plain and relative to the open folder.
bool LinkThenUnlink(int dirFd, const char* source, const char* target) {
    struct stat sourceInfo {};
    if (fstatat(dirFd, source, &sourceInfo, AT_SYMLINK_NOFOLLOW) != 0) return false;
    // link() refuses an existing target: this is the step that never replaces.
    if (linkat(dirFd, source, dirFd, target, 0) != 0) return false;
    if (unlinkat(dirFd, source, 0) == 0) return true;

    // The old name would not go. Take the new one back, but only while it is
    // still our link: both names are the same file, so nothing is lost.
    struct stat targetInfo {};
    if (fstatat(dirFd, target, &targetInfo, AT_SYMLINK_NOFOLLOW) == 0 && SameFile(sourceInfo, targetInfo) &&
        unlinkat(dirFd, target, 0) == 0)
        return false;
    // Neither name can be removed (a folder that only grows). The file is
    // reachable under its new name, which is what was asked for; reporting a
    // failure would make the caller try further names, each adding one more.
    return true;
}

bool RenameWithNoReplaceFlag(int dirFd, const char* source, const char* target) {
    if (renameat2(dirFd, source, dirFd, target, RENAME_NOREPLACE) == 0) return true;
    // Kernels or file systems without the no-replace flag say so with these.
    if (errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP) return LinkThenUnlink(dirFd, source, target);
    return false;
}

// Whether an entry other than from bears the name to in any letter case. A
// folder that cannot be read counts as holding it: nothing is moved blind.
bool TakenByAnotherNoCase(int dirFd, std::string_view from, std::string_view to) {
    const int listFd = fcntl(dirFd, F_DUPFD_CLOEXEC, 0);
    if (listFd < 0) return true;
    DirHandle dir(fdopendir(listFd));
    if (!dir) {
        close(listFd);
        return true;
    }
    while (const dirent* entry = readdir(dir.get())) {
        const std::string_view name = entry->d_name;
        if (name != from && EqualsNoCase(name, to)) return true;
    }
    return false;
}

// Refuses names that would leave the folder or clash with another entry in
// letter case, then moves within it.
template <typename Move>
bool MoveWithinFolder(const std::string& folder, std::string_view from, std::string_view to, Move move) {
    if (!IsPlainFileName(from) || !IsPlainFileName(to)) return false;
    const UniqueFd dir(open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!dir.valid()) return false;
    if (TakenByAnotherNoCase(dir.get(), from, to)) return false;
    return move(dir.get(), std::string(from).c_str(), std::string(to).c_str());
}

}  // namespace

bool RenameByLinkNoReplace(const std::string& folder, std::string_view from, std::string_view to) {
    return MoveWithinFolder(folder, from, to, LinkThenUnlink);
}

bool RenameNoReplace(const std::string& folder, std::string_view from, std::string_view to) {
    return MoveWithinFolder(folder, from, to, RenameWithNoReplaceFlag);
}

}  // namespace tagmora
