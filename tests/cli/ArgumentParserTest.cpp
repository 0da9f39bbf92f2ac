#include "cli/ArgumentParser.h"
#include "cli/JsonText.h"

#include <gtest/gtest.h>

namespace qrb::cli {
namespace {

ArgumentParser parser() {
    ArgumentParser p;
    p.flag("--json", "as JSON").option("--max-memory", "SIZE", "budget").alias("-j", "--json");
    return p;
}

ParsedArguments parse(std::vector<std::string> args) {
    return parser().parse(args);
}

TEST(ArgumentParser, OptionsAnywhereBeforeDoubleDashOperandsInOrder) {
    const auto a = parse({"in", "--max-memory", "2G", "-", "-j", "--", "--json", "-x"});
    EXPECT_TRUE(a.has("--json"));
    EXPECT_EQ(a.value("--max-memory"), "2G");
    EXPECT_EQ(a.operands(), (std::vector<std::string>{"in", "-", "--json", "-x"}));

    const auto b = parse({"--max-memory=", "--max-memory=1K=2", "x"});
    EXPECT_EQ(b.value("--max-memory"), "1K=2"); // the last one counts
    EXPECT_FALSE(b.has("--json"));
    EXPECT_EQ(b.value("--json"), std::nullopt);
}

TEST(ArgumentParser, RefusesWhatTheCommandDoesNotTake) {
    const std::vector<std::vector<std::string>> bad{
        {"-x"}, {"--jso"}, {"--json=1"}, {"--max-memory"}, {"-J"}, {"---"}, {"--help"}};
    for (const auto& args : bad) {
        EXPECT_THROW(parse(args), UsageError) << args[0];
    }
    EXPECT_EQ(parser().synopsis(), "[--json] [--max-memory SIZE]");
    EXPECT_EQ(parser().describe(), "  --json             as JSON\n"
                                   "  --max-memory SIZE  budget\n");
}

TEST(JsonText, KeepsValidUtf8AndReplacesEveryBadByte) {
    const std::pair<std::string, std::string> cases[] = {
        {"plain.qrb", "\"plain.qrb\""},
        {"\xC3\xBC \xE2\x82\xAC \xF0\x9F\x82\xA1 \xF4\x8F\xBF\xBF", // 2, 3, 4 bytes, U+10FFFF
         "\"\xC3\xBC \xE2\x82\xAC \xF0\x9F\x82\xA1 \xF4\x8F\xBF\xBF\""},
        {"q\"b\\s\n\t\r\x01\x7F", "\"q\\\"b\\\\s\\n\\t\\r\\u0001\x7F\""},
        {"\xFC.qrb", "\"\\ufffd.qrb\""},                          // Latin-1
        {"\xC0\x80", "\"\\ufffd\\ufffd\""},                       // overlong
        {"\xE0\x80\xAF", "\"\\ufffd\\ufffd\\ufffd\""},            // overlong
        {"\xED\xA0\x80", "\"\\ufffd\\ufffd\\ufffd\""},            // surrogate
        {"\xF4\x90\x80\x80", "\"\\ufffd\\ufffd\\ufffd\\ufffd\""}, // above U+10FFFF
        {"\xE2\x82", "\"\\ufffd\\ufffd\""},                       // cut short
        {"\x80x", "\"\\ufffdx\""},                                // stray continuation
        {std::string("a\0b", 3), "\"a\\u0000b\""},
    };
    for (const auto& [text, json] : cases) {
        EXPECT_EQ(jsonString(text), json) << ::testing::PrintToString(text);
    }
}

} // namespace
} // namespace qrb::cli
