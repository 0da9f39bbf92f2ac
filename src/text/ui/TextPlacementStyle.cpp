// Text placement: the toolbar's style commands and the places the current style is shown.

#include "text/ui/TextPlacement.h"

#include "app/PanelStatusBar.h"
#include "app/platform/CommonDialog.h"
#include "imaging/ui/ImageBox.h"
#include "text/render/modRotateText.h"

#include <QAction>
#include <QLineEdit>

#include <cmath>

namespace qrb {

namespace {

QString styleWord(bool bold, bool italic) {
    if (bold && italic)
        return QStringLiteral("Bold Italic");
    if (bold)
        return QStringLiteral("Bold");
    if (italic)
        return QStringLiteral("Italic");
    return QString();
}

QFont dialogFont(const CommonDialog& dialog) {
    QFont font(dialog.FontName);
    font.setPointSizeF(dialog.FontSize > 0 ? dialog.FontSize : 8.0);
    font.setBold(dialog.FontBold);
    font.setItalic(dialog.FontItalic);
    font.setUnderline(dialog.FontUnderline);
    font.setStrikeOut(dialog.FontStrikethru);
    return font;
}

} // namespace

// ---- Where the style shows ---------------------------------------------------------------

void TextPlacement::setBoxFont(const QFont& font) {
    ui_.txtText->setFont(font);
}

void TextPlacement::setTileFont(const QFont& font) {
    ui_.pctWorkingTile->setFont(font);
}

void TextPlacement::setBoxColours(ColourValue text, ColourValue box) {
    boxTextColour_ = text;
    boxBackColour_ = box;
    QPalette colours = ui_.txtText->palette();
    colours.setColor(QPalette::Text, toQColor(text));
    colours.setColor(QPalette::Base, toQColor(box));
    ui_.txtText->setPalette(colours);
    // The box's style sheet (its thin border) would hide palette colours.
    ui_.txtText->setStyleSheet(
        boxStyleSheet_ +
        QStringLiteral(" QLineEdit { color: %1; background-color: %2; }")
            .arg(colours.color(QPalette::Text).name(), colours.color(QPalette::Base).name()));
}

void TextPlacement::setTileTextColour(ColourValue text) {
    ui_.pctWorkingTile->foreColor = toQColor(text);
}

void TextPlacement::setBoxHeight(double size) {
    QLineEdit* box = ui_.txtText;
    box->resize(box->width(), int(std::nearbyint(2 * size)));
}

void TextPlacement::showStyleWord(bool bold, bool italic) {
    ui_.StatusBar1->setPanelText(4, styleWord(bold, italic));
}

void TextPlacement::showStylePanels(const QString& face, double size, bool bold, bool italic) {
    ui_.StatusBar1->setPanelText(2, face);
    ui_.StatusBar1->setPanelText(3, QString::number(std::trunc(size)));
    showStyleWord(bold, italic);
    ui_.toolbarButton(10)->setChecked(bold);
    ui_.toolbarButton(11)->setChecked(italic);
}

void TextPlacement::enableSizeButtons() {
    const CommonDialog& dialog = form_.CommonDialog1();
    ui_.toolbarButton(8)->setEnabled(dialog.FontSize != dialog.Min);
    ui_.toolbarButton(9)->setEnabled(dialog.FontSize != dialog.Max);
}

// ---- Commands ----------------------------------------------------------------------------

void TextPlacement::SelectFont() {
    CommonDialog& dialog = form_.CommonDialog1();
    try {
        dialog.ShowFont();
    } catch (const DialogCancelled&) {
        return;
    }
    form_.update();
    const QFont font = dialogFont(dialog);
    setBoxFont(font);
    setTileFont(font);
    // White letters would vanish on a white box.
    const ColourValue box = dialog.Color == palette::White ? palette::DarkGrey : palette::White;
    setBoxColours(dialog.Color, box);
    setTileTextColour(dialog.Color);
    showStylePanels(dialog.FontName + QLatin1Char(' '), dialog.FontSize, dialog.FontBold,
                    dialog.FontItalic);
    enableSizeButtons();
    setBoxHeight(dialog.FontSize);
}

void TextPlacement::stepFontSize(int delta) {
    CommonDialog& dialog = form_.CommonDialog1();
    double size = dialog.FontSize + delta;
    bool apply = true;
    if (size < dialog.Min) {
        size = dialog.Min;
    } else if (size > dialog.Max) {
        // Already at the largest size: nothing changes.
        size = dialog.Max;
        apply = delta < 0;
    }
    dialog.FontSize = size;
    if (apply) {
        ui_.StatusBar1->setPanelText(3, QString::number(std::trunc(size)));
        QFont tileFont = ui_.pctWorkingTile->font();
        tileFont.setPointSizeF(size);
        setTileFont(tileFont);
        QFont boxFont = ui_.txtText->font();
        boxFont.setPointSizeF(size);
        setBoxFont(boxFont);
        setBoxHeight(size);
    }
    enableSizeButtons();
}

void TextPlacement::FontSizeDecrease() {
    stepFontSize(-1);
}

void TextPlacement::FontSizeIncrease() {
    stepFontSize(+1);
}

void TextPlacement::setStyleFlag(bool bold, bool on) {
    CommonDialog& dialog = form_.CommonDialog1();
    (bold ? dialog.FontBold : dialog.FontItalic) = on;
    QFont boxFont = ui_.txtText->font();
    QFont tileFont = ui_.pctWorkingTile->font();
    if (bold) {
        boxFont.setBold(on);
        tileFont.setBold(on);
    } else {
        boxFont.setItalic(on);
        tileFont.setItalic(on);
    }
    setBoxFont(boxFont);
    setTileFont(tileFont);
    showStyleWord(dialog.FontBold, dialog.FontItalic);
}

void TextPlacement::BoldClick() {
    setStyleFlag(true, ui_.toolbarButton(10)->isChecked());
}

void TextPlacement::ItalicClick() {
    setStyleFlag(false, ui_.toolbarButton(11)->isChecked());
}

} // namespace qrb
