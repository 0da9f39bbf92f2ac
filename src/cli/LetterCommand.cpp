#include "cli/LetterCommand.h"

#include "cli/HeadlessGui.h"
#include "cli/JsonText.h"
#include "cli/TerminalProgress.h"
#include "core/AtomicFile.h"
#include "core/FileLock.h"
#include "core/InputText.h"
#include "core/MemorySize.h"
#include "core/OrderedWork.h"
#include "document/GlyphReport.h"
#include "document/LetteringArt.h"
#include "document/TableLettering.h"
#include "lettering/LetteringTable.h"
#include "text/PositionDataFile.h"
#include "text/render/QtConversions.h"
#include "text/render/RotatedText.h"
#include "tileset/LibraryFile.h"
#include "tileset/QrbWriter.h"

#include <QFontInfo>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <unistd.h>
#include <utility>
#include <vector>

namespace qrb::cli {

namespace {

const char* const kSummary =
    "Letter a new tile for each row of TABLE (and copy) with the slots of POSITIONS,\n"
    "as the editor's Create with \"Create tile using position data\" makes it from the\n"
    "row's base tile, and write IN's tiles followed by the new ones to OUT (--only-new:\n"
    "the new ones alone, to a file other than IN). A table that letters no tile is an\n"
    "error.";
const char* const kTableNote =
    "TABLE is CSV (RFC 4180: quotes around cells with commas, quotes or line breaks;\n"
    "UTF-8 with or without a byte-order mark), or tab-separated when its name ends in\n"
    ".tsv. The first row names the columns, in any order, case and blanks ignored:\n"
    "  base          the number, from 1, of the tile in IN the row's tiles start from\n"
    "  slot1..slot9  the texts of the slot panel's rows from the top; a slot without a\n"
    "                column keeps its text from POSITIONS, an empty cell has no text\n"
    "  copies        how many identical tiles the row makes (default 1, 0 allowed)\n"
    "  slotN_align   (N 1 to 9) the look of slot N on the row's tiles; an empty cell\n"
    "                keeps the slot's own: left, centre (center) or right, optionally\n"
    "                with top, middle or bottom, e.g. \"centre middle\"; the position\n"
    "                is that point of the text, along the text when it is turned\n"
    "  slotN_colour  the letters' colour, #RRGGBB\n"
    "  slotN_size    points            slotN_font  a face name\n"
    "  slotN_bold    0 or 1            slotN_italic  0 or 1\n"
    "  slotN_outline a colour and a width from 0 to 8 pixels, e.g. \"#FFFFFF 2\"\n"
    "  slotN_fit     a width in pixels the text shrinks to fit (down to 6 points)\n"
    "  slotN_box     WxH: the text wraps in a box of W x H tile pixels, the slot's\n"
    "                position the point of the box slotN_align names (left top by\n"
    "                default), each line aligned the same way; it shrinks down to 6\n"
    "                points to fit, then is cut at the box (the row is listed as\n"
    "                overflowing); the box turns with the slot's angle\n"
    "  imageN        (N 1 to 9) a picture drawn under the row's text, in the order of\n"
    "                N: a file (relative to TABLE's folder, or absolute), or #T for\n"
    "                tile T of IN; each is decoded once, however many rows use it\n"
    "  imageN_at     X,Y: its top-left point on the tile (default 0,0)\n"
    "  imageN_size   WxH: the box it is scaled into, proportions kept, centred\n"
    "                (default: its own size)\n"
    "A slot text is any Unicode text; characters the slot's face lacks are drawn with\n"
    "the system's fonts that have them. {name} in it is the icon DIR/name.png (or\n"
    ".svg, .jpg) of --icons DIR, as high as the letters, on the line; {{ and }} are\n"
    "braces. A tab or other control character is refused, and so is a line break\n"
    "(kept in quotes) in a slot without a box, and a UTF-16 table. A slot of\n"
    "POSITIONS with a text whose position or angle is not a number is refused. For\n"
    "example, with a title in slot 1 and a cost in slot 2 of cards.qpf:\n"
    "  base,slot1,slot2,copies\n"
    "  1,Harbour,3,2\n"
    "  2,\"Market, small\",1,1\n"
    "  qrbtool letter cards.qrb cards.qpf rows.csv out.qrb\n"
    "writes cards.qrb's tiles and three new ones to out.qrb. With the columns\n"
    "  base,slot1,slot1_align,slot1_outline\n"
    "  1,Harbour,centre middle,#FFFFFF 2\n"
    "the name is centred on slot 1's position and outlined in white. An error names\n"
    "the row's line and column (\"rows.csv:3: base 9 is beyond the 2 tiles of\n"
    "cards.qrb\") and nothing is written; so does an unknown icon or a picture that\n"
    "cannot be read. A card with a title, rules that wrap in a box with an icon, a\n"
    "cost symbol and its art:\n"
    "  base,slot1,slot2,slot2_box,slot3,image1,image1_at,image1_size\n"
    "  1,Harbour,\"Gain 2 {coin}.\n"
    "Draw a card.\",56x24,\u2605 3,art/harbour.png,\"4,14\",56x26\n"
    "  qrbtool letter --icons icons cards.qrb cards.qpf rows.csv out.qrb\n"
    "--json prints one line: rows, tiles lettered and written, milliseconds, the\n"
    "faces that are not installed with the font drawing them, the table lines of\n"
    "the rows whose text was cut, the characters no installed font draws, and how\n"
    "many picture and icon files were decoded.\n"
    "Progress shows on the error output when it is a terminal and the run takes over a\n"
    "second. No display is needed.\n";

using Clock = std::chrono::steady_clock;

// An output that is one of the command's other inputs would destroy that input: almost
// surely operands in the wrong order. (OUT may be IN: the library then grows in place.)
void refuseOverwritingInput(const std::filesystem::path& out, const std::filesystem::path& input,
                            const char* what) {
    std::error_code error;
    if (std::filesystem::equivalent(out, input, error))
        throw UsageError("OUT " + out.string() + " is " + what +
                         "; the order is IN.qrb POSITIONS.qpf TABLE OUT.qrb");
}

struct Fallback {
    std::string face;
    std::string drawnWith;
};

// The faces some tile is lettered with, each once, in the order first met: the slots'
// own and the rows' slotN_font. Bounded: a table naming ever new faces notes the first.
class FacesUsed {
public:
    static constexpr std::size_t kMax = 64;
    void add(const std::string& face) {
        if (faces_.size() < kMax && std::find(faces_.begin(), faces_.end(), face) == faces_.end())
            faces_.push_back(face);
    }
    const std::vector<std::string>& faces() const { return faces_; }

private:
    std::vector<std::string> faces_;
};

// The faces this system draws with another font.
std::vector<Fallback> fallbacks(const FacesUsed& used) {
    std::vector<Fallback> found;
    for (const std::string& face : used.faces()) {
        TextStyle style;
        style.face = face;
        const QString drawnWith = QFontInfo(toQFont(style)).family();
        if (drawnWith.compare(QString::fromStdString(face), Qt::CaseInsensitive) != 0)
            found.push_back(Fallback{face, drawnWith.toStdString()});
    }
    return found;
}

// Memory lettering one tile takes beside IN: the base as a 32-bit picture to draw on, the
// lettered full image and its half.
std::uint64_t letteringBytes(const LibraryHeaders& headers) {
    std::uint64_t largest = 0;
    for (int i = 1; i <= headers.count(); ++i) {
        const BitmapInfoHeader& full = headers.records[std::size_t(i)].fullHeader;
        largest = std::max(largest, std::uint64_t(full.width) * std::uint64_t(full.height));
    }
    return largest * 8 + (std::uint64_t(1) << 20);
}

int letter(const ParsedArguments& args, std::ostream& out) {
    const std::uint64_t budget = memoryBudget(args);
    const int jobs = jobCount(args);
    const Clock::time_point start = Clock::now();
    const auto& files = args.operands();
    const std::filesystem::path in = files[0];
    const std::filesystem::path positions = files[1];
    const std::filesystem::path tablePath = files[2];
    const std::filesystem::path outPath = files[3];
    const bool onlyNew = args.has("--only-new");
    const std::optional<std::string> icons = args.value("--icons");
    refuseOverwritingInput(outPath, positions, "the position data file");
    refuseOverwritingInput(outPath, tablePath, "the table");
    std::error_code sameError;
    const bool inPlace = std::filesystem::equivalent(outPath, in, sameError);
    if (onlyNew && inPlace)
        throw UsageError("OUT " + outPath.string() + " is IN: with --only-new it would lose " +
                         "IN's tiles; write the new tiles to another file");
    // Written over IN, the library is read and written back: no other writer may change
    // it in between.
    std::optional<FileLock> lock;
    if (inPlace)
        lock.emplace(outPath);

    const HeadlessGui application;
    TerminalProgress progress(std::cerr, ::isatty(STDERR_FILENO) == 1);

    // Everything is read and checked before anything is lettered or written. The table is
    // read twice, as a stream of rows each time: first checked whole, then lettered row by
    // row, each new tile written as it is made. Memory holds IN, the art and the tiles
    // being lettered (at least one).
    const LibraryHeaders headers = LibraryFile::inspect(in);
    const int kept = onlyNew ? 0 : headers.count();
    TableCheck check(tablePath.string(), headers.count(), in.string(), kept);
    std::size_t rows = 0;
    FacesUsed used;
    const PositionSlots layout = PositionDataFile::read(positions);
    LetteringArt art(tablePath.string(), tablePath.parent_path(),
                     icons ? std::optional<std::filesystem::path>(*icons) : std::nullopt);
    GlyphReport glyphs(layout);
    LetteringTable::forEachRow(tablePath, [&](const LetteringRow& row) {
        check.add(row);
        ++rows;
        if (row.copies == 0)
            return;
        art.note(row);
        glyphs.note(row);
        for (std::size_t k = 0; k < LetteringRow::kSlots; ++k) {
            if (!(row.texts[k] ? *row.texts[k] : layout[k].text).empty())
                used.add(k < row.looks.size() && row.looks[k].face ? *row.looks[k].face
                                                                   : layout[k].style.face);
        }
    });
    const int lettered = check.made();
    if (lettered == 0) {
        const std::string why = rows == 0 ? "it has no rows to letter"
                                          : "it has no tiles to letter: copies is 0 in every row";
        throw FileError(tablePath, why + "; nothing was written");
    }

    // --max-memory covers IN, the art and the tiles being lettered, one at the least.
    const std::uint64_t working = letteringBytes(headers);
    if (headers.decodedBytes > budget || working > budget - headers.decodedBytes)
        throw FileError(in, "its images need " + describeMemorySize(headers.decodedBytes) +
                                " of memory once read and lettering one tile " +
                                describeMemorySize(working) + ", more than the limit of " +
                                describeMemorySize(budget));
    const TileSet tiles =
        LibraryFile::load(in, progress.stage("reading " + in.string()), budget - working);
    if (tiles.count() != headers.count())
        throw FileError(in, "the library changed while it was being read");
    // The art takes what the limit leaves beside one tile being lettered.
    art.prepare(tiles, budget - working - headers.decodedBytes);

    // Each row as a freshly started editor makes it after loading POSITIONS. Rows are
    // lettered ahead on the other threads, as many as the limit leaves room for, and
    // written in order.
    const TableLettering lettering(tiles, layout, {}, &art);
    const std::size_t window = batchWindow(jobs, budget - headers.decodedBytes - art.bytes(),
                                           working, TableLettering::kGroupRows);
    std::vector<int> overflowing;
    const ProgressCallback report = progress.stage("lettering and writing " + outPath.string());
    const int total = kept + lettered;
    int written = 0;
    AtomicFile file(outPath);
    try {
        QrbWriter::writeHeader(file.stream(), total);
        for (int i = 1; i <= kept; ++i)
            QrbWriter::writeTile(file.stream(), tiles.tile(i));
        written = kept;
        // A hundred reports at most: a progress display costs more than a tile.
        const int step = std::max(1, lettered / 100);
        int reported = 0;
        struct Lettered {
            Tile tile;
            RowReport seen;
            int line = 0;
            int copies = 0;
        };
        const auto take = [&](Lettered&& row) {
            if (row.seen.overflowed)
                overflowing.push_back(row.line);
            for (int copy = 0; copy < row.copies; ++copy)
                QrbWriter::writeTile(file.stream(), row.tile);
            written += row.copies;
            if (report && written - kept - reported >= step) {
                reported = written - kept;
                report(reported, lettered);
            }
        };
        OrderedWork<Lettered> work(jobs, window, {}, TableLettering::kGroupRows);
        int queued = kept;
        work.run(
            [&] {
                LetteringTable::forEachRow(tablePath, [&](const LetteringRow& row) {
                    if (row.copies == 0)
                        return;
                    if (row.base > tiles.count() || queued + row.copies > total)
                        throw TableError(tablePath.string(), row.line, "",
                                         "the table changed while it was being lettered");
                    queued += row.copies;
                    work.add(
                        [&lettering, row](std::stop_token) {
                            Lettered done{{}, {}, row.line, row.copies};
                            done.tile = lettering.letter(row, &done.seen);
                            return done;
                        },
                        take);
                });
            },
            take);
        if (written != total)
            throw TableError(tablePath.string(), 0, "",
                             "the table changed while it was being lettered");
        file.stream().flush();
    } catch (const std::ios_base::failure& e) {
        throw FileError(outPath, std::string("cannot write: ") + e.what());
    }
    file.commit();
    progress.finish();
    const std::vector<Fallback> substituted = fallbacks(used);
    const double milliseconds =
        std::chrono::duration<double, std::milli>(Clock::now() - start).count();

    if (args.has("--json")) {
        char time[32];
        std::snprintf(time, sizeof time, "%.3f", milliseconds);
        out << "{\"rows\": " << rows << ", \"tiles_lettered\": " << lettered
            << ", \"tiles_written\": " << total << ", \"milliseconds\": " << time
            << ", \"fallback_faces\": [";
        for (std::size_t i = 0; i < substituted.size(); ++i)
            out << (i > 0 ? ", " : "") << "{\"face\": " << jsonString(substituted[i].face)
                << ", \"drawn_with\": " << jsonString(substituted[i].drawnWith) << "}";
        out << "], \"overflowing_rows\": [";
        for (std::size_t i = 0; i < overflowing.size(); ++i)
            out << (i > 0 ? ", " : "") << overflowing[i];
        out << "], \"undrawable_characters\": [";
        const std::vector<UndrawableCharacter>& missing = glyphs.undrawable();
        for (std::size_t i = 0; i < missing.size(); ++i)
            out << (i > 0 ? ", " : "")
                << "{\"character\": " << jsonString(codePointName(missing[i].character))
                << ", \"line\": " << missing[i].line
                << ", \"column\": " << jsonString(missing[i].column) << "}";
        out << "], \"pictures_decoded\": " << art.filesDecoded() << "}\n";
        return 0;
    }
    out << "lettered " << lettered << (lettered == 1 ? " tile" : " tiles") << " from " << rows
        << (rows == 1 ? " row" : " rows") << " of " << escapedControls(tablePath.string())
        << "; wrote " << total << " tiles to " << escapedControls(outPath.string()) << "\n";
    for (const Fallback& f : substituted)
        out << "note: the face " << escapedControls(f.face) << " is not installed; drawn with "
            << escapedControls(f.drawnWith) << "\n";
    if (!overflowing.empty()) {
        out << "note: " << overflowing.size() << (overflowing.size() == 1 ? " row's" : " rows'")
            << " text did not fit its box at 6 points and was cut (line";
        for (std::size_t i = 0; i < overflowing.size() && i < 20; ++i)
            out << (i > 0 ? ", " : overflowing.size() == 1 ? " " : "s ") << overflowing[i];
        out << (overflowing.size() > 20 ? ", ...)\n" : ")\n");
    }
    // The characters of one cell on one note.
    const std::vector<UndrawableCharacter>& missing = glyphs.undrawable();
    for (std::size_t i = 0; i < missing.size(); ++i) {
        const bool first = i == 0 || missing[i - 1].line != missing[i].line ||
                           missing[i - 1].column != missing[i].column;
        const bool last = i + 1 == missing.size() || missing[i + 1].line != missing[i].line ||
                          missing[i + 1].column != missing[i].column;
        out << (first ? "note: no installed font draws " : ", ")
            << codePointName(missing[i].character);
        if (last)
            out << " (line " << missing[i].line << ", " << missing[i].column
                << "); such a character shows as an empty box\n";
    }
    return 0;
}

} // namespace

Command letterCommand() {
    ArgumentParser options = withBatchOptions();
    options.flag("--only-new", "write only the new tiles to OUT, without IN's")
        .option("--icons", "DIR", "the folder of the icons {name} in the texts draw")
        .flag("--json", "print the summary as one line of JSON");
    return {"letter",
            "IN.qrb POSITIONS.qpf TABLE OUT.qrb",
            4,
            kSummary,
            {kTableNote, kOutputNote, kMemoryNote, kJobsNote},
            options,
            letter};
}

} // namespace qrb::cli
