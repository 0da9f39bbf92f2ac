#include "app/commands/TableLetteringCommand.h"

#include "app/shared/FileQuestions.h"
#include "document/FilePath.h"
#include "document/TableLettering.h"
#include "lettering/LetteringTable.h"

#include <QFileInfo>

#include <exception>
#include <optional>
#include <vector>

namespace qrb {

namespace {

const char* const kTableFilter =
    "Table (*.csv *.tsv)|*.csv;*.tsv|Comma-separated (*.csv)|*.csv|Tab-separated (*.tsv)|*.tsv|"
    "All files (*)|*";

} // namespace

TableLetteringCommand::TableLetteringCommand(Document& document, Services services, QObject* parent)
    : QObject(parent), document_(document), services_(services) {
    setObjectName(QStringLiteral("TableLettering"));
}

void TableLetteringCommand::tell(const QString& text, MessageIcon icon) {
    services_.messages.inform(text, appTitle(), icon);
}

void TableLetteringCommand::letterFromTable() {
    if (!document_.isLibraryOpen())
        return;
    const QString path = askFileToOpen(services_.dialog, lastTable_, tr("Letter tiles from table"),
                                       QString::fromLatin1(kTableFilter));
    if (path.isEmpty())
        return;
    lastTable_ = path;

    // The table is read and the tiles lettered away from the window, which stays blocked
    // meanwhile, so nothing changes the library under the lettering. Only the append below
    // changes it.
    std::optional<std::vector<Tile>> made;
    try {
        services_.progress.run(
            tr("Letter from table"),
            tr("Lettering tiles from %1 ...").arg(QFileInfo(path).fileName()),
            [&](const ProgressCallback& progress, std::stop_token stop) {
                const LetteringTable table = LetteringTable::read(toFsPath(path));
                made = document_.tableLettering(table).letterAll(table, progress, stop);
            });
    } catch (const std::exception& e) {
        tell(tr("No tiles were lettered; the library is as it was.\n\n%1")
                 .arg(QString::fromUtf8(e.what())),
             MessageIcon::Exclamation);
        return;
    }
    if (!made) {
        tell(tr("Letter from table was cancelled; the library is as it was."),
             MessageIcon::Information);
        return;
    }
    const int first = document_.tileCount() + 1;
    const int appended = document_.appendLettered(std::move(*made));
    if (appended == 0) {
        tell(tr("%1 has no row that makes a tile; the library is as it was.")
                 .arg(QFileInfo(path).fileName()),
             MessageIcon::Information);
        return;
    }
    services_.showStatus(
        appended == 1
            ? tr("Lettered 1 tile from %1").arg(QFileInfo(path).fileName())
            : tr("Lettered %1 tiles from %2").arg(appended).arg(QFileInfo(path).fileName()));
    emit tilesAppended(first);
}

} // namespace qrb
