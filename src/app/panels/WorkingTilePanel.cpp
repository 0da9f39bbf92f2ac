#include "app/panels/WorkingTilePanel.h"

#include "app/shared/DesignControls.h"
#include "widgets/GroupFrame.h"
#include "widgets/ImageBox.h"
#include "widgets/ShapeWidget.h"
#include "widgets/WorkingTileBox.h"

#include <QCoreApplication>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QWheelEvent>

#include <cmath>
#include <functional>

namespace qrb {

namespace {

// Whole window pixels for a position computed with halves, rounding half to even.
int wholePixels(double value) {
    return static_cast<int>(std::nearbyint(value));
}

// Where the zoom is remembered: 0.125 to 16, or 0 for "fit the working tile".
const char* const kZoomKey = "view/workingTileZoom";

// The zoom steps: halvings below 1x, whole zooms above.
double zoomStep(int index) {
    return index < 0 ? std::exp2(index) : index + 1;
}
int zoomStepIndex(double zoom) {
    return zoom < 1 ? int(std::lround(std::log2(zoom))) : int(std::lround(zoom)) - 1;
}

// The working tile's canvas: the tile is centred again whenever the view resizes it, and it
// sits in a thin two-tone border, seen against white and black tile pixels alike, with a
// focus frame around that while it has the keyboard.
class Canvas : public QWidget {
public:
    Canvas(QWidget* parent, std::function<void()> resized)
        : QWidget(parent), resized_(std::move(resized)) {}
    QWidget* tile = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        resized_();
    }
    void paintEvent(QPaintEvent*) override {
        if (!tile || !tile->isVisible())
            return;
        QPainter painter(this);
        const QRect around = tile->geometry();
        painter.setPen(QPen(Qt::black, 0));
        painter.drawRect(around.adjusted(-1, -1, 0, 0));
        painter.setPen(QPen(Qt::white, 0));
        painter.drawRect(around.adjusted(-2, -2, 1, 1));
        if (tile->hasFocus()) {
            // The keyboard is here: the arrow keys move the text.
            painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
            painter.drawRect(around.adjusted(-4, -4, 3, 3));
        }
    }

private:
    std::function<void()> resized_;
};

} // namespace

WorkingTilePanel::WorkingTilePanel(Document& document, Services services, QWidget* client,
                                   QObject* parent)
    : QObject(parent), document_(document), services_(services) {
    setObjectName(QStringLiteral("WorkingTile"));
    buildControls(client);
    // The working tile paints the document's view straight from the document.
    ui_.workingTile->setSource([this]() -> const QImage& { return document_.workingImage(); });
    connect(ui_.workingTile, &ImageBox::resized, this, &WorkingTilePanel::centreWorkingTile);
    connect(ui_.fullPreview, &ImageBox::resized, this, &WorkingTilePanel::placePreviews);
    // Dragging the tile or its arrow keys move the text as the position bars do.
    connect(ui_.workingTile, &WorkingTileBox::textDragStarted, this, [this] {
        dragStart_ = QPoint(document_.placement().x, document_.placement().y);
        document_.startTextMove();
    });
    connect(ui_.workingTile, &WorkingTileBox::textDragged, this, [this](QPoint by) {
        document_.moveTextTo(dragStart_.x() + by.x(), dragStart_.y() + by.y());
    });
    connect(ui_.workingTile, &WorkingTileBox::textNudged, this, [this](QPoint by) {
        document_.moveTextTo(document_.placement().x + by.x(), document_.placement().y + by.y());
    });
    ui_.workingTileView->viewport()->installEventFilter(this);
    connect(&document_, &Document::changed, this, [this](Document::Changes what, int) {
        using Change = Document::Change;
        if (what & (Change::Picture | Change::Previews | Change::Options))
            show();
        else if (what & Change::LiveText)
            // Only the text over the picture moved: only where it was and is.
            ui_.workingTile->refreshArea(document_.liveTextRepaintArea());
        if (what & (Change::Picture | Change::Position))
            showAnchor();
    });
    const double remembered = QSettings().value(QLatin1String(kZoomKey), 1).toDouble();
    fit_ = remembered == 0;
    ui_.workingTile->setZoom(fit_ ? 1 : remembered);
    show();
    showAnchor();
}

