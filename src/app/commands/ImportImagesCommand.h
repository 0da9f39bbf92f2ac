#pragma once
// The window's Import Images command (it owns no control): asks for one or many pictures,
// reads them under a progress dialog with Cancel and inserts one tile for each after the
// current tile (or where they were dropped), as one undo step. The pictures that cannot be
// read or held are named in one message; the others are imported. Cancel imports nothing.

#include "app/shared/Services.h"
#include "document/Document.h"

#include <QObject>
#include <QStringList>

namespace qrb {

class ImportImagesCommand : public QObject {
    Q_OBJECT
public:
    ImportImagesCommand(Document& document, Services services, QObject* parent = nullptr);

    // File > Import Images...
    void importImages();
    // The pictures the user picks in the open dialog; empty when cancelled.
    QStringList askPictures();
    // Imports `paths` so that the first new tile becomes tile `at`; returns how many.
    int importFiles(const QStringList& paths, int at);

    // The open dialog's filter: every picture format Qt reads here.
    static QString pictureFilter();

signals:
    // Tiles from `firstTile` on were inserted.
    void tilesInserted(int firstTile);

private:
    Document& document_;
    Services services_;
    QString lastFolder_; // where the next dialog starts
};

} // namespace qrb
