#include "gui/help_form.h"

#include <QBoxLayout>
#include <QTextBrowser>
#include <QUrl>

#include "gui/widget_makers.h"

// The page is compiled into this library; a static library's resources have
// to be registered by hand, and only from outside any namespace.
static void RegisterHelpPage() { Q_INIT_RESOURCE(resources); }

namespace tagmora {

THelpForm::THelpForm(QWidget* parent) : QDialog(parent) {
    RegisterHelpPage();
    setObjectName("HelpForm");
    setWindowTitle(tr("Tagmora Help"));

    webBrowser1_ = new QTextBrowser(this);
    webBrowser1_->setObjectName("WebBrowser1");
    // The online address opens in the user's own web browser.
    webBrowser1_->setOpenExternalLinks(true);

    auto* column = new QVBoxLayout(this);
    column->addWidget(webBrowser1_, 1);
    column->addLayout(CloseButtonRow(this));
    resize(804, 473);
}

void THelpForm::ShowHelp() {
    webBrowser1_->setSource(QUrl(QStringLiteral("qrc:/help/help.html")));
    webBrowser1_->reload();
    exec();
}

}  // namespace tagmora
