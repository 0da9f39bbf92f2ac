#include "app/dialogs/TextEffectsDialog.h"

#include "document/Document.h"
#include "text/render/QtConversions.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace qrb {

namespace {

// Small tiles are shown larger, by whole pixels, so that a one-pixel outline can be seen.
constexpr int kPreviewSide = 192;

QSpinBox* spin(QWidget* parent, const char* name, int low, int high, int value) {
    auto* box = new QSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(low, high);
    box->setValue(value);
    return box;
}

} // namespace

TextEffectsDialog::TextEffectsDialog(Document& document, Services services, QWidget* parent)
    : QDialog(parent), document_(document), services_(std::move(services)) {
    setObjectName(QStringLiteral("frmTextEffects"));
    setWindowTitle(tr("Text Effects"));
    const TextLayout now = document.placement().style.layout;
    outline_ = now.outlineColour;
    shadowColour_ = now.shadowColour;

    outlineWidth = spin(this, "outlineWidth", 0, TextLayout::kMaxOutlineWidth, now.outlineWidth);
    outlineWidth->setSuffix(tr(" px"));
    outlineColour = new QPushButton(this);
    outlineColour->setObjectName(QStringLiteral("outlineColour"));
    shadow = new QCheckBox(tr("&Shadow"), this);
    shadow->setObjectName(QStringLiteral("shadow"));
    shadow->setChecked(now.hasShadow());
    // A shadow just switched on starts one pixel down and right.
    const bool offset = now.hasShadow();
    shadowDx = spin(this, "shadowDx", -TextLayout::kMaxShadowOffset, TextLayout::kMaxShadowOffset,
                    offset ? now.shadowDx : 1);
    shadowDy = spin(this, "shadowDy", -TextLayout::kMaxShadowOffset, TextLayout::kMaxShadowOffset,
                    offset ? now.shadowDy : 1);
    shadowColour = new QPushButton(this);
    shadowColour->setObjectName(QStringLiteral("shadowColour"));
    fitWidth = spin(this, "fitWidth", 0, TextLayout::kMaxFitWidth, now.fitWidth);
    fitWidth->setSpecialValueText(tr("Off"));
    fitWidth->setSuffix(tr(" px"));
    showColour(outlineColour, outline_);
    showColour(shadowColour, shadowColour_);

    auto* form = new QFormLayout;
    auto* outlineRow = new QHBoxLayout;
    outlineRow->addWidget(outlineWidth);
    outlineRow->addWidget(outlineColour);
    auto* outlineLabel = new QLabel(tr("&Outline:"), this);
    outlineLabel->setBuddy(outlineWidth);
    form->addRow(outlineLabel, outlineRow);
    auto* shadowRow = new QHBoxLayout;
    shadowRow->addWidget(new QLabel(tr("right"), this));
    shadowRow->addWidget(shadowDx);
    shadowRow->addWidget(new QLabel(tr("down"), this));
    shadowRow->addWidget(shadowDy);
    shadowRow->addWidget(shadowColour);
    form->addRow(shadow, shadowRow);
    form->addRow(tr("&Fit width:"), fitWidth);
    picture_ = new QLabel(this);
    picture_->setObjectName(QStringLiteral("preview"));
    picture_->setMinimumSize(kPreviewSide, kPreviewSide);
    picture_->setAlignment(Qt::AlignCenter);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* column = new QVBoxLayout(this);
    column->addLayout(form);
    column->addWidget(picture_);
    column->addWidget(buttons);

    for (QSpinBox* box : {outlineWidth, shadowDx, shadowDy, fitWidth})
        connect(box, &QSpinBox::valueChanged, this, &TextEffectsDialog::refresh);
    connect(shadow, &QCheckBox::toggled, this, &TextEffectsDialog::refresh);
    connect(outlineColour, &QPushButton::clicked, this,
            [this] { pickColour(outline_, outlineColour); });
    connect(shadowColour, &QPushButton::clicked, this,
            [this] { pickColour(shadowColour_, shadowColour); });
    connect(buttons, &QDialogButtonBox::accepted, this, &TextEffectsDialog::commit);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    refresh();
}

TextLayout TextEffectsDialog::layout() const {
    TextLayout layout = document_.placement().style.layout;
    layout.outlineWidth = outlineWidth->value();
    layout.outlineColour = outline_;
    layout.shadowColour = shadowColour_;
    const bool on = shadow->isChecked() && (shadowDx->value() != 0 || shadowDy->value() != 0);
    layout.shadowDx = on ? shadowDx->value() : 0;
    layout.shadowDy = on ? shadowDy->value() : 0;
    layout.fitWidth = fitWidth->value();
    return layout;
}

void TextEffectsDialog::pickColour(ColourValue& colour, QPushButton* button) {
    CommonDialog& dialog = services_.dialog;
    // The shared dialog's colour belongs to the small colour command: borrowed, given back.
    const ColourValue kept = dialog.Color;
    dialog.Color = colour;
    try {
        dialog.ShowColor();
    } catch (const DialogCancelled&) {
        dialog.Color = kept;
        return;
    }
    // Effects keep plain colours: a system colour is taken as it looks now.
    colour = toColourValue(toQColor(dialog.Color));
    dialog.Color = kept;
    showColour(button, colour);
    refresh();
}

void TextEffectsDialog::showColour(QPushButton* button, ColourValue colour) {
    QPixmap swatch(24, 12);
    swatch.fill(toQColor(colour));
    button->setIcon(QIcon(swatch));
    button->setText(QString::fromStdString(hexColour(colour)));
}

void TextEffectsDialog::refresh() {
    shadowDx->setEnabled(shadow->isChecked());
    shadowDy->setEnabled(shadow->isChecked());
    shadowColour->setEnabled(shadow->isChecked());
    Placement shown = document_.placement();
    shown.style.layout = layout();
    preview_ = document_.working().picture.copy();
    if (preview_.isNull())
        return;
    drawPlacement(preview_, shown);
    const int factor = std::max(1, kPreviewSide / std::max(preview_.width(), preview_.height()));
    picture_->setPixmap(QPixmap::fromImage(
        preview_.scaled(preview_.size() * factor, Qt::KeepAspectRatio, Qt::FastTransformation)));
}

void TextEffectsDialog::commit() {
    // OK is a command of its own, long after Edit > Text Effects... returned: a failure is
    // told as any command's is, and the dialog stays open.
    services_.runCommand([this] {
        document_.setTextLayout(layout());
        accept();
    });
}

} // namespace qrb
