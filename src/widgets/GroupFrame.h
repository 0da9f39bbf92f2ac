#pragma once
// A group box drawn as the window's design lays its groups out: the frame fills the whole
// box and the title sits on its top line in a small font, so the controls placed close
// under the top edge leave the title readable.

#include <QGroupBox>

namespace qrb {

class GroupFrame : public QGroupBox {
    Q_OBJECT
public:
    explicit GroupFrame(QWidget* parent = nullptr);

    // The small font of group titles, made from a control's font.
    static QFont titleFont(QFont font);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace qrb
