#pragma once
// The manual rename window: one problem image of the last run, its log line,
// a new name to type, and a click-to-zoom view for reading the label by eye.
#include <QDialog>

#include "app/manual_rename.h"

class QLabel;
class QLineEdit;

namespace tagmora {

struct Context;
class PictureView;

class TManualForm : public QDialog {
    Q_OBJECT
public:
    TManualForm(Context& ctx, QWidget* parent);

    // Shows the item's picture (already in ctx.bitmap, empty when the file
    // does not decode) modally; returns when the image was renamed or skipped.
    void ShowItem(const ReviewItem& item);

    // A press at position on the picture shown at the size shown.
    void FullImageMouseDown(QPoint position, QSize shown);
    void RenameButtonClick();
    void SkipButtonClick();

private:
    Context& ctx_;
    std::string folder_;
    std::string oldName_;  // as the log has it, whatever the label can show
    bool zoomed_ = false;
    QLabel* logLabel_;
    QLabel* positionLabel_;  // "n of N" among the photographs offered
    QLabel* oldNameLabel_;
    QLineEdit* newNameEdit_;
    PictureView* fullImage_;
    QLabel* hint_;
};

}  // namespace tagmora
