#include "cli/ArgumentParser.h"
#include "cli/JsonText.h"

#include <gtest/gtest.h>

namespace qrb::cli {
namespace {

TEST(ArgumentParser, OptionsAnywhereBeforeDoubleDashAndValuesBothWays) {
    ArgumentParser p;
    p.flag("--json", "").option("--max-memory", "SIZE", "").alias("-j", "--json");
    const auto a = p.parse(
        std::vector<std::string>{"in", "--max-memory", "2G", "-", "-j", "--", "--json", "-x"});
    EXPECT_TRUE(a.has("--json"));
    EXPECT_EQ(a.value("--max-memory"), "2G");
    EXPECT_EQ(a.operands(), (std::vector<std::string>{"in", "-", "--json", "-x"}));
    EXPECT_EQ(p.parse(std::vector<std::string>{"--max-memory=1K=2"}).value("--max-memory"), "1K=2");
    for (const char* bad : {"--jso", "--json=1", "--max-memory", "---"}) {
        EXPECT_THROW(p.parse(std::vector<std::string>{bad}), UsageError) << bad;
    }
    // Given twice, one value would be dropped without a word; after "--" it is a file.
    for (const auto& twice : std::vector<std::vector<std::string>>{
             {"--max-memory", "1K", "--max-memory=2K"}, {"--json", "-j"}, {"-j", "-j"}}) {
        EXPECT_THROW(p.parse(twice), UsageError) << twice[0];
    }
    EXPECT_TRUE(p.parse(std::vector<std::string>{"--json", "--", "--json"}).has("--json"));
}

TEST(JsonText, KeepsValidUtf8AndReplacesEveryBadByte) {
    const std::pair<std::string, std::string> cases[] = {
        {"\xC3\xBC \xE2\x82\xAC \xF0\x9F\x82\xA1 \xF4\x8F\xBF\xBF", // 2, 3, 4 bytes, U+10FFFF
         "\"\xC3\xBC \xE2\x82\xAC \xF0\x9F\x82\xA1 \xF4\x8F\xBF\xBF\""},
        {std::string("q\"b\\s\n\x01\0", 8), "\"q\\\"b\\\\s\\n\\u0001\\u0000\""},
        {"\xFC.qrb", "\"\\ufffd.qrb\""},                          // Latin-1
        {"\xC0\x80", "\"\\ufffd\\ufffd\""},                       // overlong
        {"\xED\xA0\x80", "\"\\ufffd\\ufffd\\ufffd\""},            // surrogate
        {"\xF4\x90\x80\x80", "\"\\ufffd\\ufffd\\ufffd\\ufffd\""}, // above U+10FFFF
        {"\xE2\x82", "\"\\ufffd\\ufffd\""},                       // cut short
    };
    for (const auto& [text, json] : cases) {
        EXPECT_EQ(jsonString(text), json) << ::testing::PrintToString(text);
    }
}

} // namespace
} // namespace qrb::cli
