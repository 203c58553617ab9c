#include "gui/picture_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "photo/work_bitmap.h"

namespace tagmora {

namespace {

constexpr std::uint8_t kOutsideGrey = 128;
// Samples per display pixel along each axis; enough to keep a barcode's thin
// bars visible as grey when a 6000-pixel photograph fills 617 pixels.
constexpr int kSamplesPerAxis = 4;
constexpr double kThinnestStrip = 2.0;

// size scaled to fit within bounds, keeping its aspect ratio.
QSize Fitted(QSizeF size, QSize bounds) {
    if (size.isEmpty() || bounds.isEmpty()) return QSize(1, 1);
    const QSize fitted = size.scaled(QSizeF(bounds), Qt::KeepAspectRatio).toSize();
    return fitted.expandedTo(QSize(1, 1));
}

}  // namespace

QImage StretchedGrey(const WorkBitmap& bitmap, std::int32_t left, std::int32_t top, std::int32_t right,
                     std::int32_t bottom, QSize size) {
    QImage picture(size, QImage::Format_Grayscale8);
    const double spanX = static_cast<double>(right - left) / size.width();
    const double spanY = static_cast<double>(bottom - top) / size.height();
    for (int ty = 0; ty < size.height(); ++ty) {
        std::uint8_t* line = picture.scanLine(ty);
        for (int tx = 0; tx < size.width(); ++tx) {
            int sum = 0;
            for (int j = 0; j < kSamplesPerAxis; ++j) {
                const auto sy = static_cast<std::int64_t>(std::floor(top + (ty + (j + 0.5) / kSamplesPerAxis) * spanY));
                for (int i = 0; i < kSamplesPerAxis; ++i) {
                    const auto sx =
                        static_cast<std::int64_t>(std::floor(left + (tx + (i + 0.5) / kSamplesPerAxis) * spanX));
                    const bool inside = sx >= 0 && sy >= 0 && sx < bitmap.Width && sy < bitmap.Height;
                    sum +=
                        inside ? bitmap.At(static_cast<std::int32_t>(sx), static_cast<std::int32_t>(sy)) : kOutsideGrey;
                }
            }
            line[tx] = static_cast<std::uint8_t>(sum / (kSamplesPerAxis * kSamplesPerAxis));
        }
    }
    return picture;
}

PictureView::PictureView(QSize designed, QWidget* parent) : QWidget(parent), designed_(designed) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setMinimumSize(designed / 3);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QSize PictureView::ReductionSize(std::int64_t width, std::int64_t height) const {
    return Fitted(QSizeF(static_cast<double>(width), static_cast<double>(height)), size().expandedTo(designed_));
}

void PictureView::SetPicture(const QImage& picture) {
    picture_ = picture.convertToFormat(QImage::Format_RGB32);
    note_.clear();
    strips_.clear();
    outlines_.clear();
    repaint();
}

void PictureView::SetNote(const QString& note) {
    picture_ = QImage();
    note_ = note;
    strips_.clear();
    outlines_.clear();
    repaint();
}

void PictureView::AddStrip(const QRectF& fraction, const QColor& colour) {
    strips_.push_back({fraction, colour});
    repaint();
}

void PictureView::AddOutline(const QPolygonF& fraction, bool closed, const QColor& colour) {
    outlines_.push_back({fraction, closed, colour});
    repaint();
}

QRect PictureView::PictureRect() const {
    if (picture_.isNull()) return rect();
    QRect shown(QPoint(0, 0), Fitted(QSizeF(picture_.size()), size()));
    shown.moveCenter(rect().center());
    return shown;
}

QImage PictureView::Picture() const {
    const QRect shown = PictureRect();
    QImage image(shown.size(), QImage::Format_RGB32);
    QPainter painter(&image);
    PaintPicture(painter, QRect(QPoint(0, 0), shown.size()));
    return image;
}

void PictureView::PaintPicture(QPainter& painter, const QRect& target) const {
    if (picture_.isNull()) {
        painter.fillRect(target, palette().color(QPalette::Dark));
        painter.drawText(target, Qt::AlignCenter | Qt::TextWordWrap, note_);
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, picture_);
    for (const Strip& strip : strips_) {
        QRectF area(target.x() + strip.Fraction.x() * target.width(), target.y() + strip.Fraction.y() * target.height(),
                    strip.Fraction.width() * target.width(), strip.Fraction.height() * target.height());
        // A strip is thin along one axis; keep it visible along that one.
        if (area.height() < kThinnestStrip && area.height() <= area.width())
            area.adjust(0, 0, 0, kThinnestStrip - area.height());
        if (area.width() < kThinnestStrip && area.width() < area.height())
            area.adjust(0, 0, kThinnestStrip - area.width(), 0);
        painter.fillRect(area, strip.Colour);
    }
    PaintOutlines(painter, target);
}

void PictureView::PaintOutlines(QPainter& painter, const QRect& target) const {
    for (const Outline& outline : outlines_) {
        QPolygonF shown;
        for (const QPointF& p : outline.Fraction)
            shown << QPointF(target.x() + p.x() * target.width(), target.y() + p.y() * target.height());
        painter.setPen(QPen(outline.Colour, kThinnestStrip));
        painter.setBrush(Qt::NoBrush);
        if (outline.Closed)
            painter.drawPolygon(shown);
        else
            painter.drawPolyline(shown);
    }
}

void PictureView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    PaintPicture(painter, PictureRect());
}

void PictureView::mousePressEvent(QMouseEvent* event) {
    const QRect shown = PictureRect();
    QPoint position = event->position().toPoint() - shown.topLeft();
    position.setX(std::clamp(position.x(), 0, shown.width() - 1));
    position.setY(std::clamp(position.y(), 0, shown.height() - 1));
    emit Pressed(position, shown.size());
}

}  // namespace tagmora
