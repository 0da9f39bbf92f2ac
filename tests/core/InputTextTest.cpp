#include "core/InputText.h"
#include "core/FileError.h"

#include <gtest/gtest.h>

namespace qrb {
namespace {

// Nothing from a file or the command line reaches the terminal as a control character,
// and a huge input makes a short message.
TEST(InputText, ControlCharactersAreEscapedAndLongInputCut) {
    EXPECT_EQ(escapedControls(std::string("a\0b\x1B[31m\n\t\r\x7F", 12)),
              "a\\x00b\\x1B[31m\\n\\t\\r\\x7F");
    EXPECT_EQ(escapedControls("\xC2\x85 €\xFF"), "\\xC2\\x85 €\\xFF"); // C1 control, bad byte
    EXPECT_EQ(escapedControls("Zürich ✓"), "Zürich ✓");
    EXPECT_EQ(quotedInput("Harbour"), "\"Harbour\"");
    EXPECT_EQ(quotedInput(std::string(61, 'x')), "\"" + std::string(60, 'x') + "...\" (61 bytes)");
    EXPECT_EQ(quotedInput(std::string(60, 'x')), "\"" + std::string(60, 'x') + "\"");
    EXPECT_EQ(quotedInput("ääää", 2, '\''), "'ää...' (8 bytes)"); // cut between characters
    EXPECT_EQ(firstControlCharacter("ok"), std::string::npos);
    EXPECT_EQ(firstControlCharacter("€\t"), 3u);
    EXPECT_EQ(firstControlCharacter("a\xC2\x9F"), 1u);
    EXPECT_EQ(std::string(FileError("x\x1B[2J.qrb", "cannot open").what()),
              "x\\x1B[2J.qrb: cannot open");
}

} // namespace
} // namespace qrb
