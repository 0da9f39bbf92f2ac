#include "app/panels/StripDragDrop.h"

#include "document/TileTransfer.h"
#include "imaging/render/DibConversion.h"
#include "imaging/render/ImportOptions.h"
#include "platform/Clipboard.h"
#include "widgets/TileStrip.h"

#include <QApplication>
#include <QBuffer>
#include <QDrag>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QUrl>

namespace qrb {

namespace {

// Rows dragged within one running program: "pid:rows" so a drag from another copy of the
// program is not taken for one of this strip's.
const char* const kRowsType = "application/x-qrbtexteditor-tile-rows";

QByteArray rowsPayload(const std::vector<int>& rows) {
    QByteArray text = QByteArray::number(QCoreApplication::applicationPid()) + ':';
    for (std::size_t j = 0; j < rows.size(); ++j)
        text += (j > 0 ? "," : "") + QByteArray::number(rows[j]);
    return text;
}

// Which strip a drag of rows left: "pid:document".
const char* const kSourceType = "application/x-qrbtexteditor-tile-source";

QByteArray sourcePayload(const Document& document) {
    return QByteArray::number(QCoreApplication::applicationPid()) + ':' +
           QByteArray::number(quintptr(&document));
}

const char* const kPngType = "image/png";

// The dragged tiles as library bytes, and the first one's picture as a PNG, made only when
// a drop asks for them: a move within the strip never needs them, and a press that only
// begins a drag must not pay for compressing a large tile.
class TileDragData : public QMimeData {
public:
    TileDragData(const Document& document, std::vector<int> rows)
        : document_(document), rows_(std::move(rows)) {}
    QStringList formats() const override {
        QStringList made{tilesMimeType()};
        if (!rows_.empty())
            made << QString::fromLatin1(kPngType);
        return QMimeData::formats() << made;
    }
    bool hasFormat(const QString& type) const override {
        return type == tilesMimeType() || (!rows_.empty() && type == QLatin1String(kPngType)) ||
               QMimeData::hasFormat(type);
    }

protected:
    QVariant retrieveData(const QString& type, QMetaType preferred) const override {
        if (type == tilesMimeType())
            return encodeTiles(document_.tiles(), rows_);
        if (type == QLatin1String(kPngType) && !rows_.empty() &&
            rows_.front() <= document_.tileCount()) {
            QByteArray png;
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            toQImage(document_.tiles().tile(rows_.front()).full).save(&buffer, "PNG");
            return png;
        }
        return QMimeData::retrieveData(type, preferred);
    }

private:
    const Document& document_;
    std::vector<int> rows_;
};

// Pixels from the strip's top or bottom edge where a drag scrolls it.
constexpr int kScrollMargin = 24;

} // namespace

StripDragDrop::StripDragDrop(Document& document, TileStrip* strip, QScrollBar* bar, QWidget* window,
                             Actions actions)
    : QObject(strip), document_(document), strip_(strip), bar_(bar), window_(window),
      actions_(std::move(actions)), line_(new QWidget(strip)) {
    setObjectName(QStringLiteral("stripDragDrop"));
    line_->setObjectName(QStringLiteral("dropLine"));
    line_->setAttribute(Qt::WA_TransparentForMouseEvents);
    line_->setAutoFillBackground(true);
    QPalette palette = line_->palette();
    palette.setColor(QPalette::Window, Qt::black);
    line_->setPalette(palette);
    line_->hide();
    strip_->setAcceptDrops(true);
    strip_->installEventFilter(this);
    if (window_) {
        window_->setAcceptDrops(true);
        window_->installEventFilter(this);
    }
    scrollTimer_.setInterval(50);
    connect(&scrollTimer_, &QTimer::timeout, this, &StripDragDrop::autoScroll);
}

StripDragDrop::~StripDragDrop() = default;

std::vector<int> StripDragDrop::rowsToDrag(const Document& document, int row) {
    const StripModel& strip = document.strip();
    if (strip.multiSelect() && row >= 1 && row <= strip.count() && strip.isSelected(row))
        return strip.selectedTiles();
    return {row};
}

QMimeData* StripDragDrop::dragData(const Document& document, const std::vector<int>& rows) {
    auto* data = new TileDragData(document, rows);
    data->setData(QString::fromLatin1(kRowsType), rowsPayload(rows));
    data->setData(QString::fromLatin1(kSourceType), sourcePayload(document));
    if (!rows.empty())
        data->setImageData(toQImage(document.tiles().tile(rows.front()).full));
    return data;
}

std::vector<int> StripDragDrop::draggedRows(const QMimeData* data) {
    std::vector<int> rows;
    if (!data || !data->hasFormat(QString::fromLatin1(kRowsType)))
        return rows;
    const QByteArray payload = data->data(QString::fromLatin1(kRowsType));
    const qsizetype colon = payload.indexOf(':');
    if (colon < 0 || payload.left(colon).toLongLong() != QCoreApplication::applicationPid())
        return rows;
    for (const QByteArray& item : payload.mid(colon + 1).split(',')) {
        bool ok = false;
        const int row = item.toInt(&ok);
        if (!ok || (!rows.empty() && row <= rows.back()))
            return {};
        rows.push_back(row);
    }
    return rows;
}

StripDragDrop::Dropped StripDragDrop::droppedFiles(const QMimeData* data) {
    Dropped dropped;
    if (!data || !data->hasUrls())
        return dropped;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile())
            continue;
        const QString path = url.toLocalFile();
        if (isLibraryPath(path)) {
            if (dropped.library.isEmpty())
                dropped.library = path;
        } else if (QFileInfo(path).isFile()) {
            dropped.pictures << path;
        }
    }
    return dropped;
}

