// Text placement: saving, loading and clearing the position slots.

#include "text/ui/TextPlacement.h"

#include "app/PanelStatusBar.h"
#include "app/platform/CommonDialog.h"
#include "core/FileError.h"
#include "text/PositionDataFile.h"
#include "text/render/modRotateText.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include <filesystem>

namespace qrb {

namespace {

const char* const kLibraryFilter = "QRB File (*.qrb)|*.qrb";
const char* const kPositionFilter = "QPF File (*.qpf)|*.qpf";

std::filesystem::path fsPath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

QString withExtension(const QString& name) {
    return QString::fromStdString(PositionDataFile::withExtension(name.toStdString()));
}

// The shared dialog is borrowed for a position data file: the library path, the library
// filter and cancel-as-error are back in place however the command ends.
class BorrowedDialog {
public:
    explicit BorrowedDialog(CommonDialog& dialog) : dialog_(dialog), path_(dialog.FileName) {}
    ~BorrowedDialog() {
        dialog_.FileName = path_;
        dialog_.CancelError = true;
        dialog_.Filter = QString::fromLatin1(kLibraryFilter);
    }
    BorrowedDialog(const BorrowedDialog&) = delete;
    BorrowedDialog& operator=(const BorrowedDialog&) = delete;

private:
    CommonDialog& dialog_;
    QString path_;
};

class Hourglass {
public:
    Hourglass() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Hourglass() { QApplication::restoreOverrideCursor(); }
    Hourglass(const Hourglass&) = delete;
    Hourglass& operator=(const Hourglass&) = delete;
};

} // namespace

void TextPlacement::reportRefusal(const QString& text) {
    form_.messages().inform(text, QString::fromLatin1(Form2::kTitle), MessageIcon::Critical);
}

void TextPlacement::mnuSavePositionData_Click() {
    CommonDialog& dialog = form_.CommonDialog1();
    const BorrowedDialog borrowed(dialog);
    dialog.FileName.clear();
    dialog.DialogTitle = QStringLiteral("Save position data to...");
    dialog.Filter = QString::fromLatin1(kPositionFilter);
    try {
        dialog.ShowSave();
    } catch (const DialogCancelled&) {
        return;
    }
    if (dialog.FileName.isEmpty())
        return;
    const QString path = withExtension(dialog.FileName);
    // The dialog asked about the name as typed; the file written may be another one.
    if (path != dialog.FileName && (dialog.Flags & dialogflags::OverwritePrompt) &&
        QFileInfo::exists(path) &&
        !form_.messages().askYesNo(tr("%1 already exists.\nDo you want to replace it?")
                                       .arg(QDir::toNativeSeparators(path)),
                                   QString::fromLatin1(Form2::kTitle), MessageIcon::Exclamation))
        return;
    QString failure;
    {
        const Hourglass busy;
        try {
            // Refuses before writing anything when a slot cannot be stored.
            PositionDataFile::write(fsPath(path), slots_);
        } catch (const std::exception& e) {
            failure = QString::fromUtf8(e.what());
        }
    }
    if (!failure.isEmpty())
        reportRefusal(tr("The position data was not saved.\n\n%1").arg(failure));
}

void TextPlacement::mnuLoadPositionData_Click() {
    CommonDialog& dialog = form_.CommonDialog1();
    const BorrowedDialog borrowed(dialog);
    dialog.CancelError = true;
    dialog.FileName.clear();
    dialog.DialogTitle = QStringLiteral("Open position data file");
    dialog.Filter = QString::fromLatin1(kPositionFilter);
    try {
        dialog.ShowOpen();
    } catch (const DialogCancelled&) {
        return;
    }
    const QString path = withExtension(dialog.FileName);
    // The whole file is read and checked before any slot changes.
    PositionSlots loaded;
    QString failure;
    {
        const Hourglass busy;
        try {
            loaded = PositionDataFile::read(fsPath(path));
        } catch (const std::exception& e) {
            failure = QString::fromUtf8(e.what());
        }
    }
    if (!failure.isEmpty()) {
        reportRefusal(
            tr("The position data was not loaded; the position slots are unchanged.\n\n%1")
                .arg(failure));
        return;
    }
    slots_ = std::move(loaded);
    for (std::size_t k = 0; k < PositionSlots::kCount; ++k) {
        showSlot(int(k));
        ui_.cmdPlaceText[k]->setEnabled(true);
    }
    disableEmptySlots();
}

void TextPlacement::mnuClearPositionData_Click() {
    // 1. The slots back to their first state.
    slots_.clear();
    for (std::size_t k = 0; k < PositionSlots::kCount; ++k) {
        showSlot(int(k));
        ui_.cmdPlaceText[k]->setEnabled(false);
    }

    // 2.-3. The dialog's style, the status bar and the toolbar.
    CommonDialog& dialog = form_.CommonDialog1();
    const TextStyle plain = defaultTextStyle();
    dialog.setFontSettings(FontSettings{QString::fromStdString(plain.face), plain.size, false,
                                        false, false, false, systemcolour::WindowText});
    showStylePanels(QString::fromStdString(plain.face), plain.size, false, false);
    enableSizeButtons();

    // 4. The text box; its box colour and the working tile keep their style.
    ui_.txtText->clear();
    setBoxFont(toQFont(plain));
    setBoxColours(plain.textColour, boxBackColour_);
    setBoxHeight(plain.size);

    // 5. Position and angle.
    setPositionText(ui_.txtX, lastX_, QStringLiteral("0"));
    setPositionText(ui_.txtY, lastY_, QStringLiteral("0"));
    ui_.XScroll->setEnabled(false);
    ui_.YScroll->setEnabled(false);
    ui_.txtAngle->setText(QStringLiteral("000"));
    ui_.HScroll1->setValue(0);

    // 6.
    ui_.txtText->setFocus();
}

} // namespace qrb
