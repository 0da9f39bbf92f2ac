#include "text/PositionDataFile.h"
#include "core/FileError.h"
#include "support/TempDir.h"
#include "text/Windows1252.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>

namespace qrb {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Field records of one slot, as laid out on disk.
enum { Text, Face, Size, Bold, Italic, TextColour, BoxColour, Strike, Underline, Pos, Angle };

std::size_t at(std::size_t slot, std::size_t field) {
    return 1408 * slot + 128 * field;
}

// Independent little writer for expected file images.
struct Image {
    Bytes bytes = Bytes(12672, 0);
    void str(std::size_t off, const std::string& cp1252) {
        bytes[off] = std::uint8_t(cp1252.size());
        bytes[off + 1] = std::uint8_t(cp1252.size() >> 8);
        std::memcpy(bytes.data() + off + 2, cp1252.data(), cp1252.size());
    }
    void u32(std::size_t off, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            bytes[off + i] = std::uint8_t(v >> (8 * i));
        }
    }
    void u16(std::size_t off, std::uint16_t v) {
        bytes[off] = std::uint8_t(v);
        bytes[off + 1] = std::uint8_t(v >> 8);
    }
};

TEST(PositionDataFile, ClearedSlotsGiveTheExactFile) {
    PositionSlots slots;
    slots.clear();
    Image expected;
    for (std::size_t k = 0; k < 9; ++k) {
        expected.str(at(k, Face), "Arial");
        expected.u32(at(k, Size), 0x41000000); // 8.0f
        expected.u32(at(k, BoxColour), 0x00FFFFFF);
        const std::string p = std::to_string(5 * k);
        expected.str(at(k, Pos), p + "," + p);
        expected.str(at(k, Angle), "0");
    }
    EXPECT_EQ(PositionDataFile::encode(slots), expected.bytes);
}

TEST(PositionDataFile, FullSlotsGiveTheExactFile) {
    PositionSlots slots;
    Image expected;
    for (std::size_t k = 0; k < 9; ++k) {
        PositionSlot& s = slots[k];
        s.text = std::string(125, char('a' + k)) + "\xC3\xA9"; // 126 bytes once converted
        s.style = {std::string(126, 'F'), 20.5f, true, false, true, false, 0x80000008, 0x808080};
        s.position = std::string(126, '1');
        s.angle = std::string(126, '9');
        expected.str(at(k, Text), std::string(125, char('a' + k)) + "\xE9");
        expected.str(at(k, Face), std::string(126, 'F'));
        expected.u32(at(k, Size), 0x41A40000); // 20.5f
        expected.u16(at(k, Bold), 0xFFFF);
        expected.u32(at(k, TextColour), 0x80000008);
        expected.u32(at(k, BoxColour), 0x808080);
        expected.u16(at(k, Underline), 0xFFFF);
        expected.str(at(k, Pos), std::string(126, '1'));
        expected.str(at(k, Angle), std::string(126, '9'));
    }
    EXPECT_EQ(PositionDataFile::encode(slots), expected.bytes);
}

TEST(PositionDataFile, RoundTripKeepsEverySlotAndDescribesIt) {
    PositionSlots slots;
    slots[0].text = "Café";
    slots[0].position = "-5,120";
    slots[0].angle = "045";
    slots[0].style.size = 8.5f;
    slots[3].text = "€ 5 – „Zürich“ Œuvre™";
    slots[3].style = {"Times New Roman", 18, false, true, false, true, 0x0000FF, 0xFFFFFF};
    slots[3].angle = "0";
    slots[3].position = "40,40";
    const PositionSlots back = PositionDataFile::decode(PositionDataFile::encode(slots));
    for (std::size_t k = 0; k < 9; ++k) {
        PositionSlot expected = slots[k];
        expected.description = PositionSlots::describe(expected.style, expected.angle);
        EXPECT_EQ(back[k], expected) << "slot " << k;
    }
    EXPECT_EQ(back[0].description, "Font = Arial, Size = 8.5, Degrees = 045");
    EXPECT_EQ(back[3].description, "Font = Times New Roman, Size = 18, Degrees = 000");
}

