#pragma once
// The photo window of a run: the image in hand in grey with its scan lines,
// its name, the count of labels read, and Abort and Skip.
#include <QWidget>

#include <string_view>

#include "base/front_end.h"

class QLabel;
class QPushButton;

namespace tagmora {

struct Context;
struct WorkBitmap;
class PictureView;

class TPhotoForm : public QWidget {
    Q_OBJECT
public:
    TPhotoForm(Context& ctx, QWidget* mainWindow);

    void SetImageName(std::string_view name);
    void SetCountText(std::string_view text);
    void ShowPicture(const WorkBitmap& bitmap);
    void DrawStrip(const PixelRect& rect, StripColour colour);
    // Shown not modal, at the centre of the main window.
    void ShowOverMainWindow();

    void Button1Click();  // Abort
    void Button2Click();  // Skip

private:
    Context& ctx_;
    QLabel* imageNameLabel_;
    QLabel* countLabel_;
    PictureView* image1_;
};

}  // namespace tagmora
