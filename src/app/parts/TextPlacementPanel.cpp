#include "app/parts/TextPlacementPanel.h"

#include "app/parts/DesignControls.h"

#include "document/TypedNumber.h"
#include "text/PositionDataFile.h"
#include "text/render/QtConversions.h"
#include "text/render/modRotateText.h"
#include "widgets/ImageBox.h"
#include "widgets/PanelStatusBar.h"
#include "widgets/ShapeWidget.h"

#include <QEvent>
#include <QGroupBox>
#include <QLabel>
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

TextPlacementPanel::TextPlacementPanel(Document& document, Services services, QWidget* client,
                                       PanelStatusBar* status, QObject* parent)
    : QObject(parent), document_(document), services_(services) {
    setObjectName(QStringLiteral("TextPlacement"));
    ui_.status = status;
    buildControls(client);
    boxStyleSheet_ = ui_.txtText->styleSheet();
    ui_.picRotate->foreColor = toQColor(systemcolour::WindowText);
    connectInput();
    connect(&document_, &Document::changed, this,
            [this](Document::Changes what, int) { show(what); });
    show(Document::Change::Placement | Document::Change::Slots | Document::Change::Picture);
}

void TextPlacementPanel::buildControls(QWidget* client) {
    using namespace design;
    ui_.txtText = textBox(client, QStringLiteral("txtText"), {2, 28, 156, 15});
    ui_.txtText->setFont(arial(6));
    ui_.txtText->setToolTip(tr("Enter text for tile here."));
    ui_.txtText->setAccessibleName(tr("Text to place"));
    // The box is only twice its font size high: no room for a frame or margins.
    ui_.txtText->setFrame(false);
    ui_.txtText->setTextMargins(0, 0, 0, 0);
    ui_.txtText->setStyleSheet(QStringLiteral("QLineEdit { border: 1px solid gray; padding: 0; }"));

    // Position group.
    // The group ends above the angle group, so its lower edge stays in view.
    ui_.Frame3 = frame(client, QStringLiteral("Frame3"), {2, 62, 156, 112}, tr("Text position"));
    ui_.Frame3->setTitle(tr("Text Position"));
    ui_.XScroll = scrollBar(ui_.Frame3, QStringLiteral("XScroll"), Qt::Horizontal,
                            {23, 14, 121, 17}, -5, 100, 10);
    ui_.XScroll->setEnabled(false);
    ui_.XScroll->setAccessibleName(tr("Horizontal position"));
    ui_.YScroll = scrollBar(ui_.Frame3, QStringLiteral("YScroll"), Qt::Vertical, {7, 33, 17, 79},
                            -5, 100, 10);
    ui_.YScroll->setEnabled(false);
    ui_.YScroll->setAccessibleName(tr("Vertical position"));
    ui_.txtX = textBox(ui_.Frame3, QStringLiteral("txtX"), {48, 40, 33, 19}, QStringLiteral("0"));
    ui_.txtX->setFont(arial(8.25));
    ui_.txtX->setToolTip(tr("Horizontal Position - Click to change"));
    ui_.txtX->setAccessibleName(tr("Horizontal position"));
    ui_.txtY = textBox(ui_.Frame3, QStringLiteral("txtY"), {96, 40, 33, 19}, QStringLiteral("0"));
    ui_.txtY->setFont(arial(8.25));
    ui_.txtY->setToolTip(tr("Vertical Position - Click to change"));
    ui_.txtY->setAccessibleName(tr("Vertical position"));
    ui_.Label1 = named(new QLabel(QStringLiteral(","), ui_.Frame3), QStringLiteral("Label1"));
    ui_.Label1->setGeometry(80, 45, 17, 17);
    ui_.Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    ui_.Label2 = named(new QLabel(ui_.Frame3), QStringLiteral("Label2"));
    ui_.Label2->setGeometry(32, 64, 113, 17);
    ui_.Label2->setAlignment(Qt::AlignCenter);
    ui_.Label2->setToolTip(tr("Tile Size"));
    ui_.Label2->setAccessibleName(tr("Working tile size"));
    ui_.cmdPlace = named(new QPushButton(tr("Place"), ui_.Frame3), QStringLiteral("cmdPlace"));
    ui_.cmdPlace->setGeometry(32, 85, 55, 27);
    ui_.cmdPlace->setToolTip(tr("Place text on the working tile"));
    ui_.cmdStore = named(new QPushButton(tr("Store"), ui_.Frame3), QStringLiteral("cmdStore"));
    ui_.cmdStore->setGeometry(90, 85, 55, 27);
    ui_.cmdStore->setToolTip(tr("After clicking \"Store\" select one of the nine position buttons "
                                "below to save the current text, position, and font"));

    // Angle group.
    ui_.frmRotate = frame(client, QStringLiteral("frmRotate"), {2, 175, 156, 83}, tr("Text angle"));
    ui_.frmRotate->setTitle(tr("Current Text Angle"));
    ui_.frmRotate->setToolTip(tr("Current Text Angle"));
    ui_.txtAngle =
        textBox(ui_.frmRotate, QStringLiteral("txtAngle"), {6, 29, 34, 20}, QStringLiteral("000"));
    ui_.txtAngle->setFont(arial(9.75));
    ui_.txtAngle->setToolTip(tr("Enter the desired text angle"));
    ui_.txtAngle->setAccessibleName(tr("Text angle"));
    ui_.txtAngle->hide();
    ui_.HScroll1 = scrollBar(ui_.frmRotate, QStringLiteral("HScroll1"), Qt::Horizontal,
                             {4, 63, 147, 17}, -1, 360, 10);
    ui_.HScroll1->setAccessibleName(tr("Text angle"));
    ui_.picRotate = imageBox(ui_.frmRotate, QStringLiteral("picRotate"), {64, 13, 50, 50},
                             tr("Text angle dial"));
    ui_.picRotate->setAutoSize(false);
    ui_.picRotate->setFont(arial(9.75));
    ui_.picRotate->setToolTip(tr("Current Text Angle"));
    {
        QImage dial(50, 50, QImage::Format_RGB32);
        dial.fill(client->palette().color(QPalette::Button));
        ui_.picRotate->setImage(dial);
    }
    ui_.Shape4 =
        named(new ShapeWidget(ShapeWidget::Kind::Circle, ui_.picRotate), QStringLiteral("Shape4"));
    ui_.Shape4->setGeometry(0, 0, 47, 49);

    // Position slots.
    ui_.Frame2 = frame(client, QStringLiteral("Frame2"), {2, 299, 156, 261}, tr("Position slots"));
    ui_.Frame2->setTitle(tr("Position Slots"));
    static constexpr std::array<int, 9> kButtonTops{11, 39, 68, 96, 123, 150, 178, 205, 233};
    static constexpr std::array<int, 9> kTextTops{11, 39, 67, 94, 122, 149, 177, 204, 232};
    for (int k = 0; k < 9; ++k) {
        auto* text = textBox(ui_.Frame2, QStringLiteral("Text1(%1)").arg(k),
                             {k == 0 ? 4 : 3, kTextTops[std::size_t(k)], 77, 23});
        text->setProperty("index", k);
        text->setAccessibleName(tr("Slot %1 text").arg(k + 1));
        ui_.Text1[std::size_t(k)] = text;
        auto* button = named(new QPushButton(QStringLiteral("%1,%1").arg(5 * k), ui_.Frame2),
                             QStringLiteral("cmdPlaceText(%1)").arg(k));
        button->setGeometry(89, kButtonTops[std::size_t(k)], 63, 23);
        button->setProperty("index", k);
        button->setEnabled(false);
        button->setAccessibleName(tr("Slot %1").arg(k + 1));
        ui_.cmdPlaceText[std::size_t(k)] = button;
    }
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
    document_.beginStore();
}

void TextPlacementPanel::cmdPlaceText_Click(int k) {
    const bool storing = document_.storePending();
    document_.storeOrRecallSlot(k);
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
