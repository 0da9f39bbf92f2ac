#pragma once
// Writing a laid-out sheet set: one PDF of all pages, or one PNG per page. Every file is
// replaced atomically, as the library files are (core/AtomicFile): written beside the
// target and renamed over it only when complete, so a failure leaves the old file as it
// was; a symbolic link is followed, a folder or device is refused.

#include "sheet/SheetArt.h"
#include "sheet/SheetLayout.h"

#include <QImage>
#include <QPageLayout>
#include <QString>

#include <cstdint>
#include <filesystem>
#include <limits>
#include <vector>

class QPagedPaintDevice;

namespace qrb {

class SheetPainter;

class SheetWriter {
public:
    static constexpr int kDefaultDpi = 300;
    static constexpr int kMinDpi = 10;
    static constexpr int kMaxDpi = 2400;

    // All pages of `layout` as one PDF at `path`, each tile picture embedded once, the
    // pages sized as laid out. `title` goes into the document information. Throws
    // FileError naming `path` when it cannot be written.
    static void writePdf(const std::filesystem::path& path, const SheetLayout& layout,
                         const SheetArt& art, const QString& title = {});

    // Page n (1-based) of `layout` as pagePngPath(path, n), at `dpi` dots per inch, white
    // paper, the resolution recorded in the file. Returns the files written. All pages or
    // none: every page is written to its temporary first and the set is put in place only
    // when all are complete, so when one cannot be written (FileError naming it: a full
    // disk, a name too long) every page file is left as it was. A page is drawn and
    // written in bands of rows that take at most `memory` bytes, so its size in memory is
    // no limit; the pixels are the same as one band's. Throws SheetError for a resolution
    // outside kMinDpi..kMaxDpi, `memory` too small for a band of kMinBandRows rows (the
    // message says how much is needed), or more pages than the system lets the run keep
    // open at once. The pages are drawn on `threads` threads (0: every core; no more than
    // `memory` holds a band for) and the files are those of one, byte for byte; a failure
    // is the first page's in order.
    static std::vector<std::filesystem::path>
    writePng(const std::filesystem::path& path, const SheetLayout& layout, const SheetArt& art,
             int dpi = kDefaultDpi,
             std::uint64_t memory = std::numeric_limits<std::uint64_t>::max(), int threads = 0);
    static constexpr int kMinBandRows = 64;

    // The pages of `layout` on `device` (a PDF, a printer, a preview): gives the device
    // the layout's page size and orientation and paints every page, or only those in the
    // device's page ranges when it has any. The device must not be painting yet. Throws
    // SheetError when the device refuses the page size or will not start a page.
    static void paintPages(QPagedPaintDevice& device, const SheetLayout& layout,
                           const SheetArt& art);

    // A page of `page`'s width and height as a device takes it: a named paper size when it
    // is one, turned to landscape when it is wider than high, no margins.
    static QPageLayout pageLayout(SizeMm page);

    // The pages OUT-(pages+1).png, OUT-(pages+2).png, ... that exist, up to the first that
    // does not: what an earlier, longer run left beside a set of `pages` pages.
    static std::vector<std::filesystem::path> olderPngPages(const std::filesystem::path& path,
                                                            int pages);

    // "OUT.png" -> "OUT-3.png" for page 3; a name without the ".png" extension gets it.
    static std::filesystem::path pagePngPath(const std::filesystem::path& path, int page);
};

} // namespace qrb
