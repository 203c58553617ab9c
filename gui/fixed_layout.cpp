#include "gui/fixed_layout.h"

#include <QLabel>
#include <QWidget>

namespace tagmora {

namespace {

constexpr int kDesignedPixels = 11;
constexpr int kSmallestPixels = 9;

}  // namespace

QFont CompactFont(const QFont& base) {
    QFont font = base;
    font.setFamilies({"Liberation Sans", "Arial", "Nimbus Sans", "Helvetica", base.family()});
    font.setPixelSize(kDesignedPixels);
    return font;
}

void FitCaption(QWidget* control) {
    QFont font = control->font();
    while (control->sizeHint().width() > control->width() && font.pixelSize() > kSmallestPixels) {
        font.setPixelSize(font.pixelSize() - 1);
        control->setFont(font);
    }
}

QLabel* PlaceLabel(QWidget* parent, const char* objectName, const QString& text, int left, int top) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(objectName);
    label->adjustSize();
    label->move(left, top);
    return label;
}

}  // namespace tagmora
