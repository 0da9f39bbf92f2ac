#include "app/ExportDeckCommand.h"

#include "document/DeckImage.h"
#include "document/FilePath.h"

#include <QFileInfo>

#include <exception>

namespace qrb {

ExportDeckCommand::ExportDeckCommand(Document& document, Services services, QObject* parent)
    : QObject(parent), document_(document), services_(services) {
    setObjectName(QStringLiteral("ExportDeck"));
}

void ExportDeckCommand::exportDeck() {
    if (!document_.isLibraryOpen() || document_.tileCount() == 0)
        return;
    DeckDialogRequest request;
    request.options = last_;
    request.options.tiles.clear();
    request.tileCount = document_.tileCount();
    if (document_.strip().multiSelect())
        request.marked = document_.strip().selectedTiles();
    if (!last_.tiles.empty() && !request.marked.empty())
        request.options.tiles = request.marked;
    if (request.options.hidden && *request.options.hidden > request.tileCount)
        request.options.hidden.reset();
    const std::optional<DeckOptions> options =
        services_.dialog.backend().chooseDeckOptions(request);
    if (!options)
        return;
    last_ = *options;
    FileToWrite file;
    file.start = lastName_.isEmpty() && !document_.path().isEmpty()
                     ? QFileInfo(document_.path()).completeBaseName() + QStringLiteral("-deck")
                     : lastName_;
    file.title = tr("Export Deck Image");
    file.filter = tr("PNG picture (*.png)|*.png");
    file.extension = QStringLiteral(".png");
    const QString chosen = askFileToWrite(services_.dialog, services_.messages, file);
    if (chosen.isEmpty())
        return;
    lastName_ = chosen;
    std::vector<std::filesystem::path> written;
    try {
        services_.progress.run(tr("Export Deck Image"), tr("Writing deck images ..."),
                               [&](const ProgressCallback& progress, std::stop_token) {
                                   written = writeDeck(document_.tiles(), *options,
                                                       toFsPath(chosen), progress);
                               });
    } catch (const std::exception& e) {
        services_.messages.inform(
            tr("The deck image was not exported.\n\n%1").arg(QString::fromUtf8(e.what())),
            appTitle(), MessageIcon::Exclamation);
        return;
    }
    const QString first = QFileInfo(QString::fromStdString(written.front().string())).fileName();
    services_.showStatus(written.size() == 1
                             ? tr("Wrote the deck image %1").arg(first)
                             : tr("Wrote %1 deck images: %2 ...").arg(written.size()).arg(first));
}

} // namespace qrb