TEST(PositionDataFile, TextsAreWindows1252) {
    EXPECT_EQ(utf8ToWindows1252("Café"), "Caf\xE9");
    EXPECT_EQ(utf8ToWindows1252("€‚ƒŸ"), "\x80\x82\x83\x9F");
    EXPECT_EQ(windows1252ToUtf8("\x80\x9C\xFF"), "€œÿ");
    for (const char* bad : {"\x81", "\x8D", "\x8F", "\x90", "\x9D"}) {
        EXPECT_FALSE(windows1252ToUtf8(bad)) << int(std::uint8_t(bad[0]));
    }
    for (const char* bad : {"中", "\xC2\x81", "\xC3", "\xC0\xAF", "\xED\xA0\x80"}) {
        EXPECT_FALSE(utf8ToWindows1252(bad)) << bad;
    }
}

// Any non-zero boolean is true; bytes past the end and a missing last filler are fine.
TEST(PositionDataFile, ReaderToleratesWhatOtherWritersLeave) {
    PositionSlots slots;
    slots[8].text = "last";
    slots[8].angle = "090";
    Bytes bytes = PositionDataFile::encode(slots);
    bytes[at(8, Bold)] = 0x01;
    bytes[at(8, Italic) + 1] = 0x80;
    bytes[at(8, Underline)] = 0xFF; // 0x00FF
    const PositionSlots back = PositionDataFile::decode(bytes);
    EXPECT_TRUE(back[8].style.bold && back[8].style.italic && back[8].style.underline);
    EXPECT_FALSE(back[8].style.strikethrough);
    Bytes longer = bytes;
    longer.resize(20000, 0xAB);
    EXPECT_EQ(PositionDataFile::decode(longer)[8].text, "last");
    bytes.resize(at(8, Angle) + 2 + 3); // ends right after the angle text
    EXPECT_EQ(PositionDataFile::decode(bytes)[8].angle, "090");
}

TEST(PositionDataFile, FilesRoundTripAndSaveRefusesWhatTheFileCannotHold) {
    const test::TempDir dir;
    const auto path = dir / "labels.qpf";
    PositionSlots good;
    good[3].text = "Café";
    PositionDataFile::write(path, good);
    const Bytes written = test::readFile(path);
    EXPECT_EQ(PositionDataFile::read(path)[3].text, "Café");

    std::pair<PositionSlots, int> refused[3];
    refused[0].first[4].position = std::string(127, '1');
    refused[0].second = 4;
    refused[1].first[6].text = "東京";
    refused[1].second = 6;
    refused[2].first[6].style.size = 0;
    refused[2].second = 6;
    for (const auto& [slots, slot] : refused) {
        try {
            PositionDataFile::write(path, slots);
            ADD_FAILURE() << "saved";
        } catch (const PositionDataError& e) {
            EXPECT_EQ(e.slot(), slot);
            EXPECT_NE(std::string(e.what()).find("slot " + std::to_string(slot + 1)),
                      std::string::npos)
                << e.what();
        }
    }
    EXPECT_EQ(test::readFile(path), written); // nothing written
    EXPECT_EQ(dir.entries(), 1u);

    EXPECT_THROW(PositionDataFile::read(dir / "missing.qpf"), FileError);
    std::filesystem::resize_file(path, 100);
    try {
        PositionDataFile::read(path);
        ADD_FAILURE();
    } catch (const PositionDataError& e) {
        EXPECT_EQ(std::string(e.what()).rfind(path.string(), 0), 0u) << e.what();
    }
}

// An empty slot's style is never drawn: whatever another program left there reads as the
// initial style. The same bytes in a slot with a text are refused, naming the slot.
TEST(PositionDataFile, AnEmptySlotsStyleIsIgnored) {
    PositionSlots slots;
    slots[3].text = "used";
    const Bytes good = PositionDataFile::encode(slots);
    const std::uint32_t sizes[] = {0, std::bit_cast<std::uint32_t>(1001.0f), 0xFFC00000u};
    for (const std::uint32_t size : sizes) {
        SCOPED_TRACE(size);
        for (const int slot : {0, 3}) {
            Bytes bytes = good;
            for (int i = 0; i < 4; ++i)
                bytes[at(slot, Size) + std::size_t(i)] = std::uint8_t(size >> (8 * i));
            bytes[at(slot, Face)] = 127; // a face name longer than a record
            if (slot == 0) {
                EXPECT_EQ(PositionDataFile::decode(bytes)[0].style, PositionSlots()[0].style);
            } else {
                try {
                    PositionDataFile::decode(bytes);
                    ADD_FAILURE() << "accepted";
                } catch (const PositionDataError& e) {
                    EXPECT_EQ(e.slot(), 3);
                    EXPECT_NE(std::string(e.what()).find("slot 4"), std::string::npos) << e.what();
                }
            }
        }
    }
}

