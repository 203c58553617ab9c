#pragma once
// The named controls the windows are built of: tests and the screenshots
// find each control by the name its window gives it.
#include <QString>

class QBoxLayout;
class QDialog;
class QLabel;
class QPushButton;
class QWidget;

namespace tagmora {

QLabel* MakeLabel(QWidget* parent, const char* objectName, const QString& text);

// A push button that Enter in a line edit does not press.
QPushButton* MakeButton(QWidget* parent, const char* objectName, const QString& caption);

// The row at the bottom of a dialog with its Close button ("Button1") at the
// right; Close accepts the dialog.
QBoxLayout* CloseButtonRow(QDialog* dialog);

}  // namespace tagmora
