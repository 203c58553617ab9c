#pragma once
// The headless front end: message boxes become lines on standard output,
// prompts are answered OK, and a progress line per image goes to a terminal.
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "base/front_end.h"
#include "base/run_settings.h"

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
    void ShowPhotoWindow(std::int32_t) override { imageLines_.clear(); }
    void HidePhotoWindow() override {}
    void SetImageName(std::string_view) override {}
    void SetCountText(std::string_view) override {}
    void ShowPicture(const WorkBitmap&) override {}
    void DrawStrip(const PixelRect&, StripColour) override {}
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

}  // namespace tagmora::batch
