#include "app/parts/WorkingTilePanel.h"

#include "widgets/ImageBox.h"

#include <QLabel>

namespace qrb {

WorkingTilePanel::WorkingTilePanel(Document& document, Services services, const Widgets& widgets,
                                   QObject* parent)
    : QObject(parent), document_(document), services_(services), ui_(widgets) {
    setObjectName(QStringLiteral("WorkingTile"));
    // The working tile paints the document's view straight from the document.
    ui_.pctWorkingTile->setSource([this]() -> const QImage& { return document_.workingImage(); });
    ui_.pctPreviewHalf->setAutoSize(false);
    connect(&document_, &Document::changed, this, [this](Document::Changes what, int) {
        using Change = Document::Change;
        if (what & (Change::Picture | Change::Previews | Change::Options))
            show();
        else if (what & Change::LiveText)
            ui_.pctWorkingTile->refresh(); // only the text over the picture moved
    });
    show();
}

void WorkingTilePanel::show() {
    const WorkingTile& w = document_.working();
    const QSize workBefore = ui_.pctWorkingTile->size();
    const QSize fullBefore = ui_.pctPreviewFull->size();
    const QSize halfBefore = ui_.pctPreviewHalf->size();

    ui_.pctWorkingTile->setVisible(w.shown);
    ui_.pctWorkingTile->setEnabled(w.shown);
    ui_.pctWorkingTile->refresh();
    if (w.shown)
        ui_.Label2->setText(
            QStringLiteral("%1, %2").arg(w.picture.width()).arg(w.picture.height()));

    // The previews show beside the working tile only while tiles are made from them.
    const bool previews = w.shown && !document_.options().createFromWorkingTile;
    for (ImageBox* box : {ui_.pctPreviewFull, ui_.pctPreviewHalf, ui_.shpPreviewSmall}) {
        box->setEnabled(w.shown);
        box->setVisible(previews);
    }
    if (w.previewFull.isNull())
        ui_.pctPreviewFull->clearImage();
    else
        ui_.pctPreviewFull->setImage(w.previewFull);
    ui_.pctPreviewHalf->resize(w.halfBox);
    ui_.pctPreviewHalf->setImage(w.previewHalf);
    ui_.shpPreviewSmall->setBackColour(w.smallColour);

    if (ui_.pctWorkingTile->size() != workBefore || ui_.pctPreviewFull->size() != fullBefore ||
        ui_.pctPreviewHalf->size() != halfBefore)
        emit sizesChanged();
}

// ---- Commands ----------------------------------------------------------------------------

void WorkingTilePanel::pctWorkingTile_Click() {
    document_.workingTileToPreview();
}

void WorkingTilePanel::pctPreviewFull_Click() {
    document_.editFullImage();
}

void WorkingTilePanel::pctPreviewHalf_Click() {
    document_.editHalfImage();
}

void WorkingTilePanel::shpPreviewSmall_Click() {
    CommonDialog& dialog = services_.dialog;
    dialog.Color = document_.working().rememberedSmallColour;
    try {
        dialog.ShowColor();
    } catch (const DialogCancelled&) {
        return;
    }
    document_.setSmallColour(dialog.Color);
}

void WorkingTilePanel::TransformWorkingTile(int kind) {
    if (kind < 0 || kind > 3)
        return;
    document_.transform(static_cast<TransformKind>(kind));
}

void WorkingTilePanel::mnuCopy_Click() {
    if (!document_.working().shown)
        return;
    services_.clipboard.clear();
    services_.clipboard.setImage(document_.workingImage());
}

void WorkingTilePanel::mnuPaste_Click() {
    if (!document_.isLibraryOpen() || !services_.clipboard.hasImage())
        return;
    document_.paste(services_.clipboard.image());
}

void WorkingTilePanel::mnuPasteBaseImage_Click() {
    document_.pasteBaseImage();
}

} // namespace qrb
