#pragma once
// A file command at work: the hourglass pointer while it runs, its progress on a progress
// bar, hidden afterwards, and its failure told in one message.

#include "core/Progress.h"
#include "platform/MessageBoxes.h"

#include <QString>

#include <functional>

class QProgressBar;

namespace qrb {

// The hourglass pointer while a command works, and its progress bar hidden afterwards,
// however the command ends. finish() ends it early, before a message is shown.
class BusyCursor {
public:
    explicit BusyCursor(QProgressBar* progress = nullptr);
    ~BusyCursor() { finish(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
    void finish();

private:
    QProgressBar* progress_;
    bool busy_ = true;
};

// Runs `work` (a file command) under the busy pointer, with `progress` hidden afterwards.
// A failure is shown as `failure`, a blank line and the reason, and gives false.
bool busyWork(MessageBoxes& messages, QProgressBar* progress, const QString& failure,
              const std::function<void()>& work);

// A progress display for the core's long operations on `bar`, shown while they run.
ProgressCallback progressOn(QProgressBar* bar);

} // namespace qrb
