#pragma once
// Points, rectangles and lines on a printed page, in millimetres from the page's top-left
// corner, x to the right and y downwards.

namespace qrb {

struct PointMm {
    double x = 0;
    double y = 0;
    friend bool operator==(const PointMm&, const PointMm&) = default;
};

struct SizeMm {
    double width = 0;
    double height = 0;
    friend bool operator==(const SizeMm&, const SizeMm&) = default;
};

struct RectMm {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    double left() const { return x; }
    double top() const { return y; }
    double right() const { return x + width; }
    double bottom() const { return y + height; }
    // The rectangle grown by `d` on every side.
    RectMm grown(double d) const { return {x - d, y - d, width + 2 * d, height + 2 * d}; }
    friend bool operator==(const RectMm&, const RectMm&) = default;
};

// A straight line from `from` to `to`, drawn as a hairline.
struct LineMm {
    PointMm from;
    PointMm to;
    friend bool operator==(const LineMm&, const LineMm&) = default;
};

} // namespace qrb
