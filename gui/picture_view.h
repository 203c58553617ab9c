#pragma once
// An image area that shows a picture with its own aspect ratio, as large as
// the area allows, with strips drawn over it, and reports mouse presses in
// picture coordinates: the photo window's picture and Manual Rename's view.
#include <QImage>
#include <QPolygonF>
#include <QWidget>
#include <cstdint>
#include <vector>

namespace tagmora {

struct PixelRect;
struct WorkBitmap;

// The part [left, right) x [top, bottom) of the bitmap reduced to size,
// averaging a few samples per display pixel so that thin bars survive the
// reduction. Parts outside the bitmap are mid grey.
QImage StretchedGrey(const WorkBitmap& bitmap, std::int32_t left, std::int32_t top, std::int32_t right,
                     std::int32_t bottom, QSize size);

class PictureView : public QWidget {
    Q_OBJECT
public:
    // designed: the size the area opens at; it grows with its window.
    PictureView(QSize designed, QWidget* parent);

    // Replaces the picture (and its strips, and any note) with the part of
    // the bitmap, reduced to the area's size, and repaints at once.
    void ShowPart(const WorkBitmap& bitmap, const PixelRect& part);
    // Shown instead of a picture, for one that cannot be shown.
    void SetNote(const QString& note);
    // A strip over the picture, in fractions of its width and height; at
    // least two display pixels thick however small the picture is shown.
    void AddStrip(const QRectF& fraction, const QColor& colour);
    // A line through points given in the same fractions, back to the first
    // when closed, two display pixels wide; cleared with the strips.
    void AddOutline(const QPolygonF& fraction, bool closed, const QColor& colour);

    // Where the picture is drawn within the area.
    QRect PictureRect() const;
    // The picture area as drawn, strips included.
    QImage Picture() const;

    QSize sizeHint() const override { return designed_; }

signals:
    // A press on the picture: the point within it and the size it is shown at.
    void Pressed(QPoint position, QSize shown);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    struct Strip {
        QRectF Fraction;
        QColor Colour;
    };
    struct Outline {
        QPolygonF Fraction;
        bool Closed;
        QColor Colour;
    };
    // A point given in fractions of the picture, where target shows it.
    static QPointF OnTarget(const QPointF& fraction, const QRect& target);
    static QRectF StripArea(const Strip& strip, const QRect& target);
    static QPolygonF OutlineShown(const Outline& outline, const QRect& target);
    void Replace(const QImage& picture, const QString& note);
    // Repaints at once the part of the area a new strip or outline covers.
    void RepaintOver(const QRectF& area);
    void PaintPicture(QPainter& painter, const QRect& target) const;

    QSize designed_;
    QImage picture_;
    QString note_;
    std::vector<Strip> strips_;
    std::vector<Outline> outlines_;
};

}  // namespace tagmora
