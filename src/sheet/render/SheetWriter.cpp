#include "sheet/render/SheetWriter.h"

#include "core/AtomicFile.h"
#include "core/FileError.h"
#include "sheet/Keyword.h"
#include "sheet/Length.h"
#include "sheet/SheetError.h"
#include "sheet/render/SheetPainter.h"

#include <QIODevice>
#include <QImageWriter>
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

// A write-only device over an atomic file's stream, for Qt's PDF and PNG writers. A
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

QImage SheetWriter::renderPage(const SheetLayout& layout, const SheetPage& page,
                               SheetPainter& painter, int dpi) {
    if (dpi < kMinDpi || dpi > kMaxDpi) {
        throw SheetError("the resolution must be between " + std::to_string(kMinDpi) + " and " +
                         std::to_string(kMaxDpi) + " dpi, not " + std::to_string(dpi));
    }
    const double width = std::round(layout.page.width / kMmPerInch * dpi);
    const double height = std::round(layout.page.height / kMmPerInch * dpi);
    // QImage holds at most 2^31 bytes; 4 bytes a pixel.
    if (width * height * 4 > double(std::numeric_limits<int>::max())) {
        throw SheetError("a " + formatMm(layout.page.width) + " x " + formatMm(layout.page.height) +
                         " mm page at " + std::to_string(dpi) +
                         " dpi is too large for one image; choose a lower resolution");
    }
    QImage image(static_cast<int>(width), static_cast<int>(height), QImage::Format_RGB32);
    if (image.isNull()) {
        throw SheetError("there is not enough memory for a page image of " +
                         std::to_string(static_cast<long long>(width)) + " x " +
                         std::to_string(static_cast<long long>(height)) + " pixels");
    }
    const int dotsPerMetre = static_cast<int>(std::lround(dpi / kMmPerInch * 1000));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    image.fill(Qt::white);
    QPainter qp(&image);
    painter.paint(qp, layout, page, QRectF(0, 0, width, height));
    qp.end();
    return image;
}

std::vector<std::filesystem::path> SheetWriter::writePng(const std::filesystem::path& path,
                                                         const SheetLayout& layout,
                                                         const SheetArt& art, int dpi) {
    const std::size_t pages = layout.pages.size();
    if (pages > AtomicFile::openableAtOnce(pages)) {
        throw SheetError(std::to_string(pages) +
                         " PNG pages are more than this system lets one run keep open at once (" +
                         std::to_string(AtomicFile::openableAtOnce()) +
                         "); print fewer tiles per run or write a PDF");
    }
    // All pages or none: each page goes to its temporary, and the set is put in place
    // only when every page is complete on disk.
    SheetPainter sheetPainter(art);
    AtomicFileSet files;
    std::vector<std::filesystem::path> written;
    for (std::size_t i = 0; i < pages; ++i) {
        const std::filesystem::path pagePath = pagePngPath(path, static_cast<int>(i + 1));
        AtomicFile& file = files.add(pagePath);
        {
            const QImage image = renderPage(layout, layout.pages[i], sheetPainter, dpi);
            StreamDevice device(file.stream());
            QImageWriter writer(&device, "png");
            if (!writer.write(image)) {
                throw FileError(pagePath, "cannot write: " + writer.errorString().toStdString());
            }
        }
        file.prepare();
        written.push_back(pagePath);
    }
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
