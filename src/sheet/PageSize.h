#pragma once
// Paper sizes for print sheets: the named sizes and custom ones. The sheet's orientation
// decides which side runs across: portrait puts the shorter side across, landscape the
// longer one, whichever way round a custom size was written.

#include "sheet/SheetGeometry.h"

#include <string>
#include <string_view>

namespace qrb {

struct PageSize {
    // Limits of a custom size: smaller is no sheet of paper, larger is beyond what a PDF
    // page can describe (200 inches).
    static constexpr double kMinMm = 10;
    static constexpr double kMaxMm = 5080;

    std::string name; // "A4", "Letter", "A3", "Legal", or "" for a custom size
    SizeMm size;      // width and height as given

    static PageSize a4() { return {"A4", {210, 297}}; }
    static PageSize letter() { return {"Letter", {215.9, 279.4}}; }
    static PageSize a3() { return {"A3", {297, 420}}; }
    static PageSize legal() { return {"Legal", {215.9, 355.6}}; }

    friend bool operator==(const PageSize&, const PageSize&) = default;
};

// "a4", "letter", "a3", "legal" (any case), or a custom "WxH" whose numbers are lengths
// ("210x297", "210x297mm", "8.5x11in", "20cmx30cm"; a unit written only after the second
// number applies to both). Throws SheetError for anything else and for custom sides
// outside kMinMm..kMaxMm.
PageSize parsePageSize(std::string_view text);

} // namespace qrb
