#include "cli/TerminalProgress.h"

namespace qrb::cli {

TerminalProgress::TerminalProgress(std::ostream& out, bool terminal,
                                   std::function<Clock::time_point()> now)
    : out_(out), terminal_(terminal), now_(std::move(now)), start_(now_()) {}

ProgressCallback TerminalProgress::stage(const std::string& what) {
    if (!terminal_)
        return {};
    return [this, what](int done, int total) { show(what, done, total); };
}

void TerminalProgress::show(const std::string& what, int done, int total) {
    const Clock::time_point now = now_();
    if (now - start_ < kQuietTime || (shownWidth_ > 0 && now - lastDrawn_ < kRedrawTime))
        return;
    lastDrawn_ = now;
    std::string line =
        what + ": " + std::to_string(done) + " of " + std::to_string(total) + " tiles";
    if (total > 0)
        line += " (" + std::to_string(static_cast<long long>(done) * 100 / total) + "%)";
    const std::size_t width = line.size();
    // Blanks over what is left of a longer line before.
    if (width < shownWidth_)
        line.append(shownWidth_ - width, ' ');
    out_ << '\r' << line << std::flush;
    shownWidth_ = width;
}

void TerminalProgress::finish() {
    if (shownWidth_ == 0)
        return;
    out_ << '\r' << std::string(shownWidth_, ' ') << '\r' << std::flush;
    shownWidth_ = 0;
}

} // namespace qrb::cli
