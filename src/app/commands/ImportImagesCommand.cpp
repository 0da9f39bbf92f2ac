#include "app/commands/ImportImagesCommand.h"

#include "document/PictureImport.h"

#include <QFileInfo>
#include <QImageReader>

#include <exception>
#include <optional>

namespace qrb {

ImportImagesCommand::ImportImagesCommand(Document& document, Services services, QObject* parent)
    : QObject(parent), document_(document), services_(services) {
    setObjectName(QStringLiteral("ImportImages"));
}

QString ImportImagesCommand::pictureFilter() {
    QStringList patterns;
    for (const QByteArray& format : QImageReader::supportedImageFormats())
        patterns << QStringLiteral("*.") + QString::fromLatin1(format);
    return tr("Pictures (%1)|%2|All files (*)|*")
        .arg(patterns.join(QLatin1Char(' ')), patterns.join(QLatin1Char(';')));
}

void ImportImagesCommand::importImages() {
    if (!document_.isLibraryOpen())
        return;
    const QStringList paths = askPictures();
    if (!paths.isEmpty())
        importFiles(paths, document_.insertionPoint());
}

QStringList ImportImagesCommand::askPictures() {
    FileDialogRequest request;
    request.title = tr("Import Images");
    request.filter = pictureFilter();
    request.directory = lastFolder_.isEmpty() ? services_.dialog.InitDir : lastFolder_;
    const std::optional<QStringList> paths = services_.dialog.backend().openFiles(request);
    if (!paths || paths->isEmpty())
        return {};
    lastFolder_ = QFileInfo(paths->first()).absolutePath();
    return *paths;
}

int ImportImagesCommand::importFiles(const QStringList& paths, int at) {
    if (!document_.isLibraryOpen() || paths.isEmpty())
        return 0;
    const std::uint64_t budget = defaultMemoryBudget();
    const std::uint64_t held = document_.pixelBytes();
    const int room = TileSet::kMaxTiles - document_.tileCount();
    // The pictures are read away from the window, which stays blocked meanwhile; only the
    // insertion below changes the library.
    std::optional<PictureImport> read;
    try {
        services_.progress.run(
            tr("Import Images"),
            paths.size() == 1 ? tr("Importing %1 ...").arg(QFileInfo(paths.first()).fileName())
                              : tr("Importing %1 pictures ...").arg(paths.size()),
            [&](const ProgressCallback& progress, std::stop_token stop) {
                read = readPictures(paths, room, budget > held ? budget - held : 0, progress, stop);
            });
    } catch (const std::exception& e) {
        services_.messages.inform(tr("No pictures were imported; the library is as it was.\n\n%1")
                                      .arg(QString::fromUtf8(e.what())),
                                  appTitle(), MessageIcon::Exclamation);
        return 0;
    }
    if (!read) {
        services_.showStatus(tr("Import Images was cancelled; the library is as it was."));
        return 0;
    }
    const int first = std::clamp(at, 1, document_.tileCount() + 1);
    const int inserted = document_.insertTiles(first, std::move(read->tiles), tr("Import Images"));
    if (!read->refused.empty()) {
        const int refused = int(read->refused.size());
        services_.messages.inform(
            (refused == 1 ? tr("This picture was not imported:")
                          : tr("These %1 pictures were not imported:").arg(refused)) +
                QStringLiteral("\n\n") + read->summary() +
                (inserted > 0 ? QStringLiteral("\n\n") +
                                    (inserted == 1 ? tr("1 picture was imported.")
                                                   : tr("%1 pictures were imported.").arg(inserted))
                              : QString()),
            appTitle(), MessageIcon::Exclamation);
    }
    if (inserted > 0) {
        services_.showStatus(inserted == 1 ? tr("Imported 1 picture")
                                           : tr("Imported %1 pictures").arg(inserted));
        emit tilesInserted(first);
    }
    return inserted;
}

} // namespace qrb
