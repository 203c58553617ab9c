#include "gui/picture_view.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "base/pixel_rect.h"
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

void PictureView::ShowPart(const WorkBitmap& bitmap, const PixelRect& part) {
    // Reduced once, to the size it is shown at (at least the designed size)
    // with its shape kept; the strips are then drawn over it as it stands.
    const QSize reduced = Fitted(QSizeF(part.Right - part.Left, part.Bottom - part.Top), size().expandedTo(designed_));
    Replace(StretchedGrey(bitmap, part.Left, part.Top, part.Right, part.Bottom, reduced), QString());
}

void PictureView::SetNote(const QString& note) { Replace(QImage(), note); }

void PictureView::Replace(const QImage& picture, const QString& note) {
    picture_ = picture.convertToFormat(QImage::Format_RGB32);
    note_ = note;
    strips_.clear();
    outlines_.clear();
    repaint();
}

void PictureView::AddStrip(const QRectF& fraction, const QColor& colour) {
    strips_.push_back({fraction, colour});
    // Only the strip's own pixels change: a run draws many strips per
    // photograph, each on screen before the next line is scanned, and
    // repainting the whole picture for each would redraw all the others.
    if (!picture_.isNull()) RepaintOver(StripArea(strips_.back(), PictureRect()));
}

void PictureView::AddOutline(const QPolygonF& fraction, bool closed, const QColor& colour) {
    outlines_.push_back({fraction, closed, colour});
    if (!picture_.isNull()) RepaintOver(OutlineShown(outlines_.back(), PictureRect()).boundingRect());
}

void PictureView::RepaintOver(const QRectF& area) {
    // Room for the pen's width and for rounding to whole pixels.
    const int margin = static_cast<int>(std::ceil(kThinnestStrip)) + 1;
    repaint(area.toAlignedRect().adjusted(-margin, -margin, margin, margin));
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

QPointF PictureView::OnTarget(const QPointF& fraction, const QRect& target) {
    return {target.x() + fraction.x() * target.width(), target.y() + fraction.y() * target.height()};
}

QRectF PictureView::StripArea(const Strip& strip, const QRect& target) {
    QRectF area(OnTarget(strip.Fraction.topLeft(), target),
                QSizeF(strip.Fraction.width() * target.width(), strip.Fraction.height() * target.height()));
    // A strip is thin along one axis; keep it visible along that one.
    if (area.height() < kThinnestStrip && area.height() <= area.width())
        area.adjust(0, 0, 0, kThinnestStrip - area.height());
    if (area.width() < kThinnestStrip && area.width() < area.height())
        area.adjust(0, 0, kThinnestStrip - area.width(), 0);
    return area;
}

QPolygonF PictureView::OutlineShown(const Outline& outline, const QRect& target) {
    QPolygonF shown;
    for (const QPointF& p : outline.Fraction) shown << OnTarget(p, target);
    return shown;
}

void PictureView::PaintPicture(QPainter& painter, const QRect& target) const {
    if (picture_.isNull()) {
        painter.fillRect(target, palette().color(QPalette::Dark));
        painter.drawText(target, Qt::AlignCenter | Qt::TextWordWrap, note_);
        return;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, picture_);
    for (const Strip& strip : strips_) painter.fillRect(StripArea(strip, target), strip.Colour);
    painter.setBrush(Qt::NoBrush);
    for (const Outline& outline : outlines_) {
        painter.setPen(QPen(outline.Colour, kThinnestStrip));
        if (outline.Closed)
            painter.drawPolygon(OutlineShown(outline, target));
        else
            painter.drawPolyline(OutlineShown(outline, target));
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
