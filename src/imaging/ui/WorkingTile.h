#pragma once
// The working tile and its three previews: the clicks that pass images between them, the
// half-size derivation, the small colour, the quarter turns and flips, and the exchange
// with the clipboard. The images live in the window's image boxes (pctWorkingTile,
// pctUndoBuffer, pctPreviewFull, pctPreviewHalf, shpPreviewSmall); this part only moves
// them about and installs the window's handlers for them.

#include "core/Colour.h"
#include "tileset/DibImage.h"

#include <QImage>
#include <QObject>

namespace qrb {

class Form2;
class ImageBox;

class WorkingTile : public QObject {
    Q_OBJECT
public:
    // Installs the handlers of the working tile, the previews, the clipboard commands,
    // the transformations and the two preview options on `form`.
    explicit WorkingTile(Form2& form, QObject* parent = nullptr);

    // ---- Handlers ---------------------------------------------------------------------
    // Sends the working image to the preview being edited and re-derives the half preview
    // when "Automatically create halfsize tile" is on.
    void pctWorkingTile_Click();
    void pctPreviewFull_Click();
    void pctPreviewHalf_Click();
    // The colour dialog for the small colour, starting from the remembered colour.
    void shpPreviewSmall_Click();
    // Kinds: 0 rotate left, 1 rotate right, 2 flip vertical, 3 flip horizontal. A turn of
    // a non-square image gives the turned image, and the working tile takes its size.
    void TransformWorkingTile(int kind);
    void mnuCopy_Click();
    void mnuPaste_Click();
    void mnuPasteBaseImage_Click();
    // The options: their check marks have already changed when these run.
    void mnuCreateHalfTile_Click();
    void mnuAutoCreateFromWorking_Click();

    // ---- Used by tile creation --------------------------------------------------------
    // The half-size derivation: the half preview becomes `source` reduced to half its
    // width and height (halfDimension rounding), sized to it; its place is kept.
    void deriveHalfPreview(const DibImage& source);
    // The colour most recently chosen in the colour dialog (pure red until then).
    ColourValue rememberedSmallColour() const { return rememberedSmallColour_; }

    // What a box shows: its picture clipped to the box, its background where the picture
    // does not reach. For a box that sizes itself to its picture, the picture itself.
    static QImage shownImage(const ImageBox& box);

private:
    Form2& form_;
    ColourValue rememberedSmallColour_ = palette::Red;
};

} // namespace qrb
