#pragma once
// A print preview with the options beside the pages: the job's pages on the left, drawn
// again whenever the job changes, its options on the right, and a button that accepts
// (Print..., Export...) while the pages can be made. The options widget stays the job's:
// the dialog hands it back when it closes.

#include <QDialog>
#include <QPointer>
#include <QPrinter>

#include <functional>

class QLabel;
class QPrintPreviewWidget;
class QPushButton;

namespace qrb {

class PrintJob;

class PrintPreviewDialog : public QDialog {
    Q_OBJECT
public:
    // `accepted` runs when the user accepts; the dialog closes only when it returns true.
    PrintPreviewDialog(PrintJob& job, const QString& title, const QString& acceptText,
                       std::function<bool()> accepted, QWidget* parent = nullptr);
    ~PrintPreviewDialog() override;

    void accept() override;

private:
    void paintPages(QPrinter* printer);
    void jobChanged();
    void turnPages(int by);
    void showPageNumber(int page);

    PrintJob& job_;
    std::function<bool()> accepted_;
    QPrinter printer_;
    QPointer<QWidget> options_;
    QPrintPreviewWidget* pages_ = nullptr;
    QLabel* pageNumber_ = nullptr;
    QLabel* failure_ = nullptr;
    QPushButton* accept_ = nullptr;
};

} // namespace qrb
