#include "sheet/render/SheetWriter.h"

#include "core/AtomicFile.h"
#include "core/FileError.h"
#include "core/MemorySize.h"
#include "core/OrderedWork.h"
#include "sheet/Keyword.h"
#include "sheet/Length.h"
#include "sheet/SheetError.h"
#include "sheet/render/PngStreamWriter.h"
#include "sheet/render/SheetPainter.h"

#include <QIODevice>
#include <QImage>
#include <QPageLayout>
#include <QPageRanges>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>
#include <limits>
#include <ostream>
#include <string>

namespace qrb {

namespace {

// PDF coordinates are written at this many units per inch: fine enough for any placement.
constexpr int kPdfResolution = 1200;
// How far a device's paper may differ from the page laid out (a named size's rounding).
constexpr double kPaperTolerance = 1.5;

// A write-only device over an atomic file's stream, for Qt's PDF writer. A
// failed write leaves the stream bad, which the file's commit() reports.
class StreamDevice : public QIODevice {
public:
    explicit StreamDevice(std::ostream& out) : out_(out) { open(QIODevice::WriteOnly); }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        out_.write(data, static_cast<std::streamsize>(size));
        return out_ ? size : -1;
    }

private:
    std::ostream& out_;
};

} // namespace

QPageLayout SheetWriter::pageLayout(SizeMm page) {
    // Named upright so that a standard paper size is recognised as such, then turned.
    const QSizeF upright(std::min(page.width, page.height), std::max(page.width, page.height));
    const QPageSize size(upright, QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch);
    return QPageLayout(size,
                       page.width > page.height ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

void SheetWriter::paintPages(QPagedPaintDevice& device, const SheetLayout& layout,
                             const SheetArt& art) {
    // A printer may keep margins of its own; only the paper has to be the one laid out.
    device.setPageLayout(pageLayout(layout.page));
    const QPageLayout taken = device.pageLayout();
    const QRectF paper = taken.fullRect(QPageLayout::Millimeter);
    if (std::abs(paper.width() - layout.page.width) > kPaperTolerance ||
        std::abs(paper.height() - layout.page.height) > kPaperTolerance) {
        throw SheetError("the page size " + formatMm(layout.page.width) + " x " +
                         formatMm(layout.page.height) + " mm is not accepted (the paper is " +
                         formatMm(paper.width()) + " x " + formatMm(paper.height()) + " mm)");
    }
    // The painter's origin is the corner of the printable area; the page's is the paper's.
    const double unitsPerMm = device.logicalDpiX() / kMmPerInch;
    const QPointF printable = taken.paintRect(QPageLayout::Millimeter).topLeft();
    const QRectF target(-printable.x() * unitsPerMm, -printable.y() * unitsPerMm,
                        layout.page.width * unitsPerMm, layout.page.height * unitsPerMm);

    const QPageRanges ranges = device.pageRanges();
    SheetPainter sheetPainter(art);
    QPainter painter;
    if (!painter.begin(&device)) {
        throw SheetError("the pages could not be started");
    }
    bool first = true;
    for (std::size_t i = 0; i < layout.pages.size(); ++i) {
        const int number = static_cast<int>(i + 1);
        if (!ranges.isEmpty() && !ranges.contains(number)) {
            continue;
        }
        if (!first && !device.newPage()) {
            throw SheetError("page " + std::to_string(number) + " could not be started");
        }
        first = false;
        sheetPainter.paint(painter, layout, layout.pages[i], target);
    }
    painter.end();
}

void SheetWriter::writePdf(const std::filesystem::path& path, const SheetLayout& layout,
                           const SheetArt& art, const QString& title) {
    // The target is checked before anything is drawn: a folder or a device is refused.
    AtomicFile file(path);
    {
        StreamDevice device(file.stream());
        QPdfWriter writer(&device);
        writer.setCreator(QStringLiteral("QRB Text Editor"));
        writer.setTitle(title);
        writer.setResolution(kPdfResolution);
        try {
            paintPages(writer, layout, art);
        } catch (const SheetError& e) {
            throw FileError(path, std::string("cannot write: ") + e.what());
        }
    }
    file.commit();
}

namespace {

QSize pagePixels(const SheetLayout& layout, int dpi) {
    return QSize(static_cast<int>(std::round(layout.page.width / kMmPerInch * dpi)),
                 static_cast<int>(std::round(layout.page.height / kMmPerInch * dpi)));
}

// The least memory a page of `pixels` is drawn in: the encoder and its fewest band rows.
std::uint64_t leastPageMemory(QSize pixels) {
    const int fewest = std::min(pixels.height(), SheetWriter::kMinBandRows);
    return PngStreamWriter::workingBytes(pixels.width()) +
           std::uint64_t(pixels.width()) * 4 * std::uint64_t(fewest);
}

// Draws `page` at `dpi` on white paper and writes it to `out` as PNG, in bands of rows
// that take at most `memory` bytes with the encoder. Every band is painted with the whole
// page moved up by whole pixels, so its pixels are those of the same rows of one image,
// and the file is the same whatever the band.
void writePngPage(std::ostream& out, const SheetLayout& layout, const SheetPage& page,
                  SheetPainter& painter, int dpi, std::uint64_t memory) {
    const QSize pixels = pagePixels(layout, dpi);
    const int width = pixels.width();
    const int height = pixels.height();
    const std::uint64_t rowBytes = std::uint64_t(width) * 4;
    const std::uint64_t encoder = PngStreamWriter::workingBytes(width);
    const std::uint64_t needed = leastPageMemory(pixels);
    if (memory < needed) {
        throw SheetError("a " + formatMm(layout.page.width) + " x " + formatMm(layout.page.height) +
                         " mm page at " + std::to_string(dpi) + " dpi needs " +
                         describeMemorySize(needed) + " of memory to draw, more than the " +
                         describeMemorySize(memory) +
                         " the memory limit leaves; raise the limit or lower the resolution");
    }
    // QImage holds at most 2^31 bytes.
    const std::uint64_t rows =
        std::min<std::uint64_t>({std::uint64_t(height), (memory - encoder) / rowBytes,
                                 std::uint64_t(std::numeric_limits<int>::max()) / rowBytes});
    const int bandRows = static_cast<int>(rows);

    PngStreamWriter png(out, width, height, static_cast<int>(std::lround(dpi / kMmPerInch * 1000)));
    QImage band(width, bandRows, QImage::Format_RGB32);
    if (band.isNull()) {
        throw SheetError(NotEnoughMemory("a band of the page", rowBytes * rows).what());
    }
    for (int top = 0; top < height; top += bandRows) {
        band.fill(Qt::white);
        QPainter qp(&band);
        qp.translate(0, -top);
        painter.paint(qp, layout, page, QRectF(0, 0, width, height));
        qp.end();
        for (int row = 0; row < std::min(bandRows, height - top); ++row) {
            png.writeRow(reinterpret_cast<const std::uint32_t*>(band.constScanLine(row)));
        }
    }
    png.finish();
}

} // namespace

std::vector<std::filesystem::path> SheetWriter::writePng(const std::filesystem::path& path,
                                                         const SheetLayout& layout,
                                                         const SheetArt& art, int dpi,
                                                         std::uint64_t memory, int threads) {
    if (dpi < kMinDpi || dpi > kMaxDpi) {
        throw SheetError("the resolution must be between " + std::to_string(kMinDpi) + " and " +
                         std::to_string(kMaxDpi) + " dpi, not " + std::to_string(dpi));
    }
    const std::size_t pages = layout.pages.size();
    if (pages > AtomicFile::openableAtOnce(pages)) {
        throw SheetError(std::to_string(pages) +
                         " PNG pages are more than this system lets one run keep open at once (" +
                         std::to_string(AtomicFile::openableAtOnce()) +
                         "); print fewer tiles per run or write a PDF");
    }
    // All pages or none: each page goes to its temporary, and the set is put in place
    // only when every page is complete on disk.
    AtomicFileSet files;
    std::vector<std::filesystem::path> written;
    // Pages drawn at once share the memory; a budget too small for one page is refused
    // by the first page, as on one thread.
    const std::uint64_t least =
        std::max<std::uint64_t>(leastPageMemory(pagePixels(layout, dpi)), 1);
    threads = int(std::min<std::uint64_t>({std::uint64_t(resolvedThreads(threads)), pages,
                                           std::max<std::uint64_t>(memory / least, 1)}));
    if (threads <= 1) {
        SheetPainter sheetPainter(art);
        for (std::size_t i = 0; i < pages; ++i) {
            const std::filesystem::path pagePath = pagePngPath(path, static_cast<int>(i + 1));
            AtomicFile& file = files.add(pagePath);
            writePngPage(file.stream(), layout, layout.pages[i], sheetPainter, dpi, memory);
            file.prepare();
            written.push_back(pagePath);
        }
        files.commit();
        return written;
    }
    // Each page is drawn and encoded into its own file by the first thread free, with a
    // painter of its own.
    const std::uint64_t share = memory / std::uint64_t(threads);
    using Page = std::pair<AtomicFile*, std::size_t>;
    const auto take = [&](Page page) {
        page.first->prepare();
        written.push_back(pagePngPath(path, static_cast<int>(page.second + 1)));
    };
    OrderedWork<Page> work(threads, batchWindow(threads));
    work.run(
        [&] {
            for (std::size_t i = 0; i < pages; ++i) {
                AtomicFile* file = &files.add(pagePngPath(path, static_cast<int>(i + 1)));
                work.add(
                    [&, file, i](std::stop_token) {
                        SheetPainter painter(art);
                        writePngPage(file->stream(), layout, layout.pages[i], painter, dpi, share);
                        return Page{file, i};
                    },
                    take);
            }
        },
        take);
    files.commit();
    return written;
}

std::vector<std::filesystem::path> SheetWriter::olderPngPages(const std::filesystem::path& path,
                                                              int pages) {
    std::vector<std::filesystem::path> older;
    for (int n = pages + 1;; ++n) {
        const std::filesystem::path page = pagePngPath(path, n);
        std::error_code error;
        if (!std::filesystem::exists(page, error)) {
            return older;
        }
        older.push_back(page);
    }
}

std::filesystem::path SheetWriter::pagePngPath(const std::filesystem::path& path, int page) {
    std::filesystem::path stem = path;
    std::string extension = ".png";
    if (isKeyword(path.extension().string(), ".png")) {
        extension = path.extension().string();
        stem.replace_extension();
    }
    stem += "-" + std::to_string(page) + extension;
    return stem;
}

} // namespace qrb
