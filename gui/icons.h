#pragma once
// The program's pictures, drawn in code: the menu icons (16 x 16) and the
// application icon (a sheet with a barcode label, like tagmora.svg).
#include <QIcon>

namespace tagmora {

QIcon SaveIcon();
QIcon ExitIcon();
QIcon LogIcon();
QIcon HelpIcon();
QIcon ApplicationIcon();

}  // namespace tagmora
