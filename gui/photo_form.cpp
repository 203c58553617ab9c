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

QColor ShownColour(StripColour colour) { return colour == StripColour::Red ? QColor(255, 0, 0) : QColor(0, 0, 0); }

// The core places strips and outlines on a picture of kPictureWidth x
// kPictureHeight; as fractions they fit the picture at whatever size and
// shape it is shown.
QPointF Fraction(double x, double y) { return {x / kPictureWidth, y / kPictureHeight}; }

}  // namespace

TPhotoForm::TPhotoForm(Context& ctx, QWidget* mainWindow) : QWidget(mainWindow, Qt::Dialog), ctx_(ctx) {
    setObjectName("PhotoForm");
    setWindowTitle(QLatin1StringView(kApplicationTitle));

    imageNameLabel_ = MakeLargeLabel(this, "ImageNameLabel", QString());
    imageNameLabel_->setMinimumWidth(140);
    auto* abort = MakeButton(this, "Button1", tr("Abort"));
    connect(abort, &QPushButton::clicked, this, Guarded([this] { Button1Click(); }));
    auto* skip = MakeButton(this, "Button2", tr("Skip"));
    connect(skip, &QPushButton::clicked, this, Guarded([this] { Button2Click(); }));
    countLabel_ = MakeLargeLabel(this, "CountLabel", QStringLiteral("0"));
    countLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    countLabel_->setMinimumWidth(60);

    auto* top = new QHBoxLayout;
    top->addWidget(MakeLargeLabel(this, "StaticText1", tr("Image Name:")));
    top->addWidget(imageNameLabel_, 1);
    top->addWidget(abort);
    top->addWidget(skip);
    top->addWidget(countLabel_);
    top->addWidget(MakeLargeLabel(this, "Label1", tr("Labels")));

    progress_ = new QProgressBar(this);
    progress_->setObjectName("ProgressBar");
    timeLeft_ = MakeLabel(this, "TimeLeftLabel", QString());
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
    countLabel_->setText(QStringLiteral("0"));
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
    image1_->ShowPart(bitmap, {0, 0, bitmap.Width, bitmap.Height});
}

void TPhotoForm::DrawStrip(const PixelRect& rect, StripColour colour) {
    const QPointF size = Fraction(rect.Right - rect.Left, rect.Bottom - rect.Top);
    image1_->AddStrip(QRectF(Fraction(rect.Left, rect.Top), QSizeF(size.x(), size.y())), ShownColour(colour));
}

void TPhotoForm::DrawOutline(std::span<const PicturePoint> points, bool closed, StripColour colour) {
    QPolygonF fraction;
    for (const PicturePoint& p : points) fraction << Fraction(p.X, p.Y);
    image1_->AddOutline(fraction, closed, ShownColour(colour));
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
