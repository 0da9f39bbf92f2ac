#include "sheet/SheetLayout.h"

#include "sheet/Length.h"
#include "sheet/SheetError.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

namespace qrb {

namespace {

constexpr std::int64_t kMaxSheetTiles = SheetLayout::kMaxTiles;
// Cut marks start this far outside the printed tiles and corner marks are this long.
constexpr double kMarkClearance = 2;
constexpr double kCornerMarkLength = 5;
// Shorter stubs (where the page edge is near) are left out.
constexpr double kShortestMark = 1;
// Rounding slack when deciding whether tiles fit.
constexpr double kSlack = 1e-9;

struct PlannedTile {
    int number;
    SizeMm size;
};

// How many items of `size`, `spacing` apart, with `bleed` on both outer sides, fit into
// `available`.
std::int64_t fitCount(double available, double size, double spacing, double bleed) {
    const double n = std::floor((available - 2 * bleed + spacing) / (size + spacing) + kSlack);
    return n < 1 ? 0 : static_cast<std::int64_t>(std::min(n, double(kMaxSheetTiles)));
}

std::vector<double> distinct(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end(),
                             [](double a, double b) { return std::abs(a - b) < kSlack; }),
                 values.end());
    return values;
}

// A mark along one axis from `start` (next to the tiles) outwards towards `edge`.
void addMark(std::vector<LineMm>& marks, bool vertical, double at, double start, double edge,
             CutMarks kind) {
    const double direction = edge >= start ? 1 : -1;
    double reach = std::abs(edge - start);
    if (kind == CutMarks::Corners) {
        reach = std::min(reach, kCornerMarkLength);
    }
    if (reach < kShortestMark) {
        return;
    }
    const double end = start + direction * reach;
    marks.push_back(vertical ? LineMm{{at, start}, {at, end}} : LineMm{{start, at}, {end, at}});
}

std::vector<LineMm> cutMarks(const std::vector<SheetItem>& items, SizeMm page, CutMarks kind) {
    std::vector<LineMm> marks;
    if (kind == CutMarks::None || items.empty()) {
        return marks;
    }
    RectMm box = items.front().bleed;
    std::vector<double> xs;
    std::vector<double> ys;
    for (const SheetItem& item : items) {
        const double left = std::min(box.left(), item.bleed.left());
        const double top = std::min(box.top(), item.bleed.top());
        const double right = std::max(box.right(), item.bleed.right());
        const double bottom = std::max(box.bottom(), item.bleed.bottom());
        box = {left, top, right - left, bottom - top};
        xs.insert(xs.end(), {item.trim.left(), item.trim.right()});
        ys.insert(ys.end(), {item.trim.top(), item.trim.bottom()});
    }
    for (double x : distinct(std::move(xs))) {
        addMark(marks, true, x, box.top() - kMarkClearance, 0, kind);
        addMark(marks, true, x, box.bottom() + kMarkClearance, page.height, kind);
    }
    for (double y : distinct(std::move(ys))) {
        addMark(marks, false, y, box.left() - kMarkClearance, 0, kind);
        addMark(marks, false, y, box.right() + kMarkClearance, page.width, kind);
    }
    return marks;
}

std::vector<PlannedTile> plannedTiles(const SheetOptions& options, const SheetArt& art) {
    const TileSet& fronts = art.fronts();
    if (fronts.isEmpty()) {
        throw SheetError("the library has no tiles to print");
    }
    std::vector<int> numbers = options.tiles;
    if (numbers.empty()) {
        numbers.resize(static_cast<std::size_t>(fronts.count()));
        for (int i = 0; i < fronts.count(); ++i) {
            numbers[static_cast<std::size_t>(i)] = i + 1;
        }
    }
    const auto total = static_cast<std::int64_t>(numbers.size()) * options.copies;
    if (total > kMaxSheetTiles) {
        throw SheetError("the sheets would hold " + std::to_string(total) + " tiles; at most " +
                         std::to_string(kMaxSheetTiles) + " can be printed at once");
    }
    if (options.backs && !art.hasBacks()) {
        throw SheetError("backs were asked for, but no backs were given");
    }
    std::vector<PlannedTile> planned;
    planned.reserve(static_cast<std::size_t>(total));
    for (int number : numbers) {
        const DibImage& image = art.front(number);
        if (options.backs) {
            art.back(number); // a missing back is reported before anything is laid out
        }
        if (image.isEmpty()) {
            throw SheetError("tile " + std::to_string(number) + " has no picture");
        }
        const SizeMm size{options.tileWidth,
                          options.tileWidth * image.height() / double(image.width())};
        if (size.height < SheetOptions::kMinTileWidth) {
            throw SheetError("tile " + std::to_string(number) + " would print only " +
                             formatMm(size.height) + " mm high at " + formatMm(size.width) +
                             " mm wide; choose a larger tile size");
        }
        for (int copy = 0; copy < options.copies; ++copy) {
            planned.push_back({number, size});
        }
    }
    return planned;
}

} // namespace

