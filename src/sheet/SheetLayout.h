#pragma once
// Laying tiles out on printed pages. The result says, in millimetres, where every tile
// and every back goes and where the cut marks run: all a renderer needs, nothing about
// pixels or devices.
//
// Tiles fill each page left to right, top to bottom, in a grid that starts at the top-left
// margin (it is not centred, so the cut lines fall at predictable places). Every tile is
// `tileWidth` wide and as high as its proportions make it; a row is as high as the tallest
// tile on the sheet. With backs, each front page is followed by its back page, whose
// columns are mirrored so that a sheet turned over its side edge (the long edge of a
// portrait page) puts every back behind its front.

#include "sheet/SheetArt.h"
#include "sheet/SheetGeometry.h"
#include "sheet/SheetOptions.h"

#include <cstdint>
#include <string>
#include <vector>

namespace qrb {

// One picture on a page.
struct SheetItem {
    int tile = 0;      // the front tile number this item shows (or, on a back page, backs)
    bool back = false; // true: the back of `tile`
    int column = 0;    // grid cell, 0-based; on a back page the mirrored column
    int row = 0;
    RectMm trim;  // where the tile is cut out
    RectMm bleed; // what is printed: `trim` grown by the bleed (== trim without bleed)
    friend bool operator==(const SheetItem&, const SheetItem&) = default;
};

// A line of text on a page (the calibration page's headings and instructions).
struct SheetLabel {
    PointMm topLeft;
    double height = 0; // text height in mm
    std::string text;  // UTF-8
};

enum class SheetPageKind { Front, Back, CalibrationFront, CalibrationBack };

struct SheetPage {
    SheetPageKind kind = SheetPageKind::Front;
    std::vector<SheetItem> items; // in reading order of the front page
    std::vector<LineMm> marks;    // hairlines: cut marks, calibration crosses and scales
    std::vector<SheetLabel> labels;
};

struct SheetLayout {
    // Width of every line in `marks`.
    static constexpr double kHairline = 0.1;
    // Most tiles one sheet set may hold (tiles x copies): far beyond any print run, and it
    // keeps the layout's memory small.
    static constexpr std::int64_t kMaxTiles = 1'000'000;

    SizeMm page; // in the chosen orientation
    int columns = 0;
    int rows = 0;
    std::vector<SheetPage> pages;

    int tilesPerPage() const { return columns * rows; }
};

// Lays out the tiles of `art` (or, with options.calibration, the calibration pages) as
// `options` asks. Throws SheetError for options out of range, tile numbers the library does
// not have, missing backs, an empty library, and a page on which no tile fits ("no tile
// fits: a 25 x 25 mm tile needs ... but the page leaves ...").
SheetLayout layOutSheet(const SheetOptions& options, const SheetArt& art);

// The calibration pages: a front page with crosses at known places and a back page with a
// cross and a millimetre scale behind each, moved by the back offset. Seen against the
// light from the back, each front cross shows through at the offset the backs still need.
SheetLayout layOutCalibration(const SheetOptions& options);

} // namespace qrb
