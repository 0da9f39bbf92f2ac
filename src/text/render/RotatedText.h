#pragma once
// Lettering on an image: the rotated-text routine DrawRotatedText, the unrotated print used
// for the angle "000", and the conversions between the program's TextStyle and Qt fonts
// and colours. QtGui only; the editor window and the command line tool draw through here so
// that one style gives the same pixels everywhere.

#include "core/Colour.h"
#include "text/TextLayout.h"
#include "text/TextStyle.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QRectF>
#include <QString>
#include <QTransform>

#include <cstdint>
#include <functional>
#include <optional>

class QPainter;

namespace qrb {

// A picture that lettering is drawn on: the image, a current drawing position in pixels,
// a foreground (text) colour and the picture's own font. The working tile is kept as
// QImage::Format_RGB32; any format QPainter can paint on works (RGB888 is slower).
struct TextSurface {
    explicit TextSurface(QImage& target) : image(target) {}

    QImage& image;
    int currentX = 0;
    int currentY = 0;
    QColor foreColor = Qt::black;
    QFont font; // the picture's own font, used by PrintText

    void setCurrentPosition(int x, int y) {
        currentX = x;
        currentY = y;
    }
};

namespace rotatedtext {

// Character cell height in pixels for a rotated text of `points`: 1.5 x points, rounded half
// to even (6 -> 9, 7 -> 10, 8 -> 12, 9 -> 14, 12 -> 18, 18 -> 27), at least 1.
int cellHeightForSize(double points);

// An angle in degrees as rotated text is drawn at: whole tenths (ties to even) within one
// turn; 0 for a value that is not a number.
double drawnDegrees(float angle);

// Pixel size (em) for an unrotated print of `points` at 96 dots per inch (8 -> 11).
int printPixelSize(double points);

// The font DrawRotatedText realises for `font`: same face and styles, weight 700 when bold
// else 400, grey-scale anti-aliased, drawn at a whole pixel size and scaled so that its
// cell (ascent + descent) is exactly cellHeightForSize(points) pixels, the way a font
// requested by its cell height comes out. Pixel-sized fonts count as pixels x 0.75 points.
struct RotatedFont {
    QFont font;           // the face at a whole pixel size
    qreal scale = 1.0;    // drawing scale that turns that size into the requested cell
    qreal ascent = 0;     // ascent after scaling, pixels
    qreal cellHeight = 0; // ascent + descent after scaling, pixels
};
RotatedFont rotatedFont(const QFont& font);

// The font PrintText realises for the surface font `font`: the same font at
// printPixelSize(font.pointSizeF()) pixels.
QFont printFont(const QFont& font);

// A font as one of the two routines realises it (rotatedFont when `turned`, else
// printFont), with what laying out lines needs.
struct LineFont {
    QFont font;
    qreal scale = 1.0;
    qreal ascent = 0; // pixels, after scaling
    qreal cell = 0;   // ascent + descent, pixels, after scaling
};
LineFont lineFont(const QFont& font, bool turned);

} // namespace rotatedtext

// Draws `text` turned by `angle` degrees counter-clockwise (90 reads upwards, 180 upside
// down and leftwards; every glyph turns with the line) in the surface's foreground colour on
// a transparent background. (x, y) is the top-left corner of the first character cell. The
// font is `font` realised by rotatedtext::rotatedFont. The surface's own font is left as
// it was; its current position ends at the start of the line below (x, y).
void DrawRotatedText(TextSurface& surface, const QFont& font, const QString& text, float angle,
                     std::int16_t x, std::int16_t y);

// Draws `text` as DrawRotatedText (when `angle` is given) or PrintText (when it is not)
// would, laid out by `layout`: (x, y) is the point of the text its anchor names, taken
// along the text's own axes (a centred text turned 90 degrees is centred on (x, y) too); a
// text wider than the fit width is drawn at the largest whole point size, down to 6, that
// fits; the shadow is drawn first, then the outline, then the letters in the foreground
// colour. The default layout draws exactly what those two routines draw. Leaves the
// current position at the start of the line below (x, y), as they do.
void DrawLaidOutText(TextSurface& surface, const QFont& font, const QString& text,
                     std::optional<float> angle, std::int16_t x, std::int16_t y,
                     const TextLayout& layout);

// The part of an image that DrawLaidOutText with these arguments may change: every pixel of
// the letters with their smoothing, underline, strike-out, outline and shadow lies inside
// (generously: a few pixels around). In image pixels, not clipped to any image; empty for
// an empty text. Lets a view redraw only where a text was and is.
QRect LaidOutTextArea(const QFont& font, const QString& text, std::optional<float> angle,
                      std::int16_t x, std::int16_t y, const TextLayout& layout);

// The point size `font` is drawn at to fit `layout`'s width: its own size, unless the text
// is wider than the fit width, then the largest whole size below it, down to 6, that fits
// (6 when none does). Turned text is measured as DrawRotatedText draws it.
double fittedPoints(const QFont& font, const QString& text, bool turned, int fitWidth);

// Draws letters in a colour through a transform from their own coordinates to the image's.
using LetterPainter =
    std::function<void(QPainter& painter, const QTransform& transform, const QColor& colour)>;

// Paints what `drawLetters` draws with `layout`'s shadow and outline under it, the letters
// themselves in `colour` on top. `placed(dx, dy)` is the letters' transform moved by (dx,
// dy) tile pixels; `letters` their extent in their own coordinates (needed for an outline
// only). The effects routine of every laid-out text.
void PaintWithEffects(QImage& image, const TextLayout& layout, const QColor& colour,
                      const QRectF& letters, const std::function<QTransform(int, int)>& placed,
                      const LetterPainter& drawLetters);

// Prints `text` unrotated at the surface's current position (top-left corner of the text)
// with the surface's own font at its point size converted at 96 dots per inch, in the
// foreground colour, transparent background. Moves the current position to the start of
// the next line.
void PrintText(TextSurface& surface, const QString& text);

} // namespace qrb
