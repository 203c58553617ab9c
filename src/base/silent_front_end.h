#pragma once
// A front end for work that nobody watches: it draws nothing, shows nothing
// and answers no prompt (a prompt is answered Cancel, which would stop the
// work, so nothing run through it may ask). Each holds its own copy of the
// settings, so that one per worker thread reads them without sharing.
#include "base/front_end.h"
#include "base/run_settings.h"

namespace tagmora {

class SilentFrontEnd : public FrontEnd {
public:
    explicit SilentFrontEnd(SettingValues values = {}) : settings(std::move(values)) {}

    PlainRunSettings settings;

    const RunSettings& Settings() const override { return settings; }
    void ShowMessage(std::string_view) override {}
    bool AskOkCancel(std::string_view) override { return false; }
    void ShowPhotoWindow(std::int32_t) override {}
    void HidePhotoWindow() override {}
    void SetImageName(std::string_view) override {}
    void SetCountText(std::string_view) override {}
    void ShowPicture(const WorkBitmap&) override {}
    void DrawStrip(const PixelRect&, StripColour) override {}
    void ProcessPendingEvents() override {}
};

}  // namespace tagmora
