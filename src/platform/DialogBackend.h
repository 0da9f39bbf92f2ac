#pragma once
// What the shared dialog asks of the desktop: a file to open or save, a font, a colour.
// The window's own dialog object (CommonDialog) holds the settings; a backend only shows
// one dialog and returns the user's choice, or nothing when the user cancels.

#include "core/Colour.h"
#include "imaging/render/ImportOptions.h"
#include "sheet/render/DeckOptions.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace qrb {

// A file dialog as the program describes it. The filter is written as pairs
// "description|pattern", e.g. "QRB File (*.qrb)|*.qrb".
struct FileDialogRequest {
    QString title;
    QString filter;
    QString fileName; // the name the dialog starts on (may be empty)
    int flags = 0;
    QString directory; // the folder it starts in when the name has none (may be empty)
};

// Font settings as the shared dialog holds them.
struct FontSettings {
    QString name;
    double size = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikethru = false;
    ColourValue colour = 0;
    bool operator==(const FontSettings&) const = default;
};

struct FontDialogRequest {
    FontSettings current;
    double minSize = 0;
    double maxSize = 0;
    int flags = 0;
};

// Import Images' question once the files are picked: each picture as it is, fitted to a
// tile size or sliced into cells, with a preview of the first.
struct ImportDialogRequest {
    QStringList paths;
    ImportOptions options; // the choices the dialog starts with
};

// Export Deck Image's question: the grid, the cells, the tiles, the hidden card.
struct DeckDialogRequest {
    DeckOptions options; // the choices the dialog starts with
    int tileCount = 0;
    std::vector<int> marked; // the marked tiles; empty when none is
};

class DialogBackend {
public:
    virtual ~DialogBackend() = default;
    virtual std::optional<QString> openFile(const FileDialogRequest& request) = 0;
    virtual std::optional<QString> saveFile(const FileDialogRequest& request) = 0;
    // One or more existing files at once; a desktop without that picks one.
    virtual std::optional<QStringList> openFiles(const FileDialogRequest& request) {
        const std::optional<QString> one = openFile(request);
        return one ? std::optional<QStringList>(QStringList{*one}) : std::nullopt;
    }
    // An existing folder, starting in `request.directory`; a desktop without such a dialog
    // picks none.
    virtual std::optional<QString> chooseFolder(const FileDialogRequest& request) {
        (void)request;
        return std::nullopt;
    }
    virtual std::optional<FontSettings> chooseFont(const FontDialogRequest& request) = 0;
    virtual std::optional<ColourValue> chooseColour(ColourValue initial) = 0;
    // A desktop without these dialogs takes the choices it is given.
    virtual std::optional<ImportOptions> chooseImportOptions(const ImportDialogRequest& request) {
        return request.options;
    }
    virtual std::optional<DeckOptions> chooseDeckOptions(const DeckDialogRequest& request) {
        return request.options;
    }
};

// The bits of the dialogs' one flag word. The program sets it for the font dialog; the
// file dialogs read the same word, in which only OverwritePrompt means anything here.
namespace dialogflags {
// Font dialog: which fonts it lists, its Help button, the effects (colour, underline,
// strikethrough) and sizes held between its minimum and maximum.
constexpr int ScreenFonts = 0x1;
constexpr int PrinterFonts = 0x2;
constexpr int HelpButton = 0x4;
constexpr int Effects = 0x100;
constexpr int LimitSize = 0x2000;
// File dialogs: ask before a file is replaced (the bit PrinterFonts is for the font dialog).
constexpr int OverwritePrompt = 0x2;
} // namespace dialogflags

} // namespace qrb
