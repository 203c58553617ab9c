#pragma once
// The core's way to the user in the desktop program: message boxes, the
// photo window and the processing of pending events.
#include "base/front_end.h"

class QWidget;

namespace tagmora {

class TPhotoForm;

class QtFrontEnd final : public FrontEnd {
public:
    QtFrontEnd(const RunSettings& settings, QWidget* mainWindow);

    void SetPhotoForm(TPhotoForm* photoForm) { photoForm_ = photoForm; }
    // The user is quitting: messages are left to the log and prompts are
    // answered Cancel, so that the run ends without waiting for anyone.
    void SetQuiet(bool quiet) { quiet_ = quiet; }

    const RunSettings& Settings() const override { return settings_; }
    void ShowMessage(std::string_view text) override;
    bool AskOkCancel(std::string_view text) override;
    void ShowPhotoWindow(std::int32_t total) override;
    void HidePhotoWindow() override;
    void SetImageName(std::string_view name) override;
    void SetCountText(std::string_view text) override;
    void ShowPicture(const WorkBitmap& bitmap) override;
    void DrawStrip(const PixelRect& rect, StripColour colour) override;
    void DrawOutline(std::span<const PicturePoint> points, bool closed, StripColour colour) override;
    void ProcessPendingEvents() override;
    void ImageFinished(std::int32_t index, std::int32_t total, std::string_view name) override;

private:
    QWidget* MessageParent() const;

    const RunSettings& settings_;
    QWidget* mainWindow_;
    TPhotoForm* photoForm_ = nullptr;
    bool quiet_ = false;
};

}  // namespace tagmora
