#include "widgets/TileStrip.h"

#include "imaging/render/DibConversion.h"
#include "text/render/QtConversions.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QWheelEvent>

#include <algorithm>
#include <memory>

namespace qrb {

namespace {

using strip::kTwipsPerPixel;

// Twips to pixels, rounding towards minus infinity so rows above the view stay above it.
int pixelsOf(Twips t) {
    Twips q = t / kTwipsPerPixel;
    if (t % kTwipsPerPixel != 0 && t < 0)
        --q;
    return static_cast<int>(q);
}

qsizetype bytesOf(const QPixmap& pixmap) {
    return qsizetype(pixmap.width()) * pixmap.height() * std::max(1, pixmap.depth() / 8);
}

Modifiers modifiersOf(Qt::KeyboardModifiers m) {
    m &= ~Qt::KeypadModifier;
    if (m == Qt::NoModifier)
        return Modifiers::None;
    if (m == Qt::ShiftModifier)
        return Modifiers::Shift;
    if (m == Qt::ControlModifier)
        return Modifiers::Ctrl;
    return Modifiers::Other;
}

MouseButton buttonOf(Qt::MouseButton b) {
    if (b == Qt::LeftButton)
        return MouseButton::Left;
    if (b == Qt::RightButton)
        return MouseButton::Right;
    return MouseButton::Other;
}

} // namespace

TileStrip::TileStrip(const StripModel& model, QWidget* parent) : QWidget(parent), model_(model) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
}

void TileStrip::setContentTop(Twips top) {
    if (top == contentTop_)
        return;
    contentTop_ = top;
    update();
}

void TileStrip::setContentLeft(int left) {
    if (left == contentLeft_)
        return;
    contentLeft_ = left;
    update();
}

int TileStrip::numberWidth() const {
    return fontMetrics().horizontalAdvance(QStringLiteral("32767")) + 8;
}

int TileStrip::contentWidth() const {
    // The rows, then room for the tile numbers, so that no number covers a row scrolled
    // sideways to its end.
    return rowsWidth() + numberWidth();
}

int TileStrip::rowsWidth() const {
    // The widest row is the one whose full and half images together are widest; its right
    // edge is that of its small-colour square. Only the rows not yet measured are looked
    // at, so appending or deleting at the end costs nothing here.
    const std::deque<Tile>& tiles = model_.tiles().tiles();
    if (measured_ < int(tiles.size())) {
        int i = measured_;
        for (auto it = tiles.begin() + measured_; it != tiles.end(); ++it) {
            ++i;
            const std::int64_t sum = std::int64_t(it->full.width()) + it->half.width();
            if (sum > widestSum_) {
                widestSum_ = sum;
                widest_ = i;
                contentWidth_ = -1;
            }
        }
        measured_ = i;
    }
    if (contentWidth_ < 0) {
        contentWidth_ = 0;
        if (widest_ != 0) {
            const RowGeometry g = model_.rowGeometry(widest_);
            contentWidth_ = pixelsOf(g.smallLeft + g.smallSize + kTwipsPerPixel - 1) + 2;
        }
    }
    return contentWidth_;
}

void TileStrip::setWhiteBackground(bool on) {
    white_ = on;
    update();
}

void TileStrip::setEmptyPicture(const QPixmap& picture) {
    emptyPicture_ = picture;
    update();
}

int TileStrip::focusRow() const {
    if (focusRow_ >= 1 && focusRow_ <= model_.count())
        return focusRow_;
    return model_.currentTile();
}

void TileStrip::invalidateFrom(int firstTile) {
    // A focus row whose tile moved or went follows the current tile again.
    if (focusRow_ >= firstTile)
        focusRow_ = 0;
    // Rows before firstTile keep their measure; the widest row among them stays widest
    // unless it is one of the rows that changed.
    if (widest_ >= firstTile) {
        widest_ = 0;
        widestSum_ = -1;
        measured_ = 0;
    } else {
        measured_ = std::min(measured_, firstTile - 1);
    }
    contentWidth_ = -1;
    for (int tile : cache_.keys()) {
        if (tile >= firstTile)
            cache_.remove(tile);
    }
    update();
}

int TileStrip::toPixelsY(Twips contentY) const {
    return pixelsOf(contentY + contentTop_);
}

Twips TileStrip::toContentY(int widgetY) const {
    return Twips{widgetY} * kTwipsPerPixel - contentTop_;
}

std::pair<int, int> TileStrip::rowsInView() const {
    if (model_.count() == 0)
        return {0, 0};
    const Twips top = toContentY(0);
    const Twips bottom = toContentY(height()) - 1;
    int first = model_.rowAt(std::max<Twips>(top, 0));
    if (first == 0)
        return {0, 0};
    int last = model_.rowAt(bottom);
    if (last == 0)
        last = bottom < 0 ? 0 : model_.count();
    if (last == 0)
        return {0, 0};
    return {first, last};
}