SheetLayout layOutSheet(const SheetOptions& options, const SheetArt& art) {
    validate(options);
    if (options.calibration) {
        return layOutCalibration(options);
    }
    const std::vector<PlannedTile> planned = plannedTiles(options, art);

    SheetLayout layout;
    layout.page = orientedPageSize(options);
    const SheetMargins& m = options.margins;
    const SizeMm inner{layout.page.width - m.left - m.right, layout.page.height - m.top - m.bottom};
    double rowHeight = 0;
    for (const PlannedTile& tile : planned) {
        rowHeight = std::max(rowHeight, tile.size.height);
    }
    const double spacing = std::max(options.gap, 2 * options.bleed);
    const std::int64_t columns = fitCount(inner.width, options.tileWidth, spacing, options.bleed);
    const std::int64_t rows = fitCount(inner.height, rowHeight, spacing, options.bleed);
    if (columns < 1 || rows < 1) {
        const double bleedSides = 2 * options.bleed;
        throw SheetError("no tile fits: a " + formatMm(options.tileWidth) + " x " +
                         formatMm(rowHeight) + " mm tile" +
                         (options.bleed > 0
                              ? " with " + formatMm(options.bleed) + " mm bleed needs " +
                                    formatMm(options.tileWidth + bleedSides) + " x " +
                                    formatMm(rowHeight + bleedSides) + " mm"
                              : "") +
                         ", but the page leaves " + formatMm(inner.width) + " x " +
                         formatMm(inner.height) + " mm inside its margins");
    }
    layout.columns = static_cast<int>(columns);
    layout.rows = static_cast<int>(rows);

    const std::size_t perPage =
        static_cast<std::size_t>(layout.columns) * static_cast<std::size_t>(layout.rows);
    for (std::size_t first = 0; first < planned.size(); first += perPage) {
        SheetPage front;
        front.kind = SheetPageKind::Front;
        const std::size_t last = std::min(planned.size(), first + perPage);
        for (std::size_t k = first; k < last; ++k) {
            const int cell = static_cast<int>(k - first);
            SheetItem item;
            item.tile = planned[k].number;
            item.column = cell % layout.columns;
            item.row = cell / layout.columns;
            item.trim = {m.left + options.bleed + item.column * (options.tileWidth + spacing),
                         m.top + options.bleed + item.row * (rowHeight + spacing),
                         planned[k].size.width, planned[k].size.height};
            item.bleed = item.trim.grown(options.bleed);
            front.items.push_back(item);
        }
        front.marks = cutMarks(front.items, layout.page, options.marks);

        if (options.backs) {
            SheetPage back;
            back.kind = SheetPageKind::Back;
            for (const SheetItem& f : front.items) {
                SheetItem item = f;
                item.back = true;
                item.column = layout.columns - 1 - f.column;
                item.trim.x = layout.page.width - f.trim.right() + options.backOffset.x;
                item.trim.y = f.trim.y + options.backOffset.y;
                item.bleed = item.trim.grown(options.bleed);
                back.items.push_back(item);
            }
            layout.pages.push_back(std::move(front));
            layout.pages.push_back(std::move(back));
        } else {
            layout.pages.push_back(std::move(front));
        }
    }
    return layout;
}

} // namespace qrb
