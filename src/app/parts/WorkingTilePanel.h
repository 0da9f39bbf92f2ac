#pragma once
// The working tile and its three previews: their frames and boxes, what they show (the
// document's working tile with the live text, the new tile's images and small colour),
// where they sit in their frames, the small colour's dialog and the exchange with the
// clipboard. The working tile zooms in steps (1/8, 1/4, 1/2, then whole zooms to 16x;
// remembered between runs) and scrolls inside its frame when larger than it; dragging it or
// its arrow keys move the live text.

#include "app/parts/PartSupport.h"
#include "document/Document.h"

#include <QObject>

#include <array>

class QScrollArea;

namespace qrb {

class ImageBox;
class ShapeWidget;
class WorkingTileBox;

class WorkingTilePanel : public QObject {
    Q_OBJECT
public:
    // The panel's controls, which it builds in the window's client area at their design
    // places.
    struct Widgets {
        std::array<ShapeWidget*, 2> tileFrames{}; // around the working tile, the new tile
        // The working tile lies on a canvas inside this view, which covers the inside of
        // tileFrames[0] and scrolls a tile larger than that.
        QScrollArea* workingTileView = nullptr;
        WorkingTileBox* workingTile = nullptr;
        ImageBox* fullPreview = nullptr;
        ImageBox* halfPreview = nullptr;
        ImageBox* smallColour = nullptr;
    };

    WorkingTilePanel(Document& document, Services services, QWidget* client,
                     QObject* parent = nullptr);

    const Widgets& widgets() const { return ui_; }

    // ---- Layout (the window calls these as it lays out its client area) ----------------
    // The working tile's frame as wide as the small or large tiles need.
    void setFrameWidth(bool large);
    // The frames' heights and the previews' places for small or large tiles.
    void arrangeFrames(bool large);
    // The preview frame reaches down to `bottom`, the top of the status bar.
    void stretchPreviewFrame(int bottom);
    // The full preview centred on its frame; the half preview and the small colour below.
    void placePreviews();
    // The working tile centred in its frame, or scrolled there when it is larger.
    void centreWorkingTile();

    // ---- Zoom --------------------------------------------------------------------------
    static constexpr int kMaximumZoom = 16;
    static constexpr double kMinimumZoom = 0.125;
    double zoom() const;
    // The zoom follows the tile and the frame: the largest step that shows it all.
    bool fitsWorkingTile() const { return fit_; }
    void zoomIn();
    void zoomOut();
    void actualSize();
    void fitWorkingTile();

    // ---- Commands ----------------------------------------------------------------------
    // The colour dialog for the small colour, starting from the colour chosen last.
    void chooseSmallColour();
    void copy();
    void paste();
    void pasteBaseImage();

signals:
    // The zoom changed: the window's zoom commands follow.
    void zoomChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls(QWidget* client);
    void show();
    void showAnchor();
    // The zoom `zoom` (clamped) with the tile pixel under `about` (a point of the view)
    // kept there; `fit` as fitsWorkingTile().
    void setZoom(double zoom, QPoint about, bool fit);
    void setZoom(double zoom, bool fit);
    double fittingZoom() const;
    // While the zoom fits the tile: the zoom that fits it now.
    void followFit();
    // The zoom `steps` steps (negative: out) from the zoom now.
    double steppedZoom(int steps) const;

    Document& document_;
    Services services_;
    Widgets ui_;
    bool fit_ = false;
    int wheelAngle_ = 0; // wheel turns not yet a whole notch
    QPoint dragStart_;   // the text's position when the drag started
};

} // namespace qrb
