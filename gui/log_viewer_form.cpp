#include "gui/log_viewer_form.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

namespace tagmora {

namespace {

constexpr int kMemoTop = 40;

}  // namespace

TLogViewerForm::TLogViewerForm(QWidget* parent) : QDialog(parent) {
    setObjectName("LogViewerForm");
    setWindowTitle("Tagmora Log File");
    resize(574, 629);  // the client area of a 590 x 668 window

    auto* close = new QPushButton("Close", this);
    close->setObjectName("Button1");
    close->setGeometry(248, 8, 73, 25);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    memo1_ = new QPlainTextEdit(this);
    memo1_->setObjectName("Memo1");
    memo1_->setGeometry(0, kMemoTop, 574, 589);
    memo1_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo1_->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(13);
    memo1_->setFont(font);
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

// The text fills the window below the button, however the window is sized.
void TLogViewerForm::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    memo1_->setGeometry(0, kMemoTop, width(), height() - kMemoTop);
}

}  // namespace tagmora
