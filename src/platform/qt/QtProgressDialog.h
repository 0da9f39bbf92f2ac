#pragma once
// The desktop's progress dialog: the work runs on a thread of its own while the window
// stays painted and blocked; a job that ends within a moment shows no dialog at all.

#include "platform/ProgressDialog.h"

namespace qrb {

class QtProgressDialog : public ProgressDialog {
public:
    // How long a job may run before its dialog shows; until then the window takes no input.
    static constexpr int kQuietMilliseconds = 400;

    void run(const QString& title, const QString& label, const Work& work) override;
};

} // namespace qrb
