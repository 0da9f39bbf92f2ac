#include "cli/DeckCommand.h"

#include "cli/HeadlessGui.h"
#include "core/FileError.h"
#include "core/InputText.h"
#include "document/DeckImage.h"
#include "tileset/DibImage.h"
#include "tileset/LibraryFile.h"

#include <stdexcept>

namespace qrb::cli {

namespace {

const char* const kDeckNote =
    "The tiles are laid row by row from the top left on a COLS x ROWS grid (default\n"
    "10x7), every cell the size of the largest tile (or --cell), each tile scaled to fit\n"
    "its cell and centred on white. When the grid would be larger than --max-size pixels\n"
    "a side (default 4096) the cells are scaled down to fit. With --hidden TILE that tile\n"
    "takes the grid's last cell on every page (a tabletop's hidden-card image). More\n"
    "tiles than one grid holds give OUT-1.png, OUT-2.png, ...; all or none are written.\n";

int atlas(const ParsedArguments& args, std::ostream& out) {
    const std::vector<std::string>& files = args.operands();
    DeckOptions options;
    if (const auto grid = args.value("--grid"))
        std::tie(options.columns, options.rows) = parseDimensions(*grid, "--grid", 100);
    if (const auto cell = args.value("--cell")) {
        const auto [w, h] = parseDimensions(*cell, "--cell", DibImage::kMaxDimension);
        options.cell = QSize(w, h);
    }
    if (const auto most = args.value("--max-size"))
        options.maxSize = parseCount(*most, "--max-size", 1, DibImage::kMaxDimension);
    if (const auto list = args.value("--tiles"))
        for (const auto& [first, last] : parseTileList(*list))
            for (long long i = first; i <= std::min<long long>(last, TileSet::kMaxTiles + 1); ++i)
                options.tiles.push_back(int(i));
    if (const auto hidden = args.value("--hidden"))
        options.hidden = parseCount(*hidden, "--hidden", 1, TileSet::kMaxTiles);
    const TileSet set = LibraryFile::load(files[0], {}, memoryBudget(args));
    const HeadlessGui application;
    std::vector<std::filesystem::path> written;
    try {
        written = writeDeck(set, options, files[1]);
    } catch (const std::invalid_argument& e) {
        throw FileError(files[0], e.what());
    }
    const DeckLayout layout = deckLayout(set, options);
    out << "wrote " << written.size() << (written.size() == 1 ? " deck image" : " deck images")
        << " of " << options.columns << " x " << options.rows << " cells of " << layout.cell.width()
        << " x " << layout.cell.height()
        << " pixels: " << escapedControls(written.front().string());
    if (written.size() > 1)
        out << " ... " << escapedControls(written.back().string());
    out << "\n";
    return 0;
}

} // namespace

Command atlasCommand() {
    ArgumentParser options = withMemoryOption();
    options.option("--grid", "COLSxROWS", "cells a page has across and down (default 10x7)")
        .option("--cell", "WxH", "the size of a cell (default: the largest tile's)")
        .option("--max-size", "N", "the most pixels a page may have a side (default 4096)")
        .option("--tiles", "LIST", "the tiles to lay, in order (e.g. 2,4-6; default all)")
        .option("--hidden", "TILE", "the tile in the last cell of every page");
    return {"atlas",
            "IN OUT.png",
            2,
            "Lay the tiles of IN on a grid as deck images for a virtual tabletop, written\n"
            "to OUT.png (or OUT-1.png, OUT-2.png, ... when they need more than one page).",
            {kDeckNote, kOutputNote, kMemoryNote},
            options,
            atlas};
}

} // namespace qrb::cli
