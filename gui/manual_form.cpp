#include "gui/manual_form.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/context.h"
#include "gui/application.h"
#include "gui/local_text.h"
#include "gui/picture_view.h"
#include "gui/widget_makers.h"

namespace tagmora {

namespace {

const char* const kZoomInHint = QT_TRANSLATE_NOOP("tagmora::TManualForm", "(Click the image to zoom in)");
const char* const kZoomOutHint = QT_TRANSLATE_NOOP("tagmora::TManualForm", "(Click the image to zoom out)");

}  // namespace

TManualForm::TManualForm(Context& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
    setObjectName("ManualForm");
    setWindowTitle(tr("Tagmora -- Manual Rename"));
    setModal(true);

    logLabel_ = MakeLabel(this, "LogLabel", QString());
    logLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    positionLabel_ = MakeLabel(this, "PositionLabel", QString());
    positionLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // Right-aligned: a long name grows to the left, away from the arrow.
    oldNameLabel_ = MakeLabel(this, "OldNameLabel", QString());
    oldNameLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* arrow = MakeLabel(this, "Label1", QStringLiteral("-->"));
    QFont bold = arrow->font();
    bold.setBold(true);
    bold.setPixelSize(15);
    arrow->setFont(bold);
    newNameEdit_ = new QLineEdit(this);
    newNameEdit_->setObjectName("NewNameEdit");
    newNameEdit_->setMinimumWidth(193);
    connect(newNameEdit_, &QLineEdit::returnPressed, this, Guarded([this] { RenameButtonClick(); }));
    auto* rename = MakeButton(this, "RenameButton", tr("Rename"));
    connect(rename, &QPushButton::clicked, this, Guarded([this] { RenameButtonClick(); }));
    auto* skip = MakeButton(this, "SkipButton", tr("Skip"));
    connect(skip, &QPushButton::clicked, this, Guarded([this] { SkipButtonClick(); }));

    auto* names = new QHBoxLayout;
    names->addWidget(oldNameLabel_, 1);
    names->addWidget(arrow);
    names->addWidget(newNameEdit_, 1);
    names->addWidget(rename);
    names->addWidget(skip);

    fullImage_ = new PictureView(QSize(601, 444), this);
    fullImage_->setObjectName("FullImage");
    fullImage_->setCursor(Qt::CrossCursor);
    connect(fullImage_, &PictureView::Pressed, this,
            [this](QPoint position, QSize shown) { RunGuarded([&] { FullImageMouseDown(position, shown); }); });
    hint_ = MakeLabel(this, "Label2", tr(kZoomInHint));
    // The whole width, so that the longer hint never waits for a new layout.
    hint_->setAlignment(Qt::AlignCenter);

    auto* top = new QHBoxLayout;
    top->addWidget(logLabel_, 1);
    top->addWidget(positionLabel_);

    auto* column = new QVBoxLayout(this);
    column->addLayout(top);
    column->addLayout(names);
    column->addWidget(fullImage_, 1);
    column->addWidget(hint_);
    resize(617, 538);  // the client area of a 633 x 577 window
}

void TManualForm::ShowItem(const ReviewItem& item) {
    folder_ = item.Folder;
    oldName_ = item.Name;
    zoomed_ = false;
    logLabel_->setText(FromLocal8Bit(item.Line));
    positionLabel_->setText(tr("%1 of %2").arg(item.Position).arg(item.Count));
    oldNameLabel_->setText(FromLocal8Bit(item.Name));
    newNameEdit_->setText(FromLocal8Bit(item.Name));
    const WorkBitmap& bitmap = ctx_.bitmap;
    if (bitmap.Empty())
        fullImage_->SetNote(tr("The picture cannot be shown: the file does not decode as a JPEG photograph."));
    else
        fullImage_->ShowPart(bitmap, {0, 0, bitmap.Width, bitmap.Height});
    hint_->setText(tr(kZoomInHint));
    hint_->setVisible(!bitmap.Empty());
    newNameEdit_->setFocus();
    newNameEdit_->selectAll();
    exec();
}

void TManualForm::FullImageMouseDown(QPoint position, QSize shown) {
    const WorkBitmap& bitmap = ctx_.bitmap;
    if (bitmap.Empty()) return;
    fullImage_->ShowPart(bitmap, PressOnView(zoomed_, bitmap.Width, bitmap.Height, shown.width(), shown.height(),
                                             position.x(), position.y()));
    hint_->setText(tr(zoomed_ ? kZoomOutHint : kZoomInHint));
}

void TManualForm::RenameButtonClick() {
    // The window stays open on a refusal: the user may type another name or skip.
    if (const std::string refusal = ManualRename(ctx_, folder_, oldName_, Local8Bit(newNameEdit_->text()));
        !refusal.empty()) {
        ctx_.ui.ShowMessage(refusal);
        return;
    }
    accept();
}

void TManualForm::SkipButtonClick() { reject(); }

}  // namespace tagmora
