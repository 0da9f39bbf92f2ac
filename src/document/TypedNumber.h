#pragma once
// Numbers as the user types them into the editor's small text boxes (angle, position).

#include <QString>

#include <cstdint>
#include <optional>

namespace qrb {

// The number a typed text stands for: decimal, optional sign, fraction and exponent,
// blanks around it ignored ("45", " 12.5 ", "-1", "1e2"). Empty for anything else,
// including infinities and NaN.
std::optional<double> typedNumber(const QString& text);

// A typed whole number in the signed 16-bit range ("-5", "120", " 7 "); empty for a
// fraction, a number out of range or anything that is not a number.
std::optional<std::int16_t> typedWholeNumber(const QString& text);

// An angle text as degrees 0 to 359: the number rounded half to even and turned into
// one revolution (400 -> 40, -5 -> 355). Empty when the text is not a number.
std::optional<int> typedAngle(const QString& text);

} // namespace qrb
