#pragma once
// The layout of a print sheet as a form: paper (a named size or a custom width and
// height) and orientation, margin, tile size, gap, bleed, cut marks, copies of each tile,
// and whether only the selected tiles are printed. Lengths are millimetres. It only holds
// what the user chose; whether the choice makes a sheet is decided elsewhere and shown
// in its summary line.

#include "sheet/SheetOptions.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QSpinBox;

namespace qrb {

class SheetOptionsWidget : public QWidget {
    Q_OBJECT
public:
    explicit SheetOptionsWidget(QWidget* parent = nullptr);

    // The options as the form shows them (no tile list: see selectedOnly()). One margin
    // applies to all four sides.
    SheetOptions options() const;
    // Shows `options` without signalling a change; a margin shown is the left one.
    void setOptions(const SheetOptions& options);

    // "Selected tiles only" is offered while `count` tiles are selected; without any it
    // is greyed and unchecked.
    void setSelectedCount(int count);
    bool selectedOnly() const;

    // The line under the form: what the pages hold or, as a problem, why there are none.
    void setSummary(const QString& text, bool problem);

signals:
    // The user changed an option.
    void changed();

private:
    QDoubleSpinBox* length(const char* name, double minimum, double maximum);
    void showPaper();

    QComboBox* page_;
    QDoubleSpinBox* pageWidth_;
    QDoubleSpinBox* pageHeight_;
    QComboBox* orientation_;
    QDoubleSpinBox* margin_;
    QDoubleSpinBox* tileSize_;
    QDoubleSpinBox* gap_;
    QDoubleSpinBox* bleed_;
    QComboBox* marks_;
    QSpinBox* copies_;
    QCheckBox* selectedOnly_;
    QLabel* summary_;
};

} // namespace qrb
