#include "app/panels/TextPlacementPanel.h"

#include "app/dialogs/TextEffectsDialog.h"
#include "app/shared/BusyWork.h"
#include "app/shared/DesignControls.h"
#include "app/shared/FileQuestions.h"

#include "document/TypedNumber.h"
#include "text/PositionDataFile.h"
#include "text/render/QtConversions.h"
#include "text/render/RotatedText.h"
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
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>

#include <algorithm>
#include <cmath>

namespace qrb {

namespace {

QString positionFilter() {
    return QStringLiteral("%1|*.qpf").arg(TextPlacementPanel::tr("QPF File (*.qpf)"));
}

QString styleWord(bool bold, bool italic) {
    if (bold && italic)
        return TextPlacementPanel::tr("Bold Italic", "status bar: font style");
    if (bold)
        return TextPlacementPanel::tr("Bold", "status bar: font style");
    if (italic)
        return TextPlacementPanel::tr("Italic", "status bar: font style");
    return QString();
}

// The anchor, when the position is not the text's top-left corner: "Centre Middle".
QString anchorWord(HorizontalAnchor anchor) {
    switch (anchor) {
    case HorizontalAnchor::Centre:
        return TextPlacementPanel::tr("Centre", "status bar: the text's horizontal anchor");
    case HorizontalAnchor::Right:
        return TextPlacementPanel::tr("Right", "status bar: the text's horizontal anchor");
    default:
        return TextPlacementPanel::tr("Left", "status bar: the text's horizontal anchor");
    }
}

QString anchorWord(VerticalAnchor anchor) {
    switch (anchor) {
    case VerticalAnchor::Middle:
        return TextPlacementPanel::tr("Middle", "status bar: the text's vertical anchor");
    case VerticalAnchor::Bottom:
        return TextPlacementPanel::tr("Bottom", "status bar: the text's vertical anchor");
    default:
        return TextPlacementPanel::tr("Top", "status bar: the text's vertical anchor");
    }
}

QString anchorWords(const TextLayout& layout) {
    if (layout.horizontal == HorizontalAnchor::Left && layout.vertical == VerticalAnchor::Top)
        return QString();
    return TextPlacementPanel::tr("%1 %2", "status bar: horizontal and vertical anchor")
        .arg(anchorWord(layout.horizontal), anchorWord(layout.vertical));
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
    boxStyleSheet_ = ui_.textBox->styleSheet();
    ui_.angleDial->foreColor = toQColor(systemcolour::WindowText);
    connectInput();
    connect(&document_, &Document::changed, this,
            [this](Document::Changes what, int) { show(what); });
    show(Document::Change::Placement | Document::Change::Slots | Document::Change::Picture);
}

void TextPlacementPanel::buildControls(QWidget* client) {
    using namespace design;
    ui_.textBox = textBox(client, kTextBox);
    ui_.textBox->setFont(arial(6));
    ui_.textBox->setToolTip(tr("Enter text for tile here."));
    ui_.textBox->setAccessibleName(tr("Text to place"));
    // The box is only twice its font size high: no room for a frame or margins.
    ui_.textBox->setFrame(false);
    ui_.textBox->setTextMargins(0, 0, 0, 0);
    ui_.textBox->setStyleSheet(QStringLiteral("QLineEdit { border: 1px solid gray; padding: 0; }"));

    // Position group.
    // The group ends above the angle group, so its lower edge stays in view.
    ui_.positionGroup = frame(client, kPositionGroup, tr("Text position"));
    ui_.positionGroup->setTitle(tr("Text Position"));
    ui_.xBar = scrollBar(ui_.positionGroup, kXBar, Qt::Horizontal, -5, 100, 10);
    ui_.xBar->setEnabled(false);
    ui_.xBar->setAccessibleName(tr("Horizontal position"));
    ui_.yBar = scrollBar(ui_.positionGroup, kYBar, Qt::Vertical, -5, 100, 10);
    ui_.yBar->setEnabled(false);
    ui_.yBar->setAccessibleName(tr("Vertical position"));
    ui_.xField = textBox(ui_.positionGroup, kXField, QStringLiteral("0"));
    ui_.xField->setFont(arial(8.25));
    ui_.xField->setToolTip(tr("Horizontal Position - Click to change"));
    ui_.xField->setAccessibleName(tr("Horizontal position"));
    ui_.yField = textBox(ui_.positionGroup, kYField, QStringLiteral("0"));
    ui_.yField->setFont(arial(8.25));
    ui_.yField->setToolTip(tr("Vertical Position - Click to change"));
    ui_.yField->setAccessibleName(tr("Vertical position"));
    ui_.positionComma = placed(new QLabel(QStringLiteral(","), ui_.positionGroup), kPositionComma);
    ui_.positionComma->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    ui_.tileSizeLabel = placed(new QLabel(ui_.positionGroup), kTileSizeLabel);
    ui_.tileSizeLabel->setAlignment(Qt::AlignCenter);
    ui_.tileSizeLabel->setToolTip(tr("Tile Size"));
    ui_.tileSizeLabel->setAccessibleName(tr("Working tile size"));
    ui_.placeButton = button(ui_.positionGroup, kPlaceButton, tr("Place"));
    ui_.placeButton->setToolTip(tr("Place text on the working tile"));
    ui_.storeButton = button(ui_.positionGroup, kStoreButton, tr("Store"));
    ui_.storeButton->setToolTip(
        tr("After clicking \"Store\" select one of the nine position buttons "
           "below to save the current text, position, and font"));

    // Angle group.
    ui_.angleGroup = frame(client, kAngleGroup, tr("Text angle"));
    ui_.angleGroup->setTitle(tr("Current Text Angle"));
    ui_.angleGroup->setToolTip(tr("Current Text Angle"));
    ui_.angleField = textBox(ui_.angleGroup, kAngleField, QStringLiteral("000"));
    ui_.angleField->setFont(arial(9.75));
    ui_.angleField->setToolTip(tr("Enter the desired text angle"));
    ui_.angleField->setAccessibleName(tr("Text angle"));
    ui_.angleField->hide();
    ui_.angleBar = scrollBar(ui_.angleGroup, kAngleBar, Qt::Horizontal, -1, 360, 10);
    ui_.angleBar->setAccessibleName(tr("Text angle"));
    ui_.angleDial = imageBox(ui_.angleGroup, kAngleDial, tr("Text angle dial"));
    ui_.angleDial->setAutoSize(false);
    ui_.angleDial->setFont(arial(9.75));
    ui_.angleDial->setToolTip(tr("Current Text Angle"));
    {
        QImage dial(50, 50, QImage::Format_RGB32);
        dial.fill(client->palette().color(QPalette::Button));
        ui_.angleDial->setImage(dial);
    }
    ui_.angleDialRing =
        placed(new ShapeWidget(ShapeWidget::Kind::Circle, ui_.angleDial), kAngleDialRing);

    // Position slots: the rows lie on a sheet in a view inside the group, at their design
    // places less the view's offset.
    ui_.slotGroup = frame(client, kSlotGroup, tr("Position slots"));
    ui_.slotGroup->setTitle(tr("Position Slots"));
    ui_.slotView = named(new QScrollArea(ui_.slotGroup), QStringLiteral("slotView"));
    ui_.slotView->setFrameShape(QFrame::NoFrame);
    ui_.slotView->setFocusPolicy(Qt::NoFocus);
    ui_.slotView->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ui_.slotView->setGeometry(QRect(kSlotViewAt, ui_.slotGroup->size() - kSlotViewMargins));
    auto* rows = new QWidget;
    rows->setObjectName(QStringLiteral("slotRows"));
    rows->resize(ui_.slotView->size());
    ui_.slotView->setWidget(rows);
    for (int k = 0; k < 9; ++k) {
        auto* text = named(new QLineEdit(rows), QStringLiteral("Text1(%1)").arg(k));
        text->setAlignment(Qt::AlignCenter);
        text->setGeometry(kSlotText.translated(k == 0 ? 1 : 0, kSlotTextTops[std::size_t(k)])
                              .translated(-kSlotViewAt));
        text->setProperty("index", k);
        text->setAccessibleName(tr("Slot %1 text").arg(k + 1));
        ui_.slotTexts[std::size_t(k)] = text;
        auto* button = named(new QPushButton(QStringLiteral("%1,%1").arg(5 * k), rows),
                             QStringLiteral("cmdPlaceText(%1)").arg(k));
        button->setGeometry(
            kSlotButton.translated(0, kSlotButtonTops[std::size_t(k)]).translated(-kSlotViewAt));
        button->setProperty("index", k);
        button->setEnabled(false);
        button->setAccessibleName(tr("Slot %1").arg(k + 1));
        ui_.slotButtons[std::size_t(k)] = button;
        // A row reached with Tab scrolls into view.
        text->installEventFilter(this);
        button->installEventFilter(this);
    }
    rows->resize(rows->width(), rows->childrenRect().bottom() + 1);
}

void TextPlacementPanel::fitSlotGroup(int bottom) {
    using namespace design;
    QGroupBox* group = ui_.slotGroup;
    group->resize(group->width(),
                  std::clamp(bottom - group->y(), kSlotGroupMinimum, kSlotGroup.place.height()));
    QScrollArea* view = ui_.slotView;
    view->setGeometry(QRect(kSlotViewAt, group->size() - kSlotViewMargins));
    // While the rows scroll, the buttons leave room for the view's bar.
    QWidget* rows = view->widget();
    const bool scrolls = rows->height() > view->height();
    const int width = view->width() - (scrolls ? view->verticalScrollBar()->sizeHint().width() : 0);
    rows->resize(width, rows->height());
    for (QPushButton* button : ui_.slotButtons)
        button->resize(std::min(kSlotButton.width(), width - button->x()), button->height());
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
    connect(ui_.textBox, &QLineEdit::textChanged, this,
            input([this](const QString& text) { document_.setText(text); }));
    connect(ui_.xBar, &QScrollBar::valueChanged, this,
            input([this](int v) { document_.setX(std::int16_t(v)); }));
    connect(ui_.yBar, &QScrollBar::valueChanged, this,
            input([this](int v) { document_.setY(std::int16_t(v)); }));
    // A typed position moves the text as soon as it is a position; when the user leaves
    // the field with something else in it, the field shows the position again.
    for (auto [field, horizontal] : {std::pair{ui_.xField, true}, std::pair{ui_.yField, false}}) {
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
    connect(ui_.angleBar, &QScrollBar::valueChanged, this, input([this](int v) {
                document_.setAngle(v);
                // The bar rests on the angle the document holds, also when that did not change: one
                // step past either end (360 at an angle of 0) comes round.
                setBar(ui_.angleBar, document_.placement().angle);
            }));
    connect(ui_.angleField, &QLineEdit::returnPressed, this, [this] {
        document_.enterAngle(ui_.angleField->text());
        setText(ui_.angleField, document_.placement().angleText);
        ui_.angleField->hide();
        // Typing goes on where it was going before the angle was typed.
        ui_.textBox->setFocus(Qt::OtherFocusReason);
    });
    ui_.angleField->installEventFilter(this);
    connect(ui_.angleDial, &ImageBox::clicked, this, &TextPlacementPanel::showAngleField);
    // Place, Store and the slot buttons are commands of their own.
    auto command = [this](QPushButton* button, std::function<void()> run) {
        connect(button, &QPushButton::clicked, this,
                [this, run = std::move(run)] { services_.runCommand(run); });
    };
    command(ui_.placeButton, [this] { place(); });
    command(ui_.storeButton, [this] { beginStore(); });
    for (int k = 0; k < int(PositionSlots::kCount); ++k)
        command(ui_.slotButtons[std::size_t(k)], [this, k] { slotButton(k); });
    ui_.angleGroup->installEventFilter(this);
    for (int k = 0; k < int(PositionSlots::kCount); ++k)
        connect(ui_.slotTexts[std::size_t(k)], &QLineEdit::textChanged, this,
                input([this, k](const QString& text) { document_.setSlotText(k, text); }));
}

bool TextPlacementPanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn && watched->parent() == ui_.slotView->widget()) {
        ui_.slotView->ensureWidgetVisible(static_cast<QWidget*>(watched), 0, 2);
    } else if (watched == ui_.angleField && event->type() == QEvent::MouseButtonDblClick) {
        document_.resetAngle();
    } else if (watched == ui_.angleGroup && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && ui_.angleGroup->rect().contains(mouse->pos()))
            showAngleField();
    }
    return QObject::eventFilter(watched, event);
}

