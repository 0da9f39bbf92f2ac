#pragma once
// The window's print-sheet commands (not a panel: they own no control of the window):
// File > Print... and File > Export print sheet.... Both show
// the pages in a preview beside their layout options, which start as they were last used
// and are remembered when the preview is accepted; then Print asks for a printer and
// Export for a PDF file.

#include "app/shared/Services.h"

#include <QObject>

#include <functional>
#include <memory>

namespace qrb {

class Document;
class SheetPrintJob;

class PrintSheetCommands : public QObject {
    Q_OBJECT
public:
    PrintSheetCommands(const Document& document, Services services, QObject* parent = nullptr);
    ~PrintSheetCommands() override;

    void print();
    void exportSheet();

private:
    // The job as the user accepted it in the preview, or null when there is none (no
    // library, the preview cancelled). `accepted` runs on accepting; false keeps the preview
    // open. Throws SheetError when the accepted options make no pages.
    std::unique_ptr<SheetPrintJob>
    previewed(const QString& title, const QString& acceptText,
              const std::function<bool(SheetPrintJob&)>& accepted = {});
    QString libraryName() const;
    void reportFailure(const QString& what, const std::exception& e);

    const Document& document_;
    Services services_;
};

} // namespace qrb
