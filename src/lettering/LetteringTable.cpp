#include "lettering/LetteringTable.h"

#include "core/FileError.h"
#include "core/InputFile.h"
#include "core/InputText.h"
#include "lettering/CsvReader.h"
#include "lettering/IconMarkup.h"
#include "text/PositionDataFile.h"
#include "text/Windows1252.h"
#include "tileset/TileSet.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <istream>
#include <iterator>

namespace qrb {

namespace {

// What a column of the table is for: 0 to 8 the slots' texts, then base and copies, then
// the slots' looks, slot by slot, then the pictures' parts, picture by picture.
constexpr std::size_t kBase = LetteringRow::kSlots;
constexpr std::size_t kCopies = LetteringRow::kSlots + 1;
constexpr std::size_t kFirstLook = LetteringRow::kSlots + 2;
enum Look : std::size_t { Align, Colour, Size, Font, Bold, Italic, Outline, Fit, Box, kLooks };
constexpr const char* kLookNames[kLooks] = {"align",  "colour",  "size", "font", "bold",
                                            "italic", "outline", "fit",  "box"};
constexpr std::size_t kPictures = 9;
constexpr std::size_t kFirstPicture = kFirstLook + LetteringRow::kSlots * kLooks;
enum PicturePart : std::size_t { Source, At, Scale, kPictureParts };
constexpr const char* kPicturePartNames[kPictureParts] = {"", "_at", "_size"};
constexpr std::size_t kColumnKinds = kFirstPicture + kPictures * kPictureParts;

std::size_t slotOf(std::size_t kind) {
    return kind < kFirstLook ? kind : (kind - kFirstLook) / kLooks;
}
Look lookOf(std::size_t kind) {
    return Look((kind - kFirstLook) % kLooks);
}
std::size_t pictureOf(std::size_t kind) {
    return (kind - kFirstPicture) / kPictureParts;
}
PicturePart partOf(std::size_t kind) {
    return PicturePart((kind - kFirstPicture) % kPictureParts);
}

std::string columnName(std::size_t kind) {
    if (kind == kBase)
        return "base";
    if (kind == kCopies)
        return "copies";
    if (kind >= kFirstPicture)
        return "image" + std::to_string(pictureOf(kind) + 1) + kPicturePartNames[partOf(kind)];
    if (kind >= kFirstLook)
        return "slot" + std::to_string(slotOf(kind) + 1) + "_" + kLookNames[lookOf(kind)];
    return "slot" + std::to_string(kind + 1);
}

std::optional<std::size_t> columnKind(std::string_view name) {
    // Both spellings of colour.
    std::string spelled(name);
    if (const std::size_t at = spelled.rfind("_color");
        at != std::string::npos && at + 6 == spelled.size())
        spelled.replace(at, 6, "_colour");
    for (std::size_t kind = 0; kind < kColumnKinds; ++kind) {
        if (spelled == columnName(kind))
            return kind;
    }
    return std::nullopt;
}

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string lowered(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return char(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return out;
}

// A whole decimal number, sign allowed, blanks around it ignored.
std::optional<std::int64_t> wholeNumber(std::string_view cell) {
    const std::string_view text = trimmed(cell);
    std::int64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end)
        return std::nullopt;
    return value;
}

std::string inQuotes(std::string_view text) {
    return quotedInput(text);
}

// A number of points: decimal, above 0 and at most what a position data file holds.
std::optional<float> pointSize(std::string_view cell) {
    const std::string_view text = trimmed(cell);
    float value = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || !std::isfinite(value) || value <= 0 ||
        value > PositionDataFile::kMaxFontSize)
        return std::nullopt;
    return value;
}

std::optional<int> wholeWithin(std::string_view cell, int low, int high) {
    const std::optional<std::int64_t> value = wholeNumber(cell);
    if (!value || *value < low || *value > high)
        return std::nullopt;
    return int(*value);
}

// "WxH" (also "W x H", "WXH"): two whole numbers from 1 to the largest tile side.
std::optional<PixelSize> pixelSize(std::string_view cell) {
    const std::string_view text = trimmed(cell);
    const std::size_t by = text.find_first_of("xX");
    if (by == std::string_view::npos)
        return std::nullopt;
    const std::optional<int> w = wholeWithin(text.substr(0, by), 1, DibImage::kMaxDimension);
    const std::optional<int> h = wholeWithin(text.substr(by + 1), 1, DibImage::kMaxDimension);
    if (!w || !h)
        return std::nullopt;
    return PixelSize{*w, *h};
}

// The number of UTF-8 characters in `text`.
std::size_t characters(std::string_view text) {
    return std::size_t(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// A table saved as UTF-16 starts with its byte-order mark, or has a zero byte beside the
// first letter of "base".
bool looksLikeUtf16(std::string_view start) {
    return start.starts_with("\xFF\xFE") || start.starts_with("\xFE\xFF") ||
           (start.size() >= 2 && (start[0] == '\0' || start[1] == '\0'));
}

class Parser {
public:
    Parser(CsvReader& reader, const std::string& name) : reader_(reader), name_(name) {
        std::vector<std::string> cells;
        if (!next(cells))
            fail(1, "", "the table is empty; its first line names the columns, e.g. base,slot1");
        readHeader(cells);
    }

    // The next row that is not blank; false at the end of the table.
    bool nextRow(LetteringRow& row) {
        while (next(cells_)) {
            if (std::all_of(cells_.begin(), cells_.end(), [](const auto& c) { return c.empty(); }))
                continue;
            row = readRow(cells_);
            return true;
        }
        return false;
    }

private:
    bool next(std::vector<std::string>& cells) {
        try {
            return reader_.next(cells);
        } catch (const std::ios_base::failure&) {
            fail(reader_.recordLine() > 0 ? reader_.recordLine() : 1, "", "cannot read the table");
        } catch (const CsvSyntaxError& e) {
            const std::string column = e.field() < kinds_.size()
                                           ? columnName(kinds_[e.field()])
                                           : "column " + std::to_string(e.field() + 1);
            fail(e.line(), column, column + ": " + e.what());
        }
    }

    void readHeader(const std::vector<std::string>& cells) {
        std::array<std::size_t, kColumnKinds> seenAt{};
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const std::string name = lowered(trimmed(cells[i]));
            const std::string number = "column " + std::to_string(i + 1);
            if (name.empty())
                fail(1, number, number + " has no name");
            const std::optional<std::size_t> kind = columnKind(name);
            if (!kind)
                fail(1, name,
                     number + " " + inQuotes(trimmed(cells[i])) +
                         " is not one of base, slot1 to slot9, copies, or slotN_align, "
                         "slotN_colour, slotN_size, slotN_font, slotN_bold, slotN_italic, "
                         "slotN_outline, slotN_fit, slotN_box, imageN, imageN_at, imageN_size "
                         "for N from 1 to 9");
            if (seenAt[*kind] != 0)
                fail(1, name,
                     number + " " + inQuotes(trimmed(cells[i])) + " repeats column " +
                         std::to_string(seenAt[*kind]));
            seenAt[*kind] = i + 1;
            kinds_.push_back(*kind);
        }
        if (seenAt[kBase] == 0)
            fail(1, "base", "the table has no base column (the number of the tile to start from)");
    }

    LetteringRow readRow(const std::vector<std::string>& cells) {
        LetteringRow row;
        // Picture N's parts as the cells give them, put together once the row is read.
        struct Parts {
            std::optional<RowPicture> picture;
            int x = 0, y = 0;
            std::optional<PixelSize> size;
        };
        std::array<Parts, kPictures> parts{};
        row.line = reader_.recordLine();
        if (cells.size() != kinds_.size())
            fail(row.line, "",
                 "the row has " + std::to_string(cells.size()) + " cells, the header " +
                     std::to_string(kinds_.size()));
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const std::size_t kind = kinds_[i];
            const std::string& cell = cells[i];
            const std::string column = columnName(kind);
            if (firstInvalidUtf8(cell))
                fail(row.line, column, column + " is not UTF-8 text (save the table as UTF-8)");
            if (kind == kBase) {
                if (trimmed(cell).empty())
                    fail(row.line, column, "base is empty (the number of the tile to start from)");
                const std::optional<std::int64_t> base = wholeNumber(cell);
                if (!base || *base < 1)
                    fail(row.line, column,
                         "base " + inQuotes(trimmed(cell)) + " is not a tile number (1, 2, ...)");
                row.base = *base;
            } else if (kind == kCopies) {
                if (trimmed(cell).empty())
                    continue;
                const std::optional<std::int64_t> copies = wholeNumber(cell);
                if (!copies || *copies < 0)
                    fail(row.line, column,
                         "copies " + inQuotes(trimmed(cell)) + " is not a count (0, 1, 2, ...)");
                if (*copies > TileSet::kMaxTiles)
                    fail(row.line, column,
                         "copies " + std::to_string(*copies) + " is more than the " +
                             std::to_string(TileSet::kMaxTiles) + " tiles a library holds");
                row.copies = int(*copies);
            } else if (kind >= kFirstPicture) {
                if (row.pictures.empty())
                    row.pictures.resize(kPictures);
                if (!trimmed(cell).empty())
                    readPicturePart(parts[pictureOf(kind)], partOf(kind), cell, row.line, column);
            } else if (kind >= kFirstLook) {
                if (row.looks.empty())
                    row.looks.resize(LetteringRow::kSlots);
                if (!trimmed(cell).empty())
                    readLook(row.looks[slotOf(kind)], lookOf(kind), cell, row.line, column);
            } else {
                row.texts[kind] = slotText(cell, row.line, column);
            }
        }
        for (std::size_t k = 0; k < LetteringRow::kSlots; ++k) {
            const std::optional<std::string>& text = row.texts[k];
            if (text && !row.box(k) && text->find('\n') != std::string::npos)
                fail(row.line, columnName(k),
                     columnName(k) +
                         " holds a line break; a slot text is one line unless the "
                         "slot has a box (slot" +
                         std::to_string(k + 1) + "_box)");
        }
        for (std::size_t n = 0; n < row.pictures.size(); ++n) {
            if (!parts[n].picture)
                continue;
            row.pictures[n] = std::move(parts[n].picture);
            row.pictures[n]->x = parts[n].x;
            row.pictures[n]->y = parts[n].y;
            row.pictures[n]->size = parts[n].size;
        }
        return row;
    }

    template <class Parts>
    void readPicturePart(Parts& parts, PicturePart what, const std::string& cell, int line,
                         const std::string& column) {
        const std::string_view text = trimmed(cell);
        const auto refuse = [&](const std::string& wanted) {
            fail(line, column, column + " " + inQuotes(text) + " is not " + wanted);
        };
        switch (what) {
        case Source: {
            if (firstControlCharacter(text) != std::string::npos)
                refuse("a file name (it holds a control character)");
            RowPicture picture;
            picture.source = std::string(text);
            if (text.starts_with('#')) {
                const std::optional<std::int64_t> tile = wholeNumber(text.substr(1));
                if (!tile || *tile < 1 || *tile > TileSet::kMaxTiles)
                    refuse("a tile: #T with T a tile number (1, 2, ...)");
                picture.tile = int(*tile);
            }
            parts.picture = std::move(picture);
            break;
        }
        case At: {
            const std::size_t comma = text.find(',');
            const std::optional<int> x =
                comma == std::string_view::npos
                    ? std::nullopt
                    : wholeWithin(text.substr(0, comma), -DibImage::kMaxDimension * 2,
                                  DibImage::kMaxDimension * 2);
            const std::optional<int> y =
                comma == std::string_view::npos
                    ? std::nullopt
                    : wholeWithin(text.substr(comma + 1), -DibImage::kMaxDimension * 2,
                                  DibImage::kMaxDimension * 2);
            if (!x || !y)
                refuse("a point X,Y in tile pixels, e.g. \"4,10\"");
            parts.x = *x;
            parts.y = *y;
            break;
        }
        case Scale:
            parts.size = pixelSize(text);
            if (!parts.size)
                refuse("a size WxH in tile pixels, e.g. \"56x40\"");
            break;
        default:
            break;
        }
    }

    void readLook(SlotLook& look, Look what, const std::string& cell, int line,
                  const std::string& column) {
        const std::string_view text = trimmed(cell);
        const auto refuse = [&](const std::string& wanted) {
            fail(line, column, column + " " + inQuotes(text) + " is not " + wanted);
        };
        switch (what) {
        case Align: {
            const std::optional<Alignment> alignment = parseAlignment(text);
            if (!alignment)
                refuse("an alignment: left, centre (or center) or right, and/or top, middle or "
                       "bottom, e.g. \"centre middle\"");
            look.horizontal = alignment->horizontal;
            look.vertical = alignment->vertical;
            break;
        }
        case Colour:
            look.colour = parseHexColour(text);
            if (!look.colour)
                refuse("a colour #RRGGBB, e.g. #FFFFFF for white");
            break;
        case Size:
            look.size = pointSize(text);
            if (!look.size)
                refuse("a size in points, above 0 and at most " +
                       shortestDecimal(PositionDataFile::kMaxFontSize));
            break;
        case Font:
            look.face = storableText(std::string(text), line, column);
            break;
        case Bold:
        case Italic: {
            if (text != "0" && text != "1")
                refuse("0 or 1");
            (what == Bold ? look.bold : look.italic) = text == "1";
            break;
        }
        case Outline: {
            const std::size_t blank = text.find_first_of(" \t");
            const std::optional<ColourValue> colour = blank == std::string_view::npos
                                                          ? std::nullopt
                                                          : parseHexColour(text.substr(0, blank));
            const std::optional<int> width =
                blank == std::string_view::npos
                    ? std::nullopt
                    : wholeWithin(text.substr(blank), 0, TextLayout::kMaxOutlineWidth);
            if (!colour || !width)
                refuse("an outline: a colour #RRGGBB and a width from 0 to " +
                       std::to_string(TextLayout::kMaxOutlineWidth) + ", e.g. \"#FFFFFF 2\"");
            look.outlineColour = colour;
            look.outlineWidth = width;
            break;
        }
        case Fit:
            look.fitWidth = wholeWithin(text, 0, TextLayout::kMaxFitWidth);
            if (!look.fitWidth)
                refuse("a width in pixels from 0 (off) to " +
                       std::to_string(TextLayout::kMaxFitWidth));
            break;
        case Box:
            look.box = pixelSize(text);
            if (!look.box)
                refuse("a box WxH in tile pixels, e.g. \"56x30\"");
            break;
        default:
            break;
        }
    }

    // A slot text: any characters but control characters, line breaks apart (the row
    // checks those against the slot's box), written "\n" whatever the table used; its icon
    // markup right.
    std::string slotText(const std::string& cell, int line, const std::string& column) {
        std::string text;
        text.reserve(cell.size());
        for (std::size_t i = 0; i < cell.size(); ++i) {
            if (cell[i] == '\r') {
                text += '\n';
                if (i + 1 < cell.size() && cell[i + 1] == '\n')
                    ++i;
            } else {
                text += cell[i];
            }
        }
        std::string oneLine = text;
        std::replace(oneLine.begin(), oneLine.end(), '\n', ' ');
        refuseControls(oneLine, line, column);
        if (const std::size_t length = characters(text);
            length > LetteringTable::kMaxTextCharacters)
            fail(line, column,
                 column + " is " + std::to_string(length) +
                     " characters long; a slot text may be at most " +
                     std::to_string(LetteringTable::kMaxTextCharacters));
        if (hasMarkup(text)) {
            try {
                splitIcons(text);
            } catch (const MarkupError& e) {
                fail(line, column, column + ": " + e.what());
            }
        }
        return text;
    }

    void refuseControls(const std::string& cell, int line, const std::string& column) {
        if (const std::size_t at = firstControlCharacter(cell); at != std::string::npos) {
            const auto byte = static_cast<unsigned char>(cell[at]);
            const unsigned code =
                byte == 0xC2 ? static_cast<unsigned char>(cell[at + 1]) : unsigned(byte);
            char name[8];
            std::snprintf(name, sizeof name, "U+%04X", code);
            std::size_t character = 1;
            for (std::size_t i = 0; i < at; ++i)
                character += (static_cast<unsigned char>(cell[i]) & 0xC0) != 0x80;
            fail(line, column,
                 column + " holds the control character " + name + " at character " +
                     std::to_string(character) +
                     "; a slot text is printable characters (a tab is refused too)");
        }
    }

    // A face name must fit a position data file, where the editor's styles go.
    std::string storableText(const std::string& cell, int line, const std::string& column) {
        refuseControls(cell, line, column);
        if (const std::optional<std::size_t> at = firstUnrepresentable(cell)) {
            std::size_t end = *at + 1;
            while (end < cell.size() && (static_cast<unsigned char>(cell[end]) & 0xC0) == 0x80)
                ++end;
            fail(line, column,
                 column + " holds " + inQuotes(cell.substr(*at, end - *at)) +
                     ", which a position data file cannot hold");
        }
        const std::size_t length = utf8ToWindows1252(cell)->size();
        if (length > PositionDataFile::kMaxStringBytes)
            fail(line, column,
                 column + " is " + std::to_string(length) +
                     " characters long; a position data file holds at most " +
                     std::to_string(PositionDataFile::kMaxStringBytes));
        return cell;
    }

    [[noreturn]] void fail(int line, std::string column, const std::string& reason) const {
        throw TableError(name_, line, std::move(column), reason);
    }

    CsvReader& reader_;
    const std::string& name_;
    std::vector<std::size_t> kinds_; // what each column of the header is for
    std::vector<std::string> cells_;
};

bool endsWithTsv(const std::string& name) {
    return name.size() >= 4 && lowered(std::string_view(name).substr(name.size() - 4)) == ".tsv";
}

} // namespace

