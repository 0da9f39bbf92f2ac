// Text placement: wiring, the live preview, position and angle, Place.

#include "text/ui/TextPlacement.h"

#include "core/CheckedNumeric.h"
#include "imaging/ui/ImageBox.h"
#include "text/render/modRotateText.h"
#include "document/TypedNumber.h"

#include <QAction>
#include <QGroupBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>

#include <cstring>

namespace qrb {

namespace {

const QString kNoRotation = QStringLiteral("000");

} // namespace

QString TextPlacement::slotHandlerName(int k) {
    return QStringLiteral("cmdPlaceText_Click(%1)").arg(k);
}

TextPlacement::TextPlacement(Form2& form) : QObject(&form), form_(form), ui_(form.ui()) {
    setObjectName(QStringLiteral("TextPlacement"));
    ui_.picRotate->foreColor = toQColor(systemcolour::WindowText);
    boxStyleSheet_ = ui_.txtText->styleSheet();
    setBoxColours(palette::Black, palette::White);
    for (int k = 0; k < int(PositionSlots::kCount); ++k)
        showSlot(k);
    connectControls();
    installHandlers();
}

void TextPlacement::connectControls() {
    connect(ui_.XScroll, &QScrollBar::valueChanged, this, &TextPlacement::XScroll_Change);
    connect(ui_.YScroll, &QScrollBar::valueChanged, this, &TextPlacement::YScroll_Change);
    connect(ui_.HScroll1, &QScrollBar::valueChanged, this, &TextPlacement::HScroll1_Change);
    // A typed position is checked as soon as the user leaves the field.
    connect(ui_.txtX, &QLineEdit::editingFinished, this, [this] { positionX(); });
    connect(ui_.txtY, &QLineEdit::editingFinished, this, [this] { positionY(); });
    connect(ui_.txtAngle, &QLineEdit::returnPressed, this, [this] { txtAngle_KeyPress(13); });
    ui_.txtAngle->installEventFilter(this);
    connect(ui_.picRotate, &ImageBox::clicked, this, &TextPlacement::picRotate_Click);
    connect(ui_.mnuTypeAngle, &QAction::triggered, this, &TextPlacement::picRotate_Click);
    ui_.frmRotate->installEventFilter(this);
    connect(ui_.cmdPlace, &QPushButton::clicked, this, &TextPlacement::cmdPlace_Click);
    connect(ui_.cmdStore, &QPushButton::clicked, this, &TextPlacement::cmdStore_Click);
    for (int k = 0; k < int(PositionSlots::kCount); ++k) {
        const auto i = std::size_t(k);
        connect(ui_.cmdPlaceText[i], &QPushButton::clicked, this,
                [this, k] { form_.runHandler(slotHandlerName(k)); });
        // The slot's text is whatever its box holds, typed or stored.
        connect(ui_.Text1[i], &QLineEdit::textChanged, this,
                [this, i](const QString& text) { slots_[i].text = text.toStdString(); });
    }
}

void TextPlacement::installHandlers() {
    for (int k = 0; k < int(PositionSlots::kCount); ++k)
        form_.setHandler(slotHandlerName(k), [this, k] { cmdPlaceText_Click(k); });
    form_.setHandler(QStringLiteral("mnuCreateUsingPosition_Click"),
                     [this] { mnuCreateUsingPosition_Click(); });
    form_.setHandler(QStringLiteral("mnuSavePositionData_Click"),
                     [this] { mnuSavePositionData_Click(); });
    form_.setHandler(QStringLiteral("mnuLoadPositionData_Click"),
                     [this] { mnuLoadPositionData_Click(); });
    form_.setHandler(QStringLiteral("mnuClearPositionData_Click"),
                     [this] { mnuClearPositionData_Click(); });
    form_.setHandler(QStringLiteral("Toolbar1_Button7"), [this] { SelectFont(); });
    form_.setHandler(QStringLiteral("Toolbar1_Button8"), [this] { FontSizeDecrease(); });
    form_.setHandler(QStringLiteral("Toolbar1_Button9"), [this] { FontSizeIncrease(); });
    form_.setHandler(QStringLiteral("Toolbar1_Button10"), [this] { BoldClick(); });
    form_.setHandler(QStringLiteral("Toolbar1_Button11"), [this] { ItalicClick(); });
}

bool TextPlacement::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_.txtAngle && event->type() == QEvent::MouseButtonDblClick) {
        txtAngle_DblClick();
    } else if (watched == ui_.frmRotate && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && ui_.frmRotate->rect().contains(mouse->pos()))
            frmRotate_Click();
    }
    return QObject::eventFilter(watched, event);
}

// ---- Position fields ---------------------------------------------------------------------

std::int16_t TextPlacement::checkedPosition(QLineEdit* field, std::int16_t& lastValid) {
    if (const auto value = typedWholeNumber(field->text())) {
        lastValid = *value;
        return *value;
    }
    // Not a position: the field shows the last one it held again.
    field->setText(QString::number(lastValid));
    return lastValid;
}

std::int16_t TextPlacement::positionX() {
    return checkedPosition(ui_.txtX, lastX_);
}

