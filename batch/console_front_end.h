#pragma once
// The headless front end: message boxes become lines on standard output,
// prompts are answered OK, and a progress line per image goes to a terminal.
#include <csignal>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/front_end.h"
#include "app/run_settings.h"

namespace tagmora::batch {

class ConsoleFrontEnd final : public FrontEnd {
public:
    // progress: where the per-image lines go, or null for none.
    ConsoleFrontEnd(std::ostream& out, std::ostream* progress) : out_(out), progress_(progress) {}

    PlainRunSettings settings;
    // Runs whenever the driver lets pending events act (Ctrl-C is handled here).
    std::function<void()> onProcessEvents;

    const RunSettings& Settings() const override { return settings; }
    void ShowMessage(std::string_view text) override;
    bool AskOkCancel(std::string_view text) override;
    void ShowPhotoWindow() override { imageLines_.clear(); }
    void HidePhotoWindow() override {}
    void SetImageName(std::string_view) override {}
    void SetCountText(std::string_view) override {}
    void ShowPicture(const WorkBitmap&) override {}
    void DrawStrip(const StripRect&, StripColour) override {}
    void ProcessPendingEvents() override {
        if (onProcessEvents) onProcessEvents();
    }
    void LogLineAppended(std::string_view line) override { imageLines_.emplace_back(line); }
    void ImageFinished(std::int32_t index, std::int32_t total, std::string_view name) override;

private:
    void PrintEntry(std::string_view caption, std::string_view text);

    std::ostream& out_;
    std::ostream* progress_;
    std::vector<std::string> imageLines_;  // log lines since the last image ended
};

// Where the command writes, and the flag its Ctrl-C handler sets (or null).
struct CommandStreams {
    std::ostream& out;
    std::ostream& err;
    std::ostream* progress = nullptr;
    const volatile std::sig_atomic_t* interrupted = nullptr;
};

inline constexpr int kExitClean = 0;
inline constexpr int kExitProblems = 1;
inline constexpr int kExitBadArguments = 2;

// The whole command: arguments (without the program name) to exit status.
// The current folder is the start folder, for Config.txt and the log.
int RunBatchCommand(std::span<const std::string> args, const CommandStreams& streams);

}  // namespace tagmora::batch
