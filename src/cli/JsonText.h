#pragma once
// Text for JSON output.

#include <string>
#include <string_view>

namespace qrb::cli {

// `text` as a JSON string literal, quotes included. Valid UTF-8 is written as it is;
// quotes, backslashes and control characters are escaped; every byte that is not part of
// valid UTF-8 becomes \ufffd (the replacement character), so the result is always valid
// JSON whatever bytes a file name or signature holds.
std::string jsonString(std::string_view text);

} // namespace qrb::cli
