#include "app/shared/BusyWork.h"

#include "app/shared/Services.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProgressBar>

#include <exception>

namespace qrb {

BusyCursor::BusyCursor(QProgressBar* progress) : progress_(progress) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void BusyCursor::finish() {
    if (busy_)
        QApplication::restoreOverrideCursor();
    busy_ = false;
    if (progress_)
        progress_->hide();
}

bool busyWork(MessageBoxes& messages, QProgressBar* progress, const QString& failure,
              const std::function<void()>& work) {
    BusyCursor busy(progress);
    try {
        work();
        return true;
    } catch (const std::exception& e) {
        busy.finish();
        messages.inform(failure + QStringLiteral("\n\n") + QString::fromUtf8(e.what()), appTitle(),
                        MessageIcon::Critical);
        return false;
    }
}

ProgressCallback progressOn(QProgressBar* bar) {
    QElapsedTimer sinceShown;
    return [bar, sinceShown, shown = -1](int done, int total) mutable {
        // The bar moves and repaints at most once per percent and once per 40 ms (and at
        // the end): the command runs without an event loop, and every new value costs the
        // bar its text, a repaint and an accessibility event, which for 32,767 tiles is as
        // much as reading them. A person sees no more than 25 steps a second.
        const int percent = total > 0 ? int(qint64(done) * 100 / total) : 100;
        const bool end = done == total;
        if (!end && (percent == shown || (sinceShown.isValid() && sinceShown.elapsed() < 40)))
            return;
        shown = percent;
        sinceShown.start();
        if (bar->maximum() != total)
            bar->setMaximum(total);
        bar->setValue(done);
        if (bar->isHidden())
            bar->show();
        bar->repaint();
    };
}

} // namespace qrb
