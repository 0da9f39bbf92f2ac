#pragma once
// The window's one shared dialog object. Besides showing the open, save, font and colour
// dialogs it *holds* settings for the whole run: FileName is the path of the open library,
// the font fields are the current text style. A command that borrows it for something
// else (another file type, a colour) saves what it changes and puts it back.
//
// A cancelled dialog throws DialogCancelled while CancelError is set; otherwise it
// returns and leaves every property as it was.

#include "platform/DialogBackend.h"

#include <QString>

#include <exception>

namespace qrb {

class DialogCancelled : public std::exception {
public:
    const char* what() const noexcept override { return "The dialog was cancelled."; }
};

class CommonDialog {
public:
    explicit CommonDialog(DialogBackend& backend) : backend_(&backend) {}

    QString FileName;
    QString InitDir; // the open library's folder: where file dialogs start
    QString DialogTitle;
    QString Filter;
    bool CancelError = false;
    int Flags = 0;

    QString FontName;
    double FontSize = 0;
    bool FontBold = false;
    bool FontItalic = false;
    bool FontUnderline = false;
    bool FontStrikethru = false;
    double Min = 0;
    double Max = 0;
    ColourValue Color = 0;

    // On OK: FileName is the chosen path.
    void ShowOpen();
    void ShowSave();
    // On OK: the font fields and Color hold the choice (size kept within Min..Max).
    void ShowFont();
    // On OK: Color is the chosen colour.
    void ShowColor();

    FontSettings fontSettings() const;
    void setFontSettings(const FontSettings& font);

    DialogBackend& backend() { return *backend_; }

private:
    FileDialogRequest fileRequest() const;
    void cancelled() const;

    DialogBackend* backend_;
};

} // namespace qrb