bool StripDragDrop::fromThisStrip(const QMimeData* data) const {
    return data && data->data(QString::fromLatin1(kSourceType)) == sourcePayload(document_) &&
           !draggedRows(data).empty();
}

void StripDragDrop::openLater(const QString& library) {
    // After the drop has returned to the desktop: opening may ask to save first.
    if (actions_.openLibrary)
        QMetaObject::invokeMethod(
            this, [this, library] { actions_.openLibrary(library); }, Qt::QueuedConnection);
}

void StripDragDrop::showGap(int gap) {
    gap_ = gap;
    if (gap == 0) {
        line_->hide();
        scrollTimer_.stop();
        return;
    }
    const int y = strip_->toPixelsY(document_.strip().gapTop(gap));
    line_->setGeometry(0, y - 1, strip_->width(), 3);
    line_->show();
    line_->raise();
}

void StripDragDrop::autoScroll() {
    if (!bar_ || scrollDirection_ == 0 || gap_ == 0)
        return;
    bar_->setValue(bar_->value() + scrollDirection_ * std::max(1, bar_->singleStep()));
    // The rows moved under the pointer: the line follows the gap now under it.
    showGap(document_.strip().gapAt(strip_->toContentY(dragY_)));
}

void StripDragDrop::startDrag() {
    const std::vector<int> rows = rowsToDrag(document_, pressRow_);
    pressRow_ = 0;
    auto* drag = new QDrag(strip_);
    drag->setMimeData(dragData(document_, rows));
    const QImage image = qvariant_cast<QImage>(drag->mimeData()->imageData());
    if (!image.isNull())
        drag->setPixmap(QPixmap::fromImage(image.scaled(64, 64, Qt::KeepAspectRatio)));
    if (dragLoop_)
        dragLoop_(drag);
    else
        drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
    showGap(0);
}

bool StripDragDrop::eventFilter(QObject* watched, QEvent* event) {
    if (watched == strip_)
        return stripEvent(event);
    if (watched == window_)
        return windowEvent(event);
    return false;
}

