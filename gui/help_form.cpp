#include "gui/help_form.h"

#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>

// The page is compiled into this library; a static library's resources have
// to be registered by hand, and only from outside any namespace.
static void RegisterHelpPage() { Q_INIT_RESOURCE(resources); }

namespace tagmora {

THelpForm::THelpForm(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
    RegisterHelpPage();
    setObjectName("HelpForm");
    setWindowTitle("TGM Online Help");
    setFixedSize(804, 473);

    auto* close = new QPushButton("Close", this);
    close->setObjectName("Button1");
    close->setGeometry(352, 8, 97, 33);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    webBrowser1_ = new QTextBrowser(this);
    webBrowser1_->setObjectName("WebBrowser1");
    webBrowser1_->setGeometry(0, 56, 804, 417);
    // The online address opens in the user's own web browser.
    webBrowser1_->setOpenExternalLinks(true);
}

void THelpForm::ShowHelp() {
    webBrowser1_->setSource(QUrl("qrc:/help/help.html"));
    webBrowser1_->reload();
    exec();
}

}  // namespace tagmora
