#include "gui/photo_form.h"

#include <QLabel>
#include <QPushButton>

#include "app/context.h"
#include "gui/application.h"
#include "gui/picture_view.h"
#include "app/process_image.h"
#include "photo/work_bitmap.h"

namespace tagmora {

namespace {

QLabel* MakeLabel(QWidget* parent, const char* objectName, const QString& text, int left, int top) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(objectName);
    QFont font = label->font();
    font.setPixelSize(13);
    label->setFont(font);
    label->adjustSize();
    label->move(left, top);
    return label;
}

}  // namespace

TPhotoForm::TPhotoForm(Context& ctx, QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), ctx_(ctx) {
    setObjectName("PhotoForm");
    setWindowTitle(kApplicationTitle);
    setFixedSize(648, 626);

    auto* staticText1 = MakeLabel(this, "StaticText1", "Image Name:", 16, 16);
    staticText1->setFixedSize(85, 20);
    imageNameLabel_ = MakeLabel(this, "ImageNameLabel", QString(), 112, 16);
    imageNameLabel_->setFixedWidth(140);

    auto* abort = new QPushButton("Abort", this);
    abort->setObjectName("Button1");
    abort->setGeometry(256, 8, 65, 25);
    connect(abort, &QPushButton::clicked, this, Guarded([this] { Button1Click(); }));
    auto* skip = new QPushButton("Skip", this);
    skip->setObjectName("Button2");
    skip->setGeometry(336, 8, 65, 25);
    connect(skip, &QPushButton::clicked, this, Guarded([this] { Button2Click(); }));

    // Right-aligned: placed for its first text "0", the count then grows to
    // the left from that right edge, up to the Skip button.
    countLabel_ = MakeLabel(this, "CountLabel", "0", 467, 16);
    const int countRight = countLabel_->x() + countLabel_->width();
    constexpr int kCountLeftmost = 404;
    countLabel_->setGeometry(kCountLeftmost, 16, countRight - kCountLeftmost, countLabel_->height());
    countLabel_->setAlignment(Qt::AlignRight | Qt::AlignTop);
    MakeLabel(this, "Label1", "Labels", 488, 16);

    image1_ = new PictureView(QSize(kPictureWidth, kPictureHeight), this);
    image1_->setObjectName("Image1");
    image1_->move(16, 40);
}

void TPhotoForm::SetImageName(std::string_view name) {
    imageNameLabel_->setText(QString::fromLocal8Bit(name.data(), static_cast<qsizetype>(name.size())));
}

void TPhotoForm::SetCountText(std::string_view text) {
    countLabel_->setText(QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size())));
}

void TPhotoForm::ShowPicture(const WorkBitmap& bitmap) {
    // Reduced once per image; the strips are then drawn onto the reduced copy.
    image1_->SetPicture(StretchedGrey(bitmap, 0, 0, bitmap.Width, bitmap.Height, image1_->size()));
}

void TPhotoForm::DrawStrip(const PixelRect& rect, StripColour colour) {
    image1_->FillRect(QRect(QPoint(rect.Left, rect.Top), QPoint(rect.Right - 1, rect.Bottom - 1)),
                      colour == StripColour::Red ? QColor(255, 0, 0) : QColor(0, 0, 0));
}

void TPhotoForm::ShowOverMainWindow() {
    if (QWidget* main = parentWidget()) move(main->geometry().center() - rect().center());
    show();
    raise();
}

void TPhotoForm::Button1Click() { AbortClicked(ctx_); }

void TPhotoForm::Button2Click() { SkipClicked(ctx_); }

}  // namespace tagmora
