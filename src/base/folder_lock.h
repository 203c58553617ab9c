#pragma once
// One run per folder at a time: a run, a manual rename or an undo holds the
// folder's lock for as long as it may rename there. The lock is an fcntl lock
// on a hidden file in the folder, so it also holds between computers sharing
// the folder over NFS, and it goes with the process that held it: a killed
// run leaves at most a harmless file behind, never a lock.
#include <string>
#include <string_view>

namespace tagmora {

// Hidden, so never listed, renamed or counted as a photograph.
inline constexpr std::string_view kFolderLockName = ".tagmora.lock";

class FolderLock {
public:
    // Tries once and never waits.
    explicit FolderLock(const std::string& folder);
    // Removes the lock file while still holding the lock, then lets go.
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    // Another run holds the folder. A folder that cannot hold a lock file
    // (read-only, or a file system without locks) is not refused: nothing
    // could tell another run there either.
    bool Refused() const { return refused_; }

private:
    std::string path_;
    int fd_ = -1;
    bool refused_ = false;
};

}  // namespace tagmora
