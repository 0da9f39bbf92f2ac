#include "platform/qt/FontDialog.h"

#include "text/render/QtConversions.h"
#include "text/render/RotatedText.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace qrb {

namespace {

// Sizes as the dialog lists them: whole points plainly, others with their fraction.
QString sizeText(double points) {
    return QString::number(points, 'g', 4);
}

} // namespace

FontDialog::FontDialog(const FontDialogRequest& request, QWidget* parent)
    : QDialog(parent), colour_(request.current.colour) {
    setWindowTitle(tr("Font"));

    face_ = new QComboBox(this);
    face_->setObjectName(QStringLiteral("face"));
    fillFaces(request.current.name);
    faceNote_ = new QLabel(this);
    faceNote_->setWordWrap(true);

    size_ = new QComboBox(this);
    size_->setObjectName(QStringLiteral("size"));
    fillSizes(request.current.size, request.minSize, request.maxSize);

    bold_ = new QCheckBox(tr("&Bold"), this);
    bold_->setChecked(request.current.bold);
    italic_ = new QCheckBox(tr("&Italic"), this);
    italic_->setChecked(request.current.italic);
    underline_ = new QCheckBox(tr("&Underline"), this);
    underline_->setChecked(request.current.underline);
    strikeout_ = new QCheckBox(tr("Stri&keout"), this);
    strikeout_->setChecked(request.current.strikethru);

    swatch_ = new QLabel(this);
    swatch_->setFixedSize(40, 20);
    swatch_->setFrameShape(QFrame::Box);
    swatch_->setAccessibleName(tr("Text colour"));
    auto* colourButton = new QPushButton(tr("&Colour..."), this);
    colourButton->setAutoDefault(false);
    connect(colourButton, &QPushButton::clicked, this, [this] {
        const QColor picked = QColorDialog::getColor(toQColor(colour_), this);
        if (picked.isValid()) {
            colour_ = toColourValue(picked);
            showChoice();
        }
    });

    sample_ = new QLabel(tr("AaBbYyZz"), this);
    sample_->setAlignment(Qt::AlignCenter);
    sample_->setMinimumSize(220, 60);
    sample_->setFrameShape(QFrame::StyledPanel);
    sample_->setAutoFillBackground(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* form = new QFormLayout;
    form->addRow(tr("&Font:"), face_);
    form->addRow(QString(), faceNote_);
    form->addRow(tr("&Size:"), size_);
    auto* styles = new QHBoxLayout;
    for (QCheckBox* box : {bold_, italic_, underline_, strikeout_})
        styles->addWidget(box);
    form->addRow(tr("Style:"), styles);
    auto* colourRow = new QHBoxLayout;
    colourRow->addWidget(swatch_);
    colourRow->addWidget(colourButton);
    colourRow->addStretch();
    form->addRow(tr("Text colour:"), colourRow);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(sample_);
    layout->addWidget(buttons);

    for (QComboBox* box : {face_, size_})
        connect(box, &QComboBox::currentIndexChanged, this, &FontDialog::showChoice);
    for (QCheckBox* box : {bold_, italic_, underline_, strikeout_})
        connect(box, &QCheckBox::toggled, this, &FontDialog::showChoice);
    showChoice();
    face_->setFocus();
}

void FontDialog::fillFaces(const QString& current) {
    QStringList faces;
    for (const QString& family : QFontDatabase::families()) {
        if (!QFontDatabase::isPrivateFamily(family))
            faces << family;
    }
    // The current face by its own name, also when the desktop does not list it.
    if (!current.isEmpty() && !faces.contains(current, Qt::CaseInsensitive)) {
        faces << current;
        faces.sort(Qt::CaseInsensitive);
    }
    face_->addItems(faces);
    for (int i = 0; i < faces.size(); ++i) {
        if (faces[i].compare(current, Qt::CaseInsensitive) == 0) {
            face_->setCurrentIndex(i);
            break;
        }
    }
}

void FontDialog::fillSizes(double current, double minimum, double maximum) {
    QList<double> sizes;
    if (maximum >= minimum && maximum > 0) {
        for (int points = int(std::ceil(minimum)); points <= int(std::floor(maximum)); ++points)
            sizes << points;
        current = std::clamp(current, minimum, maximum);
    } else {
        for (int points : QFontDatabase::standardSizes())
            sizes << points;
    }
    // A size between the whole points it lies within the limits: offered as it is.
    if (current > 0 && !sizes.contains(current)) {
        sizes << current;
        std::sort(sizes.begin(), sizes.end());
    }
    for (double points : sizes)
        size_->addItem(sizeText(points), points);
    size_->setCurrentIndex(std::max(0, int(sizes.indexOf(current))));
}

FontSettings FontDialog::chosen() const {
    return FontSettings{face_->currentText(),
                        size_->currentData().toDouble(),
                        bold_->isChecked(),
                        italic_->isChecked(),
                        underline_->isChecked(),
                        strikeout_->isChecked(),
                        colour_};
}

void FontDialog::showChoice() {
    const FontSettings now = chosen();
    QFont font(now.name);
    font.setPointSizeF(now.size > 0 ? now.size : 8);
    font.setBold(now.bold);
    font.setItalic(now.italic);
    font.setUnderline(now.underline);
    font.setStrikeOut(now.strikethru);
    sample_->setFont(font);
    QPalette colours = sample_->palette();
    colours.setColor(QPalette::WindowText, toQColor(colour_));
    colours.setColor(QPalette::Window, colour_ == palette::White ? toQColor(palette::DarkGrey)
                                                                 : toQColor(palette::White));
    sample_->setPalette(colours);
    swatch_->setStyleSheet(QStringLiteral("background-color: %1").arg(toQColor(colour_).name()));

    // A face served by another family says so; its name is still the one kept.
    const QString drawnWith = QFontInfo(font).family();
    faceNote_->setText(drawnWith.compare(now.name, Qt::CaseInsensitive) == 0
                           ? QString()
                           : tr("Not installed here: shown with %1.").arg(drawnWith));
    faceNote_->setVisible(!faceNote_->text().isEmpty());
}

} // namespace qrb
