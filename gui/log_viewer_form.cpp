#include "gui/log_viewer_form.h"

#include <QBoxLayout>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QScrollBar>

#include "gui/widget_makers.h"

namespace tagmora {

TLogViewerForm::TLogViewerForm(QWidget* parent) : QDialog(parent) {
    setObjectName("LogViewerForm");
    setWindowTitle(tr("Tagmora Log File"));

    // Read-only: the log is the record of what was renamed, never edited here.
    memo1_ = new QPlainTextEdit(this);
    memo1_->setObjectName("Memo1");
    memo1_->setReadOnly(true);
    memo1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo1_->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(13);
    memo1_->setFont(font);

    auto* column = new QVBoxLayout(this);
    column->addWidget(memo1_, 1);
    column->addLayout(CloseButtonRow(this));
    resize(574, 629);  // the client area of a 590 x 668 window
}

void TLogViewerForm::ShowLog(const QString& text) {
    QString display = text;
    display.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    memo1_->setPlainText(display);
    ScrollToEnd();
    exec();
}

void TLogViewerForm::ScrollToEnd() {
    memo1_->moveCursor(QTextCursor::End);
    memo1_->verticalScrollBar()->setValue(memo1_->verticalScrollBar()->maximum());
}

void TLogViewerForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    ScrollToEnd();
}

}  // namespace tagmora
