#include "app/parts/TextPlacementPanel.h"

#include "document/TypedNumber.h"
#include "text/PositionDataFile.h"
#include "text/render/QtConversions.h"
#include "text/render/modRotateText.h"
#include "widgets/ImageBox.h"
#include "widgets/PanelStatusBar.h"

#include <QEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QSignalBlocker>

#include <algorithm>
#include <cmath>

namespace qrb {

namespace {

const char* const kPositionFilter = "QPF File (*.qpf)|*.qpf";

QString styleWord(bool bold, bool italic) {
    if (bold && italic)
        return QStringLiteral("Bold Italic");
    if (bold)
        return QStringLiteral("Bold");
    if (italic)
        return QStringLiteral("Italic");
    return QString();
}

// A button caption shows "&" only when it is doubled.
QString caption(const std::string& text) {
    return QString::fromStdString(text).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

// A box showing text in a style: its font, and its colours despite its style sheet.
void showBoxStyle(QLineEdit* box, const TextStyle& style, const QString& ownSheet) {
    box->setFont(toQFont(style));
    QPalette colours = box->palette();
    colours.setColor(QPalette::Text, toQColor(style.textColour));
    colours.setColor(QPalette::Base, toQColor(style.boxColour));
    box->setPalette(colours);
    box->setStyleSheet(ownSheet + QStringLiteral(" QLineEdit { color: %1; background-color: %2; }")
                                      .arg(colours.color(QPalette::Text).name(),
                                           colours.color(QPalette::Base).name()));
}

void setText(QLineEdit* box, const QString& text) {
    if (box->text() != text)
        box->setText(text);
}

void setBar(QScrollBar* bar, int value) {
    const QSignalBlocker quiet(bar);
    // A position beyond the tile puts the bar at its nearest end; the text keeps it.
    bar->setValue(std::clamp(value, bar->minimum(), bar->maximum()));
}

FontSettings fontOf(const TextStyle& style) {
    return FontSettings{QString::fromStdString(style.face),
                        style.size,
                        style.bold,
                        style.italic,
                        style.underline,
                        style.strikethrough,
                        style.textColour};
}

} // namespace

TextPlacementPanel::TextPlacementPanel(Document& document, Services services,
                                       const Widgets& widgets, QObject* parent)
    : QObject(parent), document_(document), services_(services), ui_(widgets) {
    setObjectName(QStringLiteral("TextPlacement"));
    boxStyleSheet_ = ui_.txtText->styleSheet();
    ui_.picRotate->foreColor = toQColor(systemcolour::WindowText);
    connectInput();
    connect(&document_, &Document::changed, this,
            [this](Document::Changes what, int) { show(what); });
    show(Document::Change::Placement | Document::Change::Slots | Document::Change::Picture);
}

void TextPlacementPanel::connectInput() {
    // Only the user's input reaches the document: what the panel itself puts into a
    // control while showing the document is never sent back as an edit.
    auto input = [this](auto handle) {
        return [this, handle](auto... value) {
            if (!showing_)
                handle(value...);
        };
    };
    connect(ui_.txtText, &QLineEdit::textChanged, this,
            input([this](const QString& text) { document_.setText(text); }));
    connect(ui_.XScroll, &QScrollBar::valueChanged, this,
            input([this](int v) { document_.setX(std::int16_t(v)); }));
    connect(ui_.YScroll, &QScrollBar::valueChanged, this,
            input([this](int v) { document_.setY(std::int16_t(v)); }));
    // A typed position moves the text as soon as it is a position; when the user leaves
    // the field with something else in it, the field shows the position again.
    for (auto [field, horizontal] : {std::pair{ui_.txtX, true}, std::pair{ui_.txtY, false}}) {
        connect(field, &QLineEdit::textChanged, this,
                input([this, horizontal = horizontal](const QString& text) {
                    if (const auto value = typedWholeNumber(text))
                        horizontal ? document_.setX(*value) : document_.setY(*value);
                }));
        connect(field, &QLineEdit::editingFinished, this,
                [this, field = field, horizontal = horizontal] {
                    const Placement& p = document_.placement();
                    const QScopedValueRollback showing(showing_, true);
                    setText(field, QString::number(horizontal ? p.x : p.y));
                });
    }
    connect(ui_.HScroll1, &QScrollBar::valueChanged, this,
            input([this](int v) { document_.setAngle(v); }));
    connect(ui_.txtAngle, &QLineEdit::returnPressed, this, [this] {
        document_.enterAngle(ui_.txtAngle->text());
        ui_.txtAngle->hide();
        // Typing goes on where it was going before the angle was typed.
        ui_.txtText->setFocus(Qt::OtherFocusReason);
    });
    ui_.txtAngle->installEventFilter(this);
    connect(ui_.picRotate, &ImageBox::clicked, this, &TextPlacementPanel::picRotate_Click);
    ui_.frmRotate->installEventFilter(this);
    for (int k = 0; k < int(PositionSlots::kCount); ++k)
        connect(ui_.Text1[std::size_t(k)], &QLineEdit::textChanged, this,
                input([this, k](const QString& text) { document_.setSlotText(k, text); }));
}

bool TextPlacementPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_.txtAngle && event->type() == QEvent::MouseButtonDblClick) {
        document_.resetAngle();
    } else if (watched == ui_.frmRotate && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && ui_.frmRotate->rect().contains(mouse->pos()))
            picRotate_Click();
    }
    return QObject::eventFilter(watched, event);
}

