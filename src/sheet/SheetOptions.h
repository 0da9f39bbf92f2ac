#pragma once
// Everything a user chooses about a print sheet, with the defaults a sheet gets when
// nothing is chosen. Lengths are millimetres (see Length.h for typed lengths). The
// command line and the window map their inputs onto these fields one to one and leave
// every check to validate().

#include "sheet/PageSize.h"
#include "sheet/SheetGeometry.h"

#include <string_view>
#include <vector>

namespace qrb {

enum class PageOrientation { Portrait, Landscape };

// Cut marks: none; short marks outside the tiles at every cut line; or lines across the
// whole margin at every cut line. Marks never cross a tile or its bleed.
enum class CutMarks { None, Corners, Full };

struct SheetMargins {
    double left = 10;
    double top = 10;
    double right = 10;
    double bottom = 10;

    static SheetMargins uniform(double mm) { return {mm, mm, mm, mm}; }
    friend bool operator==(const SheetMargins&, const SheetMargins&) = default;
};

struct SheetOptions {
    static constexpr int kMaxCopies = 1000;
    static constexpr double kMinTileWidth = 1;

    PageSize page = PageSize::a4();
    PageOrientation orientation = PageOrientation::Portrait;
    SheetMargins margins;
    // Printed width of a tile; its height follows the tile's own proportions.
    double tileWidth = 25;
    // Space between neighbouring tiles.
    double gap = 0;
    // How far each tile's edge pixels are extended beyond its cut line, so that a cut a
    // little off still shows no white. Tiles are then at least twice this far apart.
    double bleed = 0;
    CutMarks marks = CutMarks::Corners;
    // Tile numbers to print, in this order (repeats allowed); empty prints every tile.
    std::vector<int> tiles;
    // Copies of each tile, printed next to each other.
    int copies = 1;
    // Print a back page after every front page (the backs come with the tiles, SheetArt).
    bool backs = false;
    // Moves every back (and the back crosses of the calibration page) by x to the right
    // and y down, as the back page is seen from its own side.
    PointMm backOffset;
    // Print only the calibration page pair instead of tiles.
    bool calibration = false;
};

// The page's width and height in the chosen orientation.
SizeMm orientedPageSize(const SheetOptions& options);

// Throws SheetError naming the first option out of range: negative or non-finite
// lengths, a tile width below kMinTileWidth, copies outside 1..kMaxCopies, tile numbers
// below 1, margins that leave nothing of the page.
void validate(const SheetOptions& options);

// "none", "corners" or "full" (any case); throws SheetError otherwise.
CutMarks parseCutMarks(std::string_view text);

} // namespace qrb
