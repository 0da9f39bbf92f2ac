#pragma once
// Position data files (.qpf): the nine slots in fixed 128-byte records. Every field takes
// one whole record starting at its first byte; the rest of the record is filler (zero
// when we write, ignored when we read). Slot k's eleven records start at byte 1,408 * k:
//   0 text (string)        1 face (string)       2 size (float32)     3 bold (bool)
//   4 italic (bool)        5 text colour (u32)   6 box colour (u32)   7 strikethrough (bool)
//   8 underline (bool)     9 position (string)  10 angle (string)
// string = u16 length n (n <= 126) + n Windows-1252 bytes; bool = i16 0 / -1, any non-zero
// reads as true; all numbers little-endian. 99 records, 12,672 bytes, no header.
//
// A slot whose text layout (TextLayout: anchor, fit width, outline, shadow) is not the
// default keeps it in the filler of its size record, from byte 16 of the record:
//   0 "QRBLAYT:"  8 version (1)  9 horizontal anchor  10 vertical anchor  11 outline width
//   12 fit width (u16)  14 outline colour (u32)  18 shadow colour (u32)  22 shadow dx (i8)
//   23 shadow dy (i8)  24 check (u16: the sum of bytes 0 to 23)
// Without the marker a slot reads with the default layout, so files from before it (and
// from programs that ignore filler) read as they always did, and a slot with the default
// layout is written byte for byte as they write it. A marker followed by anything else
// (another version, a wrong check, a value out of range) is a damaged file.

#include "text/PositionSlot.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace qrb {

// A position data file that cannot be written or read. The message names the slot, the
// field and (when reading) the byte offset; slot() is -1 when no slot is concerned.
class PositionDataError : public std::runtime_error {
public:
    PositionDataError(const std::string& what, int slot = -1, std::size_t offset = 0)
        : std::runtime_error(what), slot_(slot), offset_(offset) {}
    int slot() const { return slot_; }
    std::size_t offset() const { return offset_; }

private:
    int slot_;
    std::size_t offset_;
};

class PositionDataFile {
public:
    static constexpr std::size_t kRecordSize = 128;
    static constexpr std::size_t kFieldsPerSlot = 11;
    static constexpr std::size_t kSlotSize = kRecordSize * kFieldsPerSlot;      // 1,408
    static constexpr std::size_t kFileSize = kSlotSize * PositionSlots::kCount; // 12,672
    static constexpr std::size_t kMaxStringBytes = 126;
    // Sizes a file may hold: anything finite above 0 and up to this many points.
    static constexpr float kMaxFontSize = 1000.0f;
    // Where in a slot's size record its text layout goes, and how long it is.
    static constexpr std::size_t kLayoutOffset = 16;
    static constexpr std::size_t kLayoutSize = 26;

    // The exact file bytes for `slots`. Throws PositionDataError naming the slot and the
    // field when a string has a character Windows-1252 cannot hold or is longer than 126
    // bytes once converted, or when a size or text layout is one decode() would refuse.
    // Descriptions are not stored.
    static std::vector<std::uint8_t> encode(const PositionSlots& slots);

    // Parses the whole of `bytes` and returns all nine slots, descriptions filled in, or
    // throws PositionDataError (slot, field, byte offset) when any group is damaged: the
    // data ends early, a string is longer than 126 bytes, a text holds an undefined byte,
    // a size is not a finite number in (0, kMaxFontSize], a slot with a text has a
    // position or angle that is not a number (isSlotPosition, isSlotAngle), or its text
    // layout is damaged. An empty
    // slot's position and angle are not used: when not numbers they read as at start-up.
    // Bytes past 12,672 are ignored.
    static PositionSlots decode(std::span<const std::uint8_t> bytes);

    // encode() then an atomic write (core/AtomicFile: a temporary file beside `path`,
    // flushed, renamed over it). Nothing at `path` changes on any failure: PositionDataError
    // for content that cannot be stored, FileError (core/FileError.h) for the disk.
    static void write(const std::filesystem::path& path, const PositionSlots& slots);

    // Reads `path` whole and decode()s it. FileError when it cannot be read;
    // PositionDataError, its message starting with the file name, when it is damaged.
    static PositionSlots read(const std::filesystem::path& path);

    // The name the save and load commands use: `name` with ".qpf" appended unless its last
    // four characters already are ".qpf" in any case.
    static std::string withExtension(const std::string& name);
};

} // namespace qrb
