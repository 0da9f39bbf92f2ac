#pragma once
// The tile commands: Create, Add and Clone tile, Delete tile and Delete selected tiles,
// Set as Base tile, and saving the marked tiles as a library of their own. The document
// carries them out; this panel asks for files and shows what the user must know.

#include "app/parts/PartSupport.h"
#include "document/Document.h"

#include <QObject>

#include <functional>

namespace qrb {

class TileEditorPanel : public QObject {
    Q_OBJECT
public:
    // `progress` shows a long save's progress; `progressBar` is hidden when it ends.
    TileEditorPanel(Document& document, Services services, ProgressCallback progress,
                    QProgressBar* progressBar, QObject* parent = nullptr);

    void cmdCreate_Click();
    // Appends a white tile and returns its number. Like Create and Clone it throws
    // Refusal when the library cannot take another tile.
    int AddTile();
    void mnuCloneTilemnu_Click();
    void mnuDeleteTile_Click();
    void mnuDeleteTilemnu_Click();
    void mnuDeleteTiles_Click();
    // The toolbar's delete button: the marked tiles, else the current tile.
    void Toolbar1_Button20();
    void mnuSetBaseTile_Click();
    // Asks for a file and writes the marked tiles to it; the file written does not
    // become the library's path.
    void mnuSaveTiles_Click();
    void mnuSaveTilesAs_Click();

private:
    Document& document_;
    Services services_;
    ProgressCallback progress_;
    QProgressBar* progressBar_;
};

} // namespace qrb