struct Damage {
    const char* name;
    void (*apply)(Bytes&);
    int slot;
    std::size_t offset;
};

const Damage kDamages[] = {
    {"short", [](Bytes& b) { b.resize(at(5, Pos) + 3); }, 5, at(5, Pos)},
    {"length127", [](Bytes& b) { b[at(1, Face)] = 127; }, 1, at(1, Face)},
    {"undefinedByte",
     [](Bytes& b) {
         b[at(7, Text)] = 2;
         b[at(7, Text) + 3] = 0x81;
     },
     7, at(7, Text) + 3},
    {"sizeNotANumber", [](Bytes& b) { b[at(1, Size) + 3] = 0xFF, b[at(1, Size) + 2] = 0xC0; }, 1,
     at(1, Size)},
    {"empty", [](Bytes& b) { b.clear(); }, 0, 0},
};

class DamagedFile : public ::testing::TestWithParam<Damage> {};

TEST_P(DamagedFile, IsRefusedNamingSlotAndOffset) {
    PositionSlots slots;
    slots[1].text = "keep";
    Bytes bytes = PositionDataFile::encode(slots);
    GetParam().apply(bytes);
    try {
        PositionDataFile::decode(bytes);
        ADD_FAILURE() << "accepted";
    } catch (const PositionDataError& e) {
        EXPECT_EQ(e.slot(), GetParam().slot);
        EXPECT_EQ(e.offset(), GetParam().offset) << e.what();
        EXPECT_NE(std::string(e.what()).find("slot " + std::to_string(GetParam().slot + 1)),
                  std::string::npos);
        EXPECT_NE(std::string(e.what()).find(std::to_string(e.offset())), std::string::npos)
            << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(PositionDataFile, DamagedFile, ::testing::ValuesIn(kDamages),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

// A slot's text layout sits in its size record's filler behind the marker: written only
// when not the default, read back exactly, refused naming the slot when damaged.
TEST(PositionDataFile, TheTextLayoutTravelsInTheFillerBehindTheMarker) {
    PositionSlots slots;
    slots[2].text = "Harbour";
    slots[4].text = "Plain";
    const Bytes today = PositionDataFile::encode(slots);
    TextLayout& layout = slots[2].style.layout;
    layout.horizontal = HorizontalAnchor::Centre;
    layout.vertical = VerticalAnchor::Bottom;
    layout.fitWidth = 300;
    layout.outlineColour = rgbColour(0x12, 0x34, 0x56);
    layout.outlineWidth = 8;
    layout.shadowColour = palette::DarkGrey;
    layout.shadowDx = -3;
    layout.shadowDy = 64;
    const Bytes bytes = PositionDataFile::encode(slots);
    ASSERT_EQ(bytes.size(), 12672u);

    const std::size_t block = at(2, Size) + 16;
    const std::uint8_t expected[26] = {'Q',  'R',  'B',  'L',  'A',  'Y',  'T',  ':',  1,
                                       1,    2,    8,    0x2C, 0x01, 0x12, 0x34, 0x56, 0,
                                       0x80, 0x80, 0x80, 0,    0xFD, 64,   0,    0};
    for (std::size_t i = 0; i < 24; ++i)
        EXPECT_EQ(bytes[block + i], expected[i]) << "byte " << i;
    unsigned sum = 0;
    for (std::size_t i = 0; i < 24; ++i)
        sum += expected[i];
    EXPECT_EQ(bytes[block + 24] | (bytes[block + 25] << 8), int(sum & 0xFFFF));
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i < block || i >= block + 26) {
            ASSERT_EQ(bytes[i], today[i]) << "byte " << i << " is not today's";
        }
    }
    const PositionSlots back = PositionDataFile::decode(bytes);
    EXPECT_EQ(back[2].style.layout, layout);
    EXPECT_TRUE(back[4].style.layout.isDefault());

    // Filler that is not the marker reads as before.
    Bytes other = today;
    std::fill_n(other.begin() + std::ptrdiff_t(block), 26, std::uint8_t(0xEE));
    std::memcpy(other.data() + block, "QRBLAYT?", 8);
    EXPECT_TRUE(PositionDataFile::decode(other)[2].style.layout.isDefault());

    // The marker followed by anything it cannot be.
    const struct {
        std::size_t byte;
        std::uint8_t value;
        bool fixCheck;
        std::size_t reported;
    } damages[] = {{8, 2, true, 8},      {24, 0x55, false, 24}, {9, 3, true, 9},
                   {10, 7, true, 10},    {11, 9, true, 11},     {13, 0x80, true, 12},
                   {17, 0x80, true, 14}, {22, 65, true, 22}};
    for (const auto& d : damages) {
        Bytes damaged = bytes;
        damaged[block + d.byte] = d.value;
        if (d.fixCheck) {
            unsigned check = 0;
            for (std::size_t i = 0; i < 24; ++i)
                check += damaged[block + i];
            damaged[block + 24] = std::uint8_t(check);
            damaged[block + 25] = std::uint8_t(check >> 8);
        }
        try {
            PositionDataFile::decode(damaged);
            ADD_FAILURE() << "byte " << d.byte << " accepted";
        } catch (const PositionDataError& e) {
            EXPECT_EQ(e.slot(), 2);
            EXPECT_EQ(e.offset(), block + d.reported) << e.what();
            EXPECT_TRUE(std::string(e.what()).starts_with("slot 3, text layout: ")) << e.what();
        }
        // An empty slot's style is not used, its layout neither.
        damaged[at(2, Text)] = 0;
        EXPECT_TRUE(PositionDataFile::decode(damaged)[2].style.layout.isDefault());
    }

    layout.outlineWidth = 9;
    EXPECT_THROW(PositionDataFile::encode(slots), PositionDataError);
}

// A slot with a text is refused, named, when its position or angle is not a number; an
// empty slot's are not used and read as at start-up.
TEST(PositionDataFile, SlotsWhosePositionOrAngleIsNotANumberAreRefused) {
    const std::pair<const char*, const char*> refused[] = {
        {"abc", "0"},     {"1e9,1e9", "0"}, {"1.5,2", "0"},    {"5", "0"},
        {"1,2,3", "0"},   {"32768,0", "0"}, {"0,0", "abc"},    {"0,0", "NaN"},
        {"0,0", "1e309"}, {"0,0", "40000"}, {"0,0", "45 deg"},
    };
    for (const auto& [position, angle] : refused) {
        PositionSlots slots;
        slots[4].text = "Harbour";
        slots[4].position = position;
        slots[4].angle = angle;
        try {
            PositionDataFile::decode(PositionDataFile::encode(slots));
            ADD_FAILURE() << position << " " << angle << " accepted";
        } catch (const PositionDataError& e) {
            EXPECT_EQ(e.slot(), 4);
            EXPECT_NE(std::string(e.what()).find("slot 5"), std::string::npos) << e.what();
        }
        // The same values in an empty slot are ignored.
        slots[4].text.clear();
        const PositionSlots back = PositionDataFile::decode(PositionDataFile::encode(slots));
        EXPECT_EQ(back[4].position, "20,20");
        EXPECT_EQ(back[4].angle, "");
    }
    PositionSlots typed;
    typed[1].text = "ok";
    typed[1].position = " -5 , +120 ";
    typed[1].angle = " 1e2 ";
    typed[2].text = "start-up angle";
    const PositionSlots back = PositionDataFile::decode(PositionDataFile::encode(typed));
    EXPECT_EQ(back[1].position, " -5 , +120 ");
    EXPECT_EQ(back[1].angle, " 1e2 ");
    EXPECT_EQ(back[2].angle, "");
}

TEST(PositionDataFile, ExtensionIsAddedUnlessPresentInAnyCase) {
    EXPECT_EQ(PositionDataFile::withExtension("labels"), "labels.qpf");
    EXPECT_EQ(PositionDataFile::withExtension("labels.QPF"), "labels.QPF");
    EXPECT_EQ(PositionDataFile::withExtension("labels.qp"), "labels.qp.qpf");
    EXPECT_EQ(PositionDataFile::withExtension("qpf"), "qpf.qpf");
}

} // namespace
} // namespace qrb
