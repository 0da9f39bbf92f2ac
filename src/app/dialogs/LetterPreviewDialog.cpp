#include "app/dialogs/LetterPreviewDialog.h"

#include "document/Document.h"
#include "document/FilePath.h"
#include "document/GlyphReport.h"
#include "document/LetteringArt.h"
#include "imaging/render/DibConversion.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

#include <exception>

namespace qrb {

namespace {

// The table lines of `lines`, "3, 7, 12", the first 20 and "..." after them.
QString lineList(const std::vector<int>& lines) {
    QStringList shown;
    for (std::size_t i = 0; i < lines.size() && i < 20; ++i)
        shown << QString::number(lines[i]);
    if (lines.size() > 20)
        shown << QStringLiteral("...");
    return shown.join(QStringLiteral(", "));
}

} // namespace

LetterPreviewDialog::LetterPreviewDialog(Document& document, Services services,
                                         LetteringTable table, QString iconFolder, int zoom,
                                         QWidget* parent)
    : QDialog(parent), document_(document), services_(services), table_(std::move(table)),
      iconFolder_(std::move(iconFolder)), zoom_(std::max(1, zoom)) {
    setObjectName(QStringLiteral("LetterPreviewDialog"));
    setWindowTitle(tr("Letter from Table"));
    setWindowModality(Qt::WindowModal);

    summary = new QLabel(this);
    summary->setObjectName(QStringLiteral("summary"));
    summary->setWordWrap(true);

    auto* iconsLabel = new QLabel(tr("&Icons:"), this);
    icons = new QLineEdit(this);
    icons->setObjectName(QStringLiteral("iconFolder"));
    icons->setReadOnly(true);
    icons->setPlaceholderText(tr("no folder: {name} in a text is an error"));
    iconsLabel->setBuddy(icons);
    chooseIcons = new QPushButton(tr("C&hoose..."), this);
    chooseIcons->setObjectName(QStringLiteral("chooseIcons"));
    chooseIcons->setToolTip(tr("The folder of the icons {name} in the texts draw: name.png, "
                               "name.svg or name.jpg"));
    connect(chooseIcons, &QPushButton::clicked, this, &LetterPreviewDialog::chooseFolder);

    picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("previewPicture"));
    picture->setAlignment(Qt::AlignCenter);
    scroll_ = new QScrollArea(this);
    scroll_->setWidget(picture);
    scroll_->setWidgetResizable(true);
    scroll_->setMinimumSize(160, 120);

    previous = new QPushButton(tr("< &Previous"), this);
    previous->setObjectName(QStringLiteral("previousRow"));
    next = new QPushButton(tr("&Next >"), this);
    next->setObjectName(QStringLiteral("nextRow"));
    rowLabel = new QLabel(this);
    rowLabel->setObjectName(QStringLiteral("rowLabel"));
    rowLabel->setAlignment(Qt::AlignCenter);
    connect(previous, &QPushButton::clicked, this, [this] { showRow(current_ - 1); });
    connect(next, &QPushButton::clicked, this, [this] { showRow(current_ + 1); });

    notes = new QLabel(this);
    notes->setObjectName(QStringLiteral("notes"));
    notes->setWordWrap(true);
    notes->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    letterButton = buttons->addButton(tr("&Letter"), QDialogButtonBox::AcceptRole);
    letterButton->setObjectName(QStringLiteral("letter"));
    letterButton->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &LetterPreviewDialog::append);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* iconRow = new QHBoxLayout;
    iconRow->addWidget(iconsLabel);
    iconRow->addWidget(icons, 1);
    iconRow->addWidget(chooseIcons);
    auto* stepRow = new QHBoxLayout;
    stepRow->addWidget(previous);
    stepRow->addWidget(rowLabel, 1);
    stepRow->addWidget(next);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary);
    layout->addLayout(iconRow);
    layout->addWidget(scroll_, 1);
    layout->addLayout(stepRow);
    layout->addWidget(notes);
    layout->addWidget(buttons);
    // The wrapped notes and summary take the lines they need, never over the controls below.
    layout->setSizeConstraint(QLayout::SetMinimumSize);

    icons->setText(iconFolder_);
}

bool LetterPreviewDialog::start() {
    if (!letter())
        return false;
    // Room for the whole tile where the screen has it; the rest scrolls.
    const QSize tile = shownTile().size() * zoom_;
    const QSize room = screen() ? screen()->availableSize() * 0.6 : QSize(640, 480);
    scroll_->setMinimumSize(std::clamp(tile.width() + 4, 360, std::max(360, room.width())),
                            std::clamp(tile.height() + 4, 120, std::max(120, room.height())));
    adjustSize();
    return true;
}

