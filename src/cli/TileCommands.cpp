#include "cli/TileCommands.h"

#include "cli/HeadlessGui.h"
#include "core/FileError.h"
#include "core/FileLock.h"
#include "core/InputText.h"
#include "document/Document.h"
#include "document/FilePath.h"
#include "document/TileImageExport.h"
#include "tileset/LibraryFile.h"

#include <QColor>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <set>
#include <string>

namespace qrb::cli {

namespace {

const char* const kPicturesNote =
    "IMAGE may be any picture Qt reads here (PNG, JPEG, BMP, GIF, SVG, and WebP or TIFF\n"
    "where the plugin is installed). Each becomes a tile as the editor's Import Images\n"
    "makes it: the picture turned upright by its EXIF orientation, its colour profile\n"
    "converted to sRGB, transparent pixels over white, the half image by the half-size\n"
    "rule, the picture's average colour as the small colour. A file that is not a regular\n"
    "file, a damaged picture (data that ends early, corrupt or runaway compressed data),\n"
    "one larger than 16384 pixels a side, one that would take the library past 32767\n"
    "tiles or whose decoding would take more than the memory limit (checked before it is\n"
    "decoded) is an error naming it; nothing is written then.\n";

const char* const kFitNote =
    "--fit WxH makes every picture a W x H tile: contain (the default) scales it to fit\n"
    "inside and centres it on the background, cover scales it to cover the tile and\n"
    "crops it centred, stretch scales it to W x H. Scaling is smooth (each new pixel the\n"
    "average of the area it covers when shrinking). --slice WxH cuts each picture into\n"
    "W x H cells, row by row from the top left, after --margin pixels around the sheet\n"
    "and with --spacing pixels between cells; cells that do not fit whole are left out,\n"
    "and with --skip-empty so are cells entirely transparent or of the background colour.\n"
    "--fit and --slice together fit each cell. Transparent pixels are composed over the\n"
    "background: --background #RRGGBB, white by default. A .qrb file among the IMAGEs\n"
    "gives its tiles whole (full image, half image and small colour as stored).\n";

const char* const kEditNote =
    "LIB is read whole, changed as the editor would change it and written back atomically:\n"
    "on any error it is left as it was. While another qrbtool command or the editor's Save\n"
    "is changing LIB, this one waits for it (5 seconds at most; then it fails and changes\n"
    "nothing).\n";

QString qPath(const std::string& path) {
    return QString::fromStdString(path);
}

// A whole number from 1 for an operand or option; UsageError otherwise. Numbers past the
// library's end are the caller's to refuse, by the number typed.
long long tileNumber(const std::string& text, const char* what) {
    long long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || value < 1)
        throw UsageError("'" + text + "' is not a tile number for " + what);
    return value;
}

QSize dimensions(const std::string& text, const char* option) {
    const auto [w, h] = parseDimensions(text, option, DibImage::kMaxDimension);
    return QSize(w, h);
}

ImportOptions importOptions(const ParsedArguments& args) {
    ImportOptions options;
    if (const auto fit = args.value("--fit")) {
        options.fit = FitOptions{dimensions(*fit, "--fit"), FitMode::Contain};
        if (const auto mode = args.value("--mode")) {
            if (*mode == "cover")
                options.fit->mode = FitMode::Cover;
            else if (*mode == "stretch")
                options.fit->mode = FitMode::Stretch;
            else if (*mode != "contain")
                throw UsageError("'" + *mode +
                                 "' is not a mode for --mode (contain, cover or stretch)");
        }
    } else if (args.has("--mode")) {
        throw UsageError("--mode needs --fit");
    }
    if (const auto slice = args.value("--slice")) {
        options.slice = SliceOptions{dimensions(*slice, "--slice"), 0, 0, args.has("--skip-empty")};
        if (const auto margin = args.value("--margin"))
            options.slice->margin = parseCount(*margin, "--margin", 0, 100000);
        if (const auto spacing = args.value("--spacing"))
            options.slice->spacing = parseCount(*spacing, "--spacing", 0, 100000);
    } else {
        for (const char* option : {"--margin", "--spacing", "--skip-empty"})
            if (args.has(option))
                throw UsageError(std::string(option) + " needs --slice");
    }
    if (const auto colour = args.value("--background")) {
        const QString text = QString::fromStdString(*colour);
        static const QRegularExpression hex(QStringLiteral("^#[0-9A-Fa-f]{6}$"));
        if (!hex.match(text).hasMatch())
            throw UsageError("'" + *colour + "' is not a colour #RRGGBB for --background");
        options.background = QColor::fromString(text);
    }
    return options;
}

void open(Document& document, const std::string& path, std::uint64_t budget) {
    document.open(qPath(path), {}, budget);
}

void checkTile(const std::string& lib, long long tile, int count) {
    if (tile > count)
        throw FileError(lib, "tile " + std::to_string(tile) + " is out of range: the library has " +
                                 std::to_string(count) + " tiles");
}

int importPictures(const ParsedArguments& args, std::ostream& out) {
    const std::vector<std::string>& files = args.operands();
    const std::string& lib = files[0];
    const std::uint64_t budget = memoryBudget(args);
    const ImportOptions options = importOptions(args);
    const int jobs = jobCount(args);
    const std::optional<long long> at =
        args.value("--at") ? std::optional<long long>(tileNumber(*args.value("--at"), "--at"))
                           : std::nullopt;
    const HeadlessGui application;
    // Held from before the read until the new file is in place: two imports never lose
    // each other's pictures.
    const FileLock lock(toFsPath(qPath(lib)));
    Document document;
    const bool exists = std::filesystem::exists(toFsPath(qPath(lib)));
    if (exists)
        open(document, lib, budget);
    else
        document.newLibrary();
    const int count = document.tileCount();
    if (at && *at > count + 1)
        throw FileError(lib, "--at " + std::to_string(*at) +
                                 " is beyond the end: the library has " + std::to_string(count) +
                                 " tiles");
    QStringList paths;
    for (std::size_t i = 1; i < files.size(); ++i)
        paths << qPath(files[i]);
    const std::uint64_t held = document.pixelBytes();
    const std::optional<PictureImport> read =
        readPictures(paths, options, TileSet::kMaxTiles - count, budget > held ? budget - held : 0,
                     {}, {}, jobs);
    if (!read->refused.empty()) {
        // One line a person can read, however many were refused.
        constexpr std::size_t kNamed = 10;
        std::string message;
        const std::size_t refused = read->refused.size();
        for (std::size_t i = 0; i < std::min(refused, kNamed); ++i)
            message += (message.empty() ? "" : "; ") + read->refused[i].path.toStdString() + ": " +
                       read->refused[i].reason.toStdString();
        if (refused > kNamed)
            message += "; and " + std::to_string(refused - kNamed) + " more " +
                       (refused - kNamed == 1 ? "picture" : "pictures");
        throw std::runtime_error(message + " (nothing was written)");
    }
    const int n =
        document.insertTiles(int(at.value_or(count + 1)), std::move(read->tiles), "Import Images");
    document.save(qPath(lib));
    // A sliced sheet or a library gives several tiles a file: then both are counted.
    const int given = int(paths.size());
    const bool onePerFile =
        !options.slice && std::none_of(paths.begin(), paths.end(), isLibraryPath);
    out << "imported " << n;
    if (onePerFile)
        out << (n == 1 ? " picture" : " pictures");
    else
        out << (n == 1 ? " tile" : " tiles") << " from " << given
            << (given == 1 ? " file" : " files");
    out << " into " << escapedControls(lib) << (exists ? "" : " (new)") << "; it has "
        << document.tileCount() << " tiles\n";
    return 0;
}

int moveTile(const ParsedArguments& args, std::ostream& out) {
    const std::vector<std::string>& files = args.operands();
    const long long from = tileNumber(files[1], "FROM");
    const long long to = tileNumber(files[2], "TO");
    const HeadlessGui application;
    const FileLock lock(toFsPath(qPath(files[0])));
    Document document;
    open(document, files[0], memoryBudget(args));
    checkTile(files[0], std::max(from, to), document.tileCount());
    if (document.moveTile(int(from), int(to)))
        document.save(qPath(files[0]));
    out << "moved tile " << from << " to " << to << " in " << escapedControls(files[0]) << "\n";
    return 0;
}

int deleteTiles(const ParsedArguments& args, std::ostream& out) {
    const std::vector<std::string>& files = args.operands();
    const std::vector<TileRange> ranges = parseTileList(files[1]);
    const HeadlessGui application;
    const FileLock lock(toFsPath(qPath(files[0])));
    Document document;
    open(document, files[0], memoryBudget(args));
    std::set<int> chosen;
    for (const auto& [first, last] : ranges) {
        checkTile(files[0], last, document.tileCount());
        for (long long i = first; i <= last; ++i)
            chosen.insert(int(i));
    }
    if (int(chosen.size()) == document.tileCount())
        throw FileError(files[0], "the list takes every tile; a library keeps at least one");
    document.deleteTiles(std::vector<int>(chosen.begin(), chosen.end()));
    document.save(qPath(files[0]));
    out << "deleted " << chosen.size() << (chosen.size() == 1 ? " tile" : " tiles") << " from "
        << escapedControls(files[0]) << "; it has " << document.tileCount() << " tiles\n";
    return 0;
}

int exportImages(const ParsedArguments& args, std::ostream& out) {
    const std::vector<std::string>& files = args.operands();
    if (files[1].empty())
        throw UsageError("PREFIX is empty; name the pictures, e.g. 'tiles/tile'");
    ImageExport how;
    const std::string format = args.value("--format").value_or("bmp");
    if (format == "png")
        how.format = ImageFormat::Png;
    else if (format == "bmp")
        how.format = ImageFormat::Bmp;
    else
        throw UsageError("'" + format + "' is not a format for --format (png or bmp)");
    how.halfImages = args.has("--half");
    how.threads = jobCount(args);
    const std::uint64_t budget = memoryBudget(args);
    const TileSet set = LibraryFile::load(files[0], {}, budget);
    // The pictures being made take what the library leaves.
    std::uint64_t held = 0;
    for (const Tile& tile : set.tiles())
        held += tile.full.byteCount() + tile.half.byteCount();
    how.memory = budget - std::min(budget, held);
    std::optional<HeadlessGui> application;
    if (how.format == ImageFormat::Png)
        application.emplace();
    std::vector<int> all(std::size_t(set.count()));
    for (int i = 1; i <= set.count(); ++i)
        all[std::size_t(i - 1)] = i;
    const std::vector<std::filesystem::path> written = *how.write(set, all, files[1]);
    const char* kind = how.format == ImageFormat::Png ? " pictures" : " bitmaps";
    if (written.empty()) {
        out << "wrote 0" << kind << ": the library has no tiles\n";
        return 0;
    }
    out << "wrote " << written.size() << kind << ": " << escapedControls(written.front().string());
    if (written.size() > 1)
        out << " ... " << escapedControls(written.back().string());
    out << "\n";
    return 0;
}

} // namespace

