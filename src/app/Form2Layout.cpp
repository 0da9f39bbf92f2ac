// The window's own controls (the client area, the logo, Create) and the stacking and keyboard order
// of every control, the panels' too.
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
//   viewMenu, helpMenu                mnuView, mnuHelp
//   positionDataMenu                  mnuPositionData
//   tileContextMenu                   mnuTileMenu
//
// The menu items' old names are in the command table (Form2Commands.cpp).

#include "app/Form2.h"

#include "app/parts/DesignControls.h"
#include "widgets/ImageBox.h"
#include "widgets/ShapeWidget.h"
#include "widgets/TileStrip.h"
#include "widgets/WorkingTileBox.h"

#include <QFocusFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolBar>

namespace qrb {

using namespace design;

namespace {

// The client area: tells the window when its size changes.
class ClientArea : public QWidget {
public:
    explicit ClientArea(QWidget* parent) : QWidget(parent) { setAutoFillBackground(true); }

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

    // Keyboard order: text, position, the working tile (whose arrow keys move the text),
    // Place, Store, angle, Create, slots, strip, previews.
    QList<QWidget*> order{ui_.textBox,    ui_.xBar,        ui_.yBar,        ui_.xField,
                          ui_.yField,     ui_.workingTile, ui_.placeButton, ui_.storeButton,
                          ui_.angleField, ui_.angleBar,    ui_.createButton};
    for (int k = 0; k < 9; ++k)
        order << ui_.slotTexts[std::size_t(k)] << ui_.slotButtons[std::size_t(k)];
    order << ui_.strip << ui_.stripBar << ui_.fullPreview << ui_.halfPreview << ui_.smallColour;
    for (ImageBox* box : std::initializer_list<ImageBox*>{ui_.workingTile, ui_.fullPreview,
                                                          ui_.halfPreview, ui_.smallColour})
        box->setKeyboardClicks(true);
    for (int i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);
    // Typing goes to the text box from the start.
    ui_.textBox->setFocus(Qt::OtherFocusReason);
}

} // namespace qrb
