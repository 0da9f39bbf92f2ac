#pragma once
// A lettering table: the rows a batch of new tiles is lettered from, one tile (or several
// copies) per row, read from CSV or tab-separated text. The first row names the columns;
// case and blanks around a name do not matter:
//   base           the number, from 1, of the library tile the row's tiles start from
//                  (required)
//   slot1 - slot9  the texts for the slot panel's rows from the top (slots 0 to 8). A slot
//                  whose column is absent keeps its own text; an empty cell means no text
//                  for that slot on the row's tiles.
//   copies         how many identical tiles the row makes (default 1; 0 makes none)
//   slotN_align, slotN_colour (or _color), slotN_size, slotN_font, slotN_bold,
//   slotN_italic, slotN_outline, slotN_fit   (N 1 to 9) the look of slot N on the row's
//                  tiles; an empty cell (or no column) keeps the slot's own. See SlotLook.
//   slotN_box      WxH: slot N is a box of that many tile pixels its text wraps in
//   imageN, imageN_at, imageN_size   (N 1 to 9) a picture drawn under the row's text: a
//                  file or "#T" (tile T), its top-left point X,Y and the box WxH it is
//                  scaled into. See RowPicture.
// Any other column is an error, so that a misspelt name cannot silently drop a label.
// Rows whose cells are all empty are skipped. A slot text is any Unicode text without
// control characters, except line breaks in a slot with a box (kept as "\n"); "{name}" in
// it is an icon and "{{", "}}" are braces (IconMarkup). Every error names the table, the
// line the row starts on and, where there is one, the column; input quoted in a message
// has its control characters escaped and is cut after 60 characters.

#include "core/Colour.h"
#include "text/TextLayout.h"
#include "text/TextStyle.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace qrb {

// A table that cannot be used. what() is the line the user sees, e.g.
// "rows.csv:14: base 9 is beyond the 3 tiles of in.qrb".
class TableError : public std::runtime_error {
public:
    // `line` 0 stands for the table as a whole; `column` is empty when no one column is
    // at fault.
    TableError(const std::string& table, int line, std::string column, const std::string& reason);
    int line() const { return line_; }
    const std::string& column() const { return column_; }

private:
    int line_;
    std::string column_;
};

struct PixelSize {
    int width = 0;
    int height = 0;
    bool operator==(const PixelSize&) const = default;
};

// A slot's look as a row's own columns set it; each value the row leaves empty is the
// slot's own.
struct SlotLook {
    std::optional<HorizontalAnchor> horizontal; // _align: left, centre/center, right
    std::optional<VerticalAnchor> vertical;     // _align: top, middle, bottom
    std::optional<ColourValue> colour;          // _colour: #RRGGBB
    std::optional<float> size;                  // _size: points, above 0 and at most 1000
    std::optional<std::string> face;            // _font: a face name
    std::optional<bool> bold;                   // _bold: 0 or 1
    std::optional<bool> italic;                 // _italic: 0 or 1
    std::optional<ColourValue> outlineColour;   // _outline: #RRGGBB WIDTH (0 to 8)
    std::optional<int> outlineWidth;
    std::optional<int> fitWidth; // _fit: tile pixels, 0 (off) to 32767
    // _box: WxH tile pixels the text wraps in, its anchor the slot's position; not part of
    // the style (a position data file has no boxes).
    std::optional<PixelSize> box;

    // The slot's style with the row's values in it.
    void applyTo(TextStyle& style) const;
    bool operator==(const SlotLook&) const = default;
};

// A picture a row draws under its text.
struct RowPicture {
    std::string source; // imageN: a file, relative to the table's folder, or "#T"
    int tile = 0;       // T for "#T", else 0
    int x = 0;          // imageN_at: the top-left point on the tile (default 0,0)
    int y = 0;
    std::optional<PixelSize> size; // imageN_size: the box it is scaled into; else its own
    bool operator==(const RowPicture&) const = default;
};

struct LetteringRow {
    static constexpr std::size_t kSlots = 9;

    int line = 0;          // where the row starts in the table (the header is line 1)
    std::int64_t base = 0; // tile number, at least 1; check() compares it with a library
    int copies = 1;
    // Slot k's text (UTF-8, markup checked); empty when the table has no column for slot
    // k, so the slot keeps its own text.
    std::array<std::optional<std::string>, kSlots> texts;
    // Slot k's look from the row's own columns: one for each slot when the table has such
    // columns, none when it has not (so a long table of texts takes no room for them).
    std::vector<SlotLook> looks;
    // Picture N-1 of the row, by N: as many as the table has image columns for (none
    // without), empty where the row's cell is.
    std::vector<std::optional<RowPicture>> pictures;
    // Slot k's box, if the row gives it one.
    std::optional<PixelSize> box(std::size_t k) const {
        return k < looks.size() ? looks[k].box : std::nullopt;
    }
    // Slot k's style with the row's look in it.
    void applyLook(std::size_t k, TextStyle& style) const {
        if (k < looks.size())
            looks[k].applyTo(style);
    }

    bool operator==(const LetteringRow&) const = default;
};

class LetteringTable {
public:
    // A slot text's length, in characters, at most.
    static constexpr std::size_t kMaxTextCharacters = 4096;
    // Larger tables are refused before they are read.
    static constexpr std::uint64_t kMaxBytes = std::uint64_t(256) << 20;

    // Reads the table at `path`: tab-separated when the name ends in ".tsv" (any case),
    // otherwise CSV; UTF-8 with or without a byte-order mark (a UTF-16 table is refused as
    // such). Messages name the table as `path` is written. Throws FileError when the file
    // cannot be read, TableError when its content is wrong. Keeps every row: a reader of
    // long tables uses forEachRow().
    static LetteringTable read(const std::filesystem::path& path);

    // Reads the table at `path` as read() does, handing each row to `each` as soon as it
    // is read: memory holds one row, whatever the length of the table. Throws as read();
    // the rows before a bad one have been handed over by then.
    static void forEachRow(const std::filesystem::path& path,
                           const std::function<void(const LetteringRow&)>& each);

    // The table held in `text`, fields separated by `separator`, named `name` in messages.
    static LetteringTable parse(std::string_view text, char separator, const std::string& name);

    const std::string& name() const { return name_; }
    const std::vector<LetteringRow>& rows() const { return rows_; }

    // Checks the rows against a library of `tileCount` tiles named `libraryName`: every
    // base is one of its tiles, and the new tiles after `keptTiles` others stay within
    // the 32767 a library holds. Returns the number of tiles the rows make. Throws
    // TableError for the first row that fails.
    int check(int tileCount, const std::string& libraryName, int keptTiles) const;

private:
    std::string name_;
    std::vector<LetteringRow> rows_;
};

// LetteringTable::check() one row at a time, for a table read as a stream.
class TableCheck {
public:
    TableCheck(std::string tableName, int tileCount, std::string libraryName, int keptTiles);
    // Throws TableError when `row` fails, as check() does.
    void add(const LetteringRow& row);
    // The tiles the rows so far make.
    int made() const { return int(total_ - kept_); }

private:
    std::string tableName_;
    int tileCount_;
    std::string libraryName_;
    std::int64_t total_;
    std::int64_t kept_;
};

} // namespace qrb
