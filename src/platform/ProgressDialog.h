#pragma once
// A long piece of work with a progress display and a Cancel button.

#include "core/Progress.h"

#include <QString>

#include <functional>
#include <stop_token>

namespace qrb {

class ProgressDialog {
public:
    // The work: it reports its progress through the callback and ends early once the stop
    // token says Cancel was pressed. It may run on another thread than the caller's, so it
    // must touch nothing the window changes, and the window must change nothing it reads.
    using Work = std::function<void(const ProgressCallback& progress, std::stop_token stop)>;

    virtual ~ProgressDialog() = default;

    // Runs `work` while `label` and its progress show, with the window blocked. Returns
    // when the work has ended; what it throws is thrown here.
    virtual void run(const QString& title, const QString& label, const Work& work) = 0;
};

} // namespace qrb
