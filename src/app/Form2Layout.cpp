// Form2's controls at their design positions and in their initial
// states.

#include "app/Form2.h"

#include "app/parts/DesignControls.h"
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

using namespace design;

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
}

void Form2::arrangeControls() {
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
    // Typing goes to the text box from the start.
    ui_.txtText->setFocus(Qt::OtherFocusReason);
}

} // namespace qrb
