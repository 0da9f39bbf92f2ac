#include "platform/qt/ImportOptionsDialog.h"

#include "imaging/render/PictureFit.h"
#include "picture/PictureError.h"
#include "picture/PictureReader.h"
#include "tileset/DibImage.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace qrb {

namespace {

constexpr QSize kPreview(320, 240);

QSpinBox* sizeBox(int value, int least, QWidget* parent) {
    auto* box = new QSpinBox(parent);
    box->setRange(least, DibImage::kMaxDimension);
    box->setValue(value);
    return box;
}

// "W × H" as two boxes in a row.
QWidget* pair(QSpinBox* first, QSpinBox* second, QWidget* parent) {
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(first);
    layout->addWidget(new QLabel(QStringLiteral("\u00D7"), row));
    layout->addWidget(second);
    layout->addStretch();
    return row;
}

} // namespace

ImportOptionsDialog::ImportOptionsDialog(const QStringList& paths, const ImportOptions& options,
                                         QWidget* parent)
    : QDialog(parent), background_(options.background) {
    setObjectName(QStringLiteral("ImportOptionsDialog"));
    setWindowTitle(tr("Import Images"));
    auto* layout = new QVBoxLayout(this);
    const QString first = paths.value(0);
    layout->addWidget(new QLabel(
        paths.size() == 1
            ? tr("Picture: %1").arg(QFileInfo(first).fileName())
            : tr("%1 files, the first: %2").arg(paths.size()).arg(QFileInfo(first).fileName()),
        this));

    kind_ = new QButtonGroup(this);
    auto* asIs = new QRadioButton(tr("Each picture as one tile, &as it is"), this);
    auto* fit = new QRadioButton(tr("&Fit each picture to a tile of"), this);
    auto* slice = new QRadioButton(tr("&Slice into tiles of"), this);
    asIs->setObjectName(QStringLiteral("importAsIs"));
    fit->setObjectName(QStringLiteral("importFit"));
    slice->setObjectName(QStringLiteral("importSlice"));
    kind_->addButton(asIs, 0);
    kind_->addButton(fit, 1);
    kind_->addButton(slice, 2);

    const QSize fitSize = options.fit ? options.fit->size : QSize(64, 64);
    fitWidth_ = sizeBox(fitSize.width(), 1, this);
    fitHeight_ = sizeBox(fitSize.height(), 1, this);
    fitWidth_->setObjectName(QStringLiteral("fitWidth"));
    fitHeight_->setObjectName(QStringLiteral("fitHeight"));
    mode_ = new QComboBox(this);
    mode_->setObjectName(QStringLiteral("fitMode"));
    mode_->addItem(tr("Scale to fit inside, centred"), int(FitMode::Contain));
    mode_->addItem(tr("Scale to cover, cropped centred"), int(FitMode::Cover));
    mode_->addItem(tr("Stretch to the size"), int(FitMode::Stretch));
    mode_->setCurrentIndex(options.fit ? int(options.fit->mode) : 0);

    const SliceOptions cut = options.slice.value_or(SliceOptions{QSize(32, 32), 0, 0, false});
    cellWidth_ = sizeBox(cut.cell.width(), 1, this);
    cellHeight_ = sizeBox(cut.cell.height(), 1, this);
    cellWidth_->setObjectName(QStringLiteral("cellWidth"));
    cellHeight_->setObjectName(QStringLiteral("cellHeight"));
    margin_ = sizeBox(cut.margin, 0, this);
    spacing_ = sizeBox(cut.spacing, 0, this);
    margin_->setObjectName(QStringLiteral("sliceMargin"));
    spacing_->setObjectName(QStringLiteral("sliceSpacing"));
    skipEmpty_ = new QCheckBox(tr("Leave out &empty cells"), this);
    skipEmpty_->setObjectName(QStringLiteral("skipEmpty"));
    skipEmpty_->setChecked(cut.skipEmpty);

    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);
    form->addRow(asIs);
    form->addRow(fit, pair(fitWidth_, fitHeight_, this));
    form->addRow(tr("Mode:"), mode_);
    form->addRow(slice, pair(cellWidth_, cellHeight_, this));
    form->addRow(tr("Margin:"), margin_);
    form->addRow(tr("Spacing:"), spacing_);
    form->addRow(QString(), skipEmpty_);
    colour_ = new QPushButton(this);
    colour_->setObjectName(QStringLiteral("importBackground"));
    form->addRow(tr("&Background:"), colour_);
    layout->addLayout(form);

    preview_ = new QLabel(this);
    preview_->setObjectName(QStringLiteral("importPreview"));
    preview_->setMinimumSize(kPreview);
    preview_->setAlignment(Qt::AlignCenter);
    preview_->setFrameShape(QFrame::StyledPanel);
    layout->addWidget(preview_, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    if (!first.isEmpty() && !isLibraryPath(first)) {
        try {
            picture_ = readPicture(first);
        } catch (const std::exception& e) {
            previewProblem_ = QString::fromStdString(e.what());
        }
    }
    (options.slice ? slice : options.fit ? fit : asIs)->setChecked(true);
    connect(kind_, &QButtonGroup::idToggled, this, &ImportOptionsDialog::refresh);
    for (QSpinBox* box : {fitWidth_, fitHeight_, cellWidth_, cellHeight_, margin_, spacing_})
        connect(box, &QSpinBox::valueChanged, this, &ImportOptionsDialog::refresh);
    connect(mode_, &QComboBox::currentIndexChanged, this, &ImportOptionsDialog::refresh);
    connect(skipEmpty_, &QCheckBox::toggled, this, &ImportOptionsDialog::refresh);
    connect(colour_, &QPushButton::clicked, this, [this] {
        const QColor chosen = QColorDialog::getColor(background_, this);
        if (chosen.isValid()) {
            background_ = chosen;
            refresh();
        }
    });
    refresh();
}

