#include "platform/qt/QtPrinting.h"

#include "platform/qt/PrintPreviewDialog.h"

#include <QApplication>
#include <QPrintDialog>
#include <QPrinter>

#include <algorithm>

namespace qrb {

bool QtPrinting::preview(PrintJob& job, const QString& title, const QString& acceptText,
                         const Accepted& accepted) {
    PrintPreviewDialog dialog(job, title, acceptText, accepted, QApplication::activeWindow());
    return dialog.exec() == QDialog::Accepted;
}

bool QtPrinting::print(PrintJob& job, const QString& documentName) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setFullPage(true);
    printer.setDocName(documentName);
    // The dialog starts on the paper the pages are laid out for.
    printer.setPageLayout(job.pageLayout());
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    dialog.setMinMax(1, std::max(1, job.pageCount()));
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    job.paint(printer);
    return true;
}

} // namespace qrb
