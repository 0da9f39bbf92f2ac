#pragma once
// The desktop's printing: the preview dialog with the options beside the pages, and the
// print dialog of Qt's print support.

#include "platform/Printing.h"

namespace qrb {

class QtPrinting : public Printing {
public:
    bool preview(PrintJob& job, const QString& title, const QString& acceptText,
                 const Accepted& accepted) override;
    bool print(PrintJob& job, const QString& documentName) override;
};

} // namespace qrb