const TileStrip::RowPixmaps* TileStrip::pixmapsFor(int tile) {
    if (const RowPixmaps* kept = cache_.object(tile))
        return kept;
    const Tile& t = model_.tiles().tile(tile);
    // Pixmaps are 32-bit: a row too large for the cache is never converted whole.
    const qsizetype cost = 4 * (qsizetype(t.full.width()) * t.full.height() +
                                qsizetype(t.half.width()) * t.half.height());
    if (cost > cache_.maxCost())
        return nullptr;
    auto* row =
        new RowPixmaps{QPixmap::fromImage(toQImage(t.full)), QPixmap::fromImage(toQImage(t.half))};
    cache_.insert(tile, row, bytesOf(row->full) + bytesOf(row->half));
    return row;
}

void TileStrip::drawPart(QPainter& painter, const DibImage& picture, QPoint at,
                         const QRect& exposed) {
    const QRect part =
        exposed.translated(-at).intersected(QRect(0, 0, picture.width(), picture.height()));
    if (!part.isEmpty())
        painter.drawImage(at + part.topLeft(), toQImage(picture, part));
}

void TileStrip::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), white_ ? QColor(Qt::white) : palette().color(QPalette::Button));
    if (!white_ && !emptyPicture_.isNull()) {
        QSize size = emptyPicture_.size();
        if (size.width() > width() - 8)
            size = size.scaled(width() - 8, height(), Qt::KeepAspectRatio);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawPixmap(
            QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 3), size),
            emptyPicture_);
    }
    auto [first, last] = rowsInView();
    if (first == 0)
        return;
    // Frames span the viewport (or the widest row) plus 100 twips, starting 45 twips left
    // of the content, which is drawn moved left by the sideways scroll.
    const int frameLeft = pixelsOf(strip::kFrameLeft);
    const int frameWidth = std::max(width() + contentLeft_, contentWidth()) + pixelsOf(100);
    painter.save();
    painter.translate(-contentLeft_, 0);
    const QRect exposed = event->rect().translated(contentLeft_, 0);
    // Every number at one place: just after the widest row, or at the right end of the
    // strip in view when the rows reach beyond it.
    const QFontMetrics metrics = painter.fontMetrics();
    const int numberWidth = this->numberWidth();
    const int numberLeft = std::min(rowsWidth() + 4, contentLeft_ + width() - numberWidth);
    for (int i = first; i <= last; ++i) {
        const RowGeometry g = model_.rowGeometry(i);
        const int frameTop = toPixelsY(g.frameTop);
        const int frameBottom = toPixelsY(g.frameTop + g.frameHeight);
        painter.fillRect(QRect(frameLeft, frameTop, frameWidth, frameBottom - frameTop),
                         toQColor(model_.mark(i)));
        const QPoint full(pixelsOf(g.fullLeft), toPixelsY(g.fullTop));
        const QPoint half(pixelsOf(g.halfLeft), toPixelsY(g.halfTop));
        if (const RowPixmaps* px = pixmapsFor(i)) {
            painter.drawPixmap(full, px->full);
            painter.drawPixmap(half, px->half);
        } else {
            const Tile& t = model_.tiles().tile(i);
            drawPart(painter, t.full, full, exposed);
            drawPart(painter, t.half, half, exposed);
        }
        const int side = pixelsOf(g.smallSize);
        painter.fillRect(QRect(pixelsOf(g.smallLeft), toPixelsY(g.smallTop), side, side),
                         toQColor(model_.tiles().tile(i).smallColour));
        // The tile's number, on the row's own colour over any picture that reaches there;
        // none on a row too low to hold it.
        if (frameBottom - frameTop >= metrics.height()) {
            const QRect plate(numberLeft,
                              frameTop + (frameBottom - frameTop - metrics.height()) / 2,
                              numberWidth, metrics.height());
            painter.fillRect(plate, toQColor(model_.mark(i)));
            painter.setPen(model_.mark(i) == palette::White ? QColor(Qt::darkGray)
                                                            : QColor(Qt::white));
            painter.drawText(plate.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                             QString::number(i));
        }
    }
    painter.restore();
    if (hasFocus())
        drawFocusFrame(painter);
}

