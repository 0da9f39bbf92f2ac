#pragma once
// A drawn outline, rectangle or circle, that frames other controls. It takes no mouse
// input, so the controls inside it stay clickable.

#include <QWidget>

namespace qrb {

class ShapeWidget : public QWidget {
    Q_OBJECT
public:
    enum class Kind { Rectangle, Circle };
    explicit ShapeWidget(Kind kind, QWidget* parent = nullptr);

    void setBorderColour(const QColor& colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Kind kind_;
    QColor colour_ = Qt::black;
};

} // namespace qrb
