#pragma once
// A picture box: shows one image at its natural size from the top-left corner, over a
// background colour, with or without a single-line border. It is also a drawing surface:
// the image is the box's persistent picture, and lettering drawn into image() stays part
// of it (call update() afterwards). The working tile, the previews, the undo copy and the
// angle dial are image boxes.

#include "core/Colour.h"

#include <QColor>
#include <QImage>
#include <QWidget>

namespace qrb {

class ImageBox : public QWidget {
    Q_OBJECT
public:
    explicit ImageBox(QWidget* parent = nullptr);

    // With auto-size on (the default) the box takes the size of every image it is given,
    // which emits resized(); otherwise the image is clipped to the box.
    void setAutoSize(bool on) { autoSize_ = on; }
    bool autoSize() const { return autoSize_; }

    // The picture. Images are kept as QImage::Format_RGB32.
    void setImage(const QImage& image);
    const QImage& image() const { return image_; }
    QImage& image() { return image_; }
    // Removes the picture; the background shows.
    void clearImage();

    // The background colour (a colour value; system colours allowed).
    void setBackColour(ColourValue colour);
    ColourValue backColour() const { return backColour_; }

    // A single-line border drawn just inside the box's edge, in the window text colour.
    void setBorder(bool on);
    bool hasBorder() const { return border_; }

    // Drawing state of the surface, kept for the lettering routines.
    int currentX = 0;
    int currentY = 0;
    QColor foreColor = Qt::black;

signals:
    // A press and release of the left button inside the box (the box must be enabled).
    void clicked();
    // The box changed its size.
    void resized();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QImage image_;
    ColourValue backColour_;
    bool autoSize_ = true;
    bool border_ = false;
    bool pressed_ = false;
};

} // namespace qrb
