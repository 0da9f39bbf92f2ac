#pragma once
// The line of lettering being placed on the working tile: its text, style, position and
// angle, with the rules the position, angle and size controls follow. Changing it is not
// an edit: it is drawn live over the working tile until Place makes it part of the tile.

#include "text/PositionSlot.h"
#include "text/TextStyle.h"

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

namespace qrb {

struct Placement {
    // The position may start this far left of or above the tile.
    static constexpr int kPositionMinimum = -5;
    // The font dialog's size range; the size steps stay within it.
    static constexpr float kMinimumSize = 6;
    static constexpr float kMaximumSize = 18;

    QString text;
    TextStyle style;
    std::int16_t x = 0;
    std::int16_t y = 0;
    int angle = 0;                             // the angle control's value, 0 to 359
    QString angleText = QStringLiteral("000"); // as the angle box shows it
    bool positionEnabled = false;              // the position controls take input

    bool operator==(const Placement&) const = default;

    // "000" means "not turned" everywhere; any other text (a typed "0" too) turns.
    bool isTurned() const { return angleText != QLatin1String("000"); }
    // The angle the text is drawn at: the angle text cut to whole degrees, else `angle`.
    float drawnAngle() const;

    // The angle control moved to `value`: one step past either end comes round (-1 is
    // 359, 360 is 0); the text shows it as three digits.
    void setAngle(int value);
    // Enter in the angle box with `typed` in it: a number from 0 to 359 becomes the angle
    // (rounded half to even), anything else turns the angle back to "000"; the text is the
    // angle's three digits either way.
    void enterAngle(const QString& typed);
    // A double click on the angle box: back to "000".
    void resetAngle();

    // A size step of `delta` points from the size the font dialog would show (the size
    // within its range). Empty when nothing changes (a step up at the largest size).
    std::optional<float> steppedSize(int delta) const;

    // A click on `slot`'s button recalls it: its text, style, angle and position. A
    // position that is not a whole number keeps the current one; a position beyond the
    // tile (stored on a larger one) is kept as it is.
    void recall(const PositionSlot& slot);
};

// Draws the placement's text onto `image` (any format QPainter paints on): turned text
// when the angle is turned, else printed unturned, in the style's colour, with (x, y) the
// point its layout anchors (by default the top-left corner) and the layout's fit width,
// outline and shadow. The routine the window's preview, Place and Create all use.
void drawPlacement(QImage& image, const Placement& placement);

// The part of an image that drawPlacement() may change (see LaidOutTextArea), not clipped to
// the image; empty when there is no text.
QRect placementArea(const Placement& placement);

// Draws a placement of slot `slot` (the live text, drawn before the next slot is recalled).
using SlotDrawing =
    std::function<void(QImage& image, const Placement& placement, std::size_t slot)>;

// Create using position data on a working tile holding `picture` with `placement` shown
// live over it when `live` is set: for every slot from `from` on that has a text, in slot
// order, what the tile shows becomes its picture and the slot is recalled, its text live.
// So every stored text ends on the tile, the last one live. The one routine behind Create
// and lettering from a table; the lettering draws a slot its own way (`draw`, else
// drawPlacement), and gets back the slot that is live.
std::optional<std::size_t> stampSlots(QImage& picture, Placement& placement, bool& live,
                                      const PositionSlots& positionSlots, std::size_t from = 0,
                                      const SlotDrawing& draw = {});

} // namespace qrb
