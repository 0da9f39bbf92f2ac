// Position data files come from anywhere: the reader must refuse damaged bytes with a
// PositionDataError and never crash, hang or read past the data. Whatever it accepts must
// be writable again unchanged.
#include "text/PositionDataFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qrb::PositionSlots slots;
    try {
        slots = qrb::PositionDataFile::decode(std::span<const std::uint8_t>(data, size));
    } catch (const qrb::PositionDataError&) {
        return 0;
    }
    const auto bytes = qrb::PositionDataFile::encode(slots);
    if (!(qrb::PositionDataFile::decode(bytes) == slots)) {
        std::abort();
    }
    return 0;
}
