#pragma once
// The windows place their controls by pixel, as designed for a compact
// 11-pixel sans-serif font. Helpers to keep captions legible in that layout
// whatever fonts the desktop has.
#include <QFont>
#include <QString>

class QLabel;
class QWidget;

namespace tagmora {

// An 11-pixel font of a narrow sans-serif family where one is installed.
QFont CompactFont(const QFont& base);

// Makes the caption of a control fit its designed width by stepping its font
// down a pixel at a time (to 9 pixels at most), instead of cutting it off.
void FitCaption(QWidget* control);

// A label sized to its text with its top-left corner at (left, top).
QLabel* PlaceLabel(QWidget* parent, const char* objectName, const QString& text, int left, int top);

}  // namespace tagmora
