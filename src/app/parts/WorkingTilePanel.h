#pragma once
// The working tile and its three previews on screen: what they show (the document's
// working tile, with the live text), the clicks that pass images between them, the small
// colour's dialog, the turns and flips, and the exchange with the clipboard.

#include "app/parts/PartSupport.h"
#include "document/Document.h"

#include <QObject>

class QLabel;

namespace qrb {

class ImageBox;

class WorkingTilePanel : public QObject {
    Q_OBJECT
public:
    struct Widgets {
        ImageBox* workingTile = nullptr;
        ImageBox* fullPreview = nullptr;
        ImageBox* halfPreview = nullptr;
        ImageBox* smallColour = nullptr;
        QLabel* tileSizeLabel = nullptr; // the working tile's size
    };

    WorkingTilePanel(Document& document, Services services, const Widgets& widgets,
                     QObject* parent = nullptr);

    // ---- Commands (bound by the window) ------------------------------------------------
    // The colour dialog for the small colour, starting from the colour chosen last.
    void chooseSmallColour();
    void copy();
    void paste();
    void pasteBaseImage();

signals:
    // The working tile or a preview changed size: the window places them again.
    void sizesChanged();

private:
    void show();

    Document& document_;
    Services services_;
    Widgets ui_;
};

} // namespace qrb
