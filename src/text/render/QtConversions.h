#pragma once
// The program's styles and colours as Qt gives and takes them: a TextStyle as a QFont and
// back, a colour value as a QColor and back.

#include "core/Colour.h"
#include "text/TextStyle.h"

#include <QColor>
#include <QFont>

namespace qrb {

// TextStyle <-> Qt. The font keeps the size as points (QFont::pointSizeF).
QFont toQFont(const TextStyle& style);
// Face, size and styles from `font`; the two colours are given.
TextStyle toTextStyle(const QFont& font, ColourValue textColour, ColourValue boxColour);

// Points of `font`, whether it was sized in points or in pixels (96 dots per inch).
double pointsOf(const QFont& font);

// A colour value as a QColor: RGB values directly, system colours through the application
// palette (window text, window, button face, highlight ...; black when no application runs).
QColor toQColor(ColourValue value);
// An opaque QColor as a colour value (0x00BBGGRR).
ColourValue toColourValue(const QColor& colour);

} // namespace qrb
