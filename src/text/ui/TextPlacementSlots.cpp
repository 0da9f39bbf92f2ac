// Text placement: the nine position slots, Store and recall.

#include "text/ui/TextPlacement.h"

#include "app/platform/CommonDialog.h"
#include "imaging/ui/ImageBox.h"
#include "text/render/modRotateText.h"
#include "document/TypedNumber.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>

#include <algorithm>

namespace qrb {

namespace {

// A button caption shows "&" only when it is doubled.
QString caption(const std::string& text) {
    return QString::fromStdString(text).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace

void TextPlacement::showSlot(int k) {
    const PositionSlot& slot = slots_[std::size_t(k)];
    QLineEdit* box = ui_.Text1[std::size_t(k)];
    const QString text = QString::fromStdString(slot.text);
    if (box->text() != text)
        box->setText(text);
    box->setFont(toQFont(slot.style));
    QPalette colours = box->palette();
    colours.setColor(QPalette::Text, toQColor(slot.style.textColour));
    colours.setColor(QPalette::Base, toQColor(slot.style.boxColour));
    box->setPalette(colours);
    box->setToolTip(QString::fromStdString(slot.description));
    box->setCursorPosition(0);

    QPushButton* button = ui_.cmdPlaceText[std::size_t(k)];
    button->setText(caption(slot.position));
    button->setProperty("Tag", QString::fromStdString(slot.angle));
}

void TextPlacement::disableEmptySlots() {
    for (std::size_t k = 0; k < PositionSlots::kCount; ++k) {
        if (slots_[k].isEmpty())
            ui_.cmdPlaceText[k]->setEnabled(false);
    }
}

void TextPlacement::cmdStore_Click() {
    StorePending = true;
    // Any slot may be chosen, an empty one too.
    for (QPushButton* button : ui_.cmdPlaceText)
        button->setEnabled(true);
}

void TextPlacement::cmdPlaceText_Click(int k) {
    if (k < 0 || k >= int(PositionSlots::kCount))
        return;
    if (StorePending)
        StoreSlot(k);
    else
        RecallSlot(k);
}

void TextPlacement::mnuCreateUsingPosition_Click() {
    // The check mark has already changed; tile creation reads it.
}

TextStyle TextPlacement::currentStyle() const {
    return toTextStyle(ui_.txtText->font(), boxTextColour_, boxBackColour_);
}

void TextPlacement::StoreSlot(int k) {
    PositionSlot& slot = slots_[std::size_t(k)];
    const std::int16_t x = positionX();
    const std::int16_t y = positionY();
    slot.position = (QString::number(x) + QLatin1Char(',') + QString::number(y)).toStdString();
    slot.text = ui_.txtText->text().toStdString();
    StorePending = false;
    slot.style = currentStyle();
    slot.angle = ui_.txtAngle->text().toStdString();
    slot.description = PositionSlots::describe(slot.style, slot.angle);
    showSlot(k);
    disableEmptySlots();
}

void TextPlacement::RecallSlot(int k) {
    const PositionSlot slot = slots_[std::size_t(k)];
    CommonDialog& dialog = form_.CommonDialog1();
    ImageBox* work = ui_.pctWorkingTile;

    // 1. The stored position into the fields (checked when the preview reads them).
    const QString position = QString::fromStdString(slot.position);
    setPositionText(ui_.txtX, lastX_, position.section(QLatin1Char(','), 0, 0));
    setPositionText(ui_.txtY, lastY_, position.section(QLatin1Char(','), 1, 1));

    // 2.-3. The angle; the dial follows, the text preview waits until the end.
    const int angle = typedAngle(QString::fromStdString(slot.angle)).value_or(0);
    ui_.txtAngle->setText(QString::fromStdString(formatAngle(angle)));
    RestoringSlot = true;
    ui_.HScroll1->setValue(angle);
    RestoringSlot = false;

    // 4. Whatever the working tile shows now, a live text included, becomes the tile.
    if (!work->image().isNull())
        ui_.pctUndoBuffer->setImage(work->image());

    // 5. The slot's style becomes the current style.
    const TextStyle& style = slot.style;
    dialog.setFontSettings(FontSettings{QString::fromStdString(style.face), style.size, style.bold,
                                        style.italic, style.underline, style.strikethrough,
                                        style.textColour});
    setBoxHeight(style.size);
    const QFont font = toQFont(style);
    ui_.txtText->setText(QString::fromStdString(slot.text));
    setBoxFont(font);
    setBoxColours(style.textColour, style.boxColour);
    setTileFont(font);
    setTileTextColour(style.textColour);

    // 6. The drawing position.
    work->currentX = positionX();
    work->currentY = positionY();

    // 7.-9. Status bar and toolbar as after a font change. The font dialog only offers
    // sizes within its limits; a larger or smaller stored size stays on the text itself.
    showStylePanels(QString::fromStdString(style.face) + QLatin1Char(' '), style.size, style.bold,
                    style.italic);
    dialog.FontSize = std::clamp<double>(style.size, dialog.Min, std::max(dialog.Min, dialog.Max));
    enableSizeButtons();

    // 10. The position scroll bars. A position beyond their range (stored on a larger tile)
    // puts them at their nearest end, while the text keeps its stored position.
    for (auto [bar, field] : {std::pair{ui_.XScroll, ui_.txtX}, std::pair{ui_.YScroll, ui_.txtY}}) {
        bar->setEnabled(true);
        const int value = (field == ui_.txtX) ? positionX() : positionY();
        const QSignalBlocker quiet(bar);
        bar->setValue(std::clamp(value, bar->minimum(), bar->maximum()));
    }

    // 11.-12.
    DrawTextPreview();
    form_.update();
}

} // namespace qrb
