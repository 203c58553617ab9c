#include "gui/about_box.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "base/version.h"
#include "gui/fixed_layout.h"

namespace tagmora {

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName("AboutBox");
    setWindowTitle("About");
    setModal(false);
    setFixedSize(298, 213);
    setFont(CompactFont(font()));

    panel1_ = new QFrame(this);
    panel1_->setObjectName("Panel1");
    panel1_->setGeometry(8, 8, 281, 161);
    panel1_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel1_->setLineWidth(2);

    auto* productName = new QLabel("Tagmora", panel1_);
    productName->setObjectName("ProductName");
    QFont bold = productName->font();
    bold.setBold(true);
    bold.setPixelSize(13);
    productName->setFont(bold);
    productName->adjustSize();
    productName->move(80, 16);
    PlaceLabel(panel1_, "Label1", "Unified Version", 108, 44);
    versionLabel_ = PlaceLabel(panel1_, "VersionLabel", QString(), 0, 72);
    versionLabel_->setAlignment(Qt::AlignCenter);
    PlaceLabel(panel1_, "Comments", "Reads the barcode label of each herbarium\nsheet photograph and renames the photograph\nto the specimen's catalogue number.", 12, 100);

    auto* okButton = new QPushButton("OK", this);
    okButton->setObjectName("OKButton");
    okButton->setGeometry(111, 180, 75, 25);
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &QDialog::close);
}

void TAboutBox::ShowAbout() {
    versionLabel_->setText("Version " + QString::fromLocal8Bit(FileVersionText()));
    versionLabel_->adjustSize();
    versionLabel_->move(panel1_->width() / 2 - versionLabel_->width() / 2, 72);
    if (!isVisible()) {
        if (QScreen* display = screen()) move(display->availableGeometry().center() - rect().center());
    }
    show();
    raise();
    activateWindow();
}

}  // namespace tagmora
