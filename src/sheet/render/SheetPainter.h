#pragma once
// Draws laid-out print sheet pages onto any QPainter: a PDF writer, an image, a printer.
// Tile pictures are drawn at their own pixels, stretched only by the painter's transform
// (no resampling here), and each picture is handed to the painter as the same QImage every
// time it appears, so a PDF embeds it once however often it is printed. Bleed repeats each
// tile's outermost pixels outwards. Pages with text (the calibration pages) need a
// QGuiApplication for their fonts.

#include "sheet/SheetArt.h"
#include "sheet/SheetLayout.h"

#include <QColor>
#include <QImage>
#include <QRectF>

#include <unordered_map>

class QPainter;

namespace qrb {

class SheetPainter {
public:
    // `art` must outlive the painter.
    explicit SheetPainter(const SheetArt& art) : art_(art) {}

    // Paints `page` of `layout` so that the page fills `target` (device coordinates of
    // `painter`). The paper itself is not painted. The painter's state is restored after.
    void paint(QPainter& painter, const SheetLayout& layout, const SheetPage& page,
               const QRectF& target);

private:
    // A tile picture as the painter gets it, and its edges for the bleed.
    struct Picture {
        QImage whole; // over the tile's own rows, bottom row first

        QImage left, right, top, bottom; // one-pixel columns and rows
        QColor topLeft, topRight, bottomLeft, bottomRight;
    };

    struct PageMapping;

    const Picture& pictureFor(const DibImage& dib);
    void paintItem(QPainter& painter, const SheetItem& item, const PageMapping& map);

    const SheetArt& art_;
    std::unordered_map<const DibImage*, Picture> pictures_;
};

} // namespace qrb