void SlotLook::applyTo(TextStyle& style) const {
    if (horizontal)
        style.layout.horizontal = *horizontal;
    if (vertical)
        style.layout.vertical = *vertical;
    if (colour)
        style.textColour = *colour;
    if (size)
        style.size = *size;
    if (face)
        style.face = *face;
    if (bold)
        style.bold = *bold;
    if (italic)
        style.italic = *italic;
    if (outlineColour)
        style.layout.outlineColour = *outlineColour;
    if (outlineWidth)
        style.layout.outlineWidth = *outlineWidth;
    if (fitWidth)
        style.layout.fitWidth = *fitWidth;
}

TableError::TableError(const std::string& table, int line, std::string column,
                       const std::string& reason)
    : std::runtime_error(escapedControls(table) +
                         (line > 0 ? ":" + std::to_string(line) : std::string()) + ": " + reason),
      line_(line), column_(std::move(column)) {}

void LetteringTable::forEachRow(const std::filesystem::path& path,
                                const std::function<void(const LetteringRow&)>& each) {
    InputFile file(path);
    const std::string name = path.string();
    if (file.size() > kMaxBytes)
        throw TableError(name, 0, "",
                         "the table is " + std::to_string(file.size()) +
                             " bytes long; a lettering table may be at most " +
                             std::to_string(kMaxBytes >> 20) + " MB");
    std::istream& in = file.stream();
    char start[3] = {};
    in.read(start, sizeof start);
    if (in.bad())
        throw FileError(path, "cannot read");
    const std::string_view opening(start, std::size_t(in.gcount()));
    if (looksLikeUtf16(opening))
        throw TableError(name, 1, "", "the table is UTF-16; save it as UTF-8");
    in.clear();
    in.seekg(opening.starts_with(kByteOrderMark) ? std::streamoff(kByteOrderMark.size()) : 0);
    if (!in)
        throw FileError(path, "cannot read");
    CsvReader reader(in, endsWithTsv(path.filename().string()) ? '\t' : ',');
    Parser parser(reader, name);
    LetteringRow row;
    while (parser.nextRow(row))
        each(row);
}

