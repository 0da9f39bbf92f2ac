// Form2's controls at their design positions and in their initial states.
//
// Each control keeps the old form's name as its objectName, which the tests, the
// accessibility tools and the help's wording rely on:
//
//   C++ name (Form2::Controls)        objectName
//   client                            client
//   mainToolBar                       Toolbar1 (buttons Toolbar1_Button1 .. 20)
//   textBox                           txtText
//   positionGroup, xBar, yBar         Frame3, XScroll, YScroll
//   xField, yField, positionComma     txtX, txtY, Label1
//   tileSizeLabel                     Label2
//   placeButton, storeButton          cmdPlace, cmdStore
//   angleGroup, angleField, angleBar  frmRotate, txtAngle, HScroll1
//   angleDial, angleDialRing          picRotate, Shape4
//   createButton                      cmdCreate
//   slotGroup, slotTexts[k], slotButtons[k]
//                                     Frame2, Text1(k), cmdPlaceText(k)
//   tileFrames[0], tileFrames[1]      Shape2(0), Shape2(1)
//   workingTile, fullPreview          pctWorkingTile, pctPreviewFull
//   halfPreview, smallColour          pctPreviewHalf, shpPreviewSmall
//   stripFrame, strip, stripBar       Picture2, Picture1, VScroll1
//   logoLabel                         Image1
//   statusPanels, progressBar         StatusBar1, ProgressBar1
//   fileMenu, editMenu, tileMenu      mnuFile, mnuEdit, mnuConfiguration
//   helpMenu, positionDataMenu        mnuHelp, mnuPositionData
//   tileContextMenu                   mnuTileMenu
//
// The menu items' old names are in the command table (Form2Commands.cpp).

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

    ui_.logoLabel = named(new QLabel(client), QStringLiteral("Image1"));
    ui_.logoLabel->setGeometry(408, 107, 284, 125);
    ui_.logoLabel->setPixmap(logo());
    ui_.logoLabel->setAccessibleName(tr("Logo"));

    // The caption is text, so it takes the desktop's colours like every other button.
    ui_.createButton = named(new QPushButton(tr("&Create"), client), QStringLiteral("cmdCreate"));
    // Above the slots' group, whose caption it would otherwise cover.
    ui_.createButton->setGeometry(2, 261, 155, 36);
    ui_.createButton->setIcon(QIcon(QStringLiteral(":/images/create.svg")));
    ui_.createButton->setIconSize(QSize(32, 32));
    {
        QFont caption = ui_.createButton->font();
        caption.setBold(true);
        caption.setPointSizeF(caption.pointSizeF() * 1.5);
        ui_.createButton->setFont(caption);
    }
    ui_.createButton->setToolTip(tr("Click to create new tile"));
    ui_.createButton->setAccessibleName(tr("Create tile"));

    // Working tile and previews.
    for (int k = 0; k < 2; ++k) {
        auto* shape = named(new ShapeWidget(ShapeWidget::Kind::Rectangle, client),
                            QStringLiteral("Shape2(%1)").arg(k));
        shape->setProperty("index", k);
        ui_.tileFrames[std::size_t(k)] = shape;
    }
    ui_.tileFrames[0]->setGeometry(159, 28, 174, 174);
    ui_.tileFrames[1]->setGeometry(159, 203, 174, 267);
    ui_.tileFrames[1]->setCaption(tr("New tile"));
    ui_.tileFrames[1]->setFont(GroupFrame::titleFont(ui_.tileFrames[1]->font()));
    ui_.tileFrames[1]->hide();

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
    ui_.workingTile =
        imageBox(canvas, QStringLiteral("pctWorkingTile"), {0, 0, 0, 0}, tr("Working tile"));
    ui_.workingTile->hide();
    ui_.workingTile->setEnabled(false);
    ui_.fullPreview = imageBox(client, QStringLiteral("pctPreviewFull"), {168, 224, 28, 28},
                               tr("Full-size preview"));
    ui_.fullPreview->setEnabled(false);
    ui_.fullPreview->setToolTip(tr("Full-size image of the new tile - click to edit it"));
    ui_.halfPreview = imageBox(client, QStringLiteral("pctPreviewHalf"), {168, 272, 31, 28},
                               tr("Half-size preview"));
    ui_.halfPreview->setAutoSize(false);
    ui_.halfPreview->setToolTip(tr("Half-size image of the new tile - click to edit it"));
    ui_.halfPreview->hide();
    ui_.halfPreview->setEnabled(false);
    ui_.smallColour =
        imageBox(client, QStringLiteral("shpPreviewSmall"), {168, 312, 16, 16}, tr("Small colour"));
    ui_.smallColour->setAutoSize(false);
    ui_.smallColour->setToolTip(tr("Small-scale colour of the new tile - click to choose it"));
    ui_.smallColour->setBackColour(systemcolour::MenuBar);
    ui_.smallColour->hide();
    ui_.smallColour->setEnabled(false);

    // Tile strip.
    ui_.stripFrame = named(new QFrame(client), QStringLiteral("Picture2"));
    ui_.stripFrame->setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
    ui_.stripFrame->setGeometry(334, kStripTop, 325, 424);
    ui_.strip = named(new TileStrip(document_.strip(), ui_.stripFrame), QStringLiteral("Picture1"));
    ui_.strip->setGeometry(ui_.stripFrame->contentsRect());
    ui_.strip->setAccessibleName(tr("Tile strip"));
    ui_.strip->setAccessibleDescription(tr("Up and Down choose the tile to edit"));
    ui_.stripBar = scrollBar(client, QStringLiteral("VScroll1"), Qt::Vertical,
                             {575, kStripBarTop, 17, 439}, 0, 0, 1);
    ui_.stripBar->setEnabled(false);
    ui_.stripBar->setAccessibleName(tr("Scroll tile strip"));
    // Shown below the strip only while a row is wider than it.
    ui_.stripSideways = scrollBar(client, QStringLiteral("stripSideways"), Qt::Horizontal,
                                  {334, 452, 325, 17}, 0, 0, 1);
    ui_.stripSideways->setAccessibleName(tr("Scroll tile strip sideways"));
    ui_.stripSideways->hide();
    ui_.strip->setScrollBars(ui_.stripBar, ui_.stripSideways);

    ui_.statusPanels = named(new PanelStatusBar(client), QStringLiteral("StatusBar1"));
    // The size panel is wide enough for two digits: at 20 pixels "18" would be cut off.
    static constexpr std::array<int, 5> kPanelWidths{131, 100, 28, 78, 96};
    const std::array<QString, 5> tips{tr("Number of tiles in QRB file"), tr("Font Name"),
                                      tr("Font Size"), tr("Font Style"), QString()};
    for (int p = 1; p <= 5; ++p) {
        ui_.statusPanels->setPanelWidth(p, kPanelWidths[std::size_t(p - 1)]);
        ui_.statusPanels->panel(p)->setToolTip(tips[std::size_t(p - 1)]);
    }
    ui_.progressBar = named(new QProgressBar(client), QStringLiteral("ProgressBar1"));
    ui_.progressBar->setTextVisible(false);
    ui_.progressBar->setAccessibleName(tr("Progress"));
    ui_.progressBar->hide();
}

