#include "gui/icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace tagmora {

namespace {

// Draws at twice the size as well, for screens with a device pixel ratio of 2.
QIcon DrawnIcon(int size, const std::function<void(QPainter&)>& draw) {
    QIcon icon;
    for (int scale : {1, 2}) {
        QPixmap pixmap(size * scale, size * scale);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(scale * size / 16.0, scale * size / 16.0);
        draw(painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

const QColor kInk(0x30, 0x3a, 0x46);

}  // namespace

QIcon SaveIcon() {
    return DrawnIcon(16, [](QPainter& p) {
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(0x3d, 0x6f, 0xb6));
        p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 1.5, 1.5);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 1.5, 7, 5));  // label
        p.setBrush(QColor(0xd8, 0xdc, 0xe2));
        p.drawRect(QRectF(3.5, 9.5, 9, 5));  // shutter
    });
}

QIcon ExitIcon() {
    return DrawnIcon(16, [](QPainter& p) {
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(0xb0, 0x7a, 0x45));
        p.drawRect(QRectF(2.5, 1.5, 8, 13));  // door
        p.setPen(QPen(QColor(0xc0, 0x28, 0x28), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(8, 8), QPointF(14.5, 8));
        p.drawLine(QPointF(12, 5.5), QPointF(14.5, 8));
        p.drawLine(QPointF(12, 10.5), QPointF(14.5, 8));
    });
}

QIcon LogIcon() {
    return DrawnIcon(16, [](QPainter& p) {
        p.setPen(QPen(kInk, 1));
        p.setBrush(Qt::white);
        QPainterPath page;
        page.moveTo(2.5, 0.5);
        page.lineTo(10.5, 0.5);
        page.lineTo(13.5, 3.5);
        page.lineTo(13.5, 15.5);
        page.lineTo(2.5, 15.5);
        page.closeSubpath();
        p.drawPath(page);
        p.setPen(QPen(QColor(0x60, 0x6a, 0x76), 1));
        for (double y : {5.5, 8.0, 10.5, 13.0}) p.drawLine(QPointF(4.5, y), QPointF(11.5, y));
    });
}

QIcon HelpIcon() {
    return DrawnIcon(16, [](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x2f, 0x80, 0xd0));
        p.drawEllipse(QRectF(0.5, 0.5, 15, 15));
        // A question mark drawn as strokes, so that no font is needed.
        p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        QPainterPath hook;
        hook.moveTo(5.3, 5.8);
        hook.cubicTo(5.3, 2.8, 10.7, 2.8, 10.7, 5.6);
        hook.cubicTo(10.7, 7.6, 8, 7.6, 8, 9.8);
        p.drawPath(hook);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(8, 12.4), 1.2, 1.2);
    });
}

QIcon ApplicationIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter p(&pixmap);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(size / 64.0, size / 64.0);
        // The herbarium sheet, a sprig on it and the barcode label.
        p.setPen(QPen(kInk, 2));
        p.setBrush(QColor(0xf4, 0xf1, 0xe6));
        p.drawRoundedRect(QRectF(10, 3, 44, 58), 3, 3);
        p.setPen(QPen(QColor(0x3f, 0x7d, 0x3a), 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(22, 34), QPointF(36, 10));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x5a, 0x9e, 0x4b));
        p.drawEllipse(QRectF(20, 15, 10, 6));
        p.drawEllipse(QRectF(31, 20, 10, 6));
        p.drawEllipse(QRectF(24, 25, 8, 5));
        p.setBrush(Qt::white);
        p.setPen(QPen(kInk, 1.5));
        p.drawRect(QRectF(16, 40, 32, 16));
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        double x = 19;
        for (double width : {1.5, 3.0, 1.5, 1.5, 3.0, 1.5, 3.0, 1.5, 1.5, 3.0}) {
            p.drawRect(QRectF(x, 43, width, 10));
            x += width + 1.3;
        }
        p.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace tagmora