LetteringTable LetteringTable::read(const std::filesystem::path& path) {
    LetteringTable table;
    table.name_ = path.string();
    forEachRow(path, [&](const LetteringRow& row) { table.rows_.push_back(row); });
    return table;
}

LetteringTable LetteringTable::parse(std::string_view text, char separator,
                                     const std::string& name) {
    if (looksLikeUtf16(text.substr(0, 2)))
        throw TableError(name, 1, "", "the table is UTF-16; save it as UTF-8");
    if (text.starts_with(kByteOrderMark))
        text.remove_prefix(kByteOrderMark.size());
    LetteringTable table;
    table.name_ = name;
    CsvReader reader(text, separator);
    Parser parser(reader, name);
    LetteringRow row;
    while (parser.nextRow(row))
        table.rows_.push_back(row);
    return table;
}

TableCheck::TableCheck(std::string tableName, int tileCount, std::string libraryName, int keptTiles)
    : tableName_(std::move(tableName)), tileCount_(tileCount), libraryName_(std::move(libraryName)),
      total_(keptTiles), kept_(keptTiles) {}

void TableCheck::add(const LetteringRow& row) {
    if (row.base > tileCount_)
        throw TableError(tableName_, row.line, "base",
                         "base " + std::to_string(row.base) + " is beyond the " +
                             std::to_string(tileCount_) +
                             (tileCount_ == 1 ? " tile of " : " tiles of ") + libraryName_);
    total_ += row.copies;
    if (total_ > TileSet::kMaxTiles)
        throw TableError(tableName_, row.line, "copies",
                         "with this row the library would hold " + std::to_string(total_) +
                             " tiles, more than the " + std::to_string(TileSet::kMaxTiles) +
                             " a library file can store");
}

int LetteringTable::check(int tileCount, const std::string& libraryName, int keptTiles) const {
    TableCheck check(name_, tileCount, libraryName, keptTiles);
    for (const LetteringRow& row : rows_)
        check.add(row);
    return check.made();
}

} // namespace qrb
