#pragma once
// What the rows of a lettering run draw besides their slots, read once for the whole run
// and only read afterwards, so that lettering a row stays a function of the row: the
// icons their texts name, their pictures (each file decoded once, scaled once for each
// box it is drawn into) and their base tiles as pictures to draw on.
//
// A run notes every row first (note()), then reads what they use (prepare()); each error
// names the first row and column that use what is wrong.

#include "lettering/LetteringTable.h"
#include "tileset/TileSet.h"

#include <QImage>

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>

namespace qrb {

class LetteringArt {
public:
    // Icons are looked for as NAME.png, NAME.svg, NAME.jpg in `iconFolder`; picture files
    // are relative to `tableFolder` unless absolute. `tableName` names the table in errors.
    LetteringArt(std::string tableName, std::filesystem::path tableFolder,
                 std::optional<std::filesystem::path> iconFolder = std::nullopt);

    // The art of every row of `table` noted and prepared from `tiles`.
    static LetteringArt forTable(const LetteringTable& table, const TileSet& tiles,
                                 std::optional<std::filesystem::path> iconFolder,
                                 std::uint64_t memory);

    // Notes what `row` draws (call before prepare()).
    void note(const LetteringRow& row);
    // Reads every icon and picture noted and turns the bases noted into pictures (those
    // only while they fit `memory` with the rest; a base that does not is converted by
    // each row). Throws TableError for an icon that is not there, a picture that cannot
    // be read, a tile "#T" beyond `tiles`, or art larger than `memory`.
    void prepare(const TileSet& tiles, std::uint64_t memory);

    const std::string& tableName() const { return tableName_; }
    // The icon `name` (premultiplied ARGB), once prepared; null for one not noted.
    const QImage* icon(const std::string& name) const;
    // `picture` scaled into its box, ready to draw; null for one not noted.
    const QImage* picture(const RowPicture& picture) const;
    // Tile `tile`'s full image as a picture to draw on, when it is kept.
    const QImage* base(int tile) const;
    // How many picture and icon files were decoded.
    int filesDecoded() const { return decoded_; }
    // Memory the prepared art holds, in bytes.
    std::uint64_t bytes() const { return bytes_; }

    // How large a vector icon is drawn before it is scaled to a line.
    static constexpr int kIconHeight = 128;

private:
    // The first cell that uses a piece of art.
    struct Use {
        int line = 0;
        std::string column;
    };
    // A picture at one size: its source and the box it is scaled into.
    struct Key {
        std::string source;
        int tile = 0;
        std::optional<PixelSize> size;
        bool operator<(const Key& other) const;
    };
    static Key keyOf(const RowPicture& picture);
    [[noreturn]] void fail(const Use& use, const std::string& reason) const;
    void add(const QImage& image);

    std::string tableName_;
    std::filesystem::path tableFolder_;
    std::optional<std::filesystem::path> iconFolder_;
    std::uint64_t memory_ = 0;
    std::map<std::string, Use> iconUses_;
    std::map<Key, Use> pictureUses_;
    std::set<int> bases_;
    std::map<std::string, QImage> icons_;
    std::map<Key, QImage> pictures_;
    std::map<int, QImage> baseImages_;
    int decoded_ = 0;
    std::uint64_t bytes_ = 0;
};

} // namespace qrb
