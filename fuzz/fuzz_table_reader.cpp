// Lettering tables come from spreadsheets and hand editing: the reader must refuse bad text
// with a TableError naming a line and never crash, hang or accept a row it cannot letter.
#include "lettering/LetteringTable.h"
#include "text/PositionDataFile.h"
#include "text/Windows1252.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    // The first byte picks commas or tabs.
    const char separator = data[0] & 1 ? '\t' : ',';
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    qrb::LetteringTable table;
    try {
        table = qrb::LetteringTable::parse(text, separator, "fuzz.csv");
    } catch (const qrb::TableError& e) {
        if (e.line() < 1) {
            std::abort();
        }
        return 0;
    }
    int line = 1;
    for (const qrb::LetteringRow& row : table.rows()) {
        if (row.line <= line || row.base < 1 || row.copies < 0) {
            std::abort();
        }
        line = row.line;
        for (const auto& slotText : row.texts) {
            if (slotText) {
                const auto bytes = qrb::utf8ToWindows1252(*slotText);
                if (!bytes || bytes->size() > qrb::PositionDataFile::kMaxStringBytes) {
                    std::abort();
                }
            }
        }
    }
    try {
        table.check(3, "in.qrb", 3);
    } catch (const qrb::TableError&) {
    }
    return 0;
}
