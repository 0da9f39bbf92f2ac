#include "text/PositionDataFile.h"

#include "core/AtomicFile.h"
#include "core/FileError.h"
#include "core/InputFile.h"
#include "core/InputText.h"
#include "text/Windows1252.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace qrb {

namespace {

// The eleven field records of one slot, in file order.
enum Field : std::size_t {
    Text,
    Face,
    Size,
    Bold,
    Italic,
    TextColour,
    BoxColour,
    Strikethrough,
    Underline,
    Position,
    Angle,
};

constexpr const char* kFieldNames[PositionDataFile::kFieldsPerSlot] = {
    "text",       "face name",     "size",      "bold",     "italic", "text colour",
    "box colour", "strikethrough", "underline", "position", "angle",
};

std::size_t recordOffset(std::size_t slot, Field field) {
    return slot * PositionDataFile::kSlotSize + field * PositionDataFile::kRecordSize;
}

std::string slotPrefix(std::size_t slot, Field field) {
    // Numbered from 1, as the window shows the slots from the top.
    return "slot " + std::to_string(slot + 1) + ", " + kFieldNames[field] + ": ";
}

constexpr char kLayoutMarker[8] = {'Q', 'R', 'B', 'L', 'A', 'Y', 'T', ':'};
constexpr std::uint8_t kLayoutVersion = 1;

std::size_t layoutOffset(std::size_t slot) {
    return recordOffset(slot, Size) + PositionDataFile::kLayoutOffset;
}

std::uint16_t layoutCheck(const std::uint8_t* block) {
    unsigned sum = 0;
    for (std::size_t i = 0; i < PositionDataFile::kLayoutSize - 2; ++i)
        sum += block[i];
    return static_cast<std::uint16_t>(sum);
}

void putLayout(std::uint8_t* block, const TextLayout& layout) {
    std::memcpy(block, kLayoutMarker, sizeof kLayoutMarker);
    block[8] = kLayoutVersion;
    block[9] = static_cast<std::uint8_t>(layout.horizontal);
    block[10] = static_cast<std::uint8_t>(layout.vertical);
    block[11] = static_cast<std::uint8_t>(layout.outlineWidth);
    block[12] = static_cast<std::uint8_t>(layout.fitWidth & 0xFF);
    block[13] = static_cast<std::uint8_t>(layout.fitWidth >> 8);
    for (int i = 0; i < 4; ++i) {
        block[14 + i] = static_cast<std::uint8_t>(layout.outlineColour >> (8 * i));
        block[18 + i] = static_cast<std::uint8_t>(layout.shadowColour >> (8 * i));
    }
    block[22] = static_cast<std::uint8_t>(static_cast<std::int8_t>(layout.shadowDx));
    block[23] = static_cast<std::uint8_t>(static_cast<std::int8_t>(layout.shadowDy));
    const std::uint16_t check = layoutCheck(block);
    block[24] = static_cast<std::uint8_t>(check & 0xFF);
    block[25] = static_cast<std::uint8_t>(check >> 8);
}

// ---- writing ----

class Encoder {
public:
    explicit Encoder(std::vector<std::uint8_t>& out) : out_(out) {}

