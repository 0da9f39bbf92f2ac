// Form2's controls at their design positions and in their initial
// states.

#include "app/Form2.h"

#include "widgets/GroupFrame.h"
#include "widgets/ImageBox.h"
#include "widgets/PanelStatusBar.h"
#include "widgets/ShapeWidget.h"
#include "widgets/TileStrip.h"

#include <QFocusFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolBar>

namespace qrb {

namespace {

// The client area (and the working tile's canvas): tells the window when its size changes.
class ClientArea : public QWidget {
public:
    explicit ClientArea(QWidget* parent, bool solid = true) : QWidget(parent) {
        setAutoFillBackground(solid);
    }

    std::function<void()> onResize;

protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        if (onResize)
            onResize();
    }
};

// Keyboard use of the position and angle bars: Left and Right move a horizontal bar's
// thumb the way they point (Qt's scroll bars turn them round, which suits a scrolled view
// but not a value), and a frame shows which bar has the focus, as the style draws none.
class BarKeys : public QObject {
public:
    explicit BarKeys(QWidget* window) : QObject(window), frame_(new QFocusFrame(window)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* bar = qobject_cast<QScrollBar*>(watched);
        if (!bar)
            return QObject::eventFilter(watched, event);
        if (event->type() == QEvent::FocusIn)
            frame_->setWidget(bar);
        else if (event->type() == QEvent::FocusOut && frame_->widget() == bar)
            frame_->setWidget(nullptr);
        if (event->type() == QEvent::KeyPress && bar->orientation() == Qt::Horizontal) {
            const auto* key = static_cast<QKeyEvent*>(event);
            const bool plain = (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
            if (plain && key->key() == Qt::Key_Left) {
                bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
                return true;
            }
            if (plain && key->key() == Qt::Key_Right) {
                bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QFocusFrame* frame_;
};

QFont arial(double points) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    return font;
}

template <class W> W* named(W* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

QLineEdit* textBox(QWidget* parent, const QString& name, QRect geometry, const QString& text = {}) {
    auto* box = named(new QLineEdit(text, parent), name);
    box->setGeometry(geometry);
    box->setAlignment(Qt::AlignCenter);
    return box;
}

QGroupBox* frame(QWidget* parent, const QString& name, QRect geometry, const QString& accessible) {
    auto* box = named(new GroupFrame(parent), name);
    box->setGeometry(geometry);
    box->setAccessibleName(accessible);
    // Solid, so the window's background picture does not show through the group.
    box->setAutoFillBackground(true);
    return box;
}

QScrollBar* scrollBar(QWidget* parent, const QString& name, Qt::Orientation orientation,
                      QRect geometry, int minimum, int maximum, int largeChange) {
    auto* bar = named(new QScrollBar(orientation, parent), name);
    bar->setGeometry(geometry);
    bar->setRange(minimum, maximum);
    bar->setPageStep(largeChange);
    bar->setSingleStep(1);
    return bar;
}

ImageBox* imageBox(QWidget* parent, const QString& name, QRect geometry,
                   const QString& accessible) {
    auto* box = named(new ImageBox(parent), name);
    box->setGeometry(geometry);
    box->setAccessibleName(accessible);
    return box;
}

} // namespace

QPixmap Form2::logo() const {
    return QPixmap(QStringLiteral(":/images/logo.png"));
}

void Form2::buildControls() {
    auto* client = new ClientArea(this);
    client->setObjectName(QStringLiteral("client"));
    client->onResize = [this] { clientResized(); };
    // A window smaller than the design scrolls the client area rather than letting the
    // controls run into one another; at the design size and above nothing scrolls.
    auto* scroller = named(new QScrollArea(this), QStringLiteral("clientScroller"));
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setFocusPolicy(Qt::NoFocus);
    scroller->setWidgetResizable(true);
    scroller->setWidget(client);
    setCentralWidget(scroller);
    ui_.client = client;
    for (QScrollBar* bar : {scroller->verticalScrollBar(), scroller->horizontalScrollBar()}) {
        connect(bar, &QScrollBar::valueChanged, this, &Form2::pinBars);
        connect(bar, &QScrollBar::rangeChanged, this, &Form2::pinBars);
    }

    ui_.Image1 = named(new QLabel(client), QStringLiteral("Image1"));
    ui_.Image1->setGeometry(408, 107, 284, 125);
    ui_.Image1->setPixmap(logo());
    ui_.Image1->setAccessibleName(tr("Logo"));

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
        dial.fill(palette().color(QPalette::Button));
        ui_.picRotate->setImage(dial);
    }
    ui_.Shape4 =
        named(new ShapeWidget(ShapeWidget::Kind::Circle, ui_.picRotate), QStringLiteral("Shape4"));
    ui_.Shape4->setGeometry(0, 0, 47, 49);

    // The caption is text, so it takes the desktop's colours like every other button.
    ui_.cmdCreate = named(new QPushButton(tr("&Create"), client), QStringLiteral("cmdCreate"));
    // Above the slots' group, whose caption it would otherwise cover.
    ui_.cmdCreate->setGeometry(2, 261, 155, 36);
    ui_.cmdCreate->setIcon(QIcon(QStringLiteral(":/images/create.svg")));
    ui_.cmdCreate->setIconSize(QSize(32, 32));
    {
        QFont caption = ui_.cmdCreate->font();
        caption.setBold(true);
        caption.setPointSizeF(caption.pointSizeF() * 1.5);
        ui_.cmdCreate->setFont(caption);
    }
    ui_.cmdCreate->setToolTip(tr("Click to create new tile"));
    ui_.cmdCreate->setAccessibleName(tr("Create tile"));

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

    // Working tile and previews.
    for (int k = 0; k < 2; ++k) {
        auto* shape = named(new ShapeWidget(ShapeWidget::Kind::Rectangle, client),
                            QStringLiteral("Shape2(%1)").arg(k));
        shape->setProperty("index", k);
        ui_.Shape2[std::size_t(k)] = shape;
    }
    ui_.Shape2[0]->setGeometry(159, 28, 174, 174);
    ui_.Shape2[1]->setGeometry(159, 203, 174, 267);
    ui_.Shape2[1]->setCaption(tr("New tile"));
    ui_.Shape2[1]->setFont(GroupFrame::titleFont(ui_.Shape2[1]->font()));
    ui_.Shape2[1]->hide();

    // The working tile sits on a canvas in a view over its frame's inside: a tile larger
    // than the frame scrolls there, its top-left corner (where text starts) in view.
    ui_.workingTileView = named(new QScrollArea(client), QStringLiteral("workingTileView"));
    ui_.workingTileView->setFrameShape(QFrame::NoFrame);
    ui_.workingTileView->setFocusPolicy(Qt::NoFocus);
    ui_.workingTileView->setWidgetResizable(true);
    ui_.workingTileView->viewport()->setAutoFillBackground(false);
    auto* canvas = new ClientArea(ui_.workingTileView, false);
    canvas->setObjectName(QStringLiteral("workingTileCanvas"));
    canvas->onResize = [this] { centreWorkingTile(); };
    ui_.workingTileView->setWidget(canvas);
    ui_.pctWorkingTile =
        imageBox(canvas, QStringLiteral("pctWorkingTile"), {0, 0, 0, 0}, tr("Working tile"));
    ui_.pctWorkingTile->hide();
    ui_.pctWorkingTile->setEnabled(false);
    ui_.pctPreviewFull = imageBox(client, QStringLiteral("pctPreviewFull"), {168, 224, 28, 28},
                                  tr("Full-size preview"));
    ui_.pctPreviewFull->setEnabled(false);
    ui_.pctPreviewFull->setToolTip(tr("Full-size image of the new tile - click to edit it"));
    ui_.pctPreviewHalf = imageBox(client, QStringLiteral("pctPreviewHalf"), {168, 272, 31, 28},
                                  tr("Half-size preview"));
    ui_.pctPreviewHalf->setAutoSize(false);
    ui_.pctPreviewHalf->setToolTip(tr("Half-size image of the new tile - click to edit it"));
    ui_.pctPreviewHalf->hide();
    ui_.pctPreviewHalf->setEnabled(false);
    ui_.shpPreviewSmall =
        imageBox(client, QStringLiteral("shpPreviewSmall"), {168, 312, 16, 16}, tr("Small colour"));
    ui_.shpPreviewSmall->setAutoSize(false);
    ui_.shpPreviewSmall->setToolTip(tr("Small-scale colour of the new tile - click to choose it"));
    ui_.shpPreviewSmall->setBackColour(systemcolour::MenuBar);
    ui_.shpPreviewSmall->hide();
    ui_.shpPreviewSmall->setEnabled(false);

    // Tile strip.
    ui_.Picture2 = named(new QFrame(client), QStringLiteral("Picture2"));
    ui_.Picture2->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    ui_.Picture2->setGeometry(334, kStripTop, 325, 424);
    ui_.Picture1 =
        named(new TileStrip(document_.strip(), ui_.Picture2), QStringLiteral("Picture1"));
    ui_.Picture1->setGeometry(ui_.Picture2->contentsRect());
    ui_.Picture1->setAccessibleName(tr("Tile strip"));
    ui_.Picture1->setAccessibleDescription(tr("Up and Down choose the tile to edit"));
    ui_.VScroll1 = scrollBar(client, QStringLiteral("VScroll1"), Qt::Vertical,
                             {575, kStripBarTop, 17, 439}, 0, 0, 1);
    ui_.VScroll1->setEnabled(false);
    ui_.VScroll1->setAccessibleName(tr("Scroll tile strip"));
    // Shown below the strip only while a row is wider than it.
    ui_.stripSideways = scrollBar(client, QStringLiteral("stripSideways"), Qt::Horizontal,
                                  {334, 452, 325, 17}, 0, 0, 1);
    ui_.stripSideways->setAccessibleName(tr("Scroll tile strip sideways"));
    ui_.stripSideways->hide();
    ui_.Picture1->setScrollBars(ui_.VScroll1, ui_.stripSideways);

    ui_.StatusBar1 = named(new PanelStatusBar(client), QStringLiteral("StatusBar1"));
    // The size panel is wide enough for two digits: at 20 pixels "18" would be cut off.
    static constexpr std::array<int, 5> kPanelWidths{131, 100, 28, 78, 96};
    const std::array<QString, 5> tips{tr("Number of tiles in QRB file"), tr("Font Name"),
                                      tr("Font Size"), tr("Font Style"), QString()};
    for (int p = 1; p <= 5; ++p) {
        ui_.StatusBar1->setPanelWidth(p, kPanelWidths[std::size_t(p - 1)]);
        ui_.StatusBar1->panel(p)->setToolTip(tips[std::size_t(p - 1)]);
    }
    ui_.ProgressBar1 = named(new QProgressBar(client), QStringLiteral("ProgressBar1"));
    ui_.ProgressBar1->setTextVisible(false);
    ui_.ProgressBar1->setAccessibleName(tr("Progress"));
    ui_.ProgressBar1->hide();

    // Stacking: the logo and the frames lie beneath the controls they frame. A working
    // tile too large for its frame spreads under the text controls, never over them, so
    // they stay usable.
    ui_.Shape2[1]->lower();
    ui_.Shape2[0]->lower();
    ui_.Image1->lower();
    for (QWidget* w : std::initializer_list<QWidget*>{ui_.txtText, ui_.Frame3, ui_.frmRotate,
                                                      ui_.Frame2, ui_.cmdCreate})
        w->raise();
    ui_.ProgressBar1->raise();

    // The position and angle bars are reached with Tab and moved with the arrow keys; a
    // click on them leaves the focus where it was, in the text box being typed in.
    auto* keys = new BarKeys(this);
    for (QScrollBar* bar : {ui_.XScroll, ui_.YScroll, ui_.HScroll1}) {
        bar->setFocusPolicy(Qt::TabFocus);
        bar->installEventFilter(keys);
    }

    // Keyboard order: text, position, Place, Store, angle, Create, slots, strip.
    QList<QWidget*> order{ui_.txtText,  ui_.XScroll,  ui_.YScroll,  ui_.txtX,     ui_.txtY,
                          ui_.cmdPlace, ui_.cmdStore, ui_.txtAngle, ui_.HScroll1, ui_.cmdCreate};
    for (int k = 0; k < 9; ++k)
        order << ui_.Text1[std::size_t(k)] << ui_.cmdPlaceText[std::size_t(k)];
    order << ui_.Picture1 << ui_.VScroll1 << ui_.pctWorkingTile << ui_.pctPreviewFull
          << ui_.pctPreviewHalf << ui_.shpPreviewSmall;
    for (ImageBox* box :
         {ui_.pctWorkingTile, ui_.pctPreviewFull, ui_.pctPreviewHalf, ui_.shpPreviewSmall})
        box->setKeyboardClicks(true);
    for (int i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);
}

} // namespace qrb
