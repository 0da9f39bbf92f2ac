#include "sheet/SheetOptions.h"

#include "core/InputText.h"
#include "sheet/Keyword.h"
#include "sheet/Length.h"
#include "sheet/SheetError.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

namespace qrb {

namespace {

void requireLength(double mm, const char* what, double minimum = 0) {
    if (!std::isfinite(mm) || mm < minimum) {
        throw SheetError(std::string("the ") + what + " must be " + formatMm(minimum) +
                         " mm or more" +
                         (std::isfinite(mm) ? ", not " + formatMm(mm) + " mm" : ""));
    }
}

} // namespace

SizeMm orientedPageSize(const SheetOptions& options) {
    const double shorter = std::min(options.page.size.width, options.page.size.height);
    const double longer = std::max(options.page.size.width, options.page.size.height);
    return options.orientation == PageOrientation::Portrait ? SizeMm{shorter, longer}
                                                            : SizeMm{longer, shorter};
}

void validate(const SheetOptions& options) {
    const SizeMm page = orientedPageSize(options);
    if (!(page.width >= PageSize::kMinMm && page.height >= PageSize::kMinMm &&
          page.width <= PageSize::kMaxMm && page.height <= PageSize::kMaxMm)) {
        throw SheetError("the page must be between " + formatMm(PageSize::kMinMm) + " and " +
                         formatMm(PageSize::kMaxMm) + " mm on each side");
    }
    requireLength(options.margins.left, "left margin");
    requireLength(options.margins.top, "top margin");
    requireLength(options.margins.right, "right margin");
    requireLength(options.margins.bottom, "bottom margin");
    if (options.margins.left + options.margins.right >= page.width ||
        options.margins.top + options.margins.bottom >= page.height) {
        throw SheetError("the margins leave nothing of the " + formatMm(page.width) + " x " +
                         formatMm(page.height) + " mm page");
    }
    requireLength(options.tileWidth, "tile size", SheetOptions::kMinTileWidth);
    requireLength(options.gap, "gap");
    requireLength(options.bleed, "bleed");
    if (options.copies < 1 || options.copies > SheetOptions::kMaxCopies) {
        throw SheetError("the number of copies must be between 1 and " +
                         std::to_string(SheetOptions::kMaxCopies) + ", not " +
                         std::to_string(options.copies));
    }
    for (int tile : options.tiles) {
        if (tile < 1) {
            throw SheetError("tile numbers start at 1, not " + std::to_string(tile));
        }
    }
    // A larger offset would move every back off its page.
    if (!(std::abs(options.backOffset.x) <= page.width &&
          std::abs(options.backOffset.y) <= page.height)) {
        throw SheetError("the back offset must stay within the page: at most " +
                         formatMm(page.width) + " mm across and " + formatMm(page.height) +
                         " mm down");
    }
}

CutMarks parseCutMarks(std::string_view text) {
    constexpr std::pair<std::string_view, CutMarks> kNames[] = {
        {"none", CutMarks::None}, {"corners", CutMarks::Corners}, {"full", CutMarks::Full}};
    for (const auto& [name, marks] : kNames) {
        if (isKeyword(text, name)) {
            return marks;
        }
    }
    throw SheetError(quotedInput(text, 60, '\'') +
                     " is not a kind of cut marks: use none, corners or full");
}

} // namespace qrb
