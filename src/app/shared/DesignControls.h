#pragma once
// Controls made as the window's design lays them out: at their places in their parent,
// named after the old form's controls (design::Control, app/shared/DesignTable.h).

#include "app/shared/DesignTable.h"

#include <QFont>
#include <QRect>
#include <QString>

class QGroupBox;
class QLineEdit;
class QPushButton;
class QScrollBar;
class QWidget;

namespace qrb {

class ImageBox;

namespace design {

QFont arial(double points);

template <class W> W* named(W* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

// `widget` with the control's name, at its place.
template <class W> W* placed(W* widget, const Control& control) {
    widget->setObjectName(QString::fromLatin1(control.name));
    widget->setGeometry(control.place);
    return widget;
}

// A push button with its caption, at its place; a caption longer than the place has room
// for (a translation) is set in a smaller font rather than cut.
QPushButton* button(QWidget* parent, const Control& control, const QString& caption);
// A centred one-line text box.
QLineEdit* textBox(QWidget* parent, const Control& control, const QString& text = {});
// A group's frame, solid so the window's background picture does not show through.
QGroupBox* frame(QWidget* parent, const Control& control, const QString& accessible);
QScrollBar* scrollBar(QWidget* parent, const Control& control, Qt::Orientation orientation,
                      int minimum, int maximum, int largeChange);
ImageBox* imageBox(QWidget* parent, const Control& control, const QString& accessible);

} // namespace design
} // namespace qrb
