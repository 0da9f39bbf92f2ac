#pragma once
// The window's Import Images command (it owns no control): asks for one or many pictures
// (or libraries), then how to take them -- each picture as it is, fitted to one tile size
// or sliced into cells -- reads them under a progress dialog with Cancel and inserts their
// tiles after the current tile (or where they were dropped), as one undo step. The choices
// are remembered, also for pictures dropped on the window. The files that cannot be read
// or held are named in one message; the others are imported. Cancel imports nothing.

#include "app/parts/PartSupport.h"
#include "document/Document.h"
#include "document/PictureImport.h"

#include <QObject>
#include <QStringList>

namespace qrb {

class ImportImagesCommand : public QObject {
    Q_OBJECT
public:
    ImportImagesCommand(Document& document, Services services, QObject* parent = nullptr);

    // File > Import Images...
    void importImages();
    // The pictures the user picks in the open dialog and then the choices of how to take
    // them; empty when either is cancelled.
    QStringList askPictures();
    // Imports `paths` with the last choices so that the first new tile becomes tile `at`;
    // returns how many tiles.
    int importFiles(const QStringList& paths, int at);

    // The last choices, remembered between runs.
    static ImportOptions rememberedOptions();
    static void rememberOptions(const ImportOptions& options);

    // The open dialog's filter: every picture format Qt reads here, and libraries.
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