void TileStrip::drawFocusFrame(QPainter& painter) {
    // A dashed frame just inside the focus row, light on the dark marks and dark on white,
    // or around the whole strip while there is no focus row.
    QRect frame = rect();
    QColor colour = palette().color(QPalette::WindowText);
    if (const int row = focusRow()) {
        const RowGeometry g = model_.rowGeometry(row);
        const int top = toPixelsY(g.frameTop);
        frame = QRect(0, top, width(), toPixelsY(g.frameTop + g.frameHeight) - top);
        colour = model_.mark(row) == palette::White ? QColor(Qt::black) : QColor(Qt::white);
    }
    painter.setPen(QPen(colour, 1, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(frame.adjusted(1, 1, -2, -2));
}

void TileStrip::mousePressEvent(QMouseEvent* event) {
    event->accept();
    setFocus(Qt::MouseFocusReason);
    const QPoint p = event->position().toPoint();
    const RowHit hit = model_.count() ? model_.hitTest(Twips{p.x() + contentLeft_} * kTwipsPerPixel,
                                                       toContentY(p.y()))
                                      : RowHit{};
    if (hit.tile == 0)
        return;
    focusRow_ = hit.tile;
    update();
    emit rowPressed(hit.tile, hit.part, buttonOf(event->button()), modifiersOf(event->modifiers()),
                    event->globalPosition().toPoint());
}

int TileStrip::rowForKey(int key) const {
    const int count = model_.count();
    const int from = focusRow();
    auto [first, last] = rowsInView();
    const int page = std::max(1, last - first);
    int to = 0;
    switch (key) {
    case Qt::Key_Up:
        to = from != 0 ? from - 1 : count;
        break;
    case Qt::Key_Down:
        to = from + 1;
        break;
    case Qt::Key_PageUp:
        to = from != 0 ? from - page : 1;
        break;
    case Qt::Key_PageDown:
        to = from + page;
        break;
    case Qt::Key_Home:
        to = 1;
        break;
    case Qt::Key_End:
        to = count;
        break;
    default:
        return 0;
    }
    return count == 0 ? 0 : std::clamp(to, 1, count);
}

void TileStrip::keyPressEvent(QKeyEvent* event) {
    const Modifiers modifiers = modifiersOf(event->modifiers());
    const int key = event->key();
    if ((key == Qt::Key_Menu && modifiers == Modifiers::None) ||
        (key == Qt::Key_F10 && modifiers == Modifiers::Shift)) {
        if (const int row = focusRow()) {
            const RowGeometry g = model_.rowGeometry(row);
            const QPoint at(pixelsOf(g.fullLeft + g.fullWidth / 2),
                            toPixelsY(g.fullTop + g.fullHeight / 2));
            emit menuKeyPressed(row, mapToGlobal(at));
        }
        return;
    }
    if (key == Qt::Key_Delete && modifiers == Modifiers::None) {
        emit deleteKeyPressed();
        return;
    }
    if (key == Qt::Key_Space && (modifiers == Modifiers::None || modifiers == Modifiers::Ctrl)) {
        if (const int row = focusRow())
            emit keyChoseRow(row, modifiers);
        return;
    }
    const int to = rowForKey(key);
    const bool moveOnly = modifiers == Modifiers::Ctrl && key != Qt::Key_Home && key != Qt::Key_End;
    if (to == 0 || modifiers == Modifiers::Other) {
        QWidget::keyPressEvent(event);
        return;
    }
    focusRow_ = to;
    update();
    if (moveOnly)
        emit focusRowMoved(to);
    else
        emit keyChoseRow(to, modifiers == Modifiers::Shift ? Modifiers::Shift : Modifiers::None);
}

void TileStrip::wheelEvent(QWheelEvent* event) {
    if (vertical_ && vertical_->isEnabled())
        QApplication::sendEvent(vertical_, event);
    else
        event->ignore();
}

// ---- Scrolling ---------------------------------------------------------------------------

void TileStrip::setScrollBars(QScrollBar* vertical, QScrollBar* sideways) {
    vertical_ = vertical;
    sideways_ = sideways;
    connect(vertical_, &QScrollBar::valueChanged, this,
            [this](int value) { setContentTop(-Twips{value} * scrollUnit_); });
    connect(sideways_, &QScrollBar::valueChanged, this, &TileStrip::setContentLeft);
}

void TileStrip::updateScrollRange(bool toTop) {
    if (!vertical_)
        return;
    const ScrollSettings s = model_.scrollSettings(Twips{height()} * strip::kTwipsPerPixel);
    {
        const QSignalBlocker quiet(vertical_);
        vertical_->setMaximum(std::max(0, s.maximum));
        if (s.smallStep > 0) {
            vertical_->setPageStep(s.largeStep);
            vertical_->setSingleStep(s.smallStep);
        }
        scrollUnit_ = s.unitTwips;
        if (toTop)
            vertical_->setValue(0);
        vertical_->setEnabled(s.enabled);
    }
    setContentTop(-Twips{vertical_->value()} * scrollUnit_);
}

bool TileStrip::updateSidewaysRange() {
    const int wide = contentWidth();
    const bool needed = wide > width();
    if (sideways_) {
        sideways_->setRange(0, needed ? wide - width() : 0);
        sideways_->setPageStep(std::max(1, width()));
        sideways_->setSingleStep(10);
    }
    return needed;
}

void TileStrip::ensureRowVisible(int tile) {
    if (!vertical_ || tile < 1 || tile > model_.count())
        return;
    const RowGeometry g = model_.rowGeometry(tile);
    const Twips viewTop = Twips{vertical_->value()} * scrollUnit_;
    const Twips viewHeight = Twips{height()} * strip::kTwipsPerPixel;
    const Twips top = std::max<Twips>(0, g.frameTop);
    const Twips bottom = g.frameTop + g.frameHeight;
    Twips wanted = viewTop;
    if (top < viewTop)
        wanted = top;
    else if (bottom > viewTop + viewHeight)
        wanted = bottom - viewHeight;
    vertical_->setValue(static_cast<int>((wanted + scrollUnit_ - 1) / scrollUnit_));
}

void TileStrip::scrollToEnd() {
    if (vertical_ && vertical_->isEnabled())
        vertical_->setValue(vertical_->maximum());
}

} // namespace qrb
