#include "app/commands/PrintSheetCommands.h"

#include "app/commands/SheetPrintJob.h"
#include "app/commands/SheetSettings.h"
#include "app/shared/BusyWork.h"
#include "app/shared/FileQuestions.h"
#include "document/Document.h"
#include "document/FilePath.h"
#include "sheet/render/SheetWriter.h"

#include <QFileInfo>
#include <QSettings>

namespace qrb {

PrintSheetCommands::PrintSheetCommands(const Document& document, Services services, QObject* parent)
    : QObject(parent), document_(document), services_(services) {
    setObjectName(QStringLiteral("PrintSheet"));
}

PrintSheetCommands::~PrintSheetCommands() = default;

QString PrintSheetCommands::libraryName() const {
    return QFileInfo(document_.path()).fileName();
}

void PrintSheetCommands::reportFailure(const QString& what, const std::exception& e) {
    services_.messages.inform(what + QStringLiteral("\n\n") + QString::fromUtf8(e.what()),
                              appTitle(), MessageIcon::Critical);
}

std::unique_ptr<SheetPrintJob>
PrintSheetCommands::previewed(const QString& title, const QString& acceptText,
                              const std::function<bool(SheetPrintJob&)>& accepted) {
    if (!document_.isLibraryOpen() || document_.tileCount() == 0)
        return nullptr;
    QSettings settings;
    auto job = std::make_unique<SheetPrintJob>(document_.tiles(), document_.strip().selectedTiles(),
                                               loadSheetOptions(settings));
    SheetPrintJob& shown = *job;
    const bool done = services_.printing.preview(shown, title, acceptText, [&] {
        // Accepted options are remembered, whatever becomes of the printing.
        if (shown.isReady())
            saveSheetOptions(settings, shown.laidOutWith());
        return !accepted || accepted(shown);
    });
    if (!done)
        return nullptr;
    if (!accepted)
        job->layout(); // accepted without pages: the reason goes to the user
    saveSheetOptions(settings, job->laidOutWith());
    return job;
}

void PrintSheetCommands::print() {
    // A cancelled print dialog goes back to the preview, still open with its options.
    previewed(tr("Print"), tr("P&rint..."), [this](SheetPrintJob& job) {
        try {
            job.layout();
            return services_.printing.print(job, libraryName());
        } catch (const std::exception& e) {
            reportFailure(tr("The tiles were not printed."), e);
            return true;
        }
    });
}

void PrintSheetCommands::exportSheet() {
    const std::unique_ptr<SheetPrintJob> job =
        previewed(tr("Export print sheet"), tr("E&xport..."));
    if (!job)
        return;

    // The dialog starts beside the library, on its name.
    const QFileInfo library(document_.path());
    const QString path = askFileToWrite(
        services_.dialog, services_.messages,
        {library.path() + QLatin1Char('/') + library.completeBaseName() + QStringLiteral(".pdf"),
         tr("Export print sheet as ..."), QStringLiteral("%1|*.pdf").arg(tr("PDF File (*.pdf)")),
         QStringLiteral(".pdf"), tr("%1 already exists.\nDo you want to replace it?"),
         MessageIcon::Exclamation});
    if (path.isEmpty())
        return;

    busyWork(services_.messages, nullptr, tr("The print sheet was not written."), [&] {
        SheetWriter::writePdf(toFsPath(path), job->layout(), job->art(), libraryName());
    });
}

} // namespace qrb
