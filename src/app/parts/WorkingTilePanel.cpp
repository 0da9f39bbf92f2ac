#include "app/parts/WorkingTilePanel.h"

#include "widgets/ImageBox.h"

#include <QLabel>

namespace qrb {

WorkingTilePanel::WorkingTilePanel(Document& document, Services services, const Widgets& widgets,
                                   QObject* parent)
    : QObject(parent), document_(document), services_(services), ui_(widgets) {
    setObjectName(QStringLiteral("WorkingTile"));
    // The working tile paints the document's view straight from the document.
    ui_.workingTile->setSource([this]() -> const QImage& { return document_.workingImage(); });
    ui_.halfPreview->setAutoSize(false);
    connect(&document_, &Document::changed, this, [this](Document::Changes what, int) {
        using Change = Document::Change;
        if (what & (Change::Picture | Change::Previews | Change::Options))
            show();
        else if (what & Change::LiveText)
            ui_.workingTile->refresh(); // only the text over the picture moved
    });
    show();
}

void WorkingTilePanel::show() {
    const WorkingTile& w = document_.working();
    const QSize workBefore = ui_.workingTile->size();
    const QSize fullBefore = ui_.fullPreview->size();
    const QSize halfBefore = ui_.halfPreview->size();

    ui_.workingTile->setVisible(w.shown);
    ui_.workingTile->setEnabled(w.shown);
    ui_.workingTile->refresh();
    if (w.shown)
        ui_.tileSizeLabel->setText(
            QStringLiteral("%1, %2").arg(w.picture.width()).arg(w.picture.height()));

    // The previews show beside the working tile only while tiles are made from them.
    const bool previews = w.shown && !document_.options().createFromWorkingTile;
    for (ImageBox* box : {ui_.fullPreview, ui_.halfPreview, ui_.smallColour}) {
        box->setEnabled(w.shown);
        box->setVisible(previews);
    }
    if (w.previewFull.isNull())
        ui_.fullPreview->clearImage();
    else
        ui_.fullPreview->setImage(w.previewFull);
    ui_.halfPreview->resize(w.halfBox);
    ui_.halfPreview->setImage(w.previewHalf);
    ui_.smallColour->setBackColour(w.smallColour);

    if (ui_.workingTile->size() != workBefore || ui_.fullPreview->size() != fullBefore ||
        ui_.halfPreview->size() != halfBefore)
        emit sizesChanged();
}

// ---- Commands ----------------------------------------------------------------------------

void WorkingTilePanel::chooseSmallColour() {
    CommonDialog& dialog = services_.dialog;
    dialog.Color = document_.working().rememberedSmallColour;
    try {
        dialog.ShowColor();
    } catch (const DialogCancelled&) {
        return;
    }
    document_.setSmallColour(dialog.Color);
}

void WorkingTilePanel::copy() {
    if (!document_.working().shown)
        return;
    services_.clipboard.clear();
    services_.clipboard.setImage(document_.workingImage());
}

void WorkingTilePanel::paste() {
    if (!document_.isLibraryOpen() || !services_.clipboard.hasImage())
        return;
    document_.paste(services_.clipboard.image());
}

void WorkingTilePanel::pasteBaseImage() {
    document_.pasteBaseImage();
}

} // namespace qrb
