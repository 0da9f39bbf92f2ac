#pragma once
// The window's Export Images command (it owns no control): the marked tiles, or every tile
// when none is marked, as PNG or BMP files (the chosen name's extension says which), the
// half images too when the user says so, numbered as Create bitmaps from QRB file numbers
// its bitmaps; all or none.

#include "app/shared/Services.h"
#include "document/Document.h"

#include <QObject>

namespace qrb {

class ExportImagesCommand : public QObject {
    Q_OBJECT
public:
    ExportImagesCommand(Document& document, Services services, QObject* parent = nullptr);

    void exportImages();

    // The tiles Export Images writes: the marked ones, or all when none is marked.
    static std::vector<int> tilesToExport(const Document& document);

private:
    Document& document_;
    Services services_;
    QString lastName_;
};

} // namespace qrb
