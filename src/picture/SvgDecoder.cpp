// SVG through Qt's renderer, with its work bounded and its drawing abandonable. The text
// is checked first -- its size, its elements (counting what each <use> repeats) and their
// nesting -- so that parsing stays short. The picture is drawn on a thread of its own in
// bands; a stop request returns at once, and the abandoned drawing ends at its next band.

#include "picture/Decoders.h"
#include "picture/PictureError.h"
#include "picture/PictureReader.h"

#include <QCoreApplication>
#include <QPainter>
#include <QSvgRenderer>
#include <QXmlStreamReader>

#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <exception>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace qrb {

namespace {

constexpr qsizetype kMaxSvgBytes = 8 << 20;
constexpr std::int64_t kMaxElements = 100000;
constexpr int kMaxDepth = 256;
// Elements times pixels: what drawing may cost at most when every element covers the
// whole picture (about a minute), so that each of the 64 bands takes about a second.
constexpr double kMaxWork = 1e11;

QByteArray inflated(const QByteArray& bytes) {
    z_stream stream{};
    if (inflateInit2(&stream, 15 + 32) != Z_OK)
        throw PictureError("there is not enough memory to read the picture");
    QByteArray out;
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.constData()));
    stream.avail_in = uInt(std::min<qsizetype>(bytes.size(), 0x7fffffff));
    int result = Z_OK;
    while (result == Z_OK) {
        const qsizetype done = out.size();
        if (done >= kMaxSvgBytes) {
            inflateEnd(&stream);
            throw PictureError("the SVG is larger than 8 MiB unpacked");
        }
        out.resize(std::min(done + 65536, kMaxSvgBytes));
        stream.next_out = reinterpret_cast<Bytef*>(out.data() + done);
        stream.avail_out = uInt(out.size() - done);
        result = inflate(&stream, Z_NO_FLUSH);
        out.resize(out.size() - qsizetype(stream.avail_out));
        if (result == Z_BUF_ERROR && stream.avail_in > 0 && out.size() < kMaxSvgBytes)
            result = Z_OK;
    }
    inflateEnd(&stream);
    if (result != Z_STREAM_END)
        throw PictureError("the compressed SVG is damaged or cut short");
    return out;
}

// Counts the elements the document draws, each <use> counting the elements it repeats,
// and refuses one that is too large, too deep, not well-formed, or whose uses refer to
// themselves.
class SvgCensus {
public:
    explicit SvgCensus(const QByteArray& xml) {
        QXmlStreamReader reader(xml);
        std::vector<QString> open; // ids of the open elements ("" for none)
        std::int64_t position = 0;
        while (!reader.atEnd()) {
            const QXmlStreamReader::TokenType token = reader.readNext();
            if (token == QXmlStreamReader::StartElement) {
                if (open.size() >= std::size_t(kMaxDepth))
                    throw PictureError("the SVG nests elements more than " +
                                       std::to_string(kMaxDepth) + " deep");
                if (++position > kMaxElements)
                    tooMany();
                const QXmlStreamAttributes attributes = reader.attributes();
                const QString id = attributes.value(QLatin1String("id")).toString();
                if (!id.isEmpty())
                    ranges_[id] = {position, position};
                open.push_back(id);
                if (reader.name() == QLatin1String("use")) {
                    QString href = attributes
                                       .value(QLatin1String("http://www.w3.org/1999/xlink"),
                                              QLatin1String("href"))
                                       .toString();
                    if (href.isEmpty())
                        href = attributes.value(QLatin1String("href")).toString();
                    if (href.startsWith(QLatin1Char('#')))
                        uses_.push_back({position, href.mid(1)});
                }
            } else if (token == QXmlStreamReader::EndElement) {
                if (!open.empty() && !open.back().isEmpty())
                    ranges_[open.back()].second = position;
                if (!open.empty())
                    open.pop_back();
            }
        }
        if (reader.hasError())
            throw PictureError("the SVG is not well-formed: " + reader.errorString().toStdString());
        std::int64_t total = position;
        for (const Use& use : uses_)
            total = add(total, expanded(use.target, 0));
        if (total > kMaxElements)
            tooMany();
        total_ = total;
    }

    // The elements drawn, with those each <use> repeats.
    std::int64_t total() const { return total_; }

private:
    struct Use {
        std::int64_t position;
        QString target;
    };

    [[noreturn]] static void tooMany() {
        throw PictureError("the SVG draws more than " + std::to_string(kMaxElements) + " elements");
    }

    static std::int64_t add(std::int64_t a, std::int64_t b) {
        return std::min(a + b, kMaxElements + 1);
    }

