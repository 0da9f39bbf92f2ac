#include "document/TableLettering.h"

#include "core/InputText.h"
#include "core/OrderedWork.h"
#include "document/NewTile.h"
#include "imaging/render/DibConversion.h"
#include "lettering/IconMarkup.h"
#include "text/render/QtConversions.h"
#include "text/render/TextBox.h"

#include <QPainter>

#include <stdexcept>

namespace qrb {

TableLettering::TableLettering(const TileSet& tiles, PositionSlots positionSlots,
                               const Placement& start, const LetteringArt* art)
    : tiles_(tiles), slots_(std::move(positionSlots)), start_(start), art_(art) {}

void TableLettering::drawPictures(QImage& picture, const LetteringRow& row) const {
    QPainter painter;
    for (std::size_t n = 0; n < row.pictures.size(); ++n) {
        if (!row.pictures[n])
            continue;
        const RowPicture& wanted = *row.pictures[n];
        const QImage* image = art_ ? art_->picture(wanted) : nullptr;
        if (!image)
            throw std::logic_error("a row's picture was not prepared");
        const int w = picture.width();
        const int h = picture.height();
        if (wanted.x < -w || wanted.x > 2 * w || wanted.y < -h || wanted.y > 2 * h) {
            const std::string column = "image" + std::to_string(n + 1) + "_at";
            throw TableError(art_->tableName(), row.line, column,
                             column + " " + std::to_string(wanted.x) + "," +
                                 std::to_string(wanted.y) + " is too far off the tile: X from " +
                                 std::to_string(-w) + " to " + std::to_string(2 * w) + ", Y from " +
                                 std::to_string(-h) + " to " + std::to_string(2 * h));
        }
        // Centred in its box, on whole pixels.
        QPoint at(wanted.x, wanted.y);
        if (wanted.size)
            at += QPoint((wanted.size->width - image->width()) / 2,
                         (wanted.size->height - image->height()) / 2);
        if (!painter.isActive())
            painter.begin(&picture);
        painter.drawImage(at, *image);
    }
}

void TableLettering::drawSlot(QImage& picture, const Placement& placement, const LetteringRow& row,
                              std::size_t k, RowReport& report) const {
    const std::optional<PixelSize> box = row.box(k);
    const std::string* text = row.texts[k] ? &*row.texts[k] : nullptr;
    if (!box && (!text || !hasMarkup(*text))) {
        drawPlacement(picture, placement);
        return;
    }
    std::vector<BoxPiece> pieces;
    bool icons = false;
    if (text && hasMarkup(*text)) {
        for (const TextPiece& piece : splitIcons(*text)) {
            const QImage* icon = piece.icon && art_ ? art_->icon(piece.text) : nullptr;
            if (piece.icon && !icon)
                throw std::logic_error("a row's icon was not prepared");
            pieces.push_back({piece.icon ? QString() : QString::fromStdString(piece.text), icon});
            icons = icons || piece.icon;
        }
    } else {
        pieces.push_back({placement.text, nullptr});
    }
    if (!box && !icons) {
        // Braces only: the letters as any one-line text.
        Placement plain = placement;
        plain.text = pieces.empty() ? QString() : pieces.front().text;
        drawPlacement(picture, plain);
        return;
    }
    TextSurface surface(picture);
    surface.foreColor = toQColor(placement.style.textColour);
    const std::optional<float> angle =
        placement.isTurned() ? std::optional<float>(placement.drawnAngle()) : std::nullopt;
    const BoxOutcome outcome =
        DrawTextBox(surface, toQFont(placement.style), pieces, angle, placement.x, placement.y,
                    box ? std::optional<QSize>(QSize(box->width, box->height)) : std::nullopt,
                    placement.style.layout);
    report.overflowed = report.overflowed || !outcome.fits;
}

Tile TableLettering::letter(const LetteringRow& row, RowReport* report) const {
    if (row.base < 1 || row.base > tiles_.count())
        throw std::out_of_range("a lettering row's base tile is not in the library");
    const Tile& base = tiles_.tile(int(row.base));

    PositionSlots positionSlots = slots_;
    for (std::size_t k = 0; k < LetteringRow::kSlots; ++k) {
        if (row.texts[k])
            positionSlots[k].text = *row.texts[k];
        row.applyLook(k, positionSlots[k].style);
    }
    // Picking the base tile: its picture, nothing live over it; the row's pictures first.
    const QImage* converted = art_ ? art_->base(int(row.base)) : nullptr;
    QImage picture = converted ? *converted : toQImage(base.full);
    drawPictures(picture, row);
    Placement placement = start_;
    bool live = false;
    RowReport seen;
    const auto draw = [&](QImage& image, const Placement& shown, std::size_t k) {
        drawSlot(image, shown, row, k, seen);
    };
    const std::optional<std::size_t> last =
        stampSlots(picture, placement, live, positionSlots, 0, draw);
    if (live && last)
        draw(picture, placement, *last);
    if (report)
        *report = seen;
    return newTile(picture, base.smallColour);
}

std::optional<LetteredTiles> TableLettering::letterAll(const LetteringTable& table,
                                                       const ProgressCallback& progress,
                                                       std::stop_token stop, int threads) const {
    std::size_t total = 0;
    for (const LetteringRow& row : table.rows())
        total += std::size_t(row.copies);
    LetteredTiles made;
    made.tiles.reserve(total);
    // A hundred reports at most: a progress display costs more than a tile.
    const std::size_t step = std::max<std::size_t>(1, total / 100);
    std::size_t reported = 0;
    struct Lettered {
        Tile tile;
        RowReport report;
        const LetteringRow* row;
    };
    const auto take = [&](Lettered&& done) {
        if (stop.stop_requested())
            return; // nothing is kept: no more reports either
        if (done.report.overflowed)
            made.overflowingLines.push_back(done.row->line);
        made.tiles.push_back(std::move(done.tile));
        for (int copy = 1; copy < done.row->copies; ++copy)
            made.tiles.push_back(made.tiles.back());
        if (progress && made.tiles.size() - reported >= step) {
            reported = made.tiles.size();
            progress(int(reported), int(total));
        }
    };
    // The tiles the window letters are all kept anyway: the window bounds only the rows
    // lettered ahead of the one taken.
    OrderedWork<Lettered> work(threads, batchWindow(threads, UINT64_MAX, 0, kGroupRows), stop,
                               kGroupRows);
    for (const LetteringRow& row : table.rows()) {
        if (stop.stop_requested())
            return std::nullopt;
        if (row.copies == 0)
            continue;
        work.add(
            [this, &row](std::stop_token) {
                Lettered done{{}, {}, &row};
                done.tile = letter(row, &done.report);
                return done;
            },
            take);
    }
    work.finish(take);
    if (stop.stop_requested())
        return std::nullopt;
    if (progress && reported != total)
        progress(int(total), int(total));
    return made;
}

} // namespace qrb
