#pragma once
// Print sheets from the window: File > Print... and File > Export print sheet.... Both show
// the pages in a preview beside their layout options, which start as they were last used
// and are remembered when the preview is accepted; then Print asks for a printer and
// Export for a PDF file.

#include "app/parts/PartSupport.h"

#include <QObject>

#include <functional>
#include <memory>

namespace qrb {

class Document;
class SheetPrintJob;

class PrintSheetPanel : public QObject {
    Q_OBJECT
public:
    PrintSheetPanel(const Document& document, Services services, QObject* parent = nullptr);
    ~PrintSheetPanel() override;

    void print();
    void exportSheet();

private:
    // The job the user accepted in the preview, or null when there is none (no library,
    // the preview cancelled). Throws SheetError when the accepted options make no pages.
    // The job as the user accepted it in the preview, or null when cancelled. `accepted`
    // runs on accepting; false keeps the preview open.
    std::unique_ptr<SheetPrintJob>
    previewed(const QString& title, const QString& acceptText,
              const std::function<bool(SheetPrintJob&)>& accepted = {});
    QString libraryName() const;
    void reportFailure(const QString& what, const std::exception& e);

    const Document& document_;
    Services services_;
};

} // namespace qrb
