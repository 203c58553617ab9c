#include "gui/picture_view.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>

#include "photo/work_bitmap.h"

namespace tagmora {

namespace {

constexpr std::uint8_t kOutsideGrey = 128;
// Samples per display pixel along each axis; enough to keep a barcode's thin
// bars visible as grey when a 6000-pixel photograph fills 617 pixels.
constexpr int kSamplesPerAxis = 4;

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
                    const auto sx = static_cast<std::int64_t>(std::floor(left + (tx + (i + 0.5) / kSamplesPerAxis) * spanX));
                    const bool inside = sx >= 0 && sy >= 0 && sx < bitmap.Width && sy < bitmap.Height;
                    sum += inside ? bitmap.At(static_cast<std::int32_t>(sx), static_cast<std::int32_t>(sy)) : kOutsideGrey;
                }
            }
            line[tx] = static_cast<std::uint8_t>(sum / (kSamplesPerAxis * kSamplesPerAxis));
        }
    }
    return picture;
}

PictureView::PictureView(QSize size, QWidget* parent) : QWidget(parent), canvas_(size, QImage::Format_RGB32) {
    setFixedSize(size);
    canvas_.fill(palette().color(QPalette::Window));
}

void PictureView::SetPicture(const QImage& picture) {
    canvas_ = picture.convertToFormat(QImage::Format_RGB32);
    repaint();
}

void PictureView::FillRect(const QRect& rect, const QColor& colour) {
    QPainter painter(&canvas_);
    painter.fillRect(rect, colour);
    painter.end();
    repaint();
}

void PictureView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, canvas_);
}

void PictureView::mousePressEvent(QMouseEvent* event) { emit Pressed(event->position().toPoint()); }

}  // namespace tagmora
