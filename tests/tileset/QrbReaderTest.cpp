#include "tileset/QrbReader.h"
#include "support/QrbFixture.h"
#include "tileset/QrbWriter.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>

namespace qrb {
namespace {

using test::FixtureImage;
using test::QrbFixture;

constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kTeal{0, 128, 128};

std::uint32_t u32At(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | std::uint32_t(b[at + 3]) << 24;
}

TEST(QrbReader, WorkedLayoutsHaveTheDocumentedSizesAndWriteBackUnchanged) {
    QrbFixture lib;
    lib.addTile(0x00336699, FixtureImage::of(test::pattern(2, 2, 1)),
                FixtureImage::of(test::solid(1, 1, kTeal)));
    const auto bytes = lib.bytes();
    ASSERT_EQ(bytes.size(), 122u);
    EXPECT_EQ(u32At(bytes, 14), 56u);
    EXPECT_EQ(u32At(bytes, 74), 44u);

    const TileSet set = QrbReader::read(bytes);
    ASSERT_EQ(set.count(), 1);
    EXPECT_EQ(set.tile(1).smallColour, 0x00336699u);
    EXPECT_EQ(set.tile(1).full, test::pattern(2, 2, 1));
    EXPECT_EQ(set.tile(1).half, test::solid(1, 1, kTeal));
    // Bottom row first: the first pixel bytes are the bottom-left pixel as blue, green, red.
    const Rgb bottomLeft = set.tile(1).full.pixel(0, 1);
    EXPECT_EQ(bytes[58], bottomLeft.blue);
    EXPECT_EQ(bytes[60], bottomLeft.red);
    EXPECT_EQ(QrbWriter::toBytes(set), bytes);

    QrbFixture fifty;
    fifty.addTile(0, FixtureImage::of(test::pattern(50, 50, 2)),
                  FixtureImage::of(test::pattern(25, 25, 3)));
    ASSERT_EQ(fifty.bytes().size(), 9602u);
    const TileSet big = QrbReader::read(fifty.bytes());
    EXPECT_EQ(QrbWriter::fileSize(big), 9602u);
    EXPECT_EQ(QrbWriter::toBytes(big), fifty.bytes());
}

// Every depth the reader accepts, at widths 0, 1, 2 and 3 modulo 4 (and across a byte
// boundary for the packed depths): the pixels come out right and a save writes them as
// the canonical 24-bit layout, without colour tables.
struct DepthCase {
    std::uint16_t bits;
    std::int32_t width;
};

class ReadDepth : public ::testing::TestWithParam<DepthCase> {};

TEST_P(ReadDepth, DecodesPixelsAndSavesAs24Bit) {
    const auto [bits, width] = GetParam();
    const int colours = bits == 1 ? 2 : bits == 4 ? 16 : 200;
    QrbFixture lib;
    auto full = FixtureImage::of(test::fewColours(width, 5, colours, 1), bits);
    auto half = FixtureImage::of(test::fewColours(width, 3, colours, 2), bits);
    full.padByte = 0xAB; // pad bytes and unused table entries are junk, not zeros
    half.padByte = 0xCD;
    lib.addTile(0x000000FF, full, half);

    const TileSet set = QrbReader::read(lib.bytes());
    ASSERT_EQ(set.count(), 1);
    EXPECT_EQ(set.tile(1).full, full.expected());
    EXPECT_EQ(set.tile(1).half, half.expected());
    EXPECT_EQ(set.headerRecords.at(1).fullHeader.bitCount, bits);

    // The header scan sees the same headers and knows the decoded size without decoding.
    const LibraryHeaders headers = QrbReader::scan(lib.bytes());
    EXPECT_EQ(headers.records, set.headerRecords);
    EXPECT_EQ(headers.decodedBytes,
              set.tile(1).full.bytes().size() + set.tile(1).half.bytes().size());

    QrbFixture canonical;
    canonical.addTile(0x000000FF, FixtureImage::of(full.expected()),
                      FixtureImage::of(half.expected()));
    EXPECT_EQ(QrbWriter::toBytes(set), canonical.bytes());
}

std::vector<DepthCase> depthCases() {
    std::vector<DepthCase> cases;
    for (std::uint16_t bits : {1, 4, 8, 16, 24, 32}) {
        for (std::int32_t width : {1, 2, 3, 4, 9, 30}) {
            cases.push_back({bits, width});
        }
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(AllDepths, ReadDepth, ::testing::ValuesIn(depthCases()),
                         [](const auto& testCase) {
                             return std::to_string(testCase.param.bits) + "bit_width" +
                                    std::to_string(testCase.param.width);
                         });

TEST(QrbReader, KeepsButNeverChecksSignatureVersionAndHeaderFields) {
    QrbFixture lib;
    lib.signature = {'X', 0, 0xFF, '!'};
    lib.version = -7;
    auto full = FixtureImage::of(test::solid(3, 3, kRed));
    full.blockLength = -1; // block lengths are never used
    full.xPelsPerMeter = 2835;
    full.sizeImage = 12345;
    lib.addTile(1, full, FixtureImage::of(test::solid(1, 1, kRed)));
    lib.trailing = {1, 2, 3, 4, 5}; // never read

    const TileSet set = QrbReader::read(lib.bytes());
    EXPECT_EQ(set.signature, (std::array<std::uint8_t, 4>{'X', 0, 0xFF, '!'}));
    EXPECT_EQ(set.version, -7);
    ASSERT_EQ(set.headerRecords.size(), 2u);
    EXPECT_EQ(set.headerRecords[1].fullBlockLength, -1);
    EXPECT_EQ(set.headerRecords[1].fullHeader.xPelsPerMeter, 2835);
    EXPECT_EQ(set.headerRecords[1].fullHeader.sizeImage, 12345u);
    EXPECT_EQ(set.tile(1).full, test::solid(3, 3, kRed));

    // A save writes the constant signature and version and nothing after the last tile.
    lib.signature = {'Q', 'R', 'B', 'B'};
    lib.version = 256;
    lib.trailing.clear();
    lib.tiles[0].full = FixtureImage::of(test::solid(3, 3, kRed));
    EXPECT_EQ(QrbWriter::toBytes(set), lib.bytes());
}

TEST(QrbReader, CountZeroGivesAnEmptySet) {
    QrbFixture lib;
    lib.trailing = {9, 9, 9};
    std::vector<std::pair<int, int>> reports;
    const TileSet set = QrbReader::read(
        lib.bytes(), [&](int done, int total) { reports.emplace_back(done, total); });
    EXPECT_TRUE(set.isEmpty());
    EXPECT_EQ(reports, (std::vector<std::pair<int, int>>{{0, 0}}));
}

// Damaged libraries: each must be refused with the tile and byte offset of the item at
// fault. The base library has two tiles: tile 1 is 24-bit 2 x 2 / 1 x 1 (so its items lie
// at the documented offsets), tile 2 has 8-bit images 5 x 4 / 3 x 2.
struct Damage {
    const char* name;
    std::function<void(QrbFixture&)> edit; // on the fixture
    std::function<std::vector<std::uint8_t>(std::vector<std::uint8_t>, const test::FixtureLayout&)>
        cut; // on its bytes
    int tile;
    std::function<std::size_t(const test::FixtureLayout&)> offset;
    const char* problem;
};

QrbFixture damageBase() {
    QrbFixture lib;
    lib.addTile(0x00112233, FixtureImage::of(test::pattern(2, 2, 1)),
                FixtureImage::of(test::pattern(1, 1, 2)));
    lib.addTile(0x00445566, FixtureImage::of(test::fewColours(5, 4, 7), 8),
                FixtureImage::of(test::fewColours(3, 2, 7), 8));
    return lib;
}

auto truncateAt(std::function<std::size_t(const test::FixtureLayout&)> where) {
    return [where](std::vector<std::uint8_t> bytes, const test::FixtureLayout& layout) {
        bytes.resize(where(layout));
        return bytes;
    };
}

auto at(std::size_t offset) {
    return [offset](const test::FixtureLayout&) { return offset; };
}

using L = const test::FixtureLayout&;

std::vector<Damage> damages() {
    auto none = [](QrbFixture&) {};
    auto whole = [](std::vector<std::uint8_t> b, L) { return b; };
    return {
        {"Empty", none, truncateAt(at(0)), 0, at(0), "ends inside the signature"},
        {"CutInVersion", none, truncateAt(at(5)), 0, at(4), "ends inside the version"},
        {"CutInCount", none, truncateAt(at(9)), 0, at(6), "ends inside the tile count"},
        {"NegativeCount", [](QrbFixture& f) { f.count = -1; }, whole, 0, at(6), "negative"},
        {"CountAboveLimit", [](QrbFixture& f) { f.count = 32768; }, whole, 0, at(6),
         "above the limit"},
        {"CountBeyondTiles", [](QrbFixture& f) { f.count = 3; }, whole, 3,
         [](L l) { return l.end; }, "ends inside the small colour"},
        {"CutInSmallColour", none, truncateAt(at(12)), 1, at(10), "small colour"},
        {"CutInFullBlockLength", none, truncateAt(at(16)), 1, at(14), "full image block length"},
        {"CutInFullHeader", none, truncateAt(at(57)), 1, at(18), "full image header"},
        {"CutInFullPixels", none, truncateAt(at(73)), 1, at(58), "full image's pixel rows"},
        {"CutInHalfBlockLength", none, truncateAt(at(75)), 1, at(74), "half image block length"},
        {"CutInHalfHeader", none, truncateAt(at(80)), 1, at(78), "half image header"},
        {"CutInHalfPixels", none, truncateAt(at(121)), 1, at(118), "half image's pixel rows"},
        {"CutInColourTable", none, truncateAt([](L l) { return l.tiles[1].full.table + 1000; }), 2,
         [](L l) { return l.tiles[1].full.table; }, "full image colour table"},
        {"CutInIndexRows", none, truncateAt([](L l) { return l.tiles[1].half.end - 1; }), 2,
         [](L l) { return l.tiles[1].half.pixels; }, "half image's pixel rows"},
        {"ZeroWidth", [](QrbFixture& f) { f.tiles[0].full.width = 0; }, whole, 1, at(22),
         "width 0"},
        {"NegativeWidth", [](QrbFixture& f) { f.tiles[1].half.width = -5; }, whole, 2,
         [](L l) { return l.tiles[1].half.header + 4; }, "width -5"},
        {"WidthAboveLimit", [](QrbFixture& f) { f.tiles[0].half.width = 16385; }, whole, 1, at(82),
         "width 16385"},
        {"WidthOverflowingStride", [](QrbFixture& f) { f.tiles[0].full.width = 0x7FFFFFFF; }, whole,
         1, at(22), "width 2147483647"},
        {"ZeroHeight", [](QrbFixture& f) { f.tiles[0].full.height = 0; }, whole, 1, at(26),
         "height 0"},
        {"TopDownHeight", [](QrbFixture& f) { f.tiles[0].full.height = -2; }, whole, 1, at(26),
         "height -2"},
        {"HugeHeight", [](QrbFixture& f) { f.tiles[1].full.height = 0x40000000; }, whole, 2,
         [](L l) { return l.tiles[1].full.header + 8; }, "height 1073741824"},
        {"LargestSizeInSmallFile",
         [](QrbFixture& f) {
             f.tiles[0].full.width = 16384;
             f.tiles[0].full.height = 16384;
         },
         whole, 1, at(58), "full image's pixel rows (805306368 bytes needed"},
        {"TwoBitImage", [](QrbFixture& f) { f.tiles[1].full.storedBits = 2; }, whole, 2,
         [](L l) { return l.tiles[1].full.header + 14; }, "2 bits per pixel"},
        {"ZeroBitImage", [](QrbFixture& f) { f.tiles[0].half.storedBits = 0; }, whole, 1, at(92),
         "0 bits per pixel"},
        {"CompressedImage", [](QrbFixture& f) { f.tiles[0].full.compression = 1; }, whole, 1,
         at(34), "compressed"},
    };
}

class DamagedLibrary : public ::testing::TestWithParam<Damage> {};

TEST_P(DamagedLibrary, IsRefusedWithTileAndOffset) {
    const Damage& d = GetParam();
    QrbFixture lib = damageBase();
    d.edit(lib);
    const auto layout = lib.layout();
    const auto bytes = d.cut(lib.bytes(), layout);
    // Reading, reading under a budget that makes it look at every header first, and the
    // header scan of check and info all refuse it the same way.
    const std::vector<std::pair<const char*, std::function<void()>>> readers{
        {"read", [&] { QrbReader::read(bytes); }},
        {"read with budget", [&] { QrbReader::read(bytes, {}, 1); }},
        {"scan", [&] { QrbReader::scan(bytes); }},
    };
    for (const auto& [name, readOnce] : readers) {
        try {
            readOnce();
            ADD_FAILURE() << name << " accepted";
        } catch (const QrbFormatError& e) {
            EXPECT_EQ(e.tile(), d.tile) << name;
            EXPECT_EQ(e.offset(), d.offset(layout)) << name;
            EXPECT_NE(e.problem().find(d.problem), std::string::npos)
                << name << ": " << e.problem();
            const std::string place =
                d.tile == 0 ? "file header" : "tile " + std::to_string(d.tile);
            EXPECT_EQ(std::string(e.what()).rfind(place + ", byte ", 0), 0u) << e.what();
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Table, DamagedLibrary, ::testing::ValuesIn(damages()),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

// A library whose decoded images exceed the budget is refused, naming need and budget;
// one that fits exactly is read.
TEST(QrbReader, RefusesALibraryOverItsMemoryBudget) {
    QrbFixture lib;
    lib.addTile(0, FixtureImage::of(test::fewColours(64, 40, 2), 1),
                FixtureImage::of(test::fewColours(32, 20, 2), 1));
    lib.addTile(0, FixtureImage::of(test::fewColours(33, 17, 16), 4),
                FixtureImage::of(test::fewColours(5, 3, 200), 8));
    const std::uint64_t need = (192 * 40 + 96 * 20) + (100 * 17 + 16 * 3);
    try {
        QrbReader::read(lib.bytes(), {}, need - 1);
        FAIL() << "read";
    } catch (const LibraryTooLarge& e) {
        EXPECT_EQ(e.needed(), need);
        EXPECT_EQ(e.budget(), need - 1);
        EXPECT_STREQ(e.what(), "its images need 11.1 KiB (11348 bytes) of memory once read, more "
                               "than the limit of 11.1 KiB (11347 bytes)");
    }
    EXPECT_EQ(QrbReader::read(lib.bytes(), {}, need).count(), 2);
}

TEST(QrbReader, NeverReadsBeyondTheGivenSize) {
    QrbFixture lib;
    lib.addSolidTile(5, 4, 4, kRed);
    auto bytes = lib.bytes();
    const std::size_t size = bytes.size();
    bytes.resize(size + 100, 0xEE);
    std::string text(bytes.begin(), bytes.end());
    std::istringstream in(text);
    const TileSet set = QrbReader::read(in, size);
    EXPECT_EQ(set.count(), 1);
    EXPECT_EQ(in.tellg(), std::streampos(size));
    // A promised size beyond the stream's end is a failure, not a silently short read.
    std::istringstream shortIn(text.substr(0, 60));
    EXPECT_THROW(QrbReader::read(shortIn, size), std::runtime_error);
}

// The pixels are read with the sizes the first pass checked: a header that says something
// else by then (here a 4 x 4 tile become 8 x 2, the same number of bytes) is refused, by
// read() and by readEach() alike, rather than read with either size.
TEST(QrbReader, HeadersThatChangeBetweenThePassesAreRefused) {
    QrbFixture before;
    before.addSolidTile(5, 4, 4, kRed);
    before.addTile(6, FixtureImage::of(test::pattern(4, 4, 1)),
                   FixtureImage::of(test::pattern(2, 2, 2)));
    QrbFixture after;
    after.addSolidTile(5, 4, 4, kRed);
    after.addTile(6, FixtureImage::of(test::pattern(8, 2, 1)),
                  FixtureImage::of(test::pattern(2, 2, 2)));
    const auto bytesBefore = before.bytes();
    const auto bytesAfter = after.bytes();
    ASSERT_EQ(bytesBefore.size(), bytesAfter.size());

    const std::vector<std::function<void(std::istream&, std::uint64_t)>> readers{
        [](std::istream& in, std::uint64_t size) { QrbReader::read(in, size); },
        [](std::istream& in, std::uint64_t size) {
            QrbReader::readEach(
                in, size, [](int) {}, [](Tile&&) {});
        }};
    for (const auto& read : readers) {
        std::istringstream in(std::string(bytesBefore.begin(), bytesBefore.end()));
        QrbReader::passBoundaryForTesting() = [&] {
            in.str(std::string(bytesAfter.begin(), bytesAfter.end()));
        };
        try {
            read(in, bytesBefore.size());
            ADD_FAILURE() << "read a library whose headers changed";
        } catch (const LibraryChanged& e) {
            EXPECT_STREQ(e.what(), "the library changed while it was read");
        }
        QrbReader::passBoundaryForTesting() = {};
    }
}

} // namespace
} // namespace qrb
