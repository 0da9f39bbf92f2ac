#include "app/platform/QtDialogBackend.h"

#include "text/render/modRotateText.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace qrb {

namespace {

std::optional<QString> runFileDialog(const FileDialogRequest& request, bool save) {
    QFileDialog dialog(QApplication::activeWindow(), request.title);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilters(QtDialogBackend::nameFilters(request.filter));
    if (!(request.flags & dialogflags::OverwritePrompt))
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!request.fileName.isEmpty()) {
        QFileInfo info(request.fileName);
        dialog.setDirectory(info.absolutePath());
        dialog.selectFile(info.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

// The font dialog of the desktop offers no text colour, so the program's font dialog is
// the desktop one with a colour button beside it.
class FontAndColourDialog : public QDialog {
public:
    FontAndColourDialog(const FontDialogRequest& request, QWidget* parent)
        : QDialog(parent), colour_(request.current.colour) {
        setWindowTitle(QObject::tr("Font"));
        fonts_ = new QFontDialog(this);
        fonts_->setWindowFlags(Qt::Widget);
        fonts_->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
        QFont font(request.current.name);
        font.setPointSizeF(request.current.size > 0 ? request.current.size : 8);
        font.setBold(request.current.bold);
        font.setItalic(request.current.italic);
        font.setUnderline(request.current.underline);
        font.setStrikeOut(request.current.strikethru);
        fonts_->setCurrentFont(font);

        auto* colourButton = new QPushButton(QObject::tr("&Colour..."), this);
        swatch_ = new QLabel(this);
        swatch_->setFixedSize(40, 20);
        swatch_->setFrameShape(QFrame::Box);
        swatch_->setAccessibleName(QObject::tr("Text colour"));
        showColour();
        QObject::connect(colourButton, &QPushButton::clicked, this, [this] {
            QColor chosen = QColorDialog::getColor(toQColor(colour_), this);
            if (chosen.isValid()) {
                colour_ = toColourValue(chosen);
                showColour();
            }
        });
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        QObject::connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        QObject::connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

        auto* colourRow = new QHBoxLayout;
        colourRow->addWidget(new QLabel(QObject::tr("Text colour:"), this));
        colourRow->addWidget(swatch_);
        colourRow->addWidget(colourButton);
        colourRow->addStretch();
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(fonts_);
        layout->addLayout(colourRow);
        layout->addWidget(buttons);
    }

    FontSettings result() const {
        QFont f = fonts_->currentFont();
        return FontSettings{f.family(),    f.pointSizeF(), f.bold(), f.italic(),
                            f.underline(), f.strikeOut(),  colour_};
    }

private:
    void showColour() {
        swatch_->setStyleSheet(
            QStringLiteral("background-color: %1").arg(toQColor(colour_).name()));
    }

    QFontDialog* fonts_;
    QLabel* swatch_;
    ColourValue colour_;
};

} // namespace

QStringList QtDialogBackend::nameFilters(const QString& filter) {
    QStringList parts = filter.split(QLatin1Char('|'));
    QStringList result;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        QString patterns = parts[i + 1].trimmed().replace(QLatin1Char(';'), QLatin1Char(' '));
        if (description.contains(QLatin1Char('(')))
            result << description;
        else
            result << QStringLiteral("%1 (%2)").arg(description, patterns);
    }
    if (result.isEmpty())
        result << QObject::tr("All files (*)");
    return result;
}

std::optional<QString> QtDialogBackend::openFile(const FileDialogRequest& request) {
    return runFileDialog(request, false);
}

std::optional<QString> QtDialogBackend::saveFile(const FileDialogRequest& request) {
    return runFileDialog(request, true);
}

std::optional<FontSettings> QtDialogBackend::chooseFont(const FontDialogRequest& request) {
    FontAndColourDialog dialog(request, QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.result();
}

std::optional<ColourValue> QtDialogBackend::chooseColour(ColourValue initial) {
    QColor chosen = QColorDialog::getColor(toQColor(initial), QApplication::activeWindow());
    if (!chosen.isValid())
        return std::nullopt;
    return toColourValue(chosen);
}

} // namespace qrb