// ---- Showing the document ----------------------------------------------------------------

void TextPlacementPanel::show(Document::Changes what) {
    using Change = Document::Change;
    const QScopedValueRollback showing(showing_, true);
    if (what & Change::Text)
        setText(ui_.textBox, document_.placement().text);
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
    showBoxStyle(ui_.textBox, style, boxStyleSheet_);
    // The box is twice as tall as the text's size, in window pixels.
    ui_.textBox->resize(ui_.textBox->width(), int(std::nearbyint(2 * style.size)));
    ui_.status->setPanelText(2, QString::fromStdString(style.face) + QLatin1Char(' '));
    ui_.status->setPanelText(3, QString::number(std::trunc(style.size)));
    QString words = styleWord(style.bold, style.italic);
    if (const QString anchor = anchorWords(style.layout); !anchor.isEmpty())
        words += (words.isEmpty() ? QString() : QStringLiteral(", ")) + anchor;
    ui_.status->setPanelText(4, words);
}

void TextPlacementPanel::showPosition() {
    const Placement& p = document_.placement();
    // The position bars run from just left of and above the tile to its far edges.
    const QSize tile = document_.working().picture.size();
    if (document_.working().shown)
        ui_.tileSizeLabel->setText(QStringLiteral("%1, %2").arg(tile.width()).arg(tile.height()));
    for (auto [bar, maximum, value, field] :
         {std::tuple{ui_.xBar, tile.width(), int(p.x), ui_.xField},
          std::tuple{ui_.yBar, tile.height(), int(p.y), ui_.yField}}) {
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
    setBar(ui_.angleBar, p.angle);
    if (!ui_.angleField->isVisible() || !ui_.angleField->hasFocus())
        setText(ui_.angleField, p.angleText);
    drawAngleDial();
}

void TextPlacementPanel::drawAngleDial() {
    ImageBox* dial = ui_.angleDial;
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
        DrawRotatedText(surface, ui_.angleField->font(), p.angleText, float(p.angle), 22, 22);
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
        QLineEdit* box = ui_.slotTexts[k];
        setText(box, QString::fromStdString(slot.text));
        // Restyling a box costs it a new style sheet: only the boxes whose style changed.
        if (shownSlotStyles_[k] != slot.style) {
            showBoxStyle(box, slot.style, QString());
            shownSlotStyles_[k] = slot.style;
        }
        box->setToolTip(QString::fromStdString(slot.description));
        if (!box->hasFocus())
            box->setCursorPosition(0);
        QPushButton* button = ui_.slotButtons[k];
        button->setText(caption(slot.position));
        button->setEnabled(document_.slotEnabled(int(k)));
    }
}

