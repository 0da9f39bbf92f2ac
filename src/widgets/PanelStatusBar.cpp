#include "widgets/PanelStatusBar.h"

#include <QLabel>

#include <algorithm>

namespace qrb {

namespace {
constexpr int kGap = 2;
constexpr int kMargin = 2;
} // namespace

PanelStatusBar::PanelStatusBar(QWidget* parent) : QWidget(parent) {
    setFixedHeight(kHeight);
    setAutoFillBackground(true);
    for (int i = 0; i < kPanels; ++i) {
        auto* label = new QLabel(this);
        label->setObjectName(QStringLiteral("StatusBar1_Panel%1").arg(i + 1));
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setContentsMargins(3, 0, 3, 0);
        label->setTextFormat(Qt::PlainText);
        panels_[std::size_t(i)] = label;
        widths_[std::size_t(i)] = 96;
    }
}

QLabel* PanelStatusBar::panel(int panel) const {
    return panels_.at(std::size_t(panel - 1));
}

QString PanelStatusBar::panelText(int p) const {
    return panel(p)->text();
}

void PanelStatusBar::setPanelText(int p, const QString& text) {
    panel(p)->setText(text);
    panel(p)->setAccessibleName(panel(p)->toolTip().isEmpty() ? text : panel(p)->toolTip());
}

int PanelStatusBar::panelWidth(int p) const {
    return widths_.at(std::size_t(p - 1));
}

void PanelStatusBar::setPanelWidth(int p, int width) {
    widths_.at(std::size_t(p - 1)) = width;
    layoutPanels();
}

int PanelStatusBar::panelLeft(int p) const {
    int left = kMargin;
    for (int i = 1; i < p; ++i)
        left += panelWidth(i) + kGap;
    return left;
}

void PanelStatusBar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutPanels();
}

void PanelStatusBar::layoutPanels() {
    // The panels after the message sit at the bar's end; the message panel, which says what
    // a command did, takes the rest: its messages are longer than its design width.
    int right = width() - kMargin;
    for (int p = kPanels; p > kMessagePanel; --p) {
        right -= panelWidth(p);
        panel(p)->setGeometry(right, 2, panelWidth(p), height() - 3);
        right -= kGap;
    }
    for (int p = 1; p <= kMessagePanel; ++p) {
        const int width =
            p == kMessagePanel ? std::max(panelWidth(p), right - panelLeft(p)) : panelWidth(p);
        panel(p)->setGeometry(panelLeft(p), 2, width, height() - 3);
    }
}

} // namespace qrb
