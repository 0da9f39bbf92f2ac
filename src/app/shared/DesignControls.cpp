#include "app/shared/DesignControls.h"

#include "widgets/GroupFrame.h"
#include "widgets/ImageBox.h"

#include <QLineEdit>
#include <QScrollBar>

namespace qrb::design {

QFont arial(double points) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    return font;
}

QLineEdit* textBox(QWidget* parent, const Control& control, const QString& text) {
    auto* box = placed(new QLineEdit(text, parent), control);
    box->setAlignment(Qt::AlignCenter);
    return box;
}

QGroupBox* frame(QWidget* parent, const Control& control, const QString& accessible) {
    auto* box = placed(new GroupFrame(parent), control);
    box->setAccessibleName(accessible);
    // Solid, so the window's background picture does not show through the group.
    box->setAutoFillBackground(true);
    return box;
}

QScrollBar* scrollBar(QWidget* parent, const Control& control, Qt::Orientation orientation,
                      int minimum, int maximum, int largeChange) {
    auto* bar = placed(new QScrollBar(orientation, parent), control);
    bar->setRange(minimum, maximum);
    bar->setPageStep(largeChange);
    bar->setSingleStep(1);
    return bar;
}

ImageBox* imageBox(QWidget* parent, const Control& control, const QString& accessible) {
    auto* box = placed(new ImageBox(parent), control);
    box->setAccessibleName(accessible);
    return box;
}

} // namespace qrb::design