// ---- Showing the document ----------------------------------------------------------------

void TextPlacementPanel::show(Document::Changes what) {
    using Change = Document::Change;
    const QScopedValueRollback showing(showing_, true);
    if (what & Change::Text)
        setText(ui_.txtText, document_.placement().text);
    if (what & Change::Style)
        showStyle();
    // The position bars' range is the working tile's size.
    if (what & (Change::Position | Change::Picture))
        showPosition();
    if (what & Change::Angle)
        showAngle();
    if (what & Change::Slots)
        showSlots();
}

void TextPlacementPanel::showStyle() {
    const TextStyle& style = document_.placement().style;
    showBoxStyle(ui_.txtText, style, boxStyleSheet_);
    // The box is twice as tall as the text's size, in window pixels.
    ui_.txtText->resize(ui_.txtText->width(), int(std::nearbyint(2 * style.size)));
    ui_.status->setPanelText(2, QString::fromStdString(style.face) + QLatin1Char(' '));
    ui_.status->setPanelText(3, QString::number(std::trunc(style.size)));
    ui_.status->setPanelText(4, styleWord(style.bold, style.italic));
}

void TextPlacementPanel::showPosition() {
    const Placement& p = document_.placement();
    // The position bars run from just left of and above the tile to its far edges.
    const QSize tile = document_.working().picture.size();
    for (auto [bar, maximum, value, field] :
         {std::tuple{ui_.XScroll, tile.width(), int(p.x), ui_.txtX},
          std::tuple{ui_.YScroll, tile.height(), int(p.y), ui_.txtY}}) {
        {
            const QSignalBlocker quiet(bar);
            bar->setMaximum(std::max(maximum, Placement::kPositionMinimum));
        }
        setBar(bar, value);
        bar->setEnabled(p.positionEnabled);
        // A field being typed in keeps what is typed until the user leaves it.
        const auto typed = typedWholeNumber(field->text());
        if (!(field->hasFocus() && (!typed || *typed == value)))
            setText(field, QString::number(value));
    }
}

void TextPlacementPanel::showAngle() {
    const Placement& p = document_.placement();
    setBar(ui_.HScroll1, p.angle);
    if (!ui_.txtAngle->isVisible() || !ui_.txtAngle->hasFocus())
        setText(ui_.txtAngle, p.angleText);
    drawAngleDial();
}

void TextPlacementPanel::drawAngleDial() {
    ImageBox* dial = ui_.picRotate;
    const Placement& p = document_.placement();
    // Drawn at the screen's resolution, so the digits stay sharp on a high-density screen.
    const qreal ratio = dial->devicePixelRatioF();
    if (dial->surface().devicePixelRatio() != ratio) {
        QImage surface(dial->size() * ratio, QImage::Format_RGB32);
        surface.setDevicePixelRatio(ratio);
        dial->setImage(surface);
    }
    dial->surface().fill(toQColor(dial->backColour()));
    TextSurface surface(dial->surface());
    surface.font = dial->font();
    surface.foreColor = dial->foreColor;
    if (p.isTurned()) {
        // The digits turned by the angle they state, from near the dial's centre.
        DrawRotatedText(surface, ui_.txtAngle->font(), p.angleText, float(p.angle), 22, 22);
    } else {
        surface.setCurrentPosition(22, 21);
        PrintText(surface, p.angleText);
    }
    dial->update();
}

