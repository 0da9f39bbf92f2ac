#include "text/render/TextBox.h"

#include "text/render/QtConversions.h"

#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPainter>
#include <QTextBoundaryFinder>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace qrb {

namespace {

// A run of letters or one icon, as a line holds it.
struct Segment {
    QString text;
    const QImage* icon = nullptr;
};

// A word: what lies between two spaces.
using Word = std::vector<Segment>;
// A paragraph: what lies between two line breaks.
using Paragraph = std::vector<Word>;

std::vector<Paragraph> paragraphsOf(const std::vector<BoxPiece>& pieces, bool oneLine) {
    std::vector<Paragraph> paragraphs(1);
    Word word;
    const auto endWord = [&] {
        if (!word.empty())
            paragraphs.back().push_back(std::move(word));
        word.clear();
    };
    const auto addLetter = [&](QStringView letter) {
        if (word.empty() || word.back().icon)
            word.push_back({});
        word.back().text += letter;
    };
    for (const BoxPiece& piece : pieces) {
        if (piece.icon) {
            word.push_back({{}, piece.icon});
            continue;
        }
        for (qsizetype i = 0; i < piece.text.size(); ++i) {
            const QChar c = piece.text[i];
            if (c == QLatin1Char('\n') && !oneLine) {
                endWord();
                paragraphs.emplace_back();
            } else if (c == QLatin1Char(' ') || c == QLatin1Char('\n')) {
                endWord();
            } else {
                addLetter(QStringView(piece.text).mid(i, 1));
            }
        }
    }
    endWord();
    return paragraphs;
}

// Line breaking and measuring at one size.
class Measure {
public:
    explicit Measure(const modRotateText::LineFont& line) : line_(line), metrics_(line.font) {}

    qreal iconHeight() const { return line_.ascent; }
    qreal iconWidth(const QImage& icon) const {
        return icon.height() > 0 ? iconHeight() * icon.width() / icon.height() : 0;
    }
    qreal width(const Segment& s) const {
        return s.icon ? iconWidth(*s.icon) : metrics_.horizontalAdvance(s.text) * line_.scale;
    }
    qreal width(const std::vector<Segment>& line) const {
        qreal w = 0;
        for (const Segment& s : line)
            w += width(s);
        return w;
    }
    qreal lineSpacing() const { return metrics_.lineSpacing() * line_.scale; }

private:
    const modRotateText::LineFont& line_;
    QFontMetricsF metrics_;
};

// Appends `word` to `line`, a space before it unless the line is empty; neighbouring
// letters make one segment, so they are measured and drawn as one run.
void append(std::vector<Segment>& line, const Word& word) {
    bool space = !line.empty();
    for (const Segment& s : word) {
        if (!s.icon && !line.empty() && !line.back().icon) {
            if (space)
                line.back().text += QLatin1Char(' ');
            line.back().text += s.text;
        } else {
            if (space)
                line.push_back({QStringLiteral(" "), nullptr});
            line.push_back(s);
        }
        space = false;
    }
}

// `segment` added to `line` without a space.
void join(std::vector<Segment>& line, const Segment& segment) {
    if (!segment.icon && !line.empty() && !line.back().icon)
        line.back().text += segment.text;
    else
        line.push_back(segment);
}

// `word` cut into its characters (grapheme clusters) and icons.
std::vector<Word> characters(const Word& word) {
    std::vector<Word> parts;
    for (const Segment& s : word) {
        if (s.icon) {
            parts.push_back({s});
            continue;
        }
        QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, s.text);
        qsizetype from = 0;
        while (finder.toNextBoundary() != -1) {
            const qsizetype to = finder.position();
            parts.push_back({{s.text.mid(from, to - from), nullptr}});
            from = to;
        }
    }
    return parts;
}

struct Lines {
    std::vector<std::vector<Segment>> lines;
    std::vector<qreal> widths;
    qreal widest = 0;
};

