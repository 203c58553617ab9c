#include "gui/widget_makers.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>

namespace tagmora {

QLabel* MakeLabel(QWidget* parent, const char* objectName, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(objectName);
    return label;
}

QPushButton* MakeButton(QWidget* parent, const char* objectName, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    return button;
}

QBoxLayout* CloseButtonRow(QDialog* dialog) {
    auto* close = new QPushButton(QCoreApplication::translate("tagmora::CloseButtonRow", "Close"), dialog);
    close->setObjectName("Button1");
    close->setDefault(true);
    QObject::connect(close, &QPushButton::clicked, dialog, &QDialog::accept);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(close);
    return row;
}

}  // namespace tagmora
