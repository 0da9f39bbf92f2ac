#include "text/render/QtConversions.h"

#include <QGuiApplication>
#include <QPalette>

#include <cmath>

namespace qrb {

double pointsOf(const QFont& font) {
    if (font.pointSizeF() > 0) {
        return font.pointSizeF();
    }
    if (font.pixelSize() > 0) {
        return font.pixelSize() * 0.75;
    }
    return 8.0;
}

QFont toQFont(const TextStyle& style) {
    QFont font;
    font.setFamily(QString::fromStdString(style.face));
    font.setPointSizeF(std::isfinite(style.size) && style.size > 0 ? style.size : 8.0);
    font.setBold(style.bold);
    font.setItalic(style.italic);
    font.setUnderline(style.underline);
    font.setStrikeOut(style.strikethrough);
    return font;
}

TextStyle toTextStyle(const QFont& font, ColourValue textColour, ColourValue boxColour) {
    TextStyle style;
    style.face = font.family().toStdString();
    style.size = float(pointsOf(font));
    style.bold = font.bold();
    style.italic = font.italic();
    style.underline = font.underline();
    style.strikethrough = font.strikeOut();
    style.textColour = textColour;
    style.boxColour = boxColour;
    return style;
}

QColor toQColor(ColourValue value) {
    if (!isSystemColour(value)) {
        return QColor(redOf(value), greenOf(value), blueOf(value));
    }
    // Window-system colour indices, mapped onto the nearest palette role.
    QPalette::ColorRole role = QPalette::Window;
    bool isText = false;
    switch (systemColourIndex(value)) {
    case 5:
        role = QPalette::Base;
        break;
    case 7:
    case 8:
    case 9:
    case 19:
        role = QPalette::WindowText;
        isText = true;
        break;
    case 13:
        role = QPalette::Highlight;
        break;
    case 14:
        role = QPalette::HighlightedText;
        isText = true;
        break;
    case 15:
        role = QPalette::Button;
        break;
    case 16:
        role = QPalette::Dark;
        break;
    case 17:
        role = QPalette::PlaceholderText;
        isText = true;
        break;
    case 18:
        role = QPalette::ButtonText;
        isText = true;
        break;
    case 20:
        role = QPalette::Light;
        break;
    case 21:
        role = QPalette::Shadow;
        break;
    case 22:
        role = QPalette::Midlight;
        break;
    case 23:
        role = QPalette::ToolTipText;
        isText = true;
        break;
    case 24:
        role = QPalette::ToolTipBase;
        break;
    default:
        break;
    }
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
        return isText ? QColor(Qt::black) : QColor(Qt::white);
    }
    return QGuiApplication::palette().color(QPalette::Active, role);
}

ColourValue toColourValue(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return rgbColour(std::uint8_t(rgb.red()), std::uint8_t(rgb.green()), std::uint8_t(rgb.blue()));
}

} // namespace qrb
