#pragma once
// The status bar: six panels, left to right, each with its own text and tool tip; the
// first four of fixed widths, the fifth (a command's message) at least its width and as
// wide as the bar allows, the sixth of fixed width at the bar's end. Panel numbers are
// 1-based.

#include <QWidget>

#include <array>

class QLabel;

namespace qrb {

class PanelStatusBar : public QWidget {
    Q_OBJECT
public:
    static constexpr int kPanels = 6;
    static constexpr int kMessagePanel = 5;
    static constexpr int kHeight = 22;

    explicit PanelStatusBar(QWidget* parent = nullptr);

    QString panelText(int panel) const;
    void setPanelText(int panel, const QString& text);
    int panelWidth(int panel) const;
    void setPanelWidth(int panel, int width);
    // Left edge of a panel in the status bar's coordinates.
    int panelLeft(int panel) const;
    QLabel* panel(int panel) const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void layoutPanels();

    std::array<QLabel*, kPanels> panels_{};
    std::array<int, kPanels> widths_{};
};

} // namespace qrb
