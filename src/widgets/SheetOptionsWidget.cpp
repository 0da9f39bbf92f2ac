#include "widgets/SheetOptionsWidget.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

namespace qrb {

namespace {

// The named paper sizes in the order the list offers them; "Custom" follows.
const std::array<PageSize, 4>& namedPapers() {
    static const std::array<PageSize, 4> papers{PageSize::a4(), PageSize::letter(), PageSize::a3(),
                                                PageSize::legal()};
    return papers;
}
constexpr int kCustomPaper = 4;

} // namespace

SheetOptionsWidget::SheetOptionsWidget(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("sheetOptions"));
    auto* form = new QFormLayout(this);

    page_ = new QComboBox(this);
    page_->setObjectName(QStringLiteral("sheetPage"));
    for (const PageSize& paper : namedPapers())
        page_->addItem(QString::fromStdString(paper.name));
    page_->addItem(tr("Custom"));
    form->addRow(tr("&Paper:"), page_);

    pageWidth_ = length("sheetPageWidth", PageSize::kMinMm, PageSize::kMaxMm);
    pageHeight_ = length("sheetPageHeight", PageSize::kMinMm, PageSize::kMaxMm);
    auto* size = new QHBoxLayout;
    size->addWidget(pageWidth_);
    size->addWidget(new QLabel(QStringLiteral("\u00d7"), this));
    size->addWidget(pageHeight_);
    auto* sizeLabel = new QLabel(tr("Paper si&ze:"), this);
    sizeLabel->setBuddy(pageWidth_);
    form->addRow(sizeLabel, size);

    orientation_ = new QComboBox(this);
    orientation_->setObjectName(QStringLiteral("sheetOrientation"));
    orientation_->addItems({tr("Portrait"), tr("Landscape")});
    form->addRow(tr("&Orientation:"), orientation_);

    margin_ = length("sheetMargin", 0, PageSize::kMaxMm / 2);
    form->addRow(tr("&Margin:"), margin_);
    tileSize_ = length("sheetTileSize", SheetOptions::kMinTileWidth, PageSize::kMaxMm);
    tileSize_->setToolTip(tr("The printed width of a tile; its height follows its proportions"));
    form->addRow(tr("&Tile size:"), tileSize_);
    gap_ = length("sheetGap", 0, PageSize::kMaxMm);
    form->addRow(tr("&Gap:"), gap_);
    bleed_ = length("sheetBleed", 0, PageSize::kMaxMm / 2);
    bleed_->setToolTip(tr("How far each tile's edge is printed beyond its cut line"));
    form->addRow(tr("&Bleed:"), bleed_);

    marks_ = new QComboBox(this);
    marks_->setObjectName(QStringLiteral("sheetMarks"));
    marks_->addItems({tr("None"), tr("Corners"), tr("Full lines")});
    form->addRow(tr("C&ut marks:"), marks_);

    copies_ = new QSpinBox(this);
    copies_->setObjectName(QStringLiteral("sheetCopies"));
    copies_->setRange(1, SheetOptions::kMaxCopies);
    copies_->setKeyboardTracking(false);
    form->addRow(tr("Copies of &each:"), copies_);

    selectedOnly_ = new QCheckBox(this);
    selectedOnly_->setObjectName(QStringLiteral("sheetSelectedOnly"));
    form->addRow(selectedOnly_);
    setSelectedCount(0);

    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("sheetSummary"));
    summary_->setWordWrap(true);
    summary_->setMinimumWidth(220);
    form->addRow(summary_);

    setOptions(SheetOptions{});

    connect(page_, &QComboBox::currentIndexChanged, this, [this] {
        showPaper();
        emit changed();
    });
    for (QComboBox* box : {orientation_, marks_})
        connect(box, &QComboBox::currentIndexChanged, this, &SheetOptionsWidget::changed);
    for (QDoubleSpinBox* box : {pageWidth_, pageHeight_, margin_, tileSize_, gap_, bleed_})
        connect(box, &QDoubleSpinBox::valueChanged, this, &SheetOptionsWidget::changed);
    connect(copies_, &QSpinBox::valueChanged, this, &SheetOptionsWidget::changed);
    connect(selectedOnly_, &QCheckBox::toggled, this, &SheetOptionsWidget::changed);
}

