#include "document/DeckImage.h"

#include "imaging/render/DibConversion.h"
#include "imaging/render/PictureFit.h"
#include "tileset/BitmapExporter.h"

#include <QBuffer>
#include <QImageWriter>

#include <algorithm>
#include <cctype>
#include <stdexcept>
#include <string>

namespace qrb {

int DeckLayout::pages() const {
    return cardsPerPage < 1 ? 0 : (int(cards.size()) + cardsPerPage - 1) / cardsPerPage;
}

QSize DeckLayout::pageSize(int columns, int rows) const {
    return QSize(cell.width() * columns, cell.height() * rows);
}

DeckLayout deckLayout(const TileSet& set, const DeckOptions& options) {
    if (options.columns < 1 || options.rows < 1)
        throw std::invalid_argument("the grid needs at least one column and one row");
    DeckLayout layout;
    layout.cards = options.tiles;
    if (layout.cards.empty())
        for (int i = 1; i <= set.count(); ++i)
            layout.cards.push_back(i);
    if (layout.cards.empty())
        throw std::invalid_argument("the library has no tiles");
    std::vector<int> used = layout.cards;
    if (options.hidden)
        used.push_back(*options.hidden);
    QSize largest(1, 1);
    for (const int n : used) {
        if (n < 1 || n > set.count())
            throw std::invalid_argument("tile " + std::to_string(n) +
                                        " is out of range: the library has " +
                                        std::to_string(set.count()) + " tiles");
        largest = largest.expandedTo(QSize(set.tile(n).full.width(), set.tile(n).full.height()));
    }
    const int cells = options.columns * options.rows;
    layout.cardsPerPage = cells - (options.hidden ? 1 : 0);
    if (layout.cardsPerPage < 1)
        throw std::invalid_argument("a grid of one cell has no room beside the hidden card");
    QSize cell = options.cell.value_or(largest);
    // Cells scaled down, keeping their shape, so that the page fits the largest side.
    const double scale =
        std::min({1.0, double(options.maxSize) / (double(cell.width()) * options.columns),
                  double(options.maxSize) / (double(cell.height()) * options.rows)});
    if (scale < 1.0)
        cell =
            QSize(std::max(1, int(cell.width() * scale)), std::max(1, int(cell.height() * scale)));
    layout.cell = cell;
    return layout;
}

QImage deckPage(const TileSet& set, const DeckOptions& options, const DeckLayout& layout,
                int page) {
    const QSize cell = layout.cell;
    QImage image(layout.pageSize(options.columns, options.rows), QImage::Format_RGB32);
    if (image.isNull())
        throw std::runtime_error("not enough memory for a page of the deck");
    image.fill(Qt::white);
    auto place = [&](int tile, int index) {
        const QImage fitted =
            fitPicture(toQImage(set.tile(tile).full), {cell, FitMode::Contain}, Qt::white);
        const int x = (index % options.columns) * cell.width();
        const int y = (index / options.columns) * cell.height();
        for (int row = 0; row < cell.height(); ++row)
            std::memcpy(image.scanLine(y + row) + std::size_t(x) * 4, fitted.constScanLine(row),
                        std::size_t(cell.width()) * 4);
    };
    const int first = page * layout.cardsPerPage;
    const int last = std::min(int(layout.cards.size()), first + layout.cardsPerPage);
    for (int i = first; i < last; ++i)
        place(layout.cards[std::size_t(i)], i - first);
    if (options.hidden)
        place(*options.hidden, options.columns * options.rows - 1);
    return image;
}

std::vector<std::filesystem::path> deckFileNames(const std::filesystem::path& out, int pages) {
    if (pages == 1)
        return {out};
    std::string stem = out.string();
    std::string extension = ".png";
    if (stem.size() >= 4) {
        std::string tail = stem.substr(stem.size() - 4);
        std::transform(tail.begin(), tail.end(), tail.begin(),
                       [](unsigned char c) { return char(std::tolower(c)); });
        if (tail == ".png") {
            extension = stem.substr(stem.size() - 4);
            stem.erase(stem.size() - 4);
        }
    }
    std::vector<std::filesystem::path> names;
    for (int i = 1; i <= pages; ++i)
        names.emplace_back(stem + "-" + std::to_string(i) + extension);
    return names;
}

std::vector<std::filesystem::path> writeDeck(const TileSet& set, const DeckOptions& options,
                                             const std::filesystem::path& out,
                                             const ProgressCallback& progress) {
    const DeckLayout layout = deckLayout(set, options);
    const std::vector<std::filesystem::path> names = deckFileNames(out, layout.pages());
    std::vector<BitmapExporter::File> files;
    for (int page = 0; page < layout.pages(); ++page) {
        // Each page is drawn as it is written, so one page at a time is held.
        files.push_back({names[std::size_t(page)], [&, page](std::ostream& stream) {
                             QByteArray bytes;
                             QBuffer buffer(&bytes);
                             buffer.open(QIODevice::WriteOnly);
                             QImageWriter writer(&buffer, "png");
                             if (!writer.write(deckPage(set, options, layout, page)))
                                 throw std::runtime_error(writer.errorString().toStdString());
                             stream.write(bytes.constData(), std::streamsize(bytes.size()));
                         }});
    }
    BitmapExporter::writeAll(files, "deck images", progress);
    return names;
}

} // namespace qrb
