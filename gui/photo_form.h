#pragma once
// The photo window of a run: the image in hand in grey with its scan lines,
// its name, the count of labels read, the progress through the folder with
// the time left, and Abort and Skip.
#include <QElapsedTimer>
#include <QWidget>
#include <span>
#include <string_view>

#include "base/front_end.h"

class QLabel;
class QProgressBar;

namespace tagmora {

struct Context;
struct WorkBitmap;
class PictureView;

class TPhotoForm : public QWidget {
    Q_OBJECT
public:
    TPhotoForm(Context& ctx, QWidget* mainWindow);

    // A new run over total photographs: the counts start again from 0.
    void StartRun(int total);
    void SetImageName(std::string_view name);
    void SetCountText(std::string_view text);
    // done photographs of total handed on or passed over.
    void SetProgress(int done, int total);
    void ShowPicture(const WorkBitmap& bitmap);
    void DrawStrip(const PixelRect& rect, StripColour colour);
    void DrawOutline(std::span<const PicturePoint> points, bool closed, StripColour colour);
    // Shown not modal, at the centre of the main window.
    void ShowOverMainWindow();

    void Button1Click();  // Abort
    void Button2Click();  // Skip

private:
    Context& ctx_;
    QLabel* imageNameLabel_;
    QLabel* countLabel_;
    QProgressBar* progress_;
    QLabel* timeLeft_;
    PictureView* image1_;
    QElapsedTimer runClock_;
};

}  // namespace tagmora