void WorkingTilePanel::buildControls(QWidget* client) {
    using namespace design;
    for (int k = 0; k < 2; ++k) {
        auto* shape = placed(new ShapeWidget(ShapeWidget::Kind::Rectangle, client),
                             k == 0 ? kWorkingTileFrame : kPreviewFrame);
        shape->setProperty("index", k);
        ui_.tileFrames[std::size_t(k)] = shape;
    }
    ui_.tileFrames[1]->setCaption(tr("New tile"));
    ui_.tileFrames[1]->setFont(GroupFrame::titleFont(ui_.tileFrames[1]->font()));
    ui_.tileFrames[1]->hide();

    // A tile larger than the frame scrolls in the view, its top-left corner (where text
    // starts) in view.
    ui_.workingTileView = named(new QScrollArea(client), QStringLiteral("workingTileView"));
    ui_.workingTileView->setFrameShape(QFrame::NoFrame);
    ui_.workingTileView->setFocusPolicy(Qt::NoFocus);
    ui_.workingTileView->setWidgetResizable(true);
    ui_.workingTileView->viewport()->setAutoFillBackground(false);
    auto* canvas = new Canvas(ui_.workingTileView, [this] { centreWorkingTile(); });
    canvas->setObjectName(QStringLiteral("workingTileCanvas"));
    ui_.workingTileView->setWidget(canvas);
    ui_.workingTile = named(new WorkingTileBox(canvas), QStringLiteral("pctWorkingTile"));
    ui_.workingTile->setAccessibleName(tr("Working tile"));
    ui_.workingTile->setAccessibleDescription(
        tr("Drag or use the arrow keys to move the text (Shift: ten pixels)"));
    canvas->tile = ui_.workingTile;
    ui_.workingTile->hide();
    ui_.workingTile->setEnabled(false);
    ui_.fullPreview = imageBox(client, kFullPreview, tr("Full-size preview"));
    ui_.fullPreview->setEnabled(false);
    ui_.fullPreview->setToolTip(tr("Full-size image of the new tile - click to edit it"));
    ui_.halfPreview = imageBox(client, kHalfPreview, tr("Half-size preview"));
    ui_.halfPreview->setAutoSize(false);
    ui_.halfPreview->setToolTip(tr("Half-size image of the new tile - click to edit it"));
    ui_.halfPreview->hide();
    ui_.halfPreview->setEnabled(false);
    ui_.smallColour = imageBox(client, kSmallColour, tr("Small colour"));
    ui_.smallColour->setAutoSize(false);
    ui_.smallColour->setToolTip(tr("Small-scale colour of the new tile - click to choose it"));
    ui_.smallColour->setBackColour(systemcolour::MenuBar);
    ui_.smallColour->hide();
    ui_.smallColour->setEnabled(false);
}

void WorkingTilePanel::show() {
    const WorkingTile& w = document_.working();
    followFit();
    ui_.workingTile->setVisible(w.shown);
    ui_.workingTile->setEnabled(w.shown);
    ui_.workingTile->refresh();

    // The previews show beside the working tile only while tiles are made from them.
    const bool previews = w.shown && !document_.options().createFromWorkingTile;
    ui_.tileFrames[1]->setVisible(previews);
    for (ImageBox* box : {ui_.fullPreview, ui_.halfPreview, ui_.smallColour}) {
        box->setEnabled(w.shown);
        box->setVisible(previews);
    }
    if (w.previewFull.isNull())
        ui_.fullPreview->clearImage();
    else
        ui_.fullPreview->setImage(w.previewFull);
    ui_.halfPreview->resize(w.halfBox);
    ui_.halfPreview->setImage(w.previewHalf);
    ui_.smallColour->setBackColour(w.smallColour);
    placePreviews();
}

void WorkingTilePanel::showAnchor() {
    const Placement& p = document_.placement();
    const bool moves = p.positionEnabled && document_.working().shown;
    ui_.workingTile->setMovesText(moves);
    ui_.workingTile->setAnchor(moves ? std::optional(QPoint(p.x, p.y)) : std::nullopt);
}

