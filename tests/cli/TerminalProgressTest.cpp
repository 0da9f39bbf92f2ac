// The progress line for a person at the terminal: nothing for scripts or short runs, one line
// rewritten in place for long ones, and gone when the command ends.

#include "cli/TerminalProgress.h"

#include <gtest/gtest.h>

#include <sstream>

namespace qrb::cli {
namespace {

using namespace std::chrono_literals;

class ProgressLine : public ::testing::Test {
protected:
    TerminalProgress::Clock::time_point now;
    std::ostringstream out;
    std::function<TerminalProgress::Clock::time_point()> clock() {
        return [this] { return now; };
    }
};

TEST_F(ProgressLine, ShowsOnlyOnATerminalAfterASecondAndIsWipedAtTheEnd) {
    {
        TerminalProgress piped(out, false, clock());
        EXPECT_FALSE(piped.stage("lettering")) << "no reports asked for";
    }
    TerminalProgress progress(out, true, clock());
    const ProgressCallback lettering = progress.stage("lettering");
    now += 999ms;
    lettering(10, 300);
    EXPECT_EQ(out.str(), "") << "a short run shows nothing";

    now += 1ms;
    lettering(20, 300);
    EXPECT_EQ(out.str(), "\rlettering: 20 of 300 tiles (6%)");
    now += 50ms;
    lettering(21, 300);
    EXPECT_EQ(out.str(), "\rlettering: 20 of 300 tiles (6%)") << "redrawn ten times a second";

    // A shorter line covers what is left of the longer one.
    now += 100ms;
    progress.stage("writing")(3, 9);
    EXPECT_EQ(out.str(), "\rlettering: 20 of 300 tiles (6%)"
                         "\rwriting: 3 of 9 tiles (33%)    ");
    out.str("");
    progress.finish();
    EXPECT_EQ(out.str(), "\r" + std::string(27, ' ') + "\r");
    out.str("");
    progress.finish();
    EXPECT_EQ(out.str(), "") << "wiped once";
}

} // namespace
} // namespace qrb::cli
