#include "gui/manual_form.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/context.h"
#include "gui/application.h"
#include "gui/fixed_layout.h"
#include "gui/picture_view.h"

namespace tagmora {

namespace {

std::string Local8Bit(const QString& text) { return text.toLocal8Bit().toStdString(); }

}  // namespace

TManualForm::TManualForm(Context& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
    setObjectName("ManualForm");
    setWindowTitle("Tagmora -- Manual Rename");
    setModal(true);
    setFixedSize(617, 538);  // the client area of a 633 x 577 window
    setFont(CompactFont(font()));

    logLabel_ = PlaceLabel(this, "LogLabel", QString(), 32, 8);
    logLabel_->setFixedWidth(width() - 40);
    // Right-aligned: a long name grows to the left, away from the arrow.
    oldNameLabel_ = PlaceLabel(this, "OldNameLabel", QString(), 8, 36);
    oldNameLabel_->setFixedWidth(175 - 8);
    oldNameLabel_->setAlignment(Qt::AlignRight | Qt::AlignTop);
    auto* arrow = PlaceLabel(this, "Label1", "-->", 179, 36);
    QFont bold = arrow->font();
    bold.setBold(true);
    bold.setPixelSize(15);
    arrow->setFont(bold);
    arrow->adjustSize();

    newNameEdit_ = new QLineEdit(this);
    newNameEdit_->setObjectName("NewNameEdit");
    newNameEdit_->setGeometry(200, 34, 193, 21);
    auto* rename = new QPushButton("Rename", this);
    rename->setObjectName("RenameButton");
    rename->setGeometry(424, 32, 65, 25);
    rename->setAutoDefault(false);
    connect(rename, &QPushButton::clicked, this, Guarded([this] { RenameButtonClick(); }));
    auto* skip = new QPushButton("Skip", this);
    skip->setObjectName("SkipButton");
    skip->setGeometry(512, 32, 65, 25);
    skip->setAutoDefault(false);
    connect(skip, &QPushButton::clicked, this, Guarded([this] { SkipButtonClick(); }));

    fullImage_ = new PictureView(QSize(601, 444), this);
    fullImage_->setObjectName("FullImage");
    fullImage_->move(8, 72);
    fullImage_->setCursor(Qt::CrossCursor);
    connect(fullImage_, &PictureView::Pressed, this, [this](QPoint position) {
        RunGuarded([&] { FullImageMouseDown(position); });
    });
    PlaceLabel(this, "Label2", "(Click the image to zoom in)", 240, 520);
}

void TManualForm::ShowItem(const ReviewItem& item) {
    folder_ = item.Folder;
    oldName_ = item.Name;
    zoomed_ = false;
    logLabel_->setText(QString::fromLocal8Bit(item.Line));
    oldNameLabel_->setText(QString::fromLocal8Bit(item.Name));
    newNameEdit_->setText(QString::fromLocal8Bit(item.Name));
    ShowWholeImage();
    newNameEdit_->setFocus();
    exec();
}

void TManualForm::ShowWholeImage() {
    const WorkBitmap& bitmap = ctx_.bitmap;
    fullImage_->SetPicture(StretchedGrey(bitmap, 0, 0, bitmap.Width, bitmap.Height, fullImage_->size()));
}

void TManualForm::FullImageMouseDown(QPoint position) {
    const WorkBitmap& bitmap = ctx_.bitmap;
    const PixelRect shown = PressOnView(zoomed_, bitmap.Width, bitmap.Height, fullImage_->width(),
                                       fullImage_->height(), position.x(), position.y());
    fullImage_->SetPicture(StretchedGrey(bitmap, shown.Left, shown.Top, shown.Right, shown.Bottom, fullImage_->size()));
}

void TManualForm::RenameButtonClick() {
    // The window stays open on failure: the user may type another name or skip.
    if (!ManualRenameFiles(folder_, oldName_, Local8Bit(newNameEdit_->text()))) {
        ctx_.ui.ShowMessage("Unable to rename file.");
        return;
    }
    accept();
}

void TManualForm::SkipButtonClick() { reject(); }

}  // namespace tagmora
