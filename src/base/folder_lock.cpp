#include "base/folder_lock.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "base/file_system.h"

namespace tagmora {

namespace {

// A lock file removed by its holder between our open and our lock is no
// longer the folder's lock: open the new one and try again, a few times.
constexpr int kAttempts = 3;

enum class Locking { Held, Busy, Failed };

// Open file description locks conflict even within one process (two windows
// of one program); kernels without them fall back to the classic kind.
Locking LockWhole(int fd, short type) {
    struct flock whole {};
    whole.l_type = type;
    whole.l_whence = SEEK_SET;
    int result = fcntl(fd, F_OFD_SETLK, &whole);
    if (result != 0 && errno == EINVAL) result = fcntl(fd, F_SETLK, &whole);
    if (result == 0) return Locking::Held;
    return errno == EAGAIN || errno == EACCES ? Locking::Busy : Locking::Failed;
}

// The locked file is still the one the folder names.
bool StillInPlace(int fd, const std::string& path) {
    struct stat held {};
    struct stat named {};
    return fstat(fd, &held) == 0 && lstat(path.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
           held.st_ino == named.st_ino;
}

}  // namespace

FolderLock::FolderLock(const std::string& folder) : path_(JoinPath(folder.empty() ? "." : folder, kFolderLockName)) {
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        short type = F_WRLCK;
        int fd = open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
        // A colleague's lock file we may not write to still takes a read
        // lock, which conflicts with theirs as theirs with ours.
        if (fd < 0 && errno == EACCES) {
            type = F_RDLCK;
            fd = open(path_.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        }
        if (fd < 0) return;
        // Whoever comes next, whatever their umask, must be able to lock it.
        if (type == F_WRLCK) fchmod(fd, 0666);
        const Locking locking = LockWhole(fd, type);
        if (locking == Locking::Held && StillInPlace(fd, path_)) {
            fd_ = fd;
            return;
        }
        close(fd);
        if (locking == Locking::Busy) {
            refused_ = true;
            return;
        }
        if (locking == Locking::Failed) return;
    }
}

FolderLock::~FolderLock() {
    if (fd_ < 0) return;
    unlink(path_.c_str());
    close(fd_);
}

}  // namespace tagmora