void TextPlacementPanel::showSlots() {
    const PositionSlots& stored = document_.positionSlots();
    for (std::size_t k = 0; k < PositionSlots::kCount; ++k) {
        const PositionSlot& slot = stored[k];
        QLineEdit* box = ui_.Text1[k];
        setText(box, QString::fromStdString(slot.text));
        showBoxStyle(box, slot.style, QString());
        box->setToolTip(QString::fromStdString(slot.description));
        if (!box->hasFocus())
            box->setCursorPosition(0);
        QPushButton* button = ui_.cmdPlaceText[k];
        button->setText(caption(slot.position));
        button->setEnabled(document_.slotEnabled(int(k)));
    }
}

// ---- Commands ----------------------------------------------------------------------------

void TextPlacementPanel::cmdPlace_Click() {
    document_.place();
}

void TextPlacementPanel::cmdStore_Click() {
    document_.pressStore();
}

void TextPlacementPanel::cmdPlaceText_Click(int k) {
    const bool storing = document_.storePending();
    document_.clickSlot(k);
    if (!storing || k < 0 || k >= int(PositionSlots::kCount))
        return;
    // Said now, not first when the position data is saved.
    PositionSlots alone;
    alone[std::size_t(k)] = document_.positionSlots()[std::size_t(k)];
    try {
        PositionDataFile::encode(alone);
    } catch (const PositionDataError& e) {
        services_.messages.inform(
            tr("%1\n\nThe slot keeps the text, but position data cannot be saved until it is "
               "changed.")
                .arg(QString::fromUtf8(e.what())),
            appTitle(), MessageIcon::Exclamation);
    }
}

void TextPlacementPanel::picRotate_Click() {
    QLineEdit* box = ui_.txtAngle;
    box->show();
    box->setFocus(Qt::OtherFocusReason);
    box->selectAll();
}

void TextPlacementPanel::mnuSavePositionData_Click() {
    const QString path = askFileToWrite(
        services_.dialog, services_.messages,
        {QString(), tr("Save position data to..."), QString::fromLatin1(kPositionFilter),
         QStringLiteral(".qpf"), tr("%1 already exists.\nDo you want to replace it?")});
    if (path.isEmpty())
        return;
    busyWork(services_.messages, nullptr, tr("The position data was not saved."),
             [&] { document_.savePositionData(path); });
}

void TextPlacementPanel::mnuLoadPositionData_Click() {
    const QString picked = askFileToOpen(services_.dialog, QString(), tr("Open position data file"),
                                         QString::fromLatin1(kPositionFilter));
    if (picked.isEmpty())
        return;
    const QString path = withExtension(picked, QStringLiteral(".qpf"));
    busyWork(services_.messages, nullptr,
             tr("The position data was not loaded; the position slots are unchanged."),
             [&] { document_.loadPositionData(path); });
}

void TextPlacementPanel::mnuClearPositionData_Click() {
    document_.clearPositionData();
    // The face shows without its usual trailing blank after a Clear.
    ui_.status->setPanelText(2, QString::fromStdString(document_.placement().style.face));
    ui_.txtText->setFocus();
}

void TextPlacementPanel::SelectFont() {
    CommonDialog& dialog = services_.dialog;
    TextStyle style = document_.placement().style;
    FontSettings shown = fontOf(style);
    // The dialog offers only its own range of sizes.
    shown.size = std::clamp<double>(style.size, dialog.Min, std::max(dialog.Min, dialog.Max));
    dialog.setFontSettings(shown);
    try {
        dialog.ShowFont();
    } catch (const DialogCancelled&) {
        return;
    }
    const FontSettings chosen = dialog.fontSettings();
    style.face = chosen.name.toStdString();
    style.size = float(chosen.size);
    style.bold = chosen.bold;
    style.italic = chosen.italic;
    style.underline = chosen.underline;
    style.strikethrough = chosen.strikethru;
    style.textColour = chosen.colour;
    document_.chooseFont(style);
}

void TextPlacementPanel::FontSizeDecrease() {
    document_.stepFontSize(-1);
}

void TextPlacementPanel::FontSizeIncrease() {
    document_.stepFontSize(+1);
}

} // namespace qrb
