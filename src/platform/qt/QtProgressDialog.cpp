#include "platform/qt/QtProgressDialog.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QEventLoop>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <atomic>
#include <exception>
#include <thread>

namespace qrb {

namespace {

// What is done so far, and Cancel. Esc and the window's close button cancel as well; the
// dialog stays until the work has stopped.
class WorkDialog : public QDialog {
public:
    WorkDialog(const QString& title, const QString& label, std::function<void()> cancel)
        : QDialog(QApplication::activeWindow()), cancel_(std::move(cancel)) {
        setObjectName(QStringLiteral("progressDialog"));
        setWindowTitle(title);
        setWindowModality(Qt::ApplicationModal);
        auto* layout = new QVBoxLayout(this);
        label_ = new QLabel(label, this);
        bar_ = new QProgressBar(this);
        bar_->setRange(0, 0); // busy until the first report
        buttons_ = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
        connect(buttons_, &QDialogButtonBox::rejected, this, &WorkDialog::reject);
        layout->addWidget(label_);
        layout->addWidget(bar_);
        layout->addWidget(buttons_);
        setMinimumWidth(360);
    }

    void showProgress(int done, int total) {
        if (total <= 0)
            return;
        if (bar_->maximum() != total)
            bar_->setRange(0, total);
        bar_->setValue(done);
    }

    void reject() override {
        if (stopping_)
            return;
        stopping_ = true;
        buttons_->setEnabled(false);
        label_->setText(QCoreApplication::translate("qrb::QtProgressDialog", "Stopping..."));
        cancel_();
    }

private:
    std::function<void()> cancel_;
    QLabel* label_;
    QProgressBar* bar_;
    QDialogButtonBox* buttons_;
    bool stopping_ = false;
};

} // namespace

void QtProgressDialog::run(const QString& title, const QString& label, const Work& work) {
    // Everything the worker touches outlives it: the thread is joined before these go.
    std::atomic<int> done{0};
    std::atomic<int> total{0};
    std::atomic<bool> finished{false};
    std::exception_ptr failure;
    QEventLoop loop;
    QObject receiver; // hears on this thread that the work ended

    std::jthread worker([&](std::stop_token stop) {
        try {
            work(
                [&](int d, int t) {
                    total.store(t, std::memory_order_relaxed);
                    done.store(d, std::memory_order_relaxed);
                },
                stop);
        } catch (...) {
            failure = std::current_exception();
        }
        finished.store(true);
        QMetaObject::invokeMethod(
            &receiver, [&loop] { loop.quit(); }, Qt::QueuedConnection);
    });

    // A short job ends before anything shows; the window is painted but takes no input.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QTimer::singleShot(kQuietMilliseconds, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    QApplication::restoreOverrideCursor();

    if (!finished.load()) {
        WorkDialog dialog(title, label, [&worker] { worker.request_stop(); });
        QTimer updates;
        QObject::connect(&updates, &QTimer::timeout, &dialog, [&] {
            dialog.showProgress(done.load(std::memory_order_relaxed),
                                total.load(std::memory_order_relaxed));
        });
        updates.start(100);
        dialog.show();
        while (!finished.load())
            loop.exec();
    }
    worker.join();
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace qrb
