#include "document/Placement.h"

#include "core/CheckedNumeric.h"
#include "document/TypedNumber.h"
#include "text/PositionSlot.h"
#include "text/render/QtConversions.h"
#include "text/render/RotatedText.h"

#include <algorithm>
#include <cmath>

namespace qrb {

float Placement::drawnAngle() const {
    if (const auto number = typedNumber(angleText)) {
        if (const auto whole = tryToInt32(std::trunc(*number)))
            return float(*whole);
    }
    return float(angle);
}

void Placement::setAngle(int value) {
    if (value >= 360)
        value = 0;
    else if (value < 0)
        value = 359;
    angle = value;
    angleText = QString::fromStdString(formatAngle(value));
}

void Placement::enterAngle(const QString& typed) {
    const std::optional<double> number = typedNumber(typed);
    // The angle shows as three digits afterwards, also when it did not change: a typed
    // "12.5" or "abc" left in the box would say something else than the tile shows.
    if (number && *number >= 0 && *number <= 359)
        setAngle(toInt16(*number, "angle"));
    else
        resetAngle();
}

void Placement::resetAngle() {
    angle = 0;
    angleText = QStringLiteral("000");
}

std::optional<float> Placement::steppedSize(int delta) const {
    const float from = std::clamp(style.size, kMinimumSize, kMaximumSize);
    const float size = from + float(delta);
    if (size > kMaximumSize)
        return std::nullopt;
    return std::max(size, kMinimumSize);
}

void Placement::recall(const PositionSlot& slot) {
    const QString position = QString::fromStdString(slot.position);
    x = typedWholeNumber(position.section(QLatin1Char(','), 0, 0)).value_or(x);
    y = typedWholeNumber(position.section(QLatin1Char(','), 1, 1)).value_or(y);
    setAngle(typedAngle(QString::fromStdString(slot.angle)).value_or(0));
    style = slot.style;
    text = QString::fromStdString(slot.text);
    positionEnabled = true;
}

void drawPlacement(QImage& image, const Placement& placement) {
    TextSurface surface(image);
    surface.font = toQFont(placement.style);
    surface.foreColor = toQColor(placement.style.textColour);
    const std::optional<float> angle =
        placement.isTurned() ? std::optional<float>(placement.drawnAngle()) : std::nullopt;
    DrawLaidOutText(surface, surface.font, placement.text, angle, placement.x, placement.y,
                    placement.style.layout);
}

QRect placementArea(const Placement& placement) {
    const std::optional<float> angle =
        placement.isTurned() ? std::optional<float>(placement.drawnAngle()) : std::nullopt;
    return LaidOutTextArea(toQFont(placement.style), placement.text, angle, placement.x,
                           placement.y, placement.style.layout);
}

std::optional<std::size_t> stampSlots(QImage& picture, Placement& placement, bool& live,
                                      const PositionSlots& positionSlots, std::size_t from,
                                      const SlotDrawing& draw) {
    std::optional<std::size_t> shown;
    for (std::size_t k = from; k < PositionSlots::kCount; ++k) {
        if (positionSlots[k].isEmpty())
            continue;
        if (live && draw && shown)
            draw(picture, placement, *shown);
        else if (live)
            drawPlacement(picture, placement);
        placement.recall(positionSlots[k]);
        live = true;
        shown = k;
    }
    return shown;
}

} // namespace qrb
