// Every text the window shows goes through the translation system: a scan of the string
// literals in the window's sources, and of the scanner itself.
//
// A literal that is not a text for the user but reads like one (a label printed into a
// file, a program's name) goes into untranslated-allowed.txt, one per line:
//     <file under src/, or *>  <the literal as written between its quotes, or * for all>

#include "translations/TextScanner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <utility>

namespace qrb::test {
namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The calls whose literals are translated, or are never shown to the user.
bool exempt(const std::string& function) {
    static const std::set<std::string> calls{
        // translated
        "tr", "translate", "QT_TR_NOOP", "QT_TRANSLATE_NOOP", "QT_TR_N_NOOP", "QT_TRANSLATE_N_NOOP",
        // for developers and for the program itself
        "qDebug", "qInfo", "qWarning", "qCritical", "qFatal", "Q_ASSERT_X", "fprintf",
        "setObjectName", "setProperty", "property", "findChild", "findChildren", "setStyleSheet",
        "QKeySequence", "fromTheme"};
    return calls.count(function) != 0;
}

using Allowed = std::set<std::pair<std::string, std::string>>;

Allowed allowList(const fs::path& file) {
    Allowed allowed;
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t blank = line.find_first_of(" \t");
        if (line.empty() || line.front() == '#' || blank == std::string::npos) {
            continue;
        }
        const std::size_t text = line.find_first_not_of(" \t", blank);
        allowed.insert({line.substr(0, blank), line.substr(text)});
    }
    return allowed;
}

TEST(UntranslatedText, EveryTextOfTheWindowIsTranslatable) {
    const fs::path src = fs::path(QRB_SOURCE_ROOT) / "src";
    const Allowed allowed =
        allowList(fs::path(QRB_SOURCE_ROOT) / "tests/translations/untranslated-allowed.txt");
    Allowed used;
    std::string escaped;
    int files = 0;
    for (const char* folder : {"app", "platform", "widgets"}) {
        for (const auto& entry : fs::recursive_directory_iterator(src / folder)) {
            const fs::path& path = entry.path();
            if (path.extension() != ".cpp" && path.extension() != ".h") {
                continue;
            }
            ++files;
            const std::string name = path.lexically_relative(src).generic_string();
            for (const SourceLiteral& literal : sourceLiterals(readFile(path))) {
                if (exempt(literal.function) || !looksUserVisible(literal.text)) {
                    continue;
                }
                const auto allows = [&](const std::string& where, const std::string& text) {
                    if (allowed.count({where, text}) == 0)
                        return false;
                    used.insert({where, text});
                    return true;
                };
                if (!allows(name, literal.text) && !allows(name, "*") &&
                    !allows("*", literal.text)) {
                    escaped += "  src/" + name + ":" + std::to_string(literal.line) + ": \"" +
                               literal.text + "\" in " +
                               (literal.function.empty() ? "(none)" : literal.function) + "\n";
                }
            }
        }
    }
    EXPECT_GT(files, 50);
    EXPECT_EQ(escaped, "")
        << "texts outside tr(), QT_TR_NOOP() or QCoreApplication::translate(); "
           "wrap them, or list them in tests/translations/untranslated-allowed.txt";
    std::string stale;
    for (const auto& [where, text] : allowed) {
        if (used.count({where, text}) == 0) {
            stale += "  " + where + " " + text + "\n";
        }
    }
    EXPECT_EQ(stale, "") << "allow-list entries that no longer match a literal";
}

// The scanner's own reading of C++, on the shapes the sources use.
TEST(UntranslatedText, ScannerFindsEachLiteralAndItsCall) {
    const auto literals = sourceLiterals(R"src(#include "app/Window.h"
// a "quoted" word in a comment
/* and "one" here */
label->setText(tr("Open library"));
box->setObjectName(QStringLiteral("Save Box"));
auto* child = findChild<QLabel*>(QStringLiteral("Name Label"));
const char c = '"'; status("Ready \"now\"");
const Command table[] = {{.caption = QT_TR_NOOP("Zoom In")}};
const QString raw = R"x(He said "hi")x";
text.arg(QStringLiteral("Done"))
)src");
    ASSERT_EQ(literals.size(), 7U);
    const std::pair<std::string, std::string> expected[] = {{"Open library", "tr"},
                                                            {"Save Box", "setObjectName"},
                                                            {"Name Label", "findChild"},
                                                            {"Ready \\\"now\\\"", "status"},
                                                            {"Zoom In", "QT_TR_NOOP"},
                                                            {"He said \"hi\"", ""},
                                                            {"Done", "arg"}};
    for (std::size_t k = 0; k < literals.size(); ++k) {
        EXPECT_EQ(literals[k].text, expected[k].first);
        EXPECT_EQ(literals[k].function, expected[k].second) << literals[k].text;
    }
    EXPECT_EQ(literals[0].line, 4);
    EXPECT_EQ(literals[6].line, 10);
}

TEST(UntranslatedText, KeysPathsAndFormatsAreNotTexts) {
    for (const char* text : {"recentLibraries", "print/paper", ":/icons/app.svg", "%1 (%2)", "PNG",
                             "image/png", "application/x-qrb", "Ctrl+O", "%1x%2", "<b>%1</b>",
                             "12.5", "Label1", "XScroll", "\\n\\n", "\\u00D7"}) {
        EXPECT_FALSE(looksUserVisible(text)) << text;
    }
    for (const char* text :
         {"Untitled", "&Open", "Open library", "%1 tiles", "Done.\\n", "Zoom: %1%"}) {
        EXPECT_TRUE(looksUserVisible(text)) << text;
    }
}

} // namespace
} // namespace qrb::test