Command importCommand() {
    ArgumentParser options = withBatchOptions();
    options.option("--at", "N", "the first new tile becomes tile N (default: after the last)")
        .option("--fit", "WxH", "make every picture a W x H tile")
        .option("--mode", "MODE", "with --fit: contain (default), cover or stretch")
        .option("--background", "#RRGGBB",
                "under transparent pixels and around a contained "
                "picture (default #FFFFFF)")
        .option("--slice", "WxH", "cut each picture into W x H cells, row by row")
        .option("--margin", "N", "with --slice: N pixels around the sheet (default 0)")
        .option("--spacing", "N", "with --slice: N pixels between cells (default 0)")
        .flag("--skip-empty", "with --slice: leave out cells entirely transparent or of the "
                              "background colour");
    return {"import",
            "LIB.qrb IMAGE...",
            2,
            "Add each IMAGE as a new tile (or its cells as tiles, or a library's tiles), in\n"
            "the order given, at the end of LIB (or from tile N on); LIB is created when it\n"
            "does not exist.",
            {kPicturesNote, kFitNote, kEditNote, kMemoryNote, kJobsNote},
            options,
            importPictures};
}

Command moveCommand() {
    return {"move",      "LIB.qrb FROM TO",
            3,           "Move tile FROM so that it becomes tile TO; the tiles between close up.",
            {kEditNote}, ArgumentParser(),
            moveTile};
}

Command deleteCommand() {
    return {"delete",
            "LIB.qrb LIST",
            2,
            "Remove the tiles in LIST (e.g. 2,4-6); the others close up. At least one tile\n"
            "must stay.",
            {kEditNote, kMemoryNote},
            withMemoryOption(),
            deleteTiles};
}

Command exportCommand() {
    ArgumentParser options = withBatchOptions();
    options.option("--format", "FORMAT", "png or bmp: the pictures' format (default bmp)")
        .flag("--half", "also write each half image, to PREFIXn_half.EXT");
    return {"export",
            "FILE PREFIX",
            2,
            "Write each tile's full-size image to PREFIX1.bmp, PREFIX2.bmp, ... (or .png with\n"
            "--format png; a trailing extension of the format on PREFIX is dropped). All or\n"
            "none: when a file cannot be written, no file is replaced.",
            {kOutputNote, kMemoryNote, kJobsNote},
            options,
            exportImages};
}

} // namespace qrb::cli
