#pragma once
// File > Export Deck Image...: the library's tiles (or the marked ones) laid on a grid as
// deck images for a virtual tabletop, with the same choices as qrbtool atlas, all pages or
// none.

#include "app/parts/PartSupport.h"
#include "document/Document.h"

#include <QObject>

namespace qrb {

class ExportDeckCommand : public QObject {
    Q_OBJECT
public:
    ExportDeckCommand(Document& document, Services services, QObject* parent = nullptr);
    void exportDeck();

private:
    Document& document_;
    Services services_;
    DeckOptions last_; // the choices the next dialog starts with
    QString lastName_;
};

} // namespace qrb
