#pragma once
// Controls made as the window's design lays them out: at fixed pixel places in their
// parent, named after the old form's controls (tests and accessibility find them so).

#include <QFont>
#include <QRect>
#include <QString>

class QGroupBox;
class QLineEdit;
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

// A centred one-line text box.
QLineEdit* textBox(QWidget* parent, const QString& name, QRect geometry, const QString& text = {});
// A group's frame, solid so the window's background picture does not show through.
QGroupBox* frame(QWidget* parent, const QString& name, QRect geometry, const QString& accessible);
QScrollBar* scrollBar(QWidget* parent, const QString& name, Qt::Orientation orientation,
                      QRect geometry, int minimum, int maximum, int largeChange);
ImageBox* imageBox(QWidget* parent, const QString& name, QRect geometry, const QString& accessible);

} // namespace design
} // namespace qrb