// ---- Zoom --------------------------------------------------------------------------------

double WorkingTilePanel::zoom() const {
    return ui_.workingTile->zoom();
}

double WorkingTilePanel::steppedZoom(int steps) const {
    return zoomStep(std::clamp(zoomStepIndex(zoom()) + steps, zoomStepIndex(kMinimumZoom),
                               zoomStepIndex(kMaximumZoom)));
}

void WorkingTilePanel::zoomIn() {
    setZoom(steppedZoom(1), false);
}

void WorkingTilePanel::zoomOut() {
    setZoom(steppedZoom(-1), false);
}

void WorkingTilePanel::actualSize() {
    setZoom(1, false);
}

void WorkingTilePanel::fitWorkingTile() {
    setZoom(fittingZoom(), true);
}

void WorkingTilePanel::followFit() {
    if (!fit_ || fittingZoom() == zoom())
        return;
    ui_.workingTile->setZoom(fittingZoom());
    emit zoomChanged();
}

double WorkingTilePanel::fittingZoom() const {
    const QSize tile = document_.working().picture.size();
    const QSize room = ui_.tileFrames[0]->size() - QSize(6, 6); // inside the frame and border
    if (tile.isEmpty() || room.isEmpty())
        return 1;
    const double fits =
        std::min(double(room.width()) / tile.width(), double(room.height()) / tile.height());
    // The largest step at or below what fits.
    for (int step = zoomStepIndex(kMaximumZoom); step > zoomStepIndex(kMinimumZoom); --step)
        if (zoomStep(step) <= fits)
            return zoomStep(step);
    return kMinimumZoom;
}

void WorkingTilePanel::setZoom(double zoom, bool fit) {
    setZoom(zoom, ui_.workingTileView->viewport()->rect().center(), fit);
}

void WorkingTilePanel::setZoom(double zoom, QPoint about, bool fit) {
    zoom = std::clamp(zoom, kMinimumZoom, double(kMaximumZoom));
    fit_ = fit;
    QSettings().setValue(QLatin1String(kZoomKey), fit ? 0 : zoom);
    WorkingTileBox* box = ui_.workingTile;
    const double before = box->zoom();
    if (zoom != before) {
        // The tile's point under `about`, in tile pixels, stays under it.
        QWidget* viewport = ui_.workingTileView->viewport();
        const QPointF tilePoint = QPointF(box->mapFrom(viewport, about)) / before;
        box->setZoom(zoom);
        zoom = box->zoom(); // on a step
        centreWorkingTile();
        // The view takes the canvas's new size now, so that it can scroll to the point.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        const QPointF onCanvas = QPointF(box->pos()) + tilePoint * zoom;
        ui_.workingTileView->horizontalScrollBar()->setValue(int(onCanvas.x()) - about.x());
        ui_.workingTileView->verticalScrollBar()->setValue(int(onCanvas.y()) - about.y());
    }
    emit zoomChanged();
}

