#pragma once
// Text that came from a file or the command line, made safe to put into a message: a
// control character would end the message early (NUL), move the terminal's cursor or
// change its colours (escape sequences), and a huge cell would make a huge line.

#include <cstddef>
#include <string>
#include <string_view>

namespace qrb {

// `text` with every control character (U+0000 to U+001F, U+007F, U+0080 to U+009F) and
// every byte that is not part of valid UTF-8 written as an escape: "\n", "\t", "\r",
// "\x1B", "\x00"; everything else as it is.
std::string escapedControls(std::string_view text);

// `text` in double quotes (or `quote`), escaped as above and cut after `limit` characters with
// "..." and its full length in bytes: "\"Harbour\"", "\"AAAA...\" (10485760 bytes)".
std::string quotedInput(std::string_view text, std::size_t limit = 60, char quote = '"');

// The first control character of `text` (as above, tab included) as a byte offset, or
// npos. Invalid UTF-8 is not looked at.
std::size_t firstControlCharacter(std::string_view text);

} // namespace qrb
