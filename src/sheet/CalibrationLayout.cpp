#include "sheet/Length.h"
#include "sheet/SheetError.h"
#include "sheet/SheetLayout.h"

#include <vector>

namespace qrb {

namespace {

// Each cross reaches this far from its centre; the back's scale has a tick every
// millimetre along it, a longer one every five.
constexpr double kArm = 10;
constexpr double kTick = 1;
constexpr double kLongTick = 2;
// The corner crosses sit this far inside the corners of the area within the margins.
constexpr double kCornerInset = 15;
constexpr double kTextHeight = 3.5;
constexpr double kLineSpacing = 5.5;

void addCross(std::vector<LineMm>& marks, PointMm c, bool scale) {
    marks.push_back({{c.x - kArm, c.y}, {c.x + kArm, c.y}});
    marks.push_back({{c.x, c.y - kArm}, {c.x, c.y + kArm}});
    if (!scale) {
        return;
    }
    for (int mm = -static_cast<int>(kArm); mm <= static_cast<int>(kArm); ++mm) {
        if (mm == 0) {
            continue;
        }
        const double half = (mm % 5 == 0 ? kLongTick : kTick) / 2;
        marks.push_back({{c.x + mm, c.y - half}, {c.x + mm, c.y + half}});
        marks.push_back({{c.x - half, c.y + mm}, {c.x + half, c.y + mm}});
    }
}

void addText(SheetPage& page, PointMm at, const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        page.labels.push_back({at, kTextHeight, line});
        at.y += kLineSpacing;
    }
}

} // namespace

SheetLayout layOutCalibration(const SheetOptions& options) {
    validate(options);
    SheetLayout layout;
    layout.page = orientedPageSize(options);
    const SheetMargins& m = options.margins;
    const RectMm inner{m.left, m.top, layout.page.width - m.left - m.right,
                       layout.page.height - m.top - m.bottom};
    if (inner.width < 2 * kArm || inner.height < 2 * kArm) {
        throw SheetError("the margins leave no room for the calibration crosses: they need " +
                         formatMm(2 * kArm) + " x " + formatMm(2 * kArm) + " mm, the page leaves " +
                         formatMm(inner.width) + " x " + formatMm(inner.height) + " mm");
    }
    std::vector<PointMm> centres{{inner.x + inner.width / 2, inner.y + inner.height / 2}};
    const bool corners = inner.width >= 2 * (kCornerInset + kArm) + 2 * kArm &&
                         inner.height >= 2 * (kCornerInset + kArm) + 2 * kArm;
    if (corners) {
        for (double x : {inner.left() + kCornerInset, inner.right() - kCornerInset}) {
            for (double y : {inner.top() + kCornerInset, inner.bottom() - kCornerInset}) {
                centres.push_back({x, y});
            }
        }
    }

    SheetPage front;
    front.kind = SheetPageKind::CalibrationFront;
    SheetPage back;
    back.kind = SheetPageKind::CalibrationBack;
    for (const PointMm& c : centres) {
        addCross(front.marks, c, false);
        // Behind the front cross when the sheet is turned over its side edge.
        addCross(back.marks,
                 {layout.page.width - c.x + options.backOffset.x, c.y + options.backOffset.y},
                 true);
    }
    const double textTop = corners ? inner.top() + kCornerInset + kArm + 3 : inner.top();
    addText(front, {inner.left() + 5, textTop},
            {"Calibration page: front",
             "Print this page and the next on the two sides of one sheet,",
             "turning the sheet over its side edge."});
    addText(back, {layout.page.width - inner.right() + 5, textTop},
            {"Calibration page: back (back offset " + formatMm(options.backOffset.x) + ", " +
                 formatMm(options.backOffset.y) + " mm)",
             "Hold the sheet against the light with this side towards you.",
             "Where a front cross shows through, read its place on the scale",
             "(1 mm steps; right and down count positive) and add it to the back offset."});
    layout.pages.push_back(std::move(front));
    layout.pages.push_back(std::move(back));
    return layout;
}

} // namespace qrb
