#pragma once
// Import Images' choices: each picture as one tile as it is, fitted to one tile size
// (contain, cover, stretch), or sliced into cells as a sprite sheet; the background under
// transparent pixels; a preview of the first picture with the grid or the fitted tile.

#include "imaging/render/ImportOptions.h"

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace qrb {

class ImportOptionsDialog : public QDialog {
    Q_OBJECT
public:
    ImportOptionsDialog(const QStringList& paths, const ImportOptions& options,
                        QWidget* parent = nullptr);
    ImportOptions options() const;

private:
    void refresh();

    QImage picture_; // the first picture, for the preview
    QString previewProblem_;
    QColor background_;
    QButtonGroup* kind_;
    QSpinBox* fitWidth_;
    QSpinBox* fitHeight_;
    QComboBox* mode_;
    QSpinBox* cellWidth_;
    QSpinBox* cellHeight_;
    QSpinBox* margin_;
    QSpinBox* spacing_;
    QCheckBox* skipEmpty_;
    QPushButton* colour_;
    QLabel* preview_;
};

} // namespace qrb