// Greedy breaking: as many words on a line as fit `width` (any number when it is
// unbounded); a word wider than a line alone breaks between characters.
Lines breakLines(const std::vector<Paragraph>& paragraphs, const Measure& measure,
                 std::optional<qreal> width) {
    Lines out;
    const auto finish = [&](std::vector<Segment>& line) {
        const qreal w = measure.width(line);
        out.widths.push_back(w);
        out.widest = std::max(out.widest, w);
        out.lines.push_back(std::move(line));
        line.clear();
    };
    const auto fits = [&](const std::vector<Segment>& line) {
        return !width || measure.width(line) <= *width + 1e-6;
    };
    for (const Paragraph& paragraph : paragraphs) {
        std::vector<Segment> line;
        for (const Word& word : paragraph) {
            std::vector<Segment> tried = line;
            append(tried, word);
            if (fits(tried)) {
                line = std::move(tried);
                continue;
            }
            if (!line.empty()) {
                finish(line);
                tried.clear();
                append(tried, word);
                if (fits(tried)) {
                    line = std::move(tried);
                    continue;
                }
            }
            // Longer than the box: as many characters as fit on each line, one at least.
            for (const Word& part : characters(word)) {
                std::vector<Segment> longer = line;
                join(longer, part.front());
                if (line.empty() || fits(longer)) {
                    line = std::move(longer);
                } else {
                    finish(line);
                    line.push_back(part.front());
                }
            }
        }
        finish(line);
    }
    return out;
}

struct Laid {
    modRotateText::LineFont font;
    Lines lines;
    qreal spacing = 0;
    qreal height = 0; // of the block of lines
};

Laid layOut(const QFont& font, double points, bool turned, const std::vector<Paragraph>& paragraphs,
            std::optional<qreal> width) {
    QFont sized(font);
    if (points != pointsOf(font))
        sized.setPointSizeF(points);
    Laid laid{modRotateText::lineFont(sized, turned), {}, 0, 0};
    const Measure measure(laid.font);
    laid.lines = breakLines(paragraphs, measure, width);
    laid.spacing = measure.lineSpacing();
    laid.height = laid.lines.lines.empty()
                      ? 0
                      : qreal(laid.lines.lines.size() - 1) * laid.spacing + laid.font.cell;
    return laid;
}

bool fitsIn(const Laid& laid, QSize box) {
    return laid.height <= box.height() + 1e-6 && laid.lines.widest <= box.width() + 1e-6;
}

qreal share(HorizontalAnchor anchor) {
    return anchor == HorizontalAnchor::Centre ? 0.5 : anchor == HorizontalAnchor::Right ? 1.0 : 0.0;
}
qreal share(VerticalAnchor anchor) {
    return anchor == VerticalAnchor::Middle ? 0.5 : anchor == VerticalAnchor::Bottom ? 1.0 : 0.0;
}

} // namespace

