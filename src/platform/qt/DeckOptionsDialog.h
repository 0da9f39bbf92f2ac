#pragma once
// Export Deck Image's choices: the grid, the cell size, the largest side, the marked tiles
// only, the hidden card.

#include "platform/DialogBackend.h"

#include <QDialog>

class QCheckBox;
class QSpinBox;

namespace qrb {

class DeckOptionsDialog : public QDialog {
    Q_OBJECT
public:
    explicit DeckOptionsDialog(const DeckDialogRequest& request, QWidget* parent = nullptr);
    DeckOptions options() const;

private:
    std::vector<int> marked_;
    QSpinBox* columns_;
    QSpinBox* rows_;
    QCheckBox* customCell_;
    QSpinBox* cellWidth_;
    QSpinBox* cellHeight_;
    QSpinBox* maxSize_;
    QCheckBox* markedOnly_;
    QCheckBox* hidden_;
    QSpinBox* hiddenTile_;
};

} // namespace qrb
