#pragma once
// The pages of a print sheet made of the open library's tiles, as its options widget sets
// them out. The pages are laid out again at every change of the options; when they cannot
// be made (no tile fits, margins too wide) the widget's summary says why and the job is not
// ready.

#include "platform/Printing.h"
#include "sheet/SheetArt.h"
#include "sheet/SheetLayout.h"
#include "sheet/SheetOptions.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace qrb {

class SheetOptionsWidget;
class TileSet;

class SheetPrintJob : public PrintJob {
    Q_OBJECT
public:
    // `tiles` must outlive the job and stay as they are while it lives; `selected` are the
    // tiles "Selected tiles only" prints (none: the choice is not offered).
    SheetPrintJob(const TileSet& tiles, std::vector<int> selected, const SheetOptions& start);
    ~SheetPrintJob() override;

    QWidget* optionsWidget() override;
    SheetOptionsWidget& options() { return *widget_; }
    bool isReady() const override { return layout_.has_value(); }
    int pageCount() const override;
    QPageLayout pageLayout() const override;
    void paint(QPagedPaintDevice& device) override;

    // The options the pages were laid out with, the tile list included.
    const SheetOptions& laidOutWith() const { return options_; }
    // The pages; throws SheetError saying why there are none.
    const SheetLayout& layout() const;
    const SheetArt& art() const { return art_; }

private:
    void layOut();

    SheetArt art_;
    std::vector<int> selected_;
    std::unique_ptr<SheetOptionsWidget> widget_;
    SheetOptions options_;
    std::optional<SheetLayout> layout_;
    std::string problem_;
};

} // namespace qrb
