#include "gui/photo_form.h"

#include <QBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>

#include "app/context.h"
#include "app/process_image.h"
#include "app/progress_estimate.h"
#include "gui/application.h"
#include "gui/local_text.h"
#include "gui/picture_view.h"
#include "gui/widget_makers.h"
#include "photo/work_bitmap.h"

namespace tagmora {

namespace {

// The window's texts are set at 13 pixels, a little larger than the desktop's.
QLabel* MakeLargeLabel(QWidget* parent, const char* objectName, const QString& text) {
    QLabel* label = MakeLabel(parent, objectName, text);
    QFont font = label->font();
    font.setPixelSize(13);
    label->setFont(font);
    return label;
}

}  // namespace

TPhotoForm::TPhotoForm(Context& ctx, QWidget* mainWindow) : QWidget(mainWindow, Qt::Dialog), ctx_(ctx) {
    setObjectName("PhotoForm");
    setWindowTitle(kApplicationTitle);

    imageNameLabel_ = MakeLargeLabel(this, "ImageNameLabel", QString());
    imageNameLabel_->setMinimumWidth(140);
    auto* abort = MakeButton(this, "Button1", "Abort");
    connect(abort, &QPushButton::clicked, this, Guarded([this] { Button1Click(); }));
    auto* skip = MakeButton(this, "Button2", "Skip");
    connect(skip, &QPushButton::clicked, this, Guarded([this] { Button2Click(); }));
    countLabel_ = MakeLargeLabel(this, "CountLabel", "0");
    countLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    countLabel_->setMinimumWidth(60);

    auto* top = new QHBoxLayout;
    top->addWidget(MakeLargeLabel(this, "StaticText1", "Image Name:"));
    top->addWidget(imageNameLabel_, 1);
    top->addWidget(abort);
    top->addWidget(skip);
    top->addWidget(countLabel_);
    top->addWidget(MakeLargeLabel(this, "Label1", "Labels"));

    progress_ = new QProgressBar(this);
    progress_->setObjectName("ProgressBar");
    timeLeft_ = new QLabel(this);
    timeLeft_->setObjectName("TimeLeftLabel");
    timeLeft_->setMinimumWidth(130);
    auto* progressRow = new QHBoxLayout;
    progressRow->addWidget(progress_, 1);
    progressRow->addWidget(timeLeft_);

    image1_ = new PictureView(QSize(kPictureWidth, kPictureHeight), this);
    image1_->setObjectName("Image1");

    auto* column = new QVBoxLayout(this);
    column->addLayout(top);
    column->addLayout(progressRow);
    column->addWidget(image1_, 1);
    resize(648, 626);
}

void TPhotoForm::StartRun(int total) {
    countLabel_->setText("0");
    SetProgress(0, total);
    runClock_.start();
}

void TPhotoForm::SetImageName(std::string_view name) { imageNameLabel_->setText(FromLocal8Bit(name)); }

void TPhotoForm::SetCountText(std::string_view text) { countLabel_->setText(FromLocal8Bit(text)); }

void TPhotoForm::SetProgress(int done, int total) {
    progress_->setRange(0, std::max(total, 1));
    progress_->setValue(done);
    progress_->setFormat(FromLocal8Bit(ProgressText(done, total)));
    const double elapsed = runClock_.isValid() ? static_cast<double>(runClock_.elapsed()) / 1000.0 : 0.0;
    timeLeft_->setText(FromLocal8Bit(TimeLeftText(done, total, elapsed)));
}

void TPhotoForm::ShowPicture(const WorkBitmap& bitmap) {
    // Reduced once per image to the size it is shown at, its shape kept.
    image1_->SetPicture(
        StretchedGrey(bitmap, 0, 0, bitmap.Width, bitmap.Height, image1_->ReductionSize(bitmap.Width, bitmap.Height)));
}

// The core places strips on a picture of kPictureWidth x kPictureHeight;
// as fractions they fit the picture at whatever size and shape it is shown.
void TPhotoForm::DrawStrip(const PixelRect& rect, StripColour colour) {
    const QRectF fraction(static_cast<double>(rect.Left) / kPictureWidth,
                          static_cast<double>(rect.Top) / kPictureHeight,
                          static_cast<double>(rect.Right - rect.Left) / kPictureWidth,
                          static_cast<double>(rect.Bottom - rect.Top) / kPictureHeight);
    image1_->AddStrip(fraction, colour == StripColour::Red ? QColor(255, 0, 0) : QColor(0, 0, 0));
}

// Outlines too are placed on the kPictureWidth x kPictureHeight picture.
void TPhotoForm::DrawOutline(std::span<const PicturePoint> points, bool closed, StripColour colour) {
    QPolygonF fraction;
    for (const PicturePoint& p : points)
        fraction << QPointF(static_cast<double>(p.X) / kPictureWidth, static_cast<double>(p.Y) / kPictureHeight);
    image1_->AddOutline(fraction, closed, colour == StripColour::Red ? QColor(255, 0, 0) : QColor(0, 0, 0));
}

void TPhotoForm::ShowOverMainWindow() {
    if (!isVisible()) {
        if (QWidget* main = parentWidget()) move(main->geometry().center() - rect().center());
    }
    show();
    raise();
}

void TPhotoForm::Button1Click() { AbortClicked(ctx_); }

void TPhotoForm::Button2Click() { SkipClicked(ctx_); }

}  // namespace tagmora