std::int16_t TextPlacement::positionY() {
    return checkedPosition(ui_.txtY, lastY_);
}

void TextPlacement::setPositionText(QLineEdit* field, std::int16_t& lastValid,
                                    const QString& text) {
    field->setText(text);
    if (const auto value = typedWholeNumber(text))
        lastValid = *value;
}

// ---- Preview -----------------------------------------------------------------------------

float TextPlacement::previewAngle() const {
    if (const auto number = typedNumber(ui_.txtAngle->text())) {
        if (const auto whole = tryToInt32(std::trunc(*number)))
            return float(*whole);
    }
    return float(ui_.HScroll1->value());
}

void TextPlacement::DrawTextPreview() {
    ImageBox* work = ui_.pctWorkingTile;
    if (work->isHidden())
        return;
    const QImage& undo = ui_.pctUndoBuffer->image();
    QImage& shown = work->image();
    if (shown.size() != undo.size() || shown.format() != undo.format() ||
        shown.bytesPerLine() != undo.bytesPerLine())
        work->setImage(undo);
    else if (shown.isDetached() && shown.constBits() != undo.constBits())
        // Into the tile's own pixels: no allocation on every scroll-bar step.
        std::memcpy(shown.bits(), undo.constBits(), std::size_t(undo.sizeInBytes()));
    else
        shown = undo; // shared until the text is drawn on it

    const std::int16_t x = positionX();
    const std::int16_t y = positionY();
    TextSurface surface(work->image());
    surface.font = work->font();
    surface.foreColor = work->foreColor;
    surface.setCurrentPosition(x, y);
    if (ui_.txtAngle->text() != kNoRotation)
        DrawRotatedText(surface, ui_.txtText->font(), ui_.txtText->text(), previewAngle(), x, y);
    else
        PrintText(surface, ui_.txtText->text());
    work->currentX = surface.currentX;
    work->currentY = surface.currentY;
    work->update();
}

void TextPlacement::XScroll_Change() {
    setPositionText(ui_.txtX, lastX_, QString::number(ui_.XScroll->value()));
    DrawTextPreview();
}

void TextPlacement::YScroll_Change() {
    setPositionText(ui_.txtY, lastY_, QString::number(ui_.YScroll->value()));
    DrawTextPreview();
}

// ---- Angle -------------------------------------------------------------------------------

void TextPlacement::HScroll1_Change() {
    QScrollBar* bar = ui_.HScroll1;
    // One step past either end comes round to the other: the angle is always 0 to 359.
    if (bar->value() == 360)
        bar->setValue(0);
    else if (bar->value() == -1)
        bar->setValue(359);
    const int angle = bar->value();
    ui_.txtAngle->setText(QString::fromStdString(formatAngle(angle)));
    drawAngleDial(angle);
    if (!RestoringSlot)
        DrawTextPreview();
}

void TextPlacement::drawAngleDial(int angle) {
    ImageBox* dial = ui_.picRotate;
    dial->image().fill(toQColor(dial->backColour()));
    TextSurface surface(dial->image());
    surface.font = dial->font();
    surface.foreColor = dial->foreColor;
    const QString text = ui_.txtAngle->text();
    if (text != kNoRotation) {
        // The digits turned by the angle they state, from near the dial's centre.
        DrawRotatedText(surface, ui_.txtAngle->font(), text, float(angle), 22, 22);
    } else {
        surface.setCurrentPosition(22, 21);
        PrintText(surface, text);
    }
    dial->currentX = surface.currentX;
    dial->currentY = surface.currentY;
    dial->update();
}

void TextPlacement::picRotate_Click() {
    QLineEdit* box = ui_.txtAngle;
    box->show();
    box->setFocus(Qt::MouseFocusReason);
    box->selectAll();
}

void TextPlacement::frmRotate_Click() {
    picRotate_Click();
}

void TextPlacement::txtAngle_KeyPress(int key) {
    if (key != 13)
        return;
    QLineEdit* box = ui_.txtAngle;
    const std::optional<double> number = typedNumber(box->text());
    if (number && *number >= 0 && *number <= 359) {
        // Setting the value it already has changes nothing: the text then stays as typed.
        ui_.HScroll1->setValue(toInt16(*number, "angle"));
    } else {
        box->setText(kNoRotation);
        ui_.HScroll1->setValue(0);
    }
    box->hide();
}

void TextPlacement::txtAngle_DblClick() {
    ui_.txtAngle->setText(kNoRotation);
    ui_.HScroll1->setValue(0);
}

// ---- Place -------------------------------------------------------------------------------

void TextPlacement::cmdPlace_Click() {
    if (!form_.state().IsLibraryOpen)
        return;
    ImageBox* work = ui_.pctWorkingTile;
    // The text on the working tile becomes part of the tile.
    if (!work->image().isNull())
        ui_.pctUndoBuffer->setImage(work->image());
    work->currentX = positionX();
    work->currentY = positionY();
    DrawTextPreview();
    ui_.XScroll->setEnabled(true);
    ui_.YScroll->setEnabled(true);
}

} // namespace qrb
