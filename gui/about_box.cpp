#include "gui/about_box.h"

#include <QBoxLayout>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "base/version.h"
#include "gui/local_text.h"
#include "gui/widget_makers.h"

namespace tagmora {

namespace {

QLabel* CentredLabel(QWidget* parent, const char* objectName, const QString& text) {
    QLabel* label = MakeLabel(parent, objectName, text);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

}  // namespace

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName("AboutBox");
    setWindowTitle(tr("About"));
    setModal(false);

    panel1_ = new QFrame(this);
    panel1_->setObjectName("Panel1");
    panel1_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel1_->setLineWidth(2);
    auto* productName = CentredLabel(panel1_, "ProductName", QStringLiteral("Tagmora"));
    QFont bold = productName->font();
    bold.setBold(true);
    bold.setPixelSize(13);
    productName->setFont(bold);
    versionLabel_ = CentredLabel(panel1_, "VersionLabel", QString());
    auto* comments = CentredLabel(panel1_, "Comments",
                                  tr("Reads the barcode label of each herbarium\nsheet photograph and renames the "
                                     "photograph\nto the specimen's catalogue number."));
    auto* lines = new QVBoxLayout(panel1_);
    lines->addWidget(productName);
    lines->addWidget(CentredLabel(panel1_, "Label1", tr("Unified Version")));
    lines->addWidget(versionLabel_);
    lines->addWidget(comments);

    auto* okButton = new QPushButton(tr("OK"), this);
    okButton->setObjectName("OKButton");
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &QDialog::close);

    auto* column = new QVBoxLayout(this);
    column->addWidget(panel1_);
    column->addWidget(okButton, 0, Qt::AlignHCenter);
    column->setSizeConstraint(QLayout::SetFixedSize);
}

void TAboutBox::ShowAbout() {
    versionLabel_->setText(tr("Version %1").arg(FromLocal8Bit(FileVersionText())));
    const bool wasVisible = isVisible();
    show();
    // Centred once its size is known, on the screen of the main window.
    if (!wasVisible) {
        QWidget* main = parentWidget();
        if (QScreen* display = main ? main->screen() : screen())
            move(display->availableGeometry().center() - QPoint(frameGeometry().width(), frameGeometry().height()) / 2);
    }
    raise();
    activateWindow();
}

}  // namespace tagmora
