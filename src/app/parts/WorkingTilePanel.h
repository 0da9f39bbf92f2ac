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
        ImageBox* pctWorkingTile = nullptr;
        ImageBox* pctPreviewFull = nullptr;
        ImageBox* pctPreviewHalf = nullptr;
        ImageBox* shpPreviewSmall = nullptr;
        QLabel* Label2 = nullptr; // the working tile's size
    };

    WorkingTilePanel(Document& document, Services services, const Widgets& widgets,
                     QObject* parent = nullptr);

    // ---- Commands (bound by the window) ------------------------------------------------
    void pctWorkingTile_Click();
    void pctPreviewFull_Click();
    void pctPreviewHalf_Click();
    // The colour dialog for the small colour, starting from the colour chosen last.
    void shpPreviewSmall_Click();
    // Kinds: 0 rotate left, 1 rotate right, 2 flip vertical, 3 flip horizontal.
    void TransformWorkingTile(int kind);
    void mnuCopy_Click();
    void mnuPaste_Click();
    void mnuPasteBaseImage_Click();

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
