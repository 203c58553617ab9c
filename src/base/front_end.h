#pragma once
// The one way the core reaches its user: the desktop windows implement it, so
// do the headless command and the tests' recording fake.
#include <cstdint>
#include <span>
#include <string_view>

#include "base/pixel_rect.h"
#include "base/run_settings.h"

namespace tagmora {

struct WorkBitmap;

// Size of the photo window's picture area, in display pixels. The scan-line
// strips are computed against it whatever the front end really shows.
inline constexpr std::int32_t kPictureWidth = 617;
inline constexpr std::int32_t kPictureHeight = 561;

enum class StripColour { Black = 0, Red = 255 };

class FrontEnd {
public:
    virtual ~FrontEnd() = default;

    virtual const RunSettings& Settings() const = 0;

    // A modal notice with one OK button, captioned "Tagmora".
    virtual void ShowMessage(std::string_view text) = 0;
    // A modal prompt captioned "TGM" with OK and Cancel; true when OK was chosen.
    virtual bool AskOkCancel(std::string_view text) = 0;

    // The photo window: shown for the length of a run.
    // total: the photographs the run has listed, for its progress.
    virtual void ShowPhotoWindow(std::int32_t total) = 0;
    virtual void HidePhotoWindow() = 0;
    virtual void SetImageName(std::string_view name) = 0;
    virtual void SetCountText(std::string_view text) = 0;
    // Stretches the bitmap over the whole picture area and repaints at once.
    virtual void ShowPicture(const WorkBitmap& bitmap) = 0;
    // Fills one scan-line strip over the picture and repaints at once.
    virtual void DrawStrip(const PixelRect& rect, StripColour colour) = 0;
    // Draws the outline through points (closed: back to the first) over the
    // picture and repaints at once: the regions and lines of Deep Search.
    virtual void DrawOutline(std::span<const PicturePoint> /*points*/, bool /*closed*/, StripColour /*colour*/) {}

    // Lets clicks made during an image (Abort, Skip) take effect.
    virtual void ProcessPendingEvents() = 0;
    // The same between the scan lines of one image, so that Abort and Skip
    // answer at once even on a large photograph.
    virtual void ProcessEventsDuringImage() { ProcessPendingEvents(); }

    // Told of every line appended to the run log, after it was written (or
    // failed to be); the headless command uses it to report each image's outcome.
    virtual void LogLineAppended(std::string_view /*line*/) {}
    // Told when the driver has finished with one image of the list.
    virtual void ImageFinished(std::int32_t /*index*/, std::int32_t /*total*/, std::string_view /*name*/) {}
};

}  // namespace tagmora
