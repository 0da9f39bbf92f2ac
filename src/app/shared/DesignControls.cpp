#include "app/shared/DesignControls.h"

#include "widgets/GroupFrame.h"
#include "widgets/ImageBox.h"

#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>

namespace qrb::design {

QFont arial(double points) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    return font;
}

QPushButton* button(QWidget* parent, const Control& control, const QString& caption) {
    auto* button = placed(new QPushButton(caption, parent), control);
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = caption;
    const int room =
        button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).width();
    QFont font = button->font();
    const QString shown = QString(caption).remove(QLatin1Char('&'));
    bool smaller = false;
    while (QFontMetrics(font).horizontalAdvance(shown) > room && font.pointSizeF() > 6) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
        smaller = true;
    }
    if (smaller)
        button->setFont(font);
    return button;
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
