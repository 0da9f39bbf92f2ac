#include "document/TypedNumber.h"

#include "core/CheckedNumeric.h"

#include <QLocale>

#include <cmath>

namespace qrb {

std::optional<double> typedNumber(const QString& text) {
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<std::int16_t> typedWholeNumber(const QString& text) {
    bool ok = false;
    const short value = text.trimmed().toShort(&ok, 10);
    if (!ok)
        return std::nullopt;
    return std::int16_t(value);
}

std::optional<int> typedAngle(const QString& text) {
    const std::optional<double> number = typedNumber(text);
    if (!number)
        return std::nullopt;
    // Whole turns do not change an angle, so any finite number has one.
    const double turned = std::fmod(*number, 360.0);
    const std::optional<std::int32_t> whole = tryToInt32(turned);
    if (!whole)
        return std::nullopt;
    int degrees = *whole % 360;
    return degrees < 0 ? degrees + 360 : degrees;
}

} // namespace qrb