bool LetterPreviewDialog::letter() {
    lettered_.reset();
    rows_.clear();
    const QString tableName = QFileInfo(QString::fromStdString(table_.name())).fileName();
    std::vector<UndrawableCharacter> undrawable;
    QString failure;
    bool cancelled = false;
    try {
        std::optional<LetteredTiles> made;
        services_.progress.run(
            tr("Letter from table"), tr("Lettering tiles from %1 ...").arg(tableName),
            [&](const ProgressCallback& progress, std::stop_token stop) {
                const std::optional<std::filesystem::path> folder =
                    iconFolder_.isEmpty() ? std::nullopt : std::optional(toFsPath(iconFolder_));
                const LetteringArt art =
                    LetteringArt::forTable(table_, document_.tiles(), folder, Document::kArtMemory);
                made = document_.tableLettering(table_, &art).letterAll(table_, progress, stop);
                GlyphReport glyphs(document_.positionSlots());
                for (const LetteringRow& row : table_.rows())
                    glyphs.note(row);
                undrawable = glyphs.undrawable();
            });
        lettered_ = std::move(made);
        cancelled = !lettered_;
        if (cancelled)
            failure = tr("Lettering was cancelled.");
    } catch (const std::exception& e) {
        failure = QString::fromUtf8(e.what());
    }

    int tiles = 0;
    if (lettered_) {
        for (std::size_t i = 0; i < table_.rows().size(); ++i) {
            const int copies = table_.rows()[i].copies;
            if (copies > 0)
                rows_.push_back({i, std::size_t(tiles)});
            tiles += copies;
        }
    }
    //: The subject of "%1: %2 %3; Letter appends them to the library."
    const QString rowsText =
        rowCount() == 1 ? tr("1 row makes") : tr("%1 rows make").arg(rowCount());
    //: The object of "%1: %2 %3; Letter appends them to the library."
    const QString tilesText = tiles == 1 ? tr("1 new tile") : tr("%1 new tiles").arg(tiles);
    //: %1 is the table's file name, %2 "3 rows make", %3 "5 new tiles".
    summary->setText(lettered_ ? tr("%1: %2 %3; Letter appends them to the library.")
                                     .arg(tableName, rowsText, tilesText)
                               : tr("%1: no tiles were lettered.").arg(tableName));
    QStringList said;
    if (!failure.isEmpty())
        said << failure;
    if (lettered_ && !lettered_->overflowingLines.empty())
        said << (lettered_->overflowingLines.size() == 1
                     ? tr("The text of the row on line %1 did not fit its box even at 6 points "
                          "and is cut.")
                     : tr("The texts of the rows on lines %1 did not fit their boxes even at 6 "
                          "points and are cut."))
                    .arg(lineList(lettered_->overflowingLines));
    if (lettered_ && !undrawable.empty()) {
        // "U+65E5, U+672C (line 16), U+10FFFD (line 23)": the characters of a line together.
        QStringList characters;
        for (std::size_t i = 0; i < undrawable.size(); ++i) {
            QString name = QString::fromStdString(codePointName(undrawable[i].character));
            if (i + 1 == undrawable.size() || undrawable[i + 1].line != undrawable[i].line)
                name = tr("%1 (line %2)").arg(name, QString::number(undrawable[i].line));
            characters << name;
        }
        said << tr("No installed font draws %1; such a character shows as an empty box.")
                    .arg(characters.join(QStringLiteral(", ")));
    }
    notes->setText(said.join(QLatin1Char('\n')));
    notes->setVisible(!said.isEmpty());
    letterButton->setEnabled(lettered_ && !rows_.empty());
    showRow(0);
    return !cancelled;
}

void LetterPreviewDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Sized again once shown: the style's fonts and margins are known only then, and the
    // wrapped labels' heights with them (which adjustSize() does not count on a small
    // screen).
    adjustSize();
    if (layout()->hasHeightForWidth())
        resize(width(), std::max(height(), layout()->totalHeightForWidth(width())));
}

void LetterPreviewDialog::showRow(int row) {
    current_ = rows_.empty() ? 0 : std::clamp(row, 0, rowCount() - 1);
    previous->setEnabled(current_ > 0);
    next->setEnabled(current_ + 1 < rowCount());
    if (rows_.empty()) {
        rowLabel->setText(tr("No row"));
        picture->setPixmap({});
        return;
    }
    const LetteringRow& shown = table_.rows()[rows_[std::size_t(current_)].row];
    rowLabel->setText(
        shown.copies == 1
            ? tr("Row %1 of %2 (line %3)").arg(current_ + 1).arg(rowCount()).arg(shown.line)
            : tr("Row %1 of %2 (line %3, %4 copies)")
                  .arg(current_ + 1)
                  .arg(rowCount())
                  .arg(shown.line)
                  .arg(shown.copies));
    const QImage tile = shownTile();
    // Whole zoom steps, pixel for pixel, as the working tile shows a tile.
    picture->setPixmap(QPixmap::fromImage(
        tile.scaled(tile.size() * zoom_, Qt::IgnoreAspectRatio, Qt::FastTransformation)));
}

QImage LetterPreviewDialog::shownTile() const {
    if (!lettered_ || rows_.empty())
        return {};
    return toQImage(lettered_->tiles[rows_[std::size_t(current_)].tile].full);
}

void LetterPreviewDialog::chooseFolder() {
    FileDialogRequest request;
    request.title = tr("Folder of the icons");
    request.directory = iconFolder_;
    const std::optional<QString> chosen = services_.dialog.backend().chooseFolder(request);
    if (!chosen)
        return;
    iconFolder_ = *chosen;
    icons->setText(iconFolder_);
    emit iconFolderChosen(iconFolder_);
    letter();
}

void LetterPreviewDialog::append() {
    if (!lettered_ || rows_.empty())
        return;
    const int first = document_.tileCount() + 1;
    int appended = 0;
    try {
        appended = document_.appendLettered(std::move(lettered_->tiles));
    } catch (const std::exception& e) {
        services_.messages.inform(
            tr("No tiles were lettered; the library is as it was.\n\n%1").arg(e.what()), appTitle(),
            MessageIcon::Exclamation);
        reject();
        return;
    }
    lettered_.reset();
    accept();
    const QString tableName = QFileInfo(QString::fromStdString(table_.name())).fileName();
    services_.showStatus(appended == 1
                             ? tr("Lettered 1 tile from %1").arg(tableName)
                             : tr("Lettered %1 tiles from %2").arg(appended).arg(tableName));
    emit tilesAppended(first);
}

} // namespace qrb
