#include "app/ImportImagesCommand.h"

#include "document/PictureImport.h"

#include <QFileInfo>
#include <QImageReader>
#include <QSettings>

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
    patterns << QStringLiteral("*.qrb");
    return tr("Pictures and libraries (%1)|%2|All files (*)|*")
        .arg(patterns.join(QLatin1Char(' ')), patterns.join(QLatin1Char(';')));
}

namespace {

const char* const kKind = "import/kind"; // "fit", "slice" or nothing
const char* const kFitSize = "import/fitSize";
const char* const kFitMode = "import/fitMode";
const char* const kCell = "import/cell";
const char* const kMargin = "import/margin";
const char* const kSpacing = "import/spacing";
const char* const kSkipEmpty = "import/skipEmpty";
const char* const kBackground = "import/background";

QString key(const char* name) {
    return QString::fromLatin1(name);
}

} // namespace

ImportOptions ImportImagesCommand::rememberedOptions() {
    const QSettings settings;
    ImportOptions options;
    const QColor background(settings.value(key(kBackground)).toString());
    if (background.isValid())
        options.background = background;
    const QString kind = settings.value(key(kKind)).toString();
    auto size = [&](const char* name) {
        const QSize s = settings.value(key(name)).toSize();
        return s.isValid() && !s.isEmpty() ? s : QSize(32, 32);
    };
    if (kind == QLatin1String("fit"))
        options.fit = FitOptions{size(kFitSize),
                                 FitMode(std::clamp(settings.value(key(kFitMode)).toInt(), 0, 2))};
    if (kind == QLatin1String("slice"))
        options.slice = SliceOptions{size(kCell), std::max(0, settings.value(key(kMargin)).toInt()),
                                     std::max(0, settings.value(key(kSpacing)).toInt()),
                                     settings.value(key(kSkipEmpty)).toBool()};
    return options;
}

void ImportImagesCommand::rememberOptions(const ImportOptions& options) {
    QSettings settings;
    settings.setValue(key(kKind), options.slice ? QStringLiteral("slice")
                                  : options.fit ? QStringLiteral("fit")
                                                : QString());
    settings.setValue(key(kBackground), options.background.name());
    if (options.fit) {
        settings.setValue(key(kFitSize), options.fit->size);
        settings.setValue(key(kFitMode), int(options.fit->mode));
    }
    if (options.slice) {
        settings.setValue(key(kCell), options.slice->cell);
        settings.setValue(key(kMargin), options.slice->margin);
        settings.setValue(key(kSpacing), options.slice->spacing);
        settings.setValue(key(kSkipEmpty), options.slice->skipEmpty);
    }
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
    const std::optional<ImportOptions> options =
        services_.dialog.backend().chooseImportOptions({*paths, rememberedOptions()});
    if (!options)
        return {};
    rememberOptions(*options);
    return *paths;
}

int ImportImagesCommand::importFiles(const QStringList& paths, int at) {
    if (!document_.isLibraryOpen() || paths.isEmpty())
        return 0;
    const std::uint64_t budget = defaultMemoryBudget();
    const std::uint64_t held = document_.pixelBytes();
    const int room = TileSet::kMaxTiles - document_.tileCount();
    const ImportOptions options = rememberedOptions();
    // The pictures are read away from the window, which stays blocked meanwhile; only the
    // insertion below changes the library.
    std::optional<PictureImport> read;
    try {
        services_.progress.run(
            tr("Import Images"),
            paths.size() == 1 ? tr("Importing %1 ...").arg(QFileInfo(paths.first()).fileName())
                              : tr("Importing %1 pictures ...").arg(paths.size()),
            [&](const ProgressCallback& progress, std::stop_token stop) {
                read = readPictures(paths, options, room, budget > held ? budget - held : 0,
                                    progress, stop);
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
    // A sliced sheet or a library gives several tiles a file: the messages count tiles.
    const bool onePerFile =
        !options.slice && std::none_of(paths.begin(), paths.end(), isLibraryPath);
    if (!read->refused.empty()) {
        const int refused = int(read->refused.size());
        services_.messages.inform(
            (refused == 1 ? tr("This picture was not imported:")
                          : tr("These %1 pictures were not imported:").arg(refused)) +
                QStringLiteral("\n\n") + read->summary() +
                (inserted > 0 ? QStringLiteral("\n\n") +
                                    (inserted == 1 ? (onePerFile ? tr("1 picture was imported.")
                                                                 : tr("1 tile was imported."))
                                     : onePerFile  ? tr("%1 pictures were imported.").arg(inserted)
                                                   : tr("%1 tiles were imported.").arg(inserted))
                              : QString()),
            appTitle(), MessageIcon::Exclamation);
    }
    if (inserted > 0) {
        services_.showStatus(onePerFile ? (inserted == 1 ? tr("Imported 1 picture")
                                                         : tr("Imported %1 pictures").arg(inserted))
                                        : (inserted == 1 ? tr("Imported 1 tile")
                                                         : tr("Imported %1 tiles").arg(inserted)));
        emit tilesInserted(first);
    }
    return inserted;
}

} // namespace qrb
