#include "app/commands/TableLetteringCommand.h"

#include "app/dialogs/LetterPreviewDialog.h"
#include "app/shared/FileQuestions.h"
#include "document/FilePath.h"
#include "document/TableLettering.h"
#include "lettering/LetteringTable.h"

#include <QFileInfo>
#include <QSettings>
#include <QWidget>

#include <exception>
#include <optional>

namespace qrb {

namespace {

const char* const kIconFolderKey = "lettering/iconFolder";

} // namespace

TableLetteringCommand::TableLetteringCommand(Document& document, Services services,
                                             std::function<int()> zoom, QObject* parent)
    : QObject(parent), document_(document), services_(services), zoom_(std::move(zoom)) {
    setObjectName(QStringLiteral("TableLettering"));
}

LetterPreviewDialog* TableLetteringCommand::preview() const {
    return preview_;
}

void TableLetteringCommand::tell(const QString& text, MessageIcon icon) {
    services_.messages.inform(text, appTitle(), icon);
}

void TableLetteringCommand::letterFromTable() {
    if (!document_.isLibraryOpen())
        return;
    const QString path =
        askFileToOpen(services_.dialog, lastTable_, tr("Letter tiles from table"),
                      QStringLiteral("%1|*.csv;*.tsv|%2|*.csv|%3|*.tsv|%4|*")
                          .arg(tr("Table (*.csv *.tsv)"), tr("Comma-separated (*.csv)"),
                               tr("Tab-separated (*.tsv)"), tr("All files (*)")));
    if (path.isEmpty())
        return;
    lastTable_ = path;

    // The table is read away from the window, which stays blocked meanwhile (and while the
    // preview is open), so nothing changes the library under the lettering.
    std::optional<LetteringTable> table;
    int tiles = 0;
    try {
        services_.progress.run(tr("Letter from table"),
                               tr("Reading %1 ...").arg(QFileInfo(path).fileName()),
                               [&](const ProgressCallback&, std::stop_token) {
                                   table = LetteringTable::read(toFsPath(path));
                                   document_.tableLettering(*table); // checks it
                               });
        for (const LetteringRow& row : table->rows())
            tiles += row.copies;
    } catch (const std::exception& e) {
        tell(tr("No tiles were lettered; the library is as it was.\n\n%1")
                 .arg(QString::fromUtf8(e.what())),
             MessageIcon::Exclamation);
        return;
    }
    if (tiles == 0) {
        tell(tr("%1 has no row that makes a tile; the library is as it was.")
                 .arg(QFileInfo(path).fileName()),
             MessageIcon::Information);
        return;
    }
    delete preview_;
    // The window the command belongs to.
    auto* window = qobject_cast<QWidget*>(parent());
    preview_ = new LetterPreviewDialog(document_, services_, std::move(*table),
                                       QSettings().value(QLatin1String(kIconFolderKey)).toString(),
                                       zoom_ ? zoom_() : 1, window);
    if (!preview_->start()) {
        delete preview_;
        tell(tr("Letter from table was cancelled; the library is as it was."),
             MessageIcon::Information);
        return;
    }
    preview_->setAttribute(Qt::WA_DeleteOnClose);
    connect(preview_, &LetterPreviewDialog::tilesAppended, this,
            &TableLetteringCommand::tilesAppended);
    connect(preview_, &LetterPreviewDialog::iconFolderChosen, this, [](const QString& folder) {
        QSettings().setValue(QLatin1String(kIconFolderKey), folder);
    });
    preview_->open();
}

} // namespace qrb
