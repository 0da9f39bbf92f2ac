#pragma once
// The desktop's file, font and colour dialogs.

#include "platform/DialogBackend.h"

#include <QStringList>

namespace qrb {

class QtDialogBackend : public DialogBackend {
public:
    std::optional<QString> openFile(const FileDialogRequest& request) override;
    std::optional<QString> saveFile(const FileDialogRequest& request) override;
    std::optional<QStringList> openFiles(const FileDialogRequest& request) override;
    std::optional<QString> chooseFolder(const FileDialogRequest& request) override;
    std::optional<FontSettings> chooseFont(const FontDialogRequest& request) override;
    std::optional<ColourValue> chooseColour(ColourValue initial) override;
    std::optional<ImportOptions> chooseImportOptions(const ImportDialogRequest& request) override;
    std::optional<DeckOptions> chooseDeckOptions(const DeckDialogRequest& request) override;

    // "QRB File (*.qrb)|*.qrb|All (*.*)|*.*" as Qt name filters.
    static QStringList nameFilters(const QString& filter);
};

} // namespace qrb
