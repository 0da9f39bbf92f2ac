#pragma once
// The working tile and its three previews as data: the picture under the live text (what
// the working tile holds once the text being placed is left out), the full and half
// preview pictures and the small colour, and which of the tile's images is being edited.
// Images are QImage::Format_RGB32 and share their pixels until one of them changes, so a
// loaded tile costs one copy of its pixels however many places show it.
//
// The operations here are the image rules of the editor; the document wraps each edit in
// an undo step and draws the live text over `picture` for the view.

#include "core/Colour.h"
#include "imaging/Transform.h"
#include "tileset/TileSet.h"

#include <QImage>

namespace qrb {

struct WorkingTile {
    bool shown = false; // a tile is loaded; hidden at start and after the last tile went
    QImage picture;     // the working tile without the text being placed
    QImage previewFull; // the full-size preview
    QImage previewHalf; // the half-size preview's picture, drawn from the box's corner
    QSize halfBox;      // the half-size preview box; a paste resizes it, not its picture
    ColourValue smallColour = systemcolour::MenuBar;
    ColourValue rememberedSmallColour = palette::Red; // where the colour dialog starts
    bool editingFullImage = true; // a working-tile click goes to the full preview
    bool turnsOffered = true;     // the tile loaded last was square

    bool operator==(const WorkingTile&) const = default;

    // Loads `tile` into the working tile and all three previews.
    void load(const Tile& tile);
    // `image` becomes the working tile and the full preview; the half preview box takes
    // half that size and keeps its old picture until it is derived again.
    void paste(const QImage& image);
    // The half preview becomes `source` reduced to half its width and height.
    void deriveHalf(const QImage& source);
    // What the half preview box shows: its picture clipped to the box, the box's
    // background where the picture does not reach.
    QImage halfShown() const;
    // A click on the working tile, which shows `shown` (the picture with any live text):
    // it goes to the preview being edited, and the half preview is derived from it when
    // `deriveHalfPreview` is set.
    void sendToPreview(const QImage& shown, bool deriveHalfPreview);
    // Clicks on the previews: their picture becomes the working tile.
    void takeFullPreview();
    void takeHalfPreview();
    // Back to the base tile's images after a tile was created; the small colour is
    // `smallFrom`'s.
    void resetTo(const Tile& base, const Tile& smallFrom);

    // Bytes of pixels held, counting shared pictures once.
    std::size_t pixelBytes() const;
};

// `image` turned or flipped (a quarter turn of a W x H image is H x W).
QImage transformedImage(const QImage& image, TransformKind kind);

} // namespace qrb
