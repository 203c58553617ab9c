#include "gui/help_form.h"

#include <QBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>

// The page is compiled into this library; a static library's resources have
// to be registered by hand, and only from outside any namespace.
static void RegisterHelpPage() { Q_INIT_RESOURCE(resources); }

namespace tagmora {

THelpForm::THelpForm(QWidget* parent) : QDialog(parent) {
    RegisterHelpPage();
    setObjectName("HelpForm");
    setWindowTitle("Tagmora Help");

    webBrowser1_ = new QTextBrowser(this);
    webBrowser1_->setObjectName("WebBrowser1");
    // The online address opens in the user's own web browser.
    webBrowser1_->setOpenExternalLinks(true);

    auto* close = new QPushButton("Close", this);
    close->setObjectName("Button1");
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* column = new QVBoxLayout(this);
    column->addWidget(webBrowser1_, 1);
    column->addLayout(buttons);
    resize(804, 473);
}

void THelpForm::ShowHelp() {
    webBrowser1_->setSource(QUrl("qrc:/help/help.html"));
    webBrowser1_->reload();
    exec();
}

}  // namespace tagmora
