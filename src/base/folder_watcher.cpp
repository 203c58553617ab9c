#include "base/folder_watcher.h"

#include <poll.h>
#include <sys/inotify.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "base/file_system.h"

namespace tagmora {

namespace {

constexpr std::uint32_t kWatchedEvents =
    IN_CREATE | IN_MODIFY | IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_DELETE | IN_DELETE_SELF | IN_ONLYDIR;

}  // namespace

FolderWatcher::FolderWatcher(std::string folder, std::chrono::milliseconds quietPeriod)
    : folder_(std::move(folder)), quiet_(quietPeriod), fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
    if (!fd_.valid() || inotify_add_watch(fd_.get(), folder_.c_str(), kWatchedEvents) < 0) {
        error_ = folder_ + ": " + std::strerror(errno);
        fd_.Close();
    }
}

std::optional<FolderWatcher::Stamp> FolderWatcher::StampOf(const std::string& name) const {
    struct stat info {};
    if (::lstat(JoinPath(folder_, name).c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
    return Stamp{info.st_size, static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec};
}

void FolderWatcher::Track(std::string_view name) {
    const std::string key(name);
    if (const std::optional<Stamp> stamp = StampOf(key)) writing_[key] = {*stamp, Clock::now()};
}

void FolderWatcher::Notice(std::uint32_t mask, std::string name, std::vector<std::string>& complete) {
    if ((mask & (IN_DELETE | IN_MOVED_FROM)) != 0) {
        writing_.erase(name);
    } else if ((mask & (IN_CLOSE_WRITE | IN_MOVED_TO)) != 0) {
        writing_.erase(name);
        complete.push_back(std::move(name));
    } else if (auto found = writing_.find(name); found != writing_.end()) {
        found->second.Changed = Clock::now();  // still being written: its quiet period starts again
    } else {
        Track(name);
    }
}

// Notices were lost (the kernel's queue overflowed): every file of the folder
// is looked at once more, as if being written, so that none is missed.
void FolderWatcher::TrackEveryFile() {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder_, error))
        Track(entry.path().filename().string());
}

void FolderWatcher::ReadNotices(std::vector<std::string>& complete) {
    alignas(inotify_event) char buffer[16 * 1024];
    for (;;) {
        const ssize_t length = ::read(fd_.get(), buffer, sizeof buffer);
        if (length <= 0) return;  // EAGAIN: nothing more waits
        for (ssize_t at = 0; at < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            if ((event->mask & (IN_IGNORED | IN_DELETE_SELF | IN_UNMOUNT)) != 0) gone_ = true;
            if ((event->mask & IN_Q_OVERFLOW) != 0) TrackEveryFile();
            if (event->len == 0 || (event->mask & IN_ISDIR) != 0) continue;
            Notice(event->mask, std::string(event->name), complete);
        }
    }
}

void FolderWatcher::LookAtWriting(std::vector<std::string>& complete) {
    const Clock::time_point now = Clock::now();
    for (auto it = writing_.begin(); it != writing_.end();) {
        auto& [name, writing] = *it;
        if (now - writing.Changed < quiet_) {
            ++it;
            continue;
        }
        const std::optional<Stamp> stamp = StampOf(name);
        if (!stamp) {
            it = writing_.erase(it);
        } else if (*stamp != writing.Last) {
            writing = {*stamp, now};  // written to without a notice (a share): wait again
            ++it;
        } else {
            complete.push_back(name);
            it = writing_.erase(it);
        }
    }
}

std::vector<std::string> FolderWatcher::TakeComplete() {
    std::vector<std::string> complete;
    if (!fd_.valid()) return complete;
    ReadNotices(complete);
    LookAtWriting(complete);
    return complete;
}

std::optional<std::chrono::milliseconds> FolderWatcher::TimeToNextLook() const {
    if (writing_.empty()) return std::nullopt;
    Clock::time_point due = Clock::time_point::max();
    for (const auto& [name, writing] : writing_) due = std::min(due, writing.Changed + quiet_);
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(due - Clock::now());
    return std::max(left, std::chrono::milliseconds(0));
}

std::vector<std::string> FolderWatcher::Wait(std::chrono::milliseconds timeout) {
    if (const auto look = TimeToNextLook()) timeout = std::min(timeout, *look);
    if (fd_.valid()) {
        pollfd ready{fd_.get(), POLLIN, 0};
        ::poll(&ready, 1, static_cast<int>(timeout.count()));  // EINTR: a signal asks to stop
    }
    return TakeComplete();
}

std::vector<std::string> FolderWatcher::Incomplete() const {
    std::vector<std::string> names;
    for (const auto& [name, writing] : writing_) names.push_back(name);
    return names;
}

}  // namespace tagmora
