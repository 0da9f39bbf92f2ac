#pragma once
// The window's Letter from table command (not a panel: it owns no control of the window):
// asks for a table of rows (CSV, or tab-separated when it ends in .tsv), reads and checks
// it under a progress dialog with Cancel, then shows the tiles it makes in the preview
// (LetterPreviewDialog), whose Letter appends them to the library as one undo step. A
// cancel or a table that does not fit the library leaves the library as it was, and the
// user is told why (the table's line and column for a bad row). The folder of the icons
// is remembered between runs.

#include "app/parts/PartSupport.h"
#include "document/Document.h"

#include <QObject>
#include <QPointer>

#include <functional>

namespace qrb {

class LetterPreviewDialog;

class TableLetteringCommand : public QObject {
    Q_OBJECT
public:
    // `zoom` gives the working tile's zoom, at which the preview shows the tiles.
    TableLetteringCommand(Document& document, Services services, std::function<int()> zoom,
                          QObject* parent = nullptr);

    void letterFromTable();
    // The preview while it is open.
    LetterPreviewDialog* preview() const;

signals:
    // The tiles from `firstTile` to the end were lettered and appended.
    void tilesAppended(int firstTile);

private:
    void tell(const QString& text, MessageIcon icon);

    Document& document_;
    Services services_;
    std::function<int()> zoom_;
    QString lastTable_; // where the next table dialog starts
    QPointer<LetterPreviewDialog> preview_;
};

} // namespace qrb