void Form2::arrangeControls() {
    // Stacking: the logo and the frames lie beneath the controls they frame. A working
    // tile too large for its frame spreads under the text controls, never over them, so
    // they stay usable.
    ui_.tileFrames[1]->lower();
    ui_.tileFrames[0]->lower();
    ui_.logoLabel->lower();
    for (QWidget* w : std::initializer_list<QWidget*>{
             ui_.textBox, ui_.positionGroup, ui_.angleGroup, ui_.slotGroup, ui_.createButton})
        w->raise();
    ui_.progressBar->raise();

    // The position and angle bars are reached with Tab and moved with the arrow keys; a
    // click on them leaves the focus where it was, in the text box being typed in.
    auto* keys = new BarKeys(this);
    for (QScrollBar* bar : {ui_.xBar, ui_.yBar, ui_.angleBar}) {
        bar->setFocusPolicy(Qt::TabFocus);
        bar->installEventFilter(keys);
    }

    // Keyboard order: text, position, Place, Store, angle, Create, slots, strip.
    QList<QWidget*> order{ui_.textBox,  ui_.xBar,        ui_.yBar,        ui_.xField,
                          ui_.yField,   ui_.placeButton, ui_.storeButton, ui_.angleField,
                          ui_.angleBar, ui_.createButton};
    for (int k = 0; k < 9; ++k)
        order << ui_.slotTexts[std::size_t(k)] << ui_.slotButtons[std::size_t(k)];
    order << ui_.strip << ui_.stripBar << ui_.workingTile << ui_.fullPreview << ui_.halfPreview
          << ui_.smallColour;
    for (ImageBox* box : {ui_.workingTile, ui_.fullPreview, ui_.halfPreview, ui_.smallColour})
        box->setKeyboardClicks(true);
    for (int i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);
    // Typing goes to the text box from the start.
    ui_.textBox->setFocus(Qt::OtherFocusReason);
}

} // namespace qrb
