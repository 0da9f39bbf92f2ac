#include "app/EditorCommandLine.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/wait.h>

namespace qrb {
namespace {

using Action = EditorCommandLine::Action;

EditorCommandLine parse(QStringList args) {
    args.prepend(QStringLiteral("qrbtexteditor"));
    return EditorCommandLine(args);
}

struct Case {
    QStringList args;
    Action action;
    QString startupFile;
    QStringList qtArguments; // after the program name
};

// Qt's own options are never taken from the command line; only --platform reaches Qt.
TEST(EditorCommandLine, OnlyItsOwnOptionsAndTheFileCount) {
    const QString p = QStringLiteral("-platform");
    const std::vector<Case> cases{
        {{}, Action::Run, {}, {}},
        {{"lib.qrb"}, Action::Run, "lib.qrb", {}},
        {{"my", "tiles.qrb"}, Action::Run, "my tiles.qrb", {}},
        {{"--", "-reverse"}, Action::Run, "-reverse", {}},
        {{"a.qrb", "-reverse"}, Action::Run, "a.qrb -reverse", {}},
        {{"-platform", "offscreen", "a.qrb"}, Action::Run, "a.qrb", {p, "offscreen"}},
        {{"--platform=xcb"}, Action::Run, {}, {p, "xcb"}},
        {{"-reverse"}, Action::Refuse, {}, {}},
        {{"-style", "fusion"}, Action::Refuse, {}, {}},
        {{"--platform"}, Action::Refuse, {}, {}},
        {{"--help"}, Action::ShowHelp, {}, {}},
        {{"-h", "a.qrb"}, Action::ShowHelp, "a.qrb", {}},
        {{"--version"}, Action::ShowVersion, {}, {}},
    };
    for (const Case& c : cases) {
        const EditorCommandLine line = parse(c.args);
        const QString args = c.args.join(QLatin1Char(' '));
        EXPECT_EQ(line.action(), c.action) << args.toStdString();
        EXPECT_EQ(line.startupFile(), c.startupFile) << args.toStdString();
        EXPECT_EQ(line.qtArguments(), QStringList{"qrbtexteditor"} + c.qtArguments)
            << args.toStdString();
    }
    EXPECT_TRUE(parse({"-reverse"}).error().contains(QStringLiteral("'--'")));
    EXPECT_TRUE(parse({"--help"}).helpText().contains(QStringLiteral("--platform <NAME>")));
}

// A platform Qt cannot start on ends the program with a message, not an abort.
TEST(EditorCommandLine, BadPlatformEndsWithAMessage) {
    const std::string command =
        std::string("'") + QRBTEXTEDITOR_PATH + "' -platform no-such-platform 2>&1 >/dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string err;
    char chunk[256];
    while (std::size_t n = std::fread(chunk, 1, sizeof chunk, pipe)) {
        err.append(chunk, n);
    }
    const int status = ::pclose(pipe);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_NE(err.find("qrbtexteditor: cannot start: "), std::string::npos) << err;
}

} // namespace
} // namespace qrb
