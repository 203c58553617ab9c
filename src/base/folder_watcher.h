#pragma once
// Tells which files of one folder have just become complete, from the
// kernel's notices (inotify): a file closed after writing or moved in is
// complete at once; a file still written to through a handle kept open (some
// tethering programs, network shares) is complete once its size and time
// stamp have stood still for a quiet period. Only the files being written are
// ever looked at again, never the whole folder.
#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/unique_fd.h"

namespace tagmora {

class FolderWatcher {
public:
    using Clock = std::chrono::steady_clock;

    // Starts watching folder; Valid() is false (and Error() says why) when
    // the system refuses.
    FolderWatcher(std::string folder, std::chrono::milliseconds quietPeriod);

    bool Valid() const { return fd_.valid() && !gone_; }
    const std::string& Error() const { return error_; }
    // The folder was removed or unmounted: nothing more will come.
    bool FolderGone() const { return gone_; }
    // Readable when notices wait: for poll() or a socket notifier.
    int Fd() const { return fd_.get(); }

    // A file found some other way (a listing) that may still be written:
    // complete once it stands still for the quiet period, or when closed.
    void Track(std::string_view name);

    // Reads the notices that wait (never blocking) and looks again at the
    // files whose quiet period is over; the names that became complete, in
    // the order they did.
    std::vector<std::string> TakeComplete();

    // Waits up to timeout, or less when a file being written is due for its
    // look, then takes what became complete. A signal ends the wait early.
    std::vector<std::string> Wait(std::chrono::milliseconds timeout);

    // How long until the next file being written is due for a look; nothing
    // when no file is being written.
    std::optional<std::chrono::milliseconds> TimeToNextLook() const;

    // The files seen being written and not yet complete.
    std::vector<std::string> Incomplete() const;

private:
    struct Stamp {
        std::int64_t Size = -1;
        std::int64_t ModifiedNanoseconds = 0;
        friend bool operator==(const Stamp&, const Stamp&) = default;
    };
    struct Writing {
        Stamp Last;
        Clock::time_point Changed;
    };

    std::optional<Stamp> StampOf(const std::string& name) const;
    void ReadNotices(std::vector<std::string>& complete);
    void Notice(std::uint32_t mask, std::string name, std::vector<std::string>& complete);
    void LookAtWriting(std::vector<std::string>& complete);
    void TrackEveryFile();

    std::string folder_;
    std::chrono::milliseconds quiet_;
    UniqueFd fd_;
    std::string error_;
    bool gone_ = false;
    std::map<std::string, Writing> writing_;
};

}  // namespace tagmora