ImportOptions ImportOptionsDialog::options() const {
    ImportOptions options;
    options.background = background_;
    if (kind_->checkedId() == 1)
        options.fit = FitOptions{QSize(fitWidth_->value(), fitHeight_->value()),
                                 FitMode(mode_->currentData().toInt())};
    if (kind_->checkedId() == 2)
        options.slice = SliceOptions{QSize(cellWidth_->value(), cellHeight_->value()),
                                     margin_->value(), spacing_->value(), skipEmpty_->isChecked()};
    return options;
}

void ImportOptionsDialog::refresh() {
    const int kind = kind_->checkedId();
    for (QWidget* w : std::initializer_list<QWidget*>{fitWidth_, fitHeight_, mode_})
        w->setEnabled(kind == 1);
    for (QWidget* w :
         std::initializer_list<QWidget*>{cellWidth_, cellHeight_, margin_, spacing_, skipEmpty_})
        w->setEnabled(kind == 2);
    colour_->setText(background_.name().toUpper());
    if (picture_.isNull()) {
        preview_->setText(previewProblem_.isEmpty() ? tr("No preview")
                                                    : tr("No preview: %1").arg(previewProblem_));
        return;
    }
    const ImportOptions chosen = options();
    QImage shown;
    int cells = 1;
    if (chosen.fit) {
        QImage flat(picture_.size(), QImage::Format_RGB32);
        flat.fill(background_);
        QPainter(&flat).drawImage(0, 0, picture_);
        shown = fitPicture(flat, *chosen.fit, background_);
    } else {
        shown = picture_;
    }
    QImage scaled = shown
                        .scaled(kPreview, Qt::KeepAspectRatio,
                                shown.width() > kPreview.width() ? Qt::SmoothTransformation
                                                                 : Qt::FastTransformation)
                        .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (chosen.slice) {
        const std::vector<QRect> grid = sliceCells(picture_.size(), *chosen.slice);
        cells = int(grid.size());
        const double scale = double(scaled.width()) / picture_.width();
        QPainter painter(&scaled);
        painter.setPen(QPen(QColor(255, 0, 255), 1));
        for (const QRect& r : grid)
            painter.drawRect(QRectF(r.x() * scale, r.y() * scale, r.width() * scale - 1,
                                    r.height() * scale - 1));
    }
    preview_->setPixmap(QPixmap::fromImage(scaled));
    preview_->setToolTip(chosen.slice ? tr("%1 cells").arg(cells) : QString());
}

} // namespace qrb
