#pragma once
// Watching a folder while the camera shoots into it: one run that renames each
// photograph as soon as it is complete, in name order, with the previous
// barcode carried over the whole watch, and that moves a raw file arriving
// after its photograph to the photograph's new name.
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace tagmora {

struct Context;

struct WatchOptions {
    // How long a file written through a handle kept open must stand still
    // before it counts as complete.
    std::chrono::milliseconds QuietPeriod{3000};
    // Asked between photographs and between waits: true ends the watch once
    // the photograph in hand is done (Ctrl-C, SIGTERM, the Stop button).
    std::function<bool()> StopAsked;
};

enum class WatchEnd {
    Refused,      // a run was already in progress, here or in the folder: nothing done
    CannotWatch,  // the system would not watch the folder: nothing done
    Stopped,      // ended as asked
    Aborted,      // Abort or Cancel in the photo window ended it
    FolderGone,   // the folder was removed or unmounted
};

class FolderWatch {
public:
    FolderWatch(Context& ctx, WatchOptions options);
    ~FolderWatch();
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    // Watches the settings' photo folder: writes the run's log header, hands
    // on the photographs already there, in name order, then waits for new
    // ones. Refused or CannotWatch (told to the user) when it cannot start.
    std::optional<WatchEnd> Start();

    // For a front end that waits by itself: readable when the folder has
    // news, and how long until a file being written is due for a look.
    int NoticeFd() const;
    std::optional<std::chrono::milliseconds> TimeToNextLook() const;

    // Waits up to wait for files to become complete, then hands on every
    // photograph that is ready. A call made while one is under way (from the
    // events processed during an image) does nothing.
    void Step(std::chrono::milliseconds wait);

    // How it ended, once it has.
    std::optional<WatchEnd> Ended() const;

    // Hides the photo window and shows the summary, as a run's end does.
    WatchEnd Finish();

private:
    struct State;
    std::unique_ptr<State> state_;
};

// The whole watch for the headless command: starts, waits and hands on until
// asked to stop, and ends.
WatchEnd WatchFolder(Context& ctx, WatchOptions options);

}  // namespace tagmora
