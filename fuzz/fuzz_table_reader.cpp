// Lettering tables come from spreadsheets and hand editing: the reader must refuse bad text
// with a TableError naming a line and never crash, hang or accept a row it cannot letter.
#include "core/InputText.h"
#include "lettering/CsvReader.h"
#include "lettering/IconMarkup.h"
#include "lettering/LetteringTable.h"
#include "text/Windows1252.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

// The records of `reader`, or the error's line and field after the records before it.
std::vector<std::vector<std::string>> records(qrb::CsvReader& reader) {
    std::vector<std::vector<std::string>> all;
    std::vector<std::string> fields;
    try {
        while (reader.next(fields)) {
            all.push_back(fields);
            all.back().push_back(std::to_string(reader.recordLine()));
        }
    } catch (const qrb::CsvSyntaxError& e) {
        all.push_back({"error", std::to_string(e.line()), std::to_string(e.field())});
    }
    return all;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    // The first byte picks commas or tabs.
    const char separator = data[0] & 1 ? '\t' : ',';
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    // Read as a stream in small chunks (records across every boundary), the text gives the
    // same records and errors as read whole.
    {
        qrb::CsvReader whole(text, separator);
        std::istringstream in{std::string(text)};
        qrb::CsvReader streamed(in, separator, std::size_t(data[0] >> 1 & 7) + 1);
        if (records(whole) != records(streamed)) {
            std::abort();
        }
    }
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
        // Slot texts: UTF-8 without control characters, a line break only in a boxed slot,
        // their icon markup right.
        for (std::size_t k = 0; k < row.texts.size(); ++k) {
            if (!row.texts[k]) {
                continue;
            }
            std::string oneLine = *row.texts[k];
            if (oneLine.find('\n') != std::string::npos && !row.box(k)) {
                std::abort();
            }
            std::replace(oneLine.begin(), oneLine.end(), '\n', ' ');
            if (qrb::firstInvalidUtf8(oneLine) ||
                qrb::firstControlCharacter(oneLine) != std::string::npos) {
                std::abort();
            }
            try {
                qrb::splitIcons(oneLine);
            } catch (const qrb::MarkupError&) {
                std::abort();
            }
        }
    }
    try {
        table.check(3, "in.qrb", 3);
    } catch (const qrb::TableError&) {
    }
    return 0;
}
