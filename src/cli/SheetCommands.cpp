#include "cli/SheetCommands.h"

#include "cli/HeadlessGui.h"
#include "core/FileError.h"
#include "core/InputText.h"
#include "core/MemorySize.h"
#include "imaging/render/DibConversion.h"
#include "picture/PictureError.h"
#include "picture/PictureReader.h"
#include "sheet/Keyword.h"
#include "sheet/Length.h"
#include "sheet/SheetError.h"
#include "sheet/SheetLayout.h"
#include "sheet/render/SheetWriter.h"
#include "tileset/LibraryFile.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <new>
#include <optional>
#include <string>

namespace qrb::cli {

namespace {

const char* const kLengthNote =
    "Lengths are millimetres unless they carry a unit: 30mm, 2.5cm, 1.5in, 12pt.\n"
    "Paper is a4, letter, a3, legal or WxH (210x297, 8.5x11in); portrait unless\n"
    "--landscape.\n";

const char* const kSheetNote =
    "Tiles fill each page left to right, top to bottom, starting at the top-left margin\n"
    "(the grid is not centred, so the cut lines fall at the same places on every sheet).\n"
    "Each tile is --tile-size wide and as high as its proportions make it. Copies of a\n"
    "tile sit next to each other. LIST names the tiles in the order to print them,\n"
    "repeats allowed: 2,4-6,4. An OUT ending in .png writes one PNG per page: OUT-1.png,\n"
    "OUT-2.png, ..., at --dpi dots per inch (default 300). Any other OUT is one PDF,\n"
    "which holds each picture once however often it is printed. When no tile fits on\n"
    "the page, or a tile asked for does not exist, nothing is written (exit status 1).\n";

const char* const kBacksNote =
    "--backs BACK prints a back page after every front page, its columns mirrored so\n"
    "that a sheet printed on both sides, turned over its long edge, puts each back\n"
    "behind its front. BACK is a library (its tile N backs tile N; a library of one tile\n"
    "backs every tile) or a picture (PNG, BMP, JPEG, ...) that backs every tile.\n"
    "--back-offset X,Y moves the backs X to the right and Y down, as measured with\n"
    "'qrbtool calibration'.\n";

const char* const kCalibrationNote =
    "Print both pages on the two sides of one sheet, as the backs will be printed, and\n"
    "hold it against the light from the back: where each front cross shows on the scale\n"
    "behind it is the offset to give as --back-offset X,Y. Print again with that offset\n"
    "to check it.\n";

// An option's words checked by the sheet model, whose complaints become usage errors.
template <class Parse>
auto parsedOption(const ParsedArguments& args, const char* name, Parse parse)
    -> std::optional<decltype(parse(std::string()))> {
    const std::optional<std::string> text = args.value(name);
    if (!text) {
        return std::nullopt;
    }
    try {
        return parse(*text);
    } catch (const SheetError& e) {
        throw UsageError(std::string(name) + ": " + e.what());
    }
}

double lengthOption(const ParsedArguments& args, const char* name, double fallback) {
    return parsedOption(args, name, [](const std::string& t) { return parseLength(t); })
        .value_or(fallback);
}

std::optional<int> numberOption(const ParsedArguments& args, const char* name) {
    const std::optional<std::string> text = args.value(name);
    if (!text) {
        return std::nullopt;
    }
    int value = 0;
    const char* end = text->data() + text->size();
    const auto [ptr, ec] = std::from_chars(text->data(), end, value);
    if (text->empty() || ec != std::errc() || ptr != end) {
        throw UsageError(std::string(name) + ": " + quotedInput(*text, 60, '\'') +
                         " is not a whole number");
    }
    return value;
}

// The paper, its orientation, the margin and the back offset: what both commands take.
SheetOptions pageOptions(const ParsedArguments& args) {
    SheetOptions options;
    if (auto page =
            parsedOption(args, "--page", [](const std::string& t) { return parsePageSize(t); })) {
        options.page = *page;
    }
    if (args.has("--landscape")) {
        options.orientation = PageOrientation::Landscape;
    }
    options.margins = SheetMargins::uniform(lengthOption(args, "--margin", options.margins.left));
    if (auto offset = parsedOption(args, "--back-offset",
                                   [](const std::string& t) { return parseLengthPair(t); })) {
        options.backOffset = *offset;
    }
    return options;
}

ArgumentParser& addPageOptions(ArgumentParser& parser) {
    return parser
        .option("--page", "PAPER", "a4 (the default), letter, a3, legal or WxH (210x297mm)")
        .flag("--landscape", "the long side across")
        .option("--margin", "LENGTH", "empty border on every side (10mm)");
}

// Where the pages go: one PDF, or PNG pages at a resolution.
struct Output {
    std::filesystem::path path;
    bool png = false;
    int dpi = SheetWriter::kDefaultDpi;
};

Output outputOf(const ParsedArguments& args, const std::string& out) {
    Output output{out, isKeyword(std::filesystem::path(out).extension().string(), ".png")};
    if (const std::optional<int> dpi = numberOption(args, "--dpi")) {
        if (!output.png) {
            throw UsageError("--dpi is for PNG pages: name the output OUT.png");
        }
        if (*dpi < SheetWriter::kMinDpi || *dpi > SheetWriter::kMaxDpi) {
            throw UsageError(
                "--dpi: the resolution must be between " + std::to_string(SheetWriter::kMinDpi) +
                " and " + std::to_string(SheetWriter::kMaxDpi) + ", not " + std::to_string(*dpi));
        }
        output.dpi = *dpi;
    }
    return output;
}

void checked(const SheetOptions& options) {
    try {
        validate(options);
    } catch (const SheetError& e) {
        throw UsageError(e.what());
    }
}

// `memory`: what the PNG pages may take while they are drawn, on `jobs` threads.
int write(const Output& output, const SheetLayout& layout, const SheetArt& art,
          const std::string& title, std::ostream& out, std::uint64_t memory, int jobs = 0) {
    const std::size_t pages = layout.pages.size();
    const std::string count = std::to_string(pages) + (pages == 1 ? " page" : " pages");
    if (!output.png) {
        SheetWriter::writePdf(output.path, layout, art, QString::fromStdString(title));
        out << "wrote " << count << " to " << escapedControls(output.path.string()) << "\n";
        return 0;
    }
    const auto written = SheetWriter::writePng(output.path, layout, art, output.dpi, memory, jobs);
    out << "wrote " << count << ": " << escapedControls(written.front().string());
    if (written.size() > 1) {
        out << " ... " << escapedControls(written.back().string());
    }
    out << "\n";
    const auto older = SheetWriter::olderPngPages(output.path, static_cast<int>(pages));
    if (!older.empty()) {
        out << "note: older pages of an earlier, longer run were left as they were: "
            << escapedControls(older.front().string());
        if (older.size() > 1) {
            out << " ... " << escapedControls(older.back().string());
        }
        out << "\n";
    }
    return 0;
}

// The tile numbers of LIST in order; a list of more tiles than a sheet set can hold is
// refused before it is spelled out.
std::vector<int> tileNumbers(const std::string& list) {
    const std::vector<TileRange> ranges = parseTileList(list);
    long long total = 0;
    for (const auto& [first, last] : ranges) {
        total += last - first + 1;
        if (total > SheetLayout::kMaxTiles || last > TileSet::kMaxTiles) {
            throw UsageError("--tiles: " + quotedInput(list, 60, '\'') +
                             " names more tiles than a library holds or " +
                             std::to_string(SheetLayout::kMaxTiles) + " can be printed at once");
        }
    }
    std::vector<int> numbers;
    numbers.reserve(static_cast<std::size_t>(total));
    for (const auto& [first, last] : ranges) {
        for (long long n = first; n <= last; ++n) {
            numbers.push_back(static_cast<int>(n));
        }
    }
    return numbers;
}

// The bytes a library's images take in memory.
std::uint64_t pixelBytes(const TileSet& set) {
    std::uint64_t bytes = 0;
    for (const Tile& tile : set.tiles()) {
        bytes += tile.full.byteCount() + tile.half.byteCount();
    }
    return bytes;
}

// A picture file as one back for every tile, read as import reads pictures: whole, within
// the budget with its copy as a tile's image.
DibImage readBackPicture(const std::filesystem::path& path, std::uint64_t budget) {
    PictureRequest request;
    request.memoryLeft = budget;
    request.madeOf = [](QSize size) {
        return std::uint64_t(DibImage::strideFor(size.width())) * std::uint64_t(size.height());
    };
    try {
        return toDibImage(qrb::readPicture(QString::fromStdString(path.string()), request));
    } catch (const PictureError& e) {
        throw FileError(path, std::string("cannot read the picture: ") + e.what());
    }
}

int sheet(const ParsedArguments& args, std::ostream& out) {
    const auto& files = args.operands();
    // Everything on the command line is checked before a file is read.
    SheetOptions options = pageOptions(args);
    options.tileWidth = lengthOption(args, "--tile-size", options.tileWidth);
    options.gap = lengthOption(args, "--gap", options.gap);
    options.bleed = lengthOption(args, "--bleed", options.bleed);
    if (auto marks =
            parsedOption(args, "--marks", [](const std::string& t) { return parseCutMarks(t); })) {
        options.marks = *marks;
    }
    options.copies = numberOption(args, "--copies").value_or(options.copies);
    if (const std::optional<std::string> list = args.value("--tiles")) {
        options.tiles = tileNumbers(*list);
    }
    const std::optional<std::string> backs = args.value("--backs");
    if (args.value("--back-offset") && !backs) {
        throw UsageError("--back-offset moves the backs: give them with --backs");
    }
    options.backs = backs.has_value();
    checked(options);
    const Output output = outputOf(args, files[1]);
    const std::uint64_t budget = memoryBudget(args);
    const int jobs = jobCount(args);

    const HeadlessGui gui;
    // One budget for everything held: the fronts, the backs, the page being drawn.
    const TileSet fronts = LibraryFile::load(files[0], {}, budget);
    std::uint64_t held = pixelBytes(fronts);
    SheetArt art(fronts);
    TileSet backLibrary;
    DibImage backPicture;
    if (backs) {
        if (isKeyword(std::filesystem::path(*backs).extension().string(), ".qrb")) {
            backLibrary = LibraryFile::load(*backs, {}, budget - std::min(held, budget));
            held += pixelBytes(backLibrary);
            art.setBackLibrary(backLibrary);
        } else {
            backPicture = readBackPicture(*backs, budget - std::min(held, budget));
            held += backPicture.byteCount();
            art.setBackImage(backPicture);
        }
    }
    const SheetLayout layout = layOutSheet(options, art);
    return write(output, layout, art, std::filesystem::path(files[0]).filename().string(), out,
                 budget - std::min(held, budget), jobs);
}

int calibration(const ParsedArguments& args, std::ostream& out) {
    SheetOptions options = pageOptions(args);
    options.calibration = true;
    checked(options);
    const Output output = outputOf(args, args.operands()[0]);
    const HeadlessGui gui;
    const TileSet none;
    const SheetArt art(none);
    return write(output, layOutCalibration(options), art, "Calibration", out,
                 defaultMemoryBudget());
}

} // namespace

Command sheetCommand() {
    ArgumentParser options = withBatchOptions();
    addPageOptions(options)
        .option("--tile-size", "LENGTH", "printed width of a tile (25mm)")
        .option("--gap", "LENGTH", "space between tiles (0)")
        .option("--bleed", "LENGTH", "picture printed beyond each cut line (0)")
        .option("--marks", "KIND", "cut marks: none, corners (the default) or full")
        .option("--tiles", "LIST", "the tiles to print, in order (2,4-6); all by default")
        .option("--copies", "N", "copies of each tile (1 to 1000; 1)")
        .option("--backs", "BACK", "a library or picture of backs, printed behind the fronts")
        .option("--back-offset", "X,Y", "move the backs right and down (0,0)")
        .option("--dpi", "N", "resolution of PNG pages (300)");
    return {"sheet",
            "IN OUT",
            2,
            "Lay the tiles of IN out on pages to print and cut, with cut marks, as one\n"
            "PDF or as PNG pages.",
            {kLengthNote, kSheetNote, kBacksNote, kOutputNote, kMemoryNote, kJobsNote},
            options,
            sheet};
}

Command calibrationCommand() {
    ArgumentParser options;
    addPageOptions(options)
        .option("--back-offset", "X,Y", "the back offset to check (0,0)")
        .option("--dpi", "N", "resolution of PNG pages (300)");
    return {"calibration",
            "OUT",
            1,
            "Write a front page with crosses and a back page with a scale behind each, to\n"
            "measure the offset for --back-offset of 'qrbtool sheet'.",
            {kLengthNote, kCalibrationNote, kOutputNote},
            options,
            calibration};
}

} // namespace qrb::cli
