#pragma once
// View > View Log File: the whole log, read-only, opened at its end so that
// the last run is in view.
#include <QDialog>

class QPlainTextEdit;

namespace tagmora {

class TLogViewerForm : public QDialog {
    Q_OBJECT
public:
    explicit TLogViewerForm(QWidget* parent);

    // Shows the text modally; returns when the window is closed.
    void ShowLog(const QString& text);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ScrollToEnd();

    QPlainTextEdit* memo1_;
};

}  // namespace tagmora