    void string(std::size_t slot, Field field, const std::string& utf8) {
        const auto bytes = utf8ToWindows1252(utf8);
        if (!bytes) {
            const std::size_t at = firstUnrepresentable(utf8).value_or(0);
            std::size_t end = at + 1;
            while (end < utf8.size() && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80) {
                ++end;
            }
            throw PositionDataError("Position slot " + std::to_string(slot + 1) + ": the " +
                                        kFieldNames[field] + " contains \"" +
                                        utf8.substr(at, end - at) +
                                        "\", which a position data file cannot hold.",
                                    int(slot));
        }
        if (bytes->size() > PositionDataFile::kMaxStringBytes) {
            throw PositionDataError("Position slot " + std::to_string(slot + 1) + ": the " +
                                        kFieldNames[field] + " is " +
                                        std::to_string(bytes->size()) +
                                        " bytes long; a position data file holds at most " +
                                        std::to_string(PositionDataFile::kMaxStringBytes) + ".",
                                    int(slot));
        }
        const std::size_t at = recordOffset(slot, field);
        put16(at, static_cast<std::uint16_t>(bytes->size()));
        std::memcpy(out_.data() + at + 2, bytes->data(), bytes->size());
    }
    void boolean(std::size_t slot, Field field, bool value) {
        put16(recordOffset(slot, field), value ? 0xFFFF : 0);
    }
    void u32(std::size_t slot, Field field, std::uint32_t value) {
        const std::size_t at = recordOffset(slot, field);
        for (int i = 0; i < 4; ++i) {
            out_[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
        }
    }

private:
    void put16(std::size_t at, std::uint16_t value) {
        out_[at] = static_cast<std::uint8_t>(value & 0xFF);
        out_[at + 1] = static_cast<std::uint8_t>(value >> 8);
    }
    std::vector<std::uint8_t>& out_;
};

// ---- reading ----

class Decoder {
public:
    explicit Decoder(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::string string(std::size_t slot, Field field) {
        const std::size_t at = recordOffset(slot, field);
        need(slot, field, at, 2);
        const std::size_t length = get16(at);
        if (length > PositionDataFile::kMaxStringBytes) {
            fail(slot, field, at,
                 "length " + std::to_string(length) + " at byte " + std::to_string(at) +
                     " is more than " + std::to_string(PositionDataFile::kMaxStringBytes));
        }
        need(slot, field, at + 2, length);
        const std::string_view raw(reinterpret_cast<const char*>(bytes_.data() + at + 2), length);
        auto utf8 = windows1252ToUtf8(raw);
        if (!utf8) {
            const auto bad = std::find_if(raw.begin(), raw.end(), [](char c) {
                const auto b = static_cast<unsigned char>(c);
                return b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
            });
            const std::size_t badAt = at + 2 + std::size_t(bad - raw.begin());
            char hex[8];
            std::snprintf(hex, sizeof hex, "0x%02X", static_cast<unsigned char>(*bad));
            fail(slot, field, badAt,
                 std::string("byte ") + hex + " at byte " + std::to_string(badAt) +
                     " is not a Windows-1252 character");
        }
        return std::move(*utf8);
    }
    bool boolean(std::size_t slot, Field field) {
        const std::size_t at = recordOffset(slot, field);
        need(slot, field, at, 2);
        return get16(at) != 0;
    }
    std::uint32_t u32(std::size_t slot, Field field) {
        const std::size_t at = recordOffset(slot, field);
        need(slot, field, at, 4);
        std::uint32_t value = 0;
        for (int i = 3; i >= 0; --i) {
            value = (value << 8) | bytes_[at + i];
        }
        return value;
    }
    float size(std::size_t slot) {
        const float value = std::bit_cast<float>(u32(slot, Size));
        if (!std::isfinite(value) || value <= 0.0f || value > PositionDataFile::kMaxFontSize) {
            const std::size_t at = recordOffset(slot, Size);
            fail(slot, Size, at,
                 "the size at byte " + std::to_string(at) + " is not a font size (" +
                     shortestDecimal(value) + ")");
        }
        return value;
    }
    // The slot's text layout behind our marker; the default without it.
    TextLayout layout(std::size_t slot) const {
        const std::size_t at = layoutOffset(slot);
        need(slot, Size, at, PositionDataFile::kLayoutSize);
        const std::uint8_t* block = bytes_.data() + at;
        if (std::memcmp(block, kLayoutMarker, sizeof kLayoutMarker) != 0)
            return TextLayout{};
        const auto damaged = [&](std::size_t byte, const std::string& what) {
            throw PositionDataError("slot " + std::to_string(slot + 1) + ", text layout: " + what +
                                        " at byte " + std::to_string(at + byte) +
                                        "; the slot's layout is damaged",
                                    int(slot), at + byte);
        };
        if (block[8] != kLayoutVersion)
            damaged(8, "version " + std::to_string(block[8]) + " is not 1");
        const std::uint16_t check = static_cast<std::uint16_t>(block[24] | (block[25] << 8));
        if (check != layoutCheck(block))
            damaged(24, "the check does not match the layout");
        TextLayout layout;
        if (block[9] > std::uint8_t(HorizontalAnchor::Right))
            damaged(9, "horizontal anchor " + std::to_string(block[9]) + " is not 0 to 2");
        if (block[10] > std::uint8_t(VerticalAnchor::Bottom))
            damaged(10, "vertical anchor " + std::to_string(block[10]) + " is not 0 to 2");
        layout.horizontal = static_cast<HorizontalAnchor>(block[9]);
        layout.vertical = static_cast<VerticalAnchor>(block[10]);
        layout.outlineWidth = block[11];
        layout.fitWidth = block[12] | (block[13] << 8);
        for (int i = 3; i >= 0; --i) {
            layout.outlineColour = (layout.outlineColour << 8) | block[14 + i];
            layout.shadowColour = (layout.shadowColour << 8) | block[18 + i];
        }
        layout.shadowDx = static_cast<std::int8_t>(block[22]);
        layout.shadowDy = static_cast<std::int8_t>(block[23]);
        if (layout.outlineWidth > TextLayout::kMaxOutlineWidth)
            damaged(11, "outline width " + std::to_string(layout.outlineWidth) + " is not 0 to " +
                            std::to_string(TextLayout::kMaxOutlineWidth));
        if (layout.fitWidth > TextLayout::kMaxFitWidth)
            damaged(12, "fit width " + std::to_string(layout.fitWidth) + " is not 0 to " +
                            std::to_string(TextLayout::kMaxFitWidth));
        if (isSystemColour(layout.outlineColour))
            damaged(14, "the outline colour is not a colour");
        if (isSystemColour(layout.shadowColour))
            damaged(18, "the shadow colour is not a colour");
        if (!layout.isValid())
            damaged(22, "the shadow offset " + std::to_string(layout.shadowDx) + "," +
                            std::to_string(layout.shadowDy) + " is more than " +
                            std::to_string(TextLayout::kMaxShadowOffset) + " pixels");
        return layout;
    }

    // A slot with a text is drawn at its position and angle, so they must be numbers; an
    // empty slot's are ignored and read as at start-up.
    void checkNumbers(std::size_t slot, PositionSlot& s) const {
        const bool position = isSlotPosition(s.position);
        const bool angle = isSlotAngle(s.angle);
        if (s.isEmpty() && (!position || !angle)) {
            const PositionSlot initial = PositionSlots()[slot];
            s.position = initial.position;
            s.angle = initial.angle;
        } else if (!position) {
            fail(slot, Position, recordOffset(slot, Position),
                 quotedInput(s.position) + " at byte " +
                     std::to_string(recordOffset(slot, Position)) +
                     " is not a position: two whole numbers x,y from -32768 to 32767");
        } else if (!angle) {
            fail(slot, Angle, recordOffset(slot, Angle),
                 quotedInput(s.angle) + " at byte " + std::to_string(recordOffset(slot, Angle)) +
                     " is not an angle: a number from -32768 to 32767, or nothing");
        }
    }

    void need(std::size_t slot, Field field, std::size_t at, std::size_t count) const {
        if (at > bytes_.size() || bytes_.size() - at < count) {
            const std::size_t record = recordOffset(slot, field);
            fail(slot, field, record,
                 "the file ends at byte " + std::to_string(bytes_.size()) +
                     ", inside this field at byte " + std::to_string(record) +
                     " (a position data file is " + std::to_string(PositionDataFile::kFileSize) +
                     " bytes long)");
        }
    }

private:
    std::uint16_t get16(std::size_t at) const {
        return static_cast<std::uint16_t>(bytes_[at] | (bytes_[at + 1] << 8));
    }
    [[noreturn]] static void fail(std::size_t slot, Field field, std::size_t at,
                                  const std::string& what) {
        throw PositionDataError(slotPrefix(slot, field) + what, int(slot), at);
    }

    std::span<const std::uint8_t> bytes_;
};

} // namespace

std::vector<std::uint8_t> PositionDataFile::encode(const PositionSlots& slots) {
    std::vector<std::uint8_t> out(kFileSize, 0);
    Encoder e(out);
    for (std::size_t k = 0; k < PositionSlots::kCount; ++k) {
        const PositionSlot& s = slots[k];
        e.string(k, Text, s.text);
        e.string(k, Face, s.style.face);
        if (!std::isfinite(s.style.size) || s.style.size <= 0.0f || s.style.size > kMaxFontSize) {
            // The reader would refuse the file: never write one we cannot load again.
            throw PositionDataError("Position slot " + std::to_string(k + 1) + ": the size " +
                                        shortestDecimal(s.style.size) + " is not a font size.",
                                    int(k));
        }
        e.u32(k, Size, std::bit_cast<std::uint32_t>(s.style.size));
        if (!s.style.layout.isDefault()) {
            if (!s.style.layout.isValid())
                throw PositionDataError(
                    "Position slot " + std::to_string(k + 1) +
                        ": the text layout is out of range (outline 0 to " +
                        std::to_string(TextLayout::kMaxOutlineWidth) + ", shadow -" +
                        std::to_string(TextLayout::kMaxShadowOffset) + " to " +
                        std::to_string(TextLayout::kMaxShadowOffset) + ", fit 0 to " +
                        std::to_string(TextLayout::kMaxFitWidth) + ", colours #RRGGBB).",
                    int(k));
            putLayout(out.data() + layoutOffset(k), s.style.layout);
        }
        e.boolean(k, Bold, s.style.bold);
        e.boolean(k, Italic, s.style.italic);
        e.u32(k, TextColour, s.style.textColour);
        e.u32(k, BoxColour, s.style.boxColour);
        e.boolean(k, Strikethrough, s.style.strikethrough);
        e.boolean(k, Underline, s.style.underline);
        e.string(k, Position, s.position);
        e.string(k, Angle, s.angle);
    }
    return out;
}

PositionSlots PositionDataFile::decode(std::span<const std::uint8_t> bytes) {
    PositionSlots slots;
    Decoder d(bytes);
    for (std::size_t k = 0; k < PositionSlots::kCount; ++k) {
        PositionSlot& s = slots[k];
        s.text = d.string(k, Text);
        if (s.isEmpty()) {
            // Other programs leave anything in the style of a slot they do not use: it is
            // never drawn, so it reads as the initial style, checked only for its bounds.
            d.need(k, Underline, recordOffset(k, Underline), 2);
        } else {
            s.style.face = d.string(k, Face);
            s.style.size = d.size(k);
            s.style.bold = d.boolean(k, Bold);
            s.style.italic = d.boolean(k, Italic);
            s.style.textColour = d.u32(k, TextColour);
            s.style.boxColour = d.u32(k, BoxColour);
            s.style.strikethrough = d.boolean(k, Strikethrough);
            s.style.underline = d.boolean(k, Underline);
            s.style.layout = d.layout(k);
        }
        s.position = d.string(k, Position);
        s.angle = d.string(k, Angle);
        d.checkNumbers(k, s);
        s.description = PositionSlots::describe(s.style, s.angle);
    }
    return slots;
}

void PositionDataFile::write(const std::filesystem::path& path, const PositionSlots& slots) {
    const std::vector<std::uint8_t> bytes = encode(slots); // refuses before touching the disk
    AtomicFile file(path);
    file.stream().write(reinterpret_cast<const char*>(bytes.data()),
                        static_cast<std::streamsize>(bytes.size()));
    file.commit();
}

PositionSlots PositionDataFile::read(const std::filesystem::path& path) {
    InputFile file(path);
    // Only the first 12,672 bytes matter; a longer file is not read further.
    const std::size_t wanted = std::size_t(std::min<std::uint64_t>(file.size(), kFileSize));
    std::vector<std::uint8_t> bytes(wanted);
    file.stream().read(reinterpret_cast<char*>(bytes.data()), std::streamsize(wanted));
    if (file.stream().bad()) {
        throw FileError(path, "cannot read");
    }
    bytes.resize(std::size_t(file.stream().gcount()));
    try {
        return decode(bytes);
    } catch (const PositionDataError& e) {
        throw PositionDataError(path.string() + ": " + e.what(), e.slot(), e.offset());
    }
}

std::string PositionDataFile::withExtension(const std::string& name) {
    if (name.size() >= 4) {
        std::string tail = name.substr(name.size() - 4);
        std::transform(tail.begin(), tail.end(), tail.begin(),
                       [](unsigned char c) { return char(std::tolower(c)); });
        if (tail == ".qpf") {
            return name;
        }
    }
    return name + ".qpf";
}

} // namespace qrb
