#include "app/EditorCommandLine.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sys/wait.h>

namespace qrb {
namespace {

using Action = EditorCommandLine::Action;

// Qt's own options are never taken from the command line; only --platform reaches Qt.
TEST(EditorCommandLine, OnlyItsOwnOptionsAndTheFileCount) {
    struct Case {
        QStringList args;
        Action action;
        QString startupFile;
        QStringList qt; // after the program name
    };
    const std::vector<Case> cases{
        {{"my", "tiles.qrb"}, Action::Run, "my tiles.qrb", {}},
        {{"--", "-reverse"}, Action::Run, "-reverse", {}},
        {{"a.qrb", "-reverse"}, Action::Run, "a.qrb -reverse", {}},
        {{"-platform", "offscreen", "a.qrb"}, Action::Run, "a.qrb", {"-platform", "offscreen"}},
        {{"-reverse"}, Action::Refuse, {}, {}},
        {{"--platform"}, Action::Refuse, {}, {}},
        {{"--help"}, Action::ShowHelp, {}, {}},
        {{"--version"}, Action::ShowVersion, {}, {}},
    };
    for (const Case& c : cases) {
        const EditorCommandLine line(QStringList{"qrbtexteditor"} + c.args);
        const std::string args = c.args.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(line.action(), c.action) << args;
        EXPECT_EQ(line.startupFile(), c.startupFile) << args;
        EXPECT_EQ(line.qtArguments(), QStringList{"qrbtexteditor"} + c.qt) << args;
    }
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