bool StripDragDrop::stripEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        if (replaying_)
            return false;
        auto* e = static_cast<QMouseEvent*>(event);
        heldPress_.reset();
        pressRow_ = e->button() == Qt::LeftButton && e->modifiers() == Qt::NoModifier
                        ? document_.strip().rowAt(strip_->toContentY(e->position().toPoint().y()))
                        : 0;
        pressAt_ = e->position().toPoint();
        // A plain press would take the marks away before a drag could carry them.
        if (pressRow_ != 0 && document_.strip().isSelected(pressRow_)) {
            heldPress_.reset(static_cast<QMouseEvent*>(e->clone()));
            strip_->setFocus(Qt::MouseFocusReason);
            return true;
        }
        return false;
    }
    case QEvent::MouseMove: {
        auto* e = static_cast<QMouseEvent*>(event);
        if (pressRow_ != 0 && (e->buttons() & Qt::LeftButton) &&
            (e->position().toPoint() - pressAt_).manhattanLength() >=
                QApplication::startDragDistance()) {
            heldPress_.reset();
            startDrag();
            return true;
        }
        return false;
    }
    case QEvent::MouseButtonRelease:
        pressRow_ = 0;
        if (heldPress_) {
            // No drag: the press was a click after all.
            const std::unique_ptr<QMouseEvent> press = std::move(heldPress_);
            replaying_ = true;
            QCoreApplication::sendEvent(strip_, press.get());
            replaying_ = false;
        }
        return false;
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* e = static_cast<QDragMoveEvent*>(event);
        const bool rows = fromThisStrip(e->mimeData());
        const bool tiles = !rows && e->mimeData()->hasFormat(tilesMimeType());
        const Dropped files = droppedFiles(e->mimeData());
        if (!document_.isLibraryOpen() && files.library.isEmpty()) {
            e->ignore();
            return true;
        }
        if (!rows && !tiles && files.library.isEmpty() && files.pictures.isEmpty()) {
            e->ignore();
            return true;
        }
        const int y = e->position().toPoint().y();
        dragY_ = y;
        if (files.library.isEmpty()) {
            showGap(document_.strip().gapAt(strip_->toContentY(y)));
            scrollDirection_ = y < kScrollMargin                      ? -1
                               : y > strip_->height() - kScrollMargin ? 1
                                                                      : 0;
            if (scrollDirection_ != 0 && !scrollTimer_.isActive())
                scrollTimer_.start();
        }
        e->setDropAction(rows ? Qt::MoveAction : Qt::CopyAction);
        e->accept();
        return true;
    }
    case QEvent::DragLeave:
        showGap(0);
        return true;
    case QEvent::Drop: {
        auto* e = static_cast<QDropEvent*>(event);
        const int gap = document_.strip().gapAt(strip_->toContentY(e->position().toPoint().y()));
        showGap(0);
        const std::vector<int> rows =
            fromThisStrip(e->mimeData()) ? draggedRows(e->mimeData()) : std::vector<int>();
        const Dropped files = droppedFiles(e->mimeData());
        if (!rows.empty()) {
            document_.dropTiles(rows, gap);
            e->setDropAction(Qt::MoveAction);
        } else if (e->mimeData()->hasFormat(tilesMimeType()) && actions_.insertTiles) {
            // Another window's rows: copied here, after the drop has returned.
            QMetaObject::invokeMethod(
                this,
                [this, tiles = e->mimeData()->data(tilesMimeType()), gap] {
                    actions_.insertTiles(tiles, gap);
                },
                Qt::QueuedConnection);
            e->setDropAction(Qt::CopyAction);
        } else if (!files.library.isEmpty()) {
            openLater(files.library);
            e->setDropAction(Qt::CopyAction);
        } else if (!files.pictures.isEmpty() && actions_.importAt) {
            // After the drop has returned to the desktop: the import shows its progress.
            QMetaObject::invokeMethod(
                this, [this, pictures = files.pictures, gap] { actions_.importAt(pictures, gap); },
                Qt::QueuedConnection);
            e->setDropAction(Qt::CopyAction);
        }
        e->accept();
        return true;
    }
    default:
        return false;
    }
}

bool StripDragDrop::windowEvent(QEvent* event) {
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* e = static_cast<QDragMoveEvent*>(event);
        const Dropped files = droppedFiles(e->mimeData());
        if (files.library.isEmpty() && files.pictures.isEmpty()) {
            e->ignore();
        } else {
            e->setDropAction(Qt::CopyAction);
            e->accept();
        }
        return true;
    }
    case QEvent::Drop: {
        auto* e = static_cast<QDropEvent*>(event);
        const Dropped files = droppedFiles(e->mimeData());
        if (files.library.isEmpty() && files.pictures.isEmpty()) {
            e->ignore();
            return true;
        }
        e->setDropAction(Qt::CopyAction);
        e->accept();
        if (!files.library.isEmpty()) {
            openLater(files.library);
        } else if (actions_.importAt) {
            // Beside the strip: where Import Images puts them.
            QMetaObject::invokeMethod(
                this, [this, pictures = files.pictures] { actions_.importAt(pictures, 0); },
                Qt::QueuedConnection);
        }
        return true;
    }
    default:
        return false;
    }
}

} // namespace qrb
