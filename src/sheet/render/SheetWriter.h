#pragma once
// Writing a laid-out sheet set: one PDF of all pages, or one PNG per page. Every file is
// replaced atomically: it is written beside the target and renamed over it only when
// complete, so a failure leaves the old file as it was.

#include "sheet/SheetArt.h"
#include "sheet/SheetLayout.h"

#include <QImage>
#include <QString>

#include <filesystem>
#include <vector>

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
    // paper. Returns the files written. Each file is replaced atomically; when one cannot
    // be written, FileError names it and the pages before it stay written. Throws
    // SheetError for a resolution outside kMinDpi..kMaxDpi or a page too large for an
    // image at that resolution.
    static std::vector<std::filesystem::path> writePng(const std::filesystem::path& path,
                                                       const SheetLayout& layout,
                                                       const SheetArt& art, int dpi = kDefaultDpi);

    // "OUT.png" -> "OUT-3.png" for page 3; a name without the ".png" extension gets it.
    static std::filesystem::path pagePngPath(const std::filesystem::path& path, int page);

    // One page on white paper at `dpi`, with the resolution recorded in the image.
    // Throws SheetError as writePng does.
    static QImage renderPage(const SheetLayout& layout, const SheetPage& page,
                             SheetPainter& painter, int dpi);
};

} // namespace qrb
