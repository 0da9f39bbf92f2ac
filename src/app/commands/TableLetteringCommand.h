#pragma once
// The window's Letter from table command (not a panel: it owns no control of the window):
// asks for a table of rows (CSV, or tab-separated when it ends in .tsv),
// letters a new tile for each row and copy from the position slots as they stand, under a
// progress dialog with Cancel, and appends the tiles to the library as one undo step. A
// cancel or a table that does not fit the library leaves the library as it was, and the
// user is told why (the table's line and column for a bad row).

#include "app/shared/Services.h"
#include "document/Document.h"

#include <QObject>

namespace qrb {

class TableLetteringCommand : public QObject {
    Q_OBJECT
public:
    TableLetteringCommand(Document& document, Services services, QObject* parent = nullptr);

    void letterFromTable();

signals:
    // The tiles from `firstTile` to the end were lettered and appended.
    void tilesAppended(int firstTile);

private:
    void tell(const QString& text, MessageIcon icon);

    Document& document_;
    Services services_;
    QString lastTable_; // where the next table dialog starts
};

} // namespace qrb
