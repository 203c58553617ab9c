#pragma once
// An image area of a fixed size that shows a canvas and reports mouse
// presses: the photo window's picture and the manual rename window's view.
#include <QImage>
#include <QWidget>

#include <cstdint>

namespace tagmora {

struct WorkBitmap;

// The part [left, right) x [top, bottom) of the bitmap stretched over size
// (aspect ratio not kept), averaging a few samples per display pixel so that
// thin bars survive the reduction. Parts outside the bitmap are mid grey.
QImage StretchedGrey(const WorkBitmap& bitmap, std::int32_t left, std::int32_t top, std::int32_t right,
                     std::int32_t bottom, QSize size);

class PictureView : public QWidget {
    Q_OBJECT
public:
    PictureView(QSize size, QWidget* parent);

    // Replaces the canvas and repaints at once.
    void SetPicture(const QImage& picture);
    // Fills a rectangle of the canvas and repaints at once.
    void FillRect(const QRect& rect, const QColor& colour);
    const QImage& Picture() const { return canvas_; }

signals:
    void Pressed(QPoint position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QImage canvas_;
};

}  // namespace tagmora