bool WorkingTilePanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Wheel) {
        auto* wheel = static_cast<QWheelEvent*>(event);
        if (wheel->modifiers() & Qt::ControlModifier) {
            // Whole notches; a touchpad's small steps add up to them.
            wheelAngle_ += wheel->angleDelta().y();
            const int steps = wheelAngle_ / 120;
            wheelAngle_ -= steps * 120;
            if (steps != 0)
                setZoom(steppedZoom(steps), wheel->position().toPoint(), false);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

// ---- Layout ------------------------------------------------------------------------------

void WorkingTilePanel::setFrameWidth(bool large) {
    ShapeWidget* work = ui_.tileFrames[0];
    work->resize(large ? design::kLargeFrameSide : design::kWorkingTileFrame.place.width(),
                 work->height());
}

void WorkingTilePanel::arrangeFrames(bool large) {
    const int side = large ? design::kLargeFrameSide : design::kWorkingTileFrame.place.height();
    ShapeWidget* work = ui_.tileFrames[0];
    ShapeWidget* previews = ui_.tileFrames[1];
    work->resize(work->width(), side);
    previews->resize(side, previews->height());
    previews->move(previews->x(), work->y() + work->height() + 2);
    ui_.fullPreview->move(ui_.fullPreview->x(),
                          previews->y() +
                              (large ? design::kFullPreviewDropLarge : design::kFullPreviewDrop));
    followFit();
    placePreviews();
}

void WorkingTilePanel::stretchPreviewFrame(int bottom) {
    ShapeWidget* previews = ui_.tileFrames[1];
    if (bottom - previews->y() >= 0)
        previews->resize(previews->width(), bottom - previews->y());
}

void WorkingTilePanel::placePreviews() {
    const QRect frame = ui_.tileFrames[1]->geometry();
    const bool large = document_.largeLayout();
    ImageBox* full = ui_.fullPreview;
    ImageBox* half = ui_.halfPreview;
    ImageBox* small = ui_.smallColour;
    full->move(wholePixels(frame.x() + frame.width() * 0.5 - full->width() * 0.5), full->y());
    const int fullBottom = full->y() + full->height();
    if (large) {
        // Side by side below the full preview.
        half->move(full->x(), fullBottom + 2);
        small->move(half->x() + half->width() + 5, half->y());
    } else {
        half->move(wholePixels(frame.x() + frame.width() * 0.5 - half->width() * 0.5),
                   fullBottom + 10);
        small->move(wholePixels(frame.x() + frame.width() * 0.5 - small->width() * 0.5),
                    half->y() + half->height() + 10);
    }
    small->setBorder(!large && document_.working().shown);
    centreWorkingTile();
}

void WorkingTilePanel::centreWorkingTile() {
    ImageBox* box = ui_.workingTile;
    QScrollArea* view = ui_.workingTileView;
    QWidget* canvas = view ? view->widget() : nullptr;
    if (!box || !canvas)
        return; // still being built
    const QRect frame = ui_.tileFrames[0]->geometry();
    view->setGeometry(frame.adjusted(1, 1, -1, -1));
    // A tile larger than the view's inside makes the canvas larger, so the view scrolls.
    canvas->setMinimumSize(box->size());
    if (box->width() <= view->width() && box->height() <= view->height()) {
        // Centred in the frame, in window pixels with halves rounded to even.
        const QPoint centred(wholePixels(frame.x() + frame.width() * 0.5 - box->width() * 0.5),
                             wholePixels(frame.y() + frame.height() * 0.5 - box->height() * 0.5));
        box->move(canvas->mapFrom(view->parentWidget(), centred));
    } else {
        // Too large: from the canvas's top-left corner where it does not fit, centred
        // where it does.
        box->move(std::max(0, (canvas->width() - box->width()) / 2),
                  std::max(0, (canvas->height() - box->height()) / 2));
    }
    canvas->update(); // the border follows the tile
}

// ---- Commands ----------------------------------------------------------------------------

void WorkingTilePanel::createTile() {
    if (!document_.createTile())
        services_.showStatus(
            tr("Nothing was created: pick a tile in the strip (or paste a picture) first."));
}

void WorkingTilePanel::replaceTile() {
    if (!document_.replaceTile())
        services_.showStatus(
            tr("Nothing was replaced: pick the tile to replace in the strip first."));
}

void WorkingTilePanel::chooseSmallColour() {
    CommonDialog& dialog = services_.dialog;
    dialog.Color = document_.working().rememberedSmallColour;
    try {
        dialog.ShowColor();
    } catch (const DialogCancelled&) {
        return;
    }
    document_.setSmallColour(dialog.Color);
}

void WorkingTilePanel::copy() {
    if (!document_.working().shown)
        return;
    services_.clipboard.clear();
    services_.clipboard.setImage(document_.workingImage());
}

void WorkingTilePanel::paste() {
    if (!document_.isLibraryOpen() || !services_.clipboard.hasImage())
        return;
    document_.paste(services_.clipboard.image());
}

void WorkingTilePanel::pasteBaseImage() {
    document_.pasteBaseImage();
}

} // namespace qrb
