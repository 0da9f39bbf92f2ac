#pragma once
// A drawn outline, rectangle or circle, that frames other controls, in the window text
// colour unless given another. A rectangle may carry a caption in its top-left corner. It
// takes no mouse input, so the controls inside it stay clickable.

#include <QWidget>

#include <optional>

namespace qrb {

class ShapeWidget : public QWidget {
    Q_OBJECT
public:
    enum class Kind { Rectangle, Circle };
    explicit ShapeWidget(Kind kind, QWidget* parent = nullptr);

    void setBorderColour(const QColor& colour);
    void setCaption(const QString& caption);
    QString caption() const { return caption_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Kind kind_;
    std::optional<QColor> colour_; // none: the palette's window text colour
    QString caption_;
};

} // namespace qrb
