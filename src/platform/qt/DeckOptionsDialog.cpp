#include "platform/qt/DeckOptionsDialog.h"

#include "tileset/DibImage.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>

namespace qrb {

namespace {

QSpinBox* box(int least, int most, int value, const char* name, QWidget* parent) {
    auto* b = new QSpinBox(parent);
    b->setRange(least, most);
    b->setValue(value);
    b->setObjectName(QLatin1String(name));
    return b;
}

} // namespace

DeckOptionsDialog::DeckOptionsDialog(const DeckDialogRequest& request, QWidget* parent)
    : QDialog(parent), marked_(request.marked) {
    setObjectName(QStringLiteral("DeckOptionsDialog"));
    setWindowTitle(tr("Export Deck Image"));
    const DeckOptions& o = request.options;
    const int side = DibImage::kMaxDimension;
    columns_ = box(1, 100, o.columns, "deckColumns", this);
    rows_ = box(1, 100, o.rows, "deckRows", this);
    customCell_ = new QCheckBox(tr("&Cells of"), this);
    customCell_->setObjectName(QStringLiteral("deckCustomCell"));
    customCell_->setChecked(o.cell.has_value());
    cellWidth_ = box(1, side, o.cell ? o.cell->width() : 64, "deckCellWidth", this);
    cellHeight_ = box(1, side, o.cell ? o.cell->height() : 64, "deckCellHeight", this);
    maxSize_ = box(1, side, o.maxSize, "deckMaxSize", this);
    markedOnly_ = new QCheckBox(tr("Only the &marked tiles (%1)").arg(request.marked.size()), this);
    markedOnly_->setObjectName(QStringLiteral("deckMarkedOnly"));
    markedOnly_->setEnabled(!request.marked.empty());
    markedOnly_->setChecked(!request.marked.empty() && !o.tiles.empty());
    hidden_ = new QCheckBox(tr("&Hidden card: tile"), this);
    hidden_->setObjectName(QStringLiteral("deckHidden"));
    hidden_->setChecked(o.hidden.has_value());
    hiddenTile_ =
        box(1, std::max(1, request.tileCount), o.hidden.value_or(1), "deckHiddenTile", this);

    auto* form = new QFormLayout(this);
    form->addRow(tr("C&olumns:"), columns_);
    form->addRow(tr("&Rows:"), rows_);
    form->addRow(customCell_, cellWidth_);
    form->addRow(tr("by"), cellHeight_);
    form->addRow(tr("&Largest side (pixels):"), maxSize_);
    form->addRow(hidden_, hiddenTile_);
    form->addRow(markedOnly_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
    auto follow = [this] {
        cellWidth_->setEnabled(customCell_->isChecked());
        cellHeight_->setEnabled(customCell_->isChecked());
        hiddenTile_->setEnabled(hidden_->isChecked());
    };
    connect(customCell_, &QCheckBox::toggled, this, follow);
    connect(hidden_, &QCheckBox::toggled, this, follow);
    follow();
}

DeckOptions DeckOptionsDialog::options() const {
    DeckOptions o;
    o.columns = columns_->value();
    o.rows = rows_->value();
    if (customCell_->isChecked())
        o.cell = QSize(cellWidth_->value(), cellHeight_->value());
    o.maxSize = maxSize_->value();
    if (markedOnly_->isChecked())
        o.tiles = marked_;
    if (hidden_->isChecked())
        o.hidden = hiddenTile_->value();
    return o;
}

} // namespace qrb
