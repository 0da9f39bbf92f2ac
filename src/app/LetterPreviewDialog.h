#pragma once
// The preview of Tile > Letter from table: the tiles of a table's rows as they will be
// made (their real pixels, at the working tile's zoom), Previous and Next through the
// rows, how many there are, the rows whose text was cut at its box and the characters no
// font draws, and the folder of the icons (chosen here, remembered). Letter appends the
// tiles as one undo step; Cancel leaves the library as it was. The lettering runs under
// the progress dialog when the preview opens and again when another folder is chosen.

#include "app/parts/PartSupport.h"
#include "document/TableLettering.h"
#include "lettering/LetteringTable.h"

#include <QDialog>
#include <QImage>

#include <optional>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;

namespace qrb {

class Document;

class LetterPreviewDialog : public QDialog {
    Q_OBJECT
public:
    // For `table` (checked against the document), lettered from the document's slots.
    LetterPreviewDialog(Document& document, Services services, LetteringTable table,
                        QString iconFolder, int zoom, QWidget* parent = nullptr);
    // Letters the rows and sizes the preview to the tiles; false when Cancel was pressed.
    bool start();

    // Rows that make tiles, and the one shown (from 0).
    int rowCount() const { return int(rows_.size()); }
    int currentRow() const { return current_; }
    void showRow(int row);
    // The tile of the row shown, as it will be appended; null before a lettering.
    QImage shownTile() const;
    // The lettering's outcome: empty when it failed or was cancelled.
    const std::optional<LetteredTiles>& lettered() const { return lettered_; }
    const QString& iconFolder() const { return iconFolder_; }

    // The controls, found by tests and accessibility under these object names.
    QLabel* summary;           // "summary"
    QLineEdit* icons;          // "iconFolder"
    QPushButton* chooseIcons;  // "chooseIcons"
    QLabel* picture;           // "previewPicture"
    QPushButton* previous;     // "previousRow"
    QLabel* rowLabel;          // "rowLabel"
    QPushButton* next;         // "nextRow"
    QLabel* notes;             // "notes"
    QPushButton* letterButton; // "letter"

signals:
    // The tiles from `firstTile` to the end were appended.
    void tilesAppended(int firstTile);
    // The folder of the icons was chosen.
    void iconFolderChosen(const QString& folder);

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool letter();
    void chooseFolder();
    void append();

    Document& document_;
    Services services_;
    LetteringTable table_;
    QString iconFolder_;
    int zoom_;
    std::optional<LetteredTiles> lettered_;
    // For each row that makes tiles: its index in the table and its first tile.
    struct Made {
        std::size_t row;
        std::size_t tile;
    };
    std::vector<Made> rows_;
    int current_ = 0;
    QScrollArea* scroll_;
};

} // namespace qrb
