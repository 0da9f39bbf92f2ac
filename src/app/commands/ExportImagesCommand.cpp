#include "app/commands/ExportImagesCommand.h"

#include "app/shared/FileQuestions.h"
#include "document/FilePath.h"
#include "document/TileImageExport.h"

#include <QFileInfo>

#include <exception>
#include <filesystem>
#include <numeric>
#include <optional>

namespace qrb {

ExportImagesCommand::ExportImagesCommand(Document& document, Services services, QObject* parent)
    : QObject(parent), document_(document), services_(services) {
    setObjectName(QStringLiteral("ExportImages"));
}

std::vector<int> ExportImagesCommand::tilesToExport(const Document& document) {
    if (document.strip().multiSelect()) {
        std::vector<int> marked = document.strip().selectedTiles();
        if (!marked.empty())
            return marked;
    }
    std::vector<int> all(std::size_t(document.tileCount()));
    std::iota(all.begin(), all.end(), 1);
    return all;
}

void ExportImagesCommand::exportImages() {
    if (!document_.isLibraryOpen() || document_.tileCount() == 0)
        return;
    const std::vector<int> tiles = tilesToExport(document_);
    FileToWrite file;
    file.start = lastName_.isEmpty() && !document_.path().isEmpty()
                     ? QFileInfo(document_.path()).completeBaseName()
                     : lastName_;
    file.title = tiles.size() == 1 ? tr("Export the tile's picture as ...")
                                   : tr("Export %1 tiles' pictures as ...").arg(tiles.size());
    file.filter = tr("PNG picture (*.png)|*.png|Bitmap (*.bmp)|*.bmp");
    const QString chosen = askFileToWrite(services_.dialog, services_.messages, file);
    if (chosen.isEmpty())
        return;
    lastName_ = chosen;
    ImageExport how;
    how.format = chosen.endsWith(QStringLiteral(".bmp"), Qt::CaseInsensitive) ? ImageFormat::Bmp
                                                                              : ImageFormat::Png;
    const Answer half = services_.messages.ask(Question{
        tr("Export the half-size pictures as well (as NAME_half files beside the full-size "
           "ones)?"),
        appTitle(), MessageIcon::Question, true, Answer::No});
    if (half == Answer::Cancel)
        return;
    how.halfImages = half == Answer::Yes;

    // The pictures being made take what the library leaves of the memory budget.
    const std::uint64_t budget = defaultMemoryBudget();
    const std::uint64_t held = document_.pixelBytes();
    how.memory = budget > held ? budget - held : 0;
    std::optional<std::vector<std::filesystem::path>> written;
    try {
        services_.progress.run(tr("Export Images"), tr("Writing pictures ..."),
                               [&](const ProgressCallback& progress, std::stop_token stop) {
                                   written = how.write(document_.tiles(), tiles, toFsPath(chosen),
                                                       progress, stop);
                               });
    } catch (const std::exception& e) {
        services_.messages.inform(
            tr("The pictures were not exported.\n\n%1").arg(QString::fromUtf8(e.what())),
            appTitle(), MessageIcon::Exclamation);
        return;
    }
    if (!written) {
        services_.showStatus(tr("Export Images was cancelled; no picture was written."));
        return;
    }
    services_.showStatus(written->size() == 1 ? tr("Wrote 1 picture")
                                              : tr("Wrote %1 pictures").arg(written->size()));
}

} // namespace qrb
