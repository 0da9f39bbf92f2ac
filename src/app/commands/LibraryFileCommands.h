#pragma once
// The library's file commands: File > New, Open, a recent library, a library dropped on
// the window or named on the command line, Save, Save As, Save selected tiles, Create
// bitmaps from QRB file, and the look, when the window comes to the front, at whether
// another program changed the library's file. Unsaved work is set aside only after one
// question (Yes saves first; a save that does not happen keeps the work); a failed open
// keeps the library that was open; the libraries opened and saved lead the recent ones.

#include "app/shared/Services.h"
#include "document/Document.h"

#include <QObject>

#include <optional>

class QMenu;
class QWidget;

namespace qrb {

class LibraryFileCommands : public QObject {
    Q_OBJECT
public:
    // `window` shows the file being opened in its title.
    LibraryFileCommands(Document& document, Services services, QWidget* window);

    // File > Recent Libraries: filled when it opens, each entry opening its library.
    void setRecentMenu(QMenu* menu);
    // File > Confirm when replacing file: Save asks before writing over the library's file.
    bool confirmsReplace() const { return confirmReplace_; }
    void setConfirmReplace(bool on) { confirmReplace_ = on; }

    // The file dialogs' filter for libraries.
    static QString libraryFilter();

    // After the save question, an empty untitled library.
    void newLibrary();
    // An empty untitled library without a question (pictures brought in without a library
    // start one).
    void startNewLibrary();
    // After the save question, the library the user picks.
    void openLibrary();
    // After the save question, the library at `path`.
    void openLibraryFile(const QString& path);
    // As openLibraryFile(); one that cannot be read leaves the recent libraries.
    void openRecentLibrary(const QString& path);
    // True when the library was written. Save As always asks for the file.
    bool saveLibrary();
    bool saveLibraryAs();
    // Asks for a file and writes the selected tiles to it; the file written does not
    // become the library's path.
    void saveSelectedTiles();
    // Every tile's full image as a bitmap, PREFIX1.bmp, PREFIX2.bmp, ..., all or none.
    void exportBitmaps();
    // Another program's change of the library's file is offered for loading (nothing
    // unsaved) or noted (Save will ask), once per change.
    void noticeFileChangedOnDisk();
    // The window's question before it closes with unsaved work: true when it may close.
    bool mayClose();

signals:
    // A library was opened or started.
    void libraryReplaced();

private:
    // With unsaved changes, asks `question` (Yes, No, Cancel): true when the caller may go
    // on, after `saveFirst` wrote the library for Yes.
    bool mayDiscardChanges(const Question& question, bool (LibraryFileCommands::*saveFirst)());
    // The save question before another library replaces the open one.
    bool mayReplaceLibrary();
    // Writes the library; `askForName` shows the save dialog first.
    bool save(bool askForName);
    // Reads the library at `path`; a failure says why (`failure`, then the reason) and
    // changes nothing.
    bool readLibrary(const QString& path, const QString& failure = QString());
    // `path` was opened or saved: first among the recent libraries.
    void rememberLibrary(const QString& path);
    void fillRecentMenu();
    bool work(const QString& failure, const std::function<void(const ProgressCallback&)>& task);

    Document& document_;
    Services services_;
    QWidget* window_;
    QMenu* recentMenu_ = nullptr;
    bool confirmReplace_ = true;
    std::optional<FileIdentity> noticedOnDisk_; // the changed file the user was told of
};

} // namespace qrb
