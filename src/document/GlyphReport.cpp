#include "document/GlyphReport.h"

#include "lettering/IconMarkup.h"
#include "text/render/QtConversions.h"
#include "text/render/TextBox.h"

#include <cstdio>

namespace qrb {

std::string codePointName(char32_t character) {
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", unsigned(character));
    return name;
}

void GlyphReport::note(const LetteringRow& row) {
    for (std::size_t k = 0; k < row.texts.size(); ++k) {
        if (!row.texts[k])
            continue;
        std::string letters;
        if (hasMarkup(*row.texts[k])) {
            for (const TextPiece& piece : splitIcons(*row.texts[k]))
                letters += piece.icon ? std::string() : piece.text;
        } else {
            letters = *row.texts[k];
        }
        std::optional<QFont> font;
        for (const char32_t c : QString::fromStdString(letters).toUcs4()) {
            // Plain ASCII letters are in every face this program draws with.
            if (c < 0x80 || !seen_.insert(c).second)
                continue;
            if (!font) {
                TextStyle style = slots_[k].style;
                row.applyLook(k, style);
                font = toQFont(style);
            }
            if (undrawable_.size() < kMax && !fontsDraw(*font, c))
                undrawable_.push_back({c, row.line, "slot" + std::to_string(k + 1)});
        }
    }
}

} // namespace qrb
