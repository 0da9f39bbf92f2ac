#pragma once
// The program's font dialog: face, size, bold, italic, underline, strikethrough and the
// text colour, with a sample. Enter takes the choice and Esc cancels, from anywhere in it.
//
// The face keeps the exact name it was given until the user picks another: a face the
// desktop serves with a substitute (Arial drawn with a metric-compatible family) or does
// not have at all stays named as it is, and only the sample and a note show what it is
// drawn with. Only the sizes between the request's minimum and maximum are offered.

#include "platform/DialogBackend.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;

namespace qrb {

class FontDialog : public QDialog {
    Q_OBJECT
public:
    explicit FontDialog(const FontDialogRequest& request, QWidget* parent = nullptr);

    // The settings as the dialog shows them now.
    FontSettings chosen() const;

private:
    void fillFaces(const QString& current);
    void fillSizes(double current, double minimum, double maximum);
    void showChoice();

    QComboBox* face_;
    QLabel* faceNote_;
    QComboBox* size_;
    QCheckBox* bold_;
    QCheckBox* italic_;
    QCheckBox* underline_;
    QCheckBox* strikeout_;
    QLabel* swatch_;
    QLabel* sample_;
    ColourValue colour_;
};

} // namespace qrb
