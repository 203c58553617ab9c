#pragma once
// Help > Help: the help page shipped with the program, which also gives the
// address of the online help.
#include <QDialog>

class QTextBrowser;

namespace tagmora {

class THelpForm : public QDialog {
    Q_OBJECT
public:
    explicit THelpForm(QWidget* parent);

    // Shows the page modally; returns when the window is closed.
    void ShowHelp();

private:
    QTextBrowser* webBrowser1_;
};

}  // namespace tagmora
