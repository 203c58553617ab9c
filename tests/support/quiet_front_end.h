#pragma once
// A front end that shows nothing, answers every prompt with OK and keeps
// nothing: for benchmarks, whose runs must not grow memory of their own.
#include "base/front_end.h"
#include "base/run_settings.h"

namespace tagmora::support {

class QuietFrontEnd : public FrontEnd {
public:
    PlainRunSettings settings;
    const RunSettings& Settings() const override { return settings; }
    void ShowMessage(std::string_view) override {}
    bool AskOkCancel(std::string_view) override { return true; }
    void ShowPhotoWindow(std::int32_t) override {}
    void HidePhotoWindow() override {}
    void SetImageName(std::string_view) override {}
    void SetCountText(std::string_view) override {}
    void ShowPicture(const WorkBitmap&) override {}
    void DrawStrip(const PixelRect&, StripColour) override {}
    void ProcessPendingEvents() override {}
};

}  // namespace tagmora::support
