#include "app/shared/BusyWork.h"

#include "app/shared/Services.h"

#include <QApplication>
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

} // namespace qrb