BoxOutcome DrawTextBox(TextSurface& surface, const QFont& font, const std::vector<BoxPiece>& pieces,
                       std::optional<float> angle, std::int16_t x, std::int16_t y,
                       std::optional<QSize> box, const TextLayout& layout) {
    const bool turned = angle.has_value();
    const std::vector<Paragraph> paragraphs = paragraphsOf(pieces, !box);
    const double own = pointsOf(font);
    const std::optional<qreal> width = box ? std::optional<qreal>(box->width()) : std::nullopt;

    BoxOutcome outcome{own, true};
    Laid laid = layOut(font, own, turned, paragraphs, width);
    if (box && !fitsIn(laid, *box)) {
        // The largest whole size below that fits, found by halving: a size that fits has
        // room for the text at every size below it.
        const double smallest = TextLayout::kSmallestFitSize;
        double low = smallest;
        double high = std::ceil(own) - 1.0;
        std::optional<Laid> best;
        while (low <= high) {
            const double mid = std::floor((low + high) / 2);
            Laid tried = layOut(font, mid, turned, paragraphs, width);
            if (fitsIn(tried, *box)) {
                best = std::move(tried);
                outcome.points = mid;
                low = mid + 1;
            } else {
                high = mid - 1;
            }
        }
        if (best) {
            laid = std::move(*best);
        } else {
            outcome.points = std::min(own, smallest);
            laid = layOut(font, outcome.points, turned, paragraphs, width);
            outcome.fits = fitsIn(laid, *box);
        }
    }
    if (laid.lines.lines.empty() || surface.image.isNull())
        return outcome;

    const QSizeF size = box ? QSizeF(*box) : QSizeF(laid.lines.widest, laid.font.cell);
    qreal left = -size.width() * share(layout.horizontal);
    qreal top = -size.height() * share(layout.vertical);
    qreal blockTop = outcome.fits ? (size.height() - laid.height) * share(layout.vertical) : 0;
    if (!turned) {
        left = std::round(left);
        top = std::round(top);
        blockTop = std::round(blockTop);
    }
    const double degrees = turned ? modRotateText::drawnDegrees(*angle) : 0.0;
    const auto placed = [&](int shiftX, int shiftY) {
        QTransform transform;
        transform.translate(x + shiftX, y + shiftY);
        if (degrees != 0.0)
            transform.rotate(-degrees);
        transform.translate(left, top);
        return transform;
    };

    // Where each segment of each line starts, in the box's own pixels.
    struct Placed {
        const Segment* segment;
        QPointF at; // the top of the line at the segment's left edge
    };
    std::vector<Placed> segments;
    const Measure measure(laid.font);
    for (std::size_t i = 0; i < laid.lines.lines.size(); ++i) {
        qreal lineX = (size.width() - laid.lines.widths[i]) * share(layout.horizontal);
        qreal lineY = blockTop + qreal(i) * laid.spacing;
        if (!turned) {
            lineX = std::round(lineX);
            lineY = std::round(lineY);
        }
        for (const Segment& s : laid.lines.lines[i]) {
            segments.push_back({&s, QPointF(lineX, lineY)});
            lineX += measure.width(s);
        }
    }
    const QRectF clip(QPointF(0, 0), size);
    const bool cut = !outcome.fits;
    const qreal scale = laid.font.scale;
    const auto drawLetters = [&](QPainter& painter, const QTransform& transform,
                                 const QColor& colour) {
        painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
        painter.setTransform(transform);
        if (cut)
            painter.setClipRect(clip);
        painter.setFont(laid.font.font);
        painter.setPen(colour);
        painter.setBrush(Qt::NoBrush);
        for (const Placed& p : segments) {
            if (p.segment->icon)
                continue;
            QTransform at = transform;
            at.translate(p.at.x(), p.at.y());
            if (scale != 1.0)
                at.scale(scale, scale);
            painter.setTransform(at);
            painter.drawText(QPointF(0, laid.font.ascent / scale), p.segment->text);
        }
        painter.setClipping(false);
    };
    const qreal margin = laid.font.cell;
    PaintWithEffects(surface.image, layout, surface.foreColor,
                     clip.adjusted(-margin, -margin, margin, margin), placed, drawLetters);

    QPainter painter(&surface.image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    painter.setTransform(placed(0, 0));
    if (cut)
        painter.setClipRect(clip);
    for (const Placed& p : segments) {
        if (!p.segment->icon)
            continue;
        QRectF target(p.at.x(), p.at.y() + laid.font.ascent - measure.iconHeight(),
                      measure.iconWidth(*p.segment->icon), measure.iconHeight());
        if (!turned)
            target = QRectF(target.toRect());
        painter.drawImage(target, *p.segment->icon);
    }
    return outcome;
}

bool fontsDraw(const QFont& font, char32_t character) {
    const QString text = QString::fromUcs4(&character, 1);
    const QChar::Category category = QChar::category(character);
    if (QChar::isSpace(character) || category == QChar::Other_Control ||
        category == QChar::Other_Format || category == QChar::Other_NotAssigned ||
        category == QChar::Other_Surrogate)
        return category != QChar::Other_NotAssigned;
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    for (const QGlyphRun& run : layout.glyphRuns()) {
        const QList<quint32> glyphs = run.glyphIndexes();
        if (std::find(glyphs.begin(), glyphs.end(), 0u) != glyphs.end())
            return false;
    }
    return true;
}

} // namespace qrb
