#pragma once
// A picture box: shows one image at its natural size from the top-left corner, over a
// background colour, with or without a single-line border. Its picture is either its own
// (setImage: the previews; a drawing surface for the angle dial, whose lettering drawn
// into surface() stays part of it) or read from its owner whenever it is painted
// (setSource: the working tile shows the document's picture without a copy).

#include "core/Colour.h"

#include <QColor>
#include <QImage>
#include <QWidget>

#include <functional>

class QPainter;

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
    // The picture is whatever `source` returns when the box is painted; call refresh()
    // after it changed. The reference must stay valid until the next refresh().
    void setSource(std::function<const QImage&()> source);
    void refresh();
    // The source changed only within `pixels` (picture pixels; its size did not change):
    // repaints that part of the box alone.
    void refreshArea(const QRect& pixels);
    const QImage& image() const { return source_ ? source_() : image_; }
    // The box's own picture as a drawing surface (call update() after drawing).
    QImage& surface() { return image_; }
    // Removes the picture; the background shows.
    void clearImage();

    // Each picture pixel shown as a `zoom` x `zoom` square (whole zooms 1 to 16), or the
    // picture scaled down smoothly (1/2, 1/4, 1/8); the box's size with auto-size is the
    // picture's times the zoom.
    static constexpr double kMinimumZoom = 0.125;
    static constexpr double kMaximumZoom = 16;
    void setZoom(double zoom);
    double zoom() const { return zoom_; }

    // The background colour (a colour value; system colours allowed).
    void setBackColour(ColourValue colour);
    ColourValue backColour() const { return backColour_; }

    // The box takes the focus with Tab, shows it with a focus frame, and Space or Enter
    // click it as the mouse does.
    void setKeyboardClicks(bool on);

    // A single-line border drawn just inside the box's edge, in the window text colour.
    void setBorder(bool on);
    bool hasBorder() const { return border_; }

    // The colour the angle dial's digits are drawn in.
    QColor foreColor = Qt::black;

signals:
    // A press and release of the left button inside the box (the box must be enabled).
    void clicked();
    // The box changed its size.
    void resized();

protected:
    // A press that is not to end as a click (it became a drag).
    void forgetPress() { pressed_ = false; }
    // Whether the box draws its own focus frame over its picture (else its holder shows it).
    bool drawsFocus_ = true;
    void paintEvent(QPaintEvent* event) override;
    // Drawn over the picture (within `dirty`) with the box's own painter.
    virtual void paintOver(QPainter& /*painter*/, const QRect& /*dirty*/) {}
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void takeSize(QSize size);

    QImage image_;
    std::function<const QImage&()> source_;
    ColourValue backColour_;
    bool autoSize_ = true;
    bool border_ = false;
    bool pressed_ = false;
    double zoom_ = 1;
};

} // namespace qrb