// ---- Commands ----------------------------------------------------------------------------

void TextPlacementPanel::place() {
    document_.place();
}

void TextPlacementPanel::beginStore() {
    document_.beginStore();
}

void TextPlacementPanel::slotButton(int k) {
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

void TextPlacementPanel::showAngleField() {
    QLineEdit* box = ui_.angleField;
    box->show();
    box->setFocus(Qt::OtherFocusReason);
    box->selectAll();
}

void TextPlacementPanel::savePositionData() {
    const QString path = askFileToWrite(services_.dialog, services_.messages,
                                        {QString(), tr("Save position data to..."),
                                         positionFilter(), QStringLiteral(".qpf"),
                                         tr("%1 already exists.\nDo you want to replace it?")});
    if (path.isEmpty())
        return;
    busyWork(services_.messages, nullptr, tr("The position data was not saved."),
             [&] { document_.savePositionData(path); });
}

void TextPlacementPanel::loadPositionData() {
    const QString picked =
        askFileToOpen(services_.dialog, QString(), tr("Open position data file"), positionFilter());
    if (picked.isEmpty())
        return;
    const QString path = withExtension(picked, QStringLiteral(".qpf"));
    busyWork(services_.messages, nullptr,
             tr("The position data was not loaded; the position slots are unchanged."),
             [&] { document_.loadPositionData(path); });
}

void TextPlacementPanel::clearPositionData() {
    document_.clearPositionData();
    // The face shows without its usual trailing blank after a Clear.
    ui_.status->setPanelText(2, QString::fromStdString(document_.placement().style.face));
    ui_.textBox->setFocus();
}

void TextPlacementPanel::chooseFont() {
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

void TextPlacementPanel::editTextEffects() {
    if (effects_ && effects_->isVisible()) {
        effects_->raise();
        effects_->activateWindow();
        return;
    }
    // Each opening starts from the text's effects as they are now.
    delete effects_;
    effects_ = new TextEffectsDialog(document_, services_, ui_.textBox->window());
    effects_->open();
}

void TextPlacementPanel::decreaseFontSize() {
    document_.stepFontSize(-1);
}

void TextPlacementPanel::increaseFontSize() {
    document_.stepFontSize(+1);
}

} // namespace qrb
