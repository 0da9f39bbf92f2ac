// The progress line: nothing for scripts or short runs, one line rewritten in place for long
// ones, wiped when the command ends.

#include "cli/TerminalProgress.h"

#include <gtest/gtest.h>

#include <sstream>

namespace qrb::cli {
namespace {

using namespace std::chrono_literals;

TEST(TerminalProgress, ShowsOnlyOnATerminalAfterASecondAndIsWipedAtTheEnd) {
    TerminalProgress::Clock::time_point now;
    std::ostringstream out;
    EXPECT_FALSE(TerminalProgress(out, false).stage("lettering")) << "not a terminal";
    TerminalProgress progress(out, true, [&] { return now; });
    const ProgressCallback lettering = progress.stage("lettering");
    now += 999ms;
    lettering(10, 300);
    EXPECT_EQ(out.str(), "") << "a short run shows nothing";
    now += 1ms;
    lettering(20, 300);
    now += 50ms;
    lettering(21, 300); // within a tenth of a second: not redrawn
    now += 100ms;
    progress.stage("writing")(3, 9); // shorter: blanks cover the rest
    EXPECT_EQ(out.str(), "\rlettering: 20 of 300 tiles (6%)\rwriting: 3 of 9 tiles (33%)    ");
    out.str("");
    progress.finish();
    progress.finish();
    EXPECT_EQ(out.str(), "\r" + std::string(27, ' ') + "\r");
}

} // namespace
} // namespace qrb::cli
