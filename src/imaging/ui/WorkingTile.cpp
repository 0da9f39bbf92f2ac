#include "imaging/ui/WorkingTile.h"

#include "app/Form2.h"
#include "app/PanelStatusBar.h"
#include "app/ShapeWidget.h"
#include "app/platform/CommonDialog.h"
#include "imaging/HalfSize.h"
#include "imaging/Transform.h"
#include "imaging/ui/ImageBox.h"
#include "text/render/modRotateText.h"
#include "imaging/render/DibConversion.h"

#include <QAction>
#include <QPainter>
#include <QScrollBar>

#include <cmath>

namespace qrb {

namespace {

int wholePixels(double value) {
    return static_cast<int>(std::nearbyint(value));
}

} // namespace

WorkingTile::WorkingTile(Form2& form, QObject* parent) : QObject(parent), form_(form) {
    const Form2::Controls& ui = form_.ui();
    const std::pair<ImageBox*, void (WorkingTile::*)()> clicks[] = {
        {ui.pctWorkingTile, &WorkingTile::pctWorkingTile_Click},
        {ui.pctPreviewFull, &WorkingTile::pctPreviewFull_Click},
        {ui.pctPreviewHalf, &WorkingTile::pctPreviewHalf_Click},
        {ui.shpPreviewSmall, &WorkingTile::shpPreviewSmall_Click}};
    for (auto [box, handler] : clicks)
        connect(box, &ImageBox::clicked, this,
                [this, handler] { form_.runCommand([this, handler] { (this->*handler)(); }); });

    form_.setHandler(QStringLiteral("mnuRotateLeft_Click"), [this] { TransformWorkingTile(0); });
    form_.setHandler(QStringLiteral("mnuRotateRight_Click"), [this] { TransformWorkingTile(1); });
    form_.setHandler(QStringLiteral("mnuFlipVertical_Click"), [this] { TransformWorkingTile(2); });
    form_.setHandler(QStringLiteral("mnuFlipHorizontal_Click"),
                     [this] { TransformWorkingTile(3); });
    form_.setHandler(QStringLiteral("mnuCopy_Click"), [this] { mnuCopy_Click(); });
    form_.setHandler(QStringLiteral("mnuPaste_Click"), [this] { mnuPaste_Click(); });
    form_.setHandler(QStringLiteral("mnuPasteBaseImage_Click"),
                     [this] { mnuPasteBaseImage_Click(); });
    form_.setHandler(QStringLiteral("mnuCreateHalfTile_Click"),
                     [this] { mnuCreateHalfTile_Click(); });
    form_.setHandler(QStringLiteral("mnuAutoCreateFromWorking_Click"),
                     [this] { mnuAutoCreateFromWorking_Click(); });
    // The option's own check mark is all there is to it; creation reads it.
    form_.setHandler(QStringLiteral("mnuAutoPastePase_Click"), [] {});
}

QImage WorkingTile::shownImage(const ImageBox& box) {
    const QImage& picture = box.image();
    if (!picture.isNull() && picture.size() == box.size())
        return picture;
    QImage shown(box.size(), QImage::Format_RGB32);
    if (shown.isNull())
        return shown;
    shown.fill(toQColor(box.backColour()));
    if (!picture.isNull()) {
        QPainter painter(&shown);
        painter.drawImage(0, 0, picture);
    }
    return shown;
}

// ---- Previews ----------------------------------------------------------------------------

void WorkingTile::pctWorkingTile_Click() {
    const Form2::Controls& ui = form_.ui();
    const QImage& work = ui.pctWorkingTile->image();
    if (work.isNull())
        return;
    if (form_.state().EditingFullImage)
        ui.pctPreviewFull->setImage(work);
    else
        ui.pctPreviewHalf->setImage(work);
    if (ui.mnuCreateHalfTile->isChecked())
        deriveHalfPreview(toDibImage(work));
    // The text position no longer belongs to a text being placed.
    ui.XScroll->setEnabled(false);
    ui.YScroll->setEnabled(false);
}

void WorkingTile::deriveHalfPreview(const DibImage& source) {
    ImageBox* half = form_.ui().pctPreviewHalf;
    const DibImage reduced = halfSize(source);
    half->resize(reduced.width(), reduced.height());
    half->setImage(toQImage(reduced));
}

void WorkingTile::pctPreviewFull_Click() {
    form_.setWorkingImage(shownImage(*form_.ui().pctPreviewFull));
    form_.state().EditingFullImage = true;
}

void WorkingTile::pctPreviewHalf_Click() {
    form_.setWorkingImage(shownImage(*form_.ui().pctPreviewHalf));
    form_.state().EditingFullImage = false;
}

void WorkingTile::shpPreviewSmall_Click() {
    // The shared dialog's colour is the text colour; it is borrowed and put back.
    CommonDialog& dialog = form_.CommonDialog1();
    struct Restore {
        CommonDialog& d;
        ColourValue colour;
        bool cancelError;
        ~Restore() {
            d.Color = colour;
            d.CancelError = cancelError;
        }
    } restore{dialog, dialog.Color, dialog.CancelError};

    dialog.Color = rememberedSmallColour_;
    dialog.CancelError = true;
    try {
        dialog.ShowColor();
    } catch (const DialogCancelled&) {
        return;
    }
    rememberedSmallColour_ = dialog.Color;
    form_.ui().shpPreviewSmall->setBackColour(rememberedSmallColour_);
}

void WorkingTile::mnuCreateHalfTile_Click() {
    const Form2::Controls& ui = form_.ui();
    ui.toolbarButton(13)->setChecked(ui.mnuCreateHalfTile->isChecked());
}

void WorkingTile::mnuAutoCreateFromWorking_Click() {
    const Form2::Controls& ui = form_.ui();
    const bool showPreviews = !ui.mnuAutoCreateFromWorking->isChecked();
    ShapeWidget* frame = ui.Shape2[1];
    if (showPreviews) {
        frame->resize(frame->width(), ui.client->height() - frame->y() - ui.StatusBar1->height());
    }
    for (QWidget* w : std::initializer_list<QWidget*>{ui.pctPreviewFull, ui.pctPreviewHalf,
                                                      ui.shpPreviewSmall, frame})
        w->setVisible(showPreviews);
}

// ---- Rotate and flip ---------------------------------------------------------------------

void WorkingTile::TransformWorkingTile(int kind) {
    if (kind < 0 || kind > 3)
        return;
    ImageBox* work = form_.ui().pctWorkingTile;
    // The toolbar's turn and flip buttons stay enabled without a tile in the editor.
    if (work->isHidden() || work->image().isNull())
        return;
    const DibImage result =
        transformed(toDibImage(work->image()), static_cast<TransformKind>(kind));
    // A turned non-square image changes the box's size, which re-centres it.
    form_.setWorkingImage(toQImage(result));
}

// ---- Clipboard and base image ------------------------------------------------------------

void WorkingTile::mnuCopy_Click() {
    const ImageBox* work = form_.ui().pctWorkingTile;
    if (work->isHidden() || work->image().isNull())
        return;
    Clipboard& clipboard = form_.clipboard();
    clipboard.clear();
    clipboard.setImage(work->image());
}

void WorkingTile::mnuPaste_Click() {
    Clipboard& clipboard = form_.clipboard();
    if (!form_.state().IsLibraryOpen || !clipboard.hasImage())
        return;
    const QImage offered = clipboard.image();
    if (offered.isNull() || offered.width() < 1 || offered.height() < 1)
        return;
    if (offered.width() > DibImage::kMaxDimension || offered.height() > DibImage::kMaxDimension) {
        form_.messages().inform(tr("The picture on the clipboard is %1 x %2 pixels. A tile can "
                                   "be at most %3 pixels wide and high.")
                                    .arg(offered.width())
                                    .arg(offered.height())
                                    .arg(DibImage::kMaxDimension),
                                QString::fromLatin1(Form2::kTitle), MessageIcon::Exclamation);
        return;
    }
    // Whatever format and depth another program offered, the tile gets 24-bit pixels,
    // with transparency shown over white.
    const QImage image = toQImage(toDibImage(offered));

    const Form2::Controls& ui = form_.ui();
    ImageBox* work = ui.pctWorkingTile;
    ImageBox* full = ui.pctPreviewFull;
    ImageBox* half = ui.pctPreviewHalf;
    form_.setWorkingImage(image);
    full->setImage(image);
    // The half preview keeps its old picture at the new size until it is derived again.
    half->resize(halfDimension(work->width()), halfDimension(work->height()));
    const QRect frame = ui.Shape2[1]->geometry();
    half->move(wholePixels(frame.x() + frame.width() * 0.5 - half->width() * 0.5),
               full->y() + full->height() + 20);
    half->update();
}

void WorkingTile::mnuPasteBaseImage_Click() {
    const int base = form_.BaseTile();
    if (form_.TileCount() == 0 || base < 1 || base > form_.TileCount())
        return;
    form_.setWorkingImage(toQImage(form_.tileSet().tile(base).full));
}

} // namespace qrb
