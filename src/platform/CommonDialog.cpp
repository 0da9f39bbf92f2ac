#include "platform/CommonDialog.h"

#include <algorithm>

namespace qrb {

FileDialogRequest CommonDialog::fileRequest() const {
    return FileDialogRequest{DialogTitle, Filter, FileName, Flags, InitDir};
}

void CommonDialog::cancelled() const {
    if (CancelError)
        throw DialogCancelled();
}

void CommonDialog::ShowOpen() {
    if (auto name = backend_->openFile(fileRequest()))
        FileName = *name;
    else
        cancelled();
}

void CommonDialog::ShowSave() {
    if (auto name = backend_->saveFile(fileRequest()))
        FileName = *name;
    else
        cancelled();
}

void CommonDialog::ShowFont() {
    auto chosen = backend_->chooseFont(FontDialogRequest{fontSettings(), Min, Max, Flags});
    if (!chosen) {
        cancelled();
        return;
    }
    // The size limit is part of the request; a backend that cannot enforce it still never
    // hands the program a size outside it.
    if (Max >= Min && Max > 0)
        chosen->size = std::clamp(chosen->size, Min, Max);
    setFontSettings(*chosen);
}

void CommonDialog::ShowColor() {
    if (auto colour = backend_->chooseColour(Color))
        Color = *colour;
    else
        cancelled();
}

FontSettings CommonDialog::fontSettings() const {
    return FontSettings{FontName,      FontSize,       FontBold, FontItalic,
                        FontUnderline, FontStrikethru, Color};
}

void CommonDialog::setFontSettings(const FontSettings& font) {
    FontName = font.name;
    FontSize = font.size;
    FontBold = font.bold;
    FontItalic = font.italic;
    FontUnderline = font.underline;
    FontStrikethru = font.strikethru;
    Color = font.colour;
}

} // namespace qrb
