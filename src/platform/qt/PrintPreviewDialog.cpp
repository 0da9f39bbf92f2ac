#include "platform/qt/PrintPreviewDialog.h"

#include "platform/Printing.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>

namespace qrb {

PrintPreviewDialog::PrintPreviewDialog(PrintJob& job, const QString& title,
                                       const QString& acceptText, std::function<bool()> accepted,
                                       QWidget* parent)
    : QDialog(parent), job_(job), accepted_(std::move(accepted)),
      printer_(QPrinter::HighResolution), options_(job.optionsWidget()) {
    setObjectName(QStringLiteral("printPreview"));
    setWindowTitle(title);
    // The pages start at the paper's corner, not at the printer's margins.
    printer_.setFullPage(true);

    pages_ = new QPrintPreviewWidget(&printer_, this);
    pages_->setObjectName(QStringLiteral("previewPages"));
    pages_->setZoomMode(QPrintPreviewWidget::FitInView);
    connect(pages_, &QPrintPreviewWidget::paintRequested, this, &PrintPreviewDialog::paintPages);
    connect(pages_, &QPrintPreviewWidget::previewChanged, this,
            [this] { showPageNumber(pages_->currentPage()); });

    // Page by page first, so that a narrow dialog keeps it in view; then the zoom.
    auto* tools = new QToolBar(this);
    QAction* previous = tools->addAction(style()->standardIcon(QStyle::SP_ArrowBack),
                                         tr("Previous Page"), pages_, [this] { turnPages(-1); });
    previous->setShortcut(QKeySequence::MoveToPreviousPage);
    pageNumber_ = new QLabel(this);
    pageNumber_->setObjectName(QStringLiteral("previewPageNumber"));
    tools->addWidget(pageNumber_);
    QAction* next = tools->addAction(style()->standardIcon(QStyle::SP_ArrowForward),
                                     tr("Next Page"), pages_, [this] { turnPages(1); });
    next->setShortcut(QKeySequence::MoveToNextPage);
    tools->addSeparator();
    tools->addAction(tr("Fit Page"), pages_, &QPrintPreviewWidget::fitInView);
    tools->addAction(tr("Fit Width"), pages_, &QPrintPreviewWidget::fitToWidth);
    QAction* zoomIn = tools->addAction(QStringLiteral("+"), pages_, [this] { pages_->zoomIn(); });
    zoomIn->setToolTip(tr("Zoom In"));
    zoomIn->setShortcut(QKeySequence::ZoomIn);
    QAction* zoomOut =
        tools->addAction(QStringLiteral("\u2212"), pages_, [this] { pages_->zoomOut(); });
    zoomOut->setToolTip(tr("Zoom Out"));
    zoomOut->setShortcut(QKeySequence::ZoomOut);

    auto* left = new QVBoxLayout;
    left->addWidget(tools);
    left->addWidget(pages_, 1);

    failure_ = new QLabel(this);
    failure_->setWordWrap(true);
    failure_->hide();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    accept_ = buttons->addButton(acceptText, QDialogButtonBox::AcceptRole);
    accept_->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* right = new QVBoxLayout;
    if (options_)
        right->addWidget(options_);
    right->addWidget(failure_);
    right->addStretch(1);
    right->addWidget(buttons);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(right);

    connect(&job_, &PrintJob::changed, this, &PrintPreviewDialog::jobChanged);
    accept_->setEnabled(job_.isReady());

    // Large enough for a page beside the options, within the screen.
    QSize wanted(960, 680);
    if (const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        wanted = wanted.boundedTo(screen->availableGeometry().size() * 0.95);
    resize(wanted);
}

void PrintPreviewDialog::accept() {
    // The dialog stays while what accepting does did not happen.
    if (!accepted_ || accepted_())
        QDialog::accept();
}

PrintPreviewDialog::~PrintPreviewDialog() {
    // The options belong to the job and outlive the dialog.
    if (options_) {
        options_->hide();
        options_->setParent(nullptr);
    }
}

void PrintPreviewDialog::paintPages(QPrinter* printer) {
    if (!job_.isReady())
        return; // the options say why
    try {
        job_.paint(*printer);
        failure_->hide();
    } catch (const std::exception& e) {
        failure_->setText(
            tr("The preview could not be drawn: %1").arg(QString::fromUtf8(e.what())));
        failure_->show();
    }
}

void PrintPreviewDialog::jobChanged() {
    accept_->setEnabled(job_.isReady());
    pages_->updatePreview();
}

void PrintPreviewDialog::turnPages(int by) {
    const int page = std::clamp(pages_->currentPage() + by, 1, std::max(1, pages_->pageCount()));
    pages_->setCurrentPage(page);
    showPageNumber(page);
}

void PrintPreviewDialog::showPageNumber(int page) {
    const int count = pages_->pageCount();
    pageNumber_->setText(count > 0 ? tr(" Page %1 of %2 ").arg(page).arg(count) : QString());
}

} // namespace qrb