    // The elements drawn where `id` is used: its own and those its uses repeat.
    std::int64_t expanded(const QString& id, int depth) {
        const auto range = ranges_.find(id);
        if (range == ranges_.end())
            return 0;
        if (const auto known = memo_.find(id); known != memo_.end()) {
            if (known->second < 0)
                throw PictureError("the SVG's <use> elements refer to themselves");
            return known->second;
        }
        if (depth > kMaxDepth)
            tooMany();
        memo_[id] = -1;
        const auto [first, last] = range->second;
        std::int64_t count = last - first + 1;
        const auto begin =
            std::lower_bound(uses_.begin(), uses_.end(), first,
                             [](const Use& use, std::int64_t at) { return use.position < at; });
        for (auto use = begin; use != uses_.end() && use->position <= last; ++use) {
            count = add(count, expanded(use->target, depth + 1));
            if (count > kMaxElements)
                tooMany();
        }
        memo_[id] = count;
        return count;
    }

    std::map<QString, std::pair<std::int64_t, std::int64_t>> ranges_;
    std::map<QString, std::int64_t> memo_;
    std::vector<Use> uses_;
    std::int64_t total_ = 0;
};

// Drawings left running after a stop request; the application waits for them as it
// closes, so none outlives what it draws with.
std::atomic<int> abandonedDrawings{0};
std::mutex drawingsMutex;
std::condition_variable drawingsDone;

void waitForDrawings() {
    std::unique_lock lock(drawingsMutex);
    drawingsDone.wait(lock, [] { return abandonedDrawings.load() == 0; });
}

int bandHeight(QSize size) {
    return std::max(128, (size.height() + 63) / 64);
}

struct Drawing {
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    std::atomic<bool> stop{false};
    QImage image;
    std::exception_ptr error;
};

void draw(const std::shared_ptr<Drawing>& drawing, const QByteArray& xml, QSize size) {
    try {
        QSvgRenderer renderer(xml);
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        if (image.isNull())
            throw PictureError("there is not enough memory to read the picture");
        // Bands, each drawn on a strip of its own so that nothing is drawn twice, and an
        // abandoned drawing ends soon: at most 64 of them.
        const int band = bandHeight(size);
        for (int top = 0; top < size.height() && !drawing->stop; top += band) {
            const int rows = std::min(band, size.height() - top);
            QImage strip(size.width(), rows, QImage::Format_ARGB32_Premultiplied);
            if (strip.isNull())
                throw PictureError("there is not enough memory to read the picture");
            strip.fill(Qt::transparent);
            QPainter painter(&strip);
            painter.translate(0, -top);
            renderer.render(&painter, QRectF(0, 0, size.width(), size.height()));
            painter.end();
            for (int y = 0; y < rows; ++y)
                std::memcpy(image.scanLine(top + y), strip.constScanLine(y),
                            std::size_t(strip.bytesPerLine()));
        }
        image.convertTo(QImage::Format_ARGB32);
        const std::lock_guard lock(drawing->mutex);
        drawing->image = std::move(image);
    } catch (...) {
        const std::lock_guard lock(drawing->mutex);
        drawing->error = std::current_exception();
    }
}

} // namespace

QImage decodeSvg(const QByteArray& bytes, DecodeContext& context) {
    if (bytes.size() > kMaxSvgBytes)
        throw PictureError("the SVG is larger than 8 MiB");
    const QByteArray xml = bytes.startsWith("\x1f\x8b") ? inflated(bytes) : bytes;
    SvgCensus census(xml);
    context.checkStop();
    QSize size;
    {
        const QSvgRenderer renderer(xml);
        if (!renderer.isValid())
            throw PictureError("the file is not an SVG picture that can be read");
        size = renderer.defaultSize();
    }
    if (context.vectorHeight > 0 && size.height() > 0)
        size = QSize(std::max(1, int(std::lround(double(size.width()) * context.vectorHeight /
                                                 size.height()))),
                     context.vectorHeight);
    context.admit(size, pictureBytes(QSize(size.width(), bandHeight(size))));
    if (double(census.total()) * size.width() * size.height() > kMaxWork)
        throw PictureError(
            "the SVG would take too long to draw: " + std::to_string(census.total()) +
            " elements on " + std::to_string(size.width()) + " x " + std::to_string(size.height()) +
            " pixels");
    context.checkStop();

    static std::once_flag registered;
    std::call_once(registered, [] { qAddPostRoutine(waitForDrawings); });
    auto drawing = std::make_shared<Drawing>();
    ++abandonedDrawings;
    std::thread([drawing, xml, size] {
        draw(drawing, xml, size);
        {
            const std::lock_guard lock(drawing->mutex);
            drawing->done = true;
        }
        drawing->finished.notify_all();
        {
            const std::lock_guard lock(drawingsMutex);
            --abandonedDrawings;
        }
        drawingsDone.notify_all();
    }).detach();

    std::unique_lock lock(drawing->mutex);
    while (!drawing->done) {
        if (context.stopRequested()) {
            drawing->stop = true;
            throw PictureCancelled();
        }
        drawing->finished.wait_for(lock, std::chrono::milliseconds(50));
    }
    if (drawing->error)
        std::rethrow_exception(drawing->error);
    return std::move(drawing->image);
}

} // namespace qrb
