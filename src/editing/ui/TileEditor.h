#pragma once
// Tile editing in the main window: creating a tile from the editor's work, appending an
// empty row, deleting the current or the marked tiles, making the current tile the base
// tile, and saving the marked tiles as a library of their own. The strip rules (marks,
// current and base tile, renumbering) are the strip model's; this part carries out their
// outcomes on the window. It owns the working tile part, which it uses when creating.

#include "editing/StripModel.h"
#include "imaging/ui/WorkingTile.h"

#include <QObject>

namespace qrb {

class Form2;

class TileEditor : public QObject {
    Q_OBJECT
public:
    // Installs the tile commands' handlers on `form` and creates its working tile part.
    explicit TileEditor(Form2& form, QObject* parent = nullptr);

    WorkingTile& workingTile() { return working_; }

    // ---- Create and add ---------------------------------------------------------------
    // Appends a new tile made of the working tile (or the full preview), the half preview
    // and the small colour. Does nothing while the working tile is hidden.
    void cmdCreate_Click();
    // Appends a row holding a white image of the full preview's size; returns its number,
    // or 0 when the library cannot take another tile (the user is told).
    int AddTile();

    // ---- Delete -----------------------------------------------------------------------
    // Removes tile k (nothing for k outside the set).
    void DeleteTiles(int k);
    void mnuDeleteTile_Click();
    void mnuDeleteTiles_Click();
    void mnuDeleteTilemnu_Click();
    // The toolbar's delete button: the marked tiles, else the current tile, else nothing.
    void Toolbar1_Button20();

    // ---- Base tile and selected-tile save ---------------------------------------------
    void mnuSetBaseTile_Click();
    // Asks for a file (starting from the library's path) and writes the marked tiles to
    // it, atomically and after asking before an existing file is replaced. The file
    // written does not become the library's path.
    void mnuSaveTiles_Click();
    void mnuSaveTilesAs_Click();

private:
    void applyDelete(const DeleteOutcome& outcome, int firstRemoved);
    // Brings the scroll range up to date and shows the last row.
    void scrollToLastRow();
    // Draws every stored text placement that has a text onto the working tile.
    void stampPositionSlots();

    Form2& form_;
    WorkingTile working_;
};

} // namespace qrb
