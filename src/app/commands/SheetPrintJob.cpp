#include "app/commands/SheetPrintJob.h"

#include "sheet/SheetError.h"
#include "sheet/render/SheetWriter.h"
#include "widgets/SheetOptionsWidget.h"

namespace qrb {

SheetPrintJob::SheetPrintJob(const TileSet& tiles, std::vector<int> selected,
                             const SheetOptions& start)
    : art_(tiles), selected_(std::move(selected)), widget_(std::make_unique<SheetOptionsWidget>()) {
    widget_->setOptions(start);
    widget_->setSelectedCount(int(selected_.size()));
    connect(widget_.get(), &SheetOptionsWidget::changed, this, &SheetPrintJob::layOut);
    layOut();
}

SheetPrintJob::~SheetPrintJob() = default;

QWidget* SheetPrintJob::optionsWidget() {
    return widget_.get();
}

void SheetPrintJob::layOut() {
    options_ = widget_->options();
    if (widget_->selectedOnly())
        options_.tiles = selected_;
    try {
        layout_ = layOutSheet(options_, art_);
        problem_.clear();
        const int pages = int(layout_->pages.size());
        const int tiles =
            options_.tiles.empty() ? art_.fronts().count() : int(options_.tiles.size());
        const int printed = tiles * options_.copies;
        const QString tileCount = printed == 1 ? tr("1 tile") : tr("%1 tiles").arg(printed);
        const QString pageCount = pages == 1 ? tr("1 page") : tr("%1 pages").arg(pages);
        widget_->setSummary(tr("%1 on %2 (up to %3 across and %4 down).",
                               "print sheet: tiles, pages, columns, rows")
                                .arg(tileCount, pageCount)
                                .arg(layout_->columns)
                                .arg(layout_->rows),
                            false);
    } catch (const SheetError& e) {
        layout_.reset();
        problem_ = e.what();
        // The layout's messages start in lower case, for use after a file name.
        QString text = QString::fromStdString(problem_);
        if (!text.isEmpty())
            text[0] = text[0].toUpper();
        widget_->setSummary(text, true);
    }
    emit changed();
}

const SheetLayout& SheetPrintJob::layout() const {
    if (!layout_)
        throw SheetError(problem_);
    return *layout_;
}

int SheetPrintJob::pageCount() const {
    return layout_ ? int(layout_->pages.size()) : 0;
}

QPageLayout SheetPrintJob::pageLayout() const {
    return SheetWriter::pageLayout(orientedPageSize(options_));
}

void SheetPrintJob::paint(QPagedPaintDevice& device) {
    SheetWriter::paintPages(device, layout(), art_);
}

} // namespace qrb
