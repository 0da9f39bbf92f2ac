#pragma once
// Lengths as people type them: a number with an optional unit, "30mm", "2.5cm", "1.5in",
// "12pt" (1/72 inch); a bare number is millimetres. Units are case-insensitive and may be
// separated from the number by spaces. Everything inside the program is millimetres.

#include "sheet/SheetGeometry.h"

#include <optional>
#include <string>
#include <string_view>

namespace qrb {

constexpr double kMmPerInch = 25.4;
constexpr double kMmPerPoint = kMmPerInch / 72.0;

// The length in millimetres. Throws SheetError ("'3furlongs' is not a length: ...") for
// anything but a finite number with a known unit. The sign is kept; callers decide whether
// a negative length makes sense.
double parseLength(std::string_view text);

// "X,Y": two lengths, each with its own optional unit ("1.5,-2", "1mm,0.1in").
PointMm parseLengthPair(std::string_view text);

// The unit of `text` ("in" for "1.5in"), empty for a bare number. Used where a unit given
// once applies to two numbers ("8.5x11in").
std::optional<std::string> lengthUnit(std::string_view text);

// A length for messages: millimetres with at most two decimals, no trailing zeros
// ("25", "1.5", "4.23").
std::string formatMm(double mm);

} // namespace qrb
