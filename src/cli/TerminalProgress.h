#pragma once
// The progress of a long command for a person at the terminal: one line on the error output,
// rewritten in place ("lettering: 1200 of 30000 tiles (4%)"). It shows only when that output
// is a terminal and only once the command has run for a second, so scripts, logs and short
// runs never see it; it is wiped when the command ends.

#include "core/Progress.h"

#include <chrono>
#include <functional>
#include <ostream>
#include <string>

namespace qrb::cli {

class TerminalProgress {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kQuietTime{1000};
    static constexpr std::chrono::milliseconds kRedrawTime{100};

    // `terminal`: whether `out` is a terminal. The second starts now.
    TerminalProgress(std::ostream& out, bool terminal,
                     std::function<Clock::time_point()> now = Clock::now);
    ~TerminalProgress() { finish(); }
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

    // Reports of one stage of the command, shown as "`what`: done of total tiles".
    ProgressCallback stage(const std::string& what);
    // Wipes the line, if one is shown.
    void finish();

private:
    void show(const std::string& what, int done, int total);

    std::ostream& out_;
    bool terminal_;
    std::function<Clock::time_point()> now_;
    Clock::time_point start_;
    Clock::time_point lastDrawn_;
    std::size_t shownWidth_ = 0; // characters of the line on the terminal now
};

} // namespace qrb::cli
