#include "app/panels/DesignControls.h"

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

QLineEdit* textBox(QWidget* parent, const QString& name, QRect geometry, const QString& text) {
    auto* box = named(new QLineEdit(text, parent), name);
    box->setGeometry(geometry);
    box->setAlignment(Qt::AlignCenter);
    return box;
}

QGroupBox* frame(QWidget* parent, const QString& name, QRect geometry, const QString& accessible) {
    auto* box = named(new GroupFrame(parent), name);
    box->setGeometry(geometry);
    box->setAccessibleName(accessible);
    // Solid, so the window's background picture does not show through the group.
    box->setAutoFillBackground(true);
    return box;
}

QScrollBar* scrollBar(QWidget* parent, const QString& name, Qt::Orientation orientation,
                      QRect geometry, int minimum, int maximum, int largeChange) {
    auto* bar = named(new QScrollBar(orientation, parent), name);
    bar->setGeometry(geometry);
    bar->setRange(minimum, maximum);
    bar->setPageStep(largeChange);
    bar->setSingleStep(1);
    return bar;
}

ImageBox* imageBox(QWidget* parent, const QString& name, QRect geometry,
                   const QString& accessible) {
    auto* box = named(new ImageBox(parent), name);
    box->setGeometry(geometry);
    box->setAccessibleName(accessible);
    return box;
}

} // namespace qrb::design
