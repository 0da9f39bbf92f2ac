#pragma once
// Printing on the desktop: a preview of pages beside the options that shape them, and the
// print dialog that chooses a printer. The pages come from a PrintJob, which paints them
// on whatever device it is handed: the preview's, a printer, a PDF.

#include <QObject>
#include <QPageLayout>
#include <QString>

#include <functional>

class QPagedPaintDevice;
class QWidget;

namespace qrb {

class PrintJob : public QObject {
    Q_OBJECT
public:
    // The options shown beside the preview; owned by the job, shown by the preview while
    // it is open and handed back when it closes.
    virtual QWidget* optionsWidget() = 0;
    // Whether the pages can be made as the options stand.
    virtual bool isReady() const = 0;
    virtual int pageCount() const = 0;
    // The paper: size and orientation.
    virtual QPageLayout pageLayout() const = 0;
    // Paints every page on `device` (which must not be painting yet). Throws when the
    // pages cannot be made or the device refuses them.
    virtual void paint(QPagedPaintDevice& device) = 0;

signals:
    // The pages or whether they can be made changed: a preview shows them again.
    void changed();
};

class Printing {
public:
    virtual ~Printing() = default;
    // What runs when the user accepts a preview: true closes it, false keeps it open (the
    // print dialog was cancelled, say).
    using Accepted = std::function<bool()>;
    // Shows the job's pages beside its options, following every change, until the user
    // accepts (true; the button says `acceptText`) and `accepted` agrees, or cancels
    // (false).
    virtual bool preview(PrintJob& job, const QString& title, const QString& acceptText,
                         const Accepted& accepted) = 0;
    // Asks for a printer and prints the job there as `documentName`; false when the user
    // cancels. Throws when printing fails.
    virtual bool print(PrintJob& job, const QString& documentName) = 0;
};

} // namespace qrb