QDoubleSpinBox* SheetOptionsWidget::length(const char* name, double minimum, double maximum) {
    auto* box = new QDoubleSpinBox(this);
    box->setObjectName(QString::fromLatin1(name));
    box->setRange(minimum, maximum);
    box->setDecimals(1);
    box->setSingleStep(1);
    box->setSuffix(tr(" mm"));
    // A sheet is laid out again on each change: not on every digit typed.
    box->setKeyboardTracking(false);
    return box;
}

void SheetOptionsWidget::showPaper() {
    const int index = page_->currentIndex();
    const bool custom = index == kCustomPaper;
    pageWidth_->setEnabled(custom);
    pageHeight_->setEnabled(custom);
    if (!custom) {
        // A named size shows its measures.
        const QSignalBlocker quietWidth(pageWidth_);
        const QSignalBlocker quietHeight(pageHeight_);
        const SizeMm size = namedPapers().at(std::size_t(index)).size;
        pageWidth_->setValue(size.width);
        pageHeight_->setValue(size.height);
    }
}

SheetOptions SheetOptionsWidget::options() const {
    SheetOptions options;
    const int index = page_->currentIndex();
    if (index == kCustomPaper)
        options.page = PageSize{"", {pageWidth_->value(), pageHeight_->value()}};
    else
        options.page = namedPapers().at(std::size_t(index));
    options.orientation =
        orientation_->currentIndex() == 1 ? PageOrientation::Landscape : PageOrientation::Portrait;
    options.margins = SheetMargins::uniform(margin_->value());
    options.tileWidth = tileSize_->value();
    options.gap = gap_->value();
    options.bleed = bleed_->value();
    constexpr CutMarks kMarks[] = {CutMarks::None, CutMarks::Corners, CutMarks::Full};
    options.marks = kMarks[std::size_t(std::max(0, marks_->currentIndex()))];
    options.copies = copies_->value();
    return options;
}

void SheetOptionsWidget::setOptions(const SheetOptions& options) {
    const QList<QWidget*> fields{page_,     pageWidth_, pageHeight_, orientation_, margin_,
                                 tileSize_, gap_,       bleed_,      marks_,       copies_};
    std::vector<std::unique_ptr<QSignalBlocker>> quiet;
    for (QWidget* field : fields)
        quiet.push_back(std::make_unique<QSignalBlocker>(field));

    int index = kCustomPaper;
    for (std::size_t i = 0; i < namedPapers().size(); ++i)
        if (namedPapers()[i] == options.page)
            index = int(i);
    page_->setCurrentIndex(index);
    pageWidth_->setValue(options.page.size.width);
    pageHeight_->setValue(options.page.size.height);
    showPaper();
    orientation_->setCurrentIndex(options.orientation == PageOrientation::Landscape ? 1 : 0);
    margin_->setValue(options.margins.left);
    tileSize_->setValue(options.tileWidth);
    gap_->setValue(options.gap);
    bleed_->setValue(options.bleed);
    marks_->setCurrentIndex(options.marks == CutMarks::None      ? 0
                            : options.marks == CutMarks::Corners ? 1
                                                                 : 2);
    copies_->setValue(options.copies);
}

void SheetOptionsWidget::setSelectedCount(int count) {
    selectedOnly_->setText(count > 0 ? tr("&Selected tiles only (%1)").arg(count)
                                     : tr("&Selected tiles only"));
    selectedOnly_->setEnabled(count > 0);
    if (count == 0)
        selectedOnly_->setChecked(false);
}

bool SheetOptionsWidget::selectedOnly() const {
    return selectedOnly_->isEnabled() && selectedOnly_->isChecked();
}

void SheetOptionsWidget::setSummary(const QString& text, bool problem) {
    summary_->setText(text);
    QFont font = summary_->font();
    font.setBold(problem);
    summary_->setFont(font);
}

} // namespace qrb
