#include "app/parts/StatusBarPanel.h"

#include "app/parts/DesignControls.h"
#include "widgets/PanelStatusBar.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>

#include <algorithm>
#include <array>

namespace qrb {

StatusBarPanel::StatusBarPanel(Document& document, QWidget* client, QObject* parent)
    : QObject(parent), document_(document) {
    using namespace design;
    setObjectName(QStringLiteral("StatusBar"));
    ui_.statusPanels = named(new PanelStatusBar(client), QStringLiteral("StatusBar1"));
    // The size panel is wide enough for two digits: at 20 pixels "18" would be cut off.
    static constexpr std::array<int, PanelStatusBar::kPanels> kPanelWidths{131, 100, 28,
                                                                           78,  96,  48};
    const std::array<QString, PanelStatusBar::kPanels> tips{tr("Number of tiles in QRB file"),
                                                            tr("Font Name"),
                                                            tr("Font Size"),
                                                            tr("Font Style"),
                                                            QString(),
                                                            tr("Working tile zoom")};
    for (int p = 1; p <= PanelStatusBar::kPanels; ++p) {
        ui_.statusPanels->setPanelWidth(p, kPanelWidths[std::size_t(p - 1)]);
        ui_.statusPanels->panel(p)->setToolTip(tips[std::size_t(p - 1)]);
    }
    ui_.progressBar = named(new QProgressBar(client), QStringLiteral("ProgressBar1"));
    ui_.progressBar->setTextVisible(false);
    ui_.progressBar->setAccessibleName(tr("Progress"));
    ui_.progressBar->hide();

    ui_.statusPanels->setPanelText(1, tr("%1 Tiles").arg(0));
    connect(&document_, &Document::changed, this, [this](Document::Changes what, int) {
        if (what & Document::Change::Style)
            fitStylePanel();
        if (what & Document::Change::Tiles) {
            // A command that changed the tiles is over.
            ui_.progressBar->hide();
        }
        if (what & (Document::Change::Tiles | Document::Change::Selection))
            showTileCount();
    });
}

int StatusBarPanel::height() const {
    return ui_.statusPanels->height();
}

void StatusBarPanel::showTileCount() {
    // The current tile's number, as the strip's rows show it, else the count.
    const int count = document_.tileCount();
    const int current = document_.currentTile();
    ui_.statusPanels->setPanelText(1, !document_.isLibraryOpen() && count == 0 ? QString()
                                      : current != 0 ? tr("Tile %1 of %2").arg(current).arg(count)
                                      : count == 1   ? tr("1 Tile")
                                                     : tr("%1 Tiles").arg(count));
}

void StatusBarPanel::showMessage(const QString& text) {
    // Under the progress bar while a command shows progress.
    ui_.statusPanels->setPanelText(PanelStatusBar::kMessagePanel, text);
}

void StatusBarPanel::showZoom(double zoom) {
    ui_.statusPanels->setPanelText(PanelStatusBar::kPanels,
                                   QStringLiteral("%1%").arg(zoom * 100, 0, 'g', 4));
}

void StatusBarPanel::setWide(bool wide) {
    wide_ = wide;
    fitStylePanel();
}

void StatusBarPanel::fitStylePanel() {
    const TextLayout& layout = document_.placement().style.layout;
    const bool anchored =
        layout.horizontal != HorizontalAnchor::Left || layout.vertical != VerticalAnchor::Top;
    const int width = wide_ || anchored ? 165 : 78;
    if (ui_.statusPanels->panelWidth(4) == width)
        return;
    ui_.statusPanels->setPanelWidth(4, width);
    // The progress bar covers the message panel, which moved.
    if (laidOut_)
        layOut(bottom_, width_, right_);
}

void StatusBarPanel::layOut(int bottom, int width, int right) {
    laidOut_ = true;
    bottom_ = bottom;
    width_ = width;
    right_ = right;
    const int S = height();
    ui_.statusPanels->setGeometry(0, bottom - S, width, S);
    QProgressBar* progress = ui_.progressBar;
    // Over the message panel, leaving the zoom in view.
    const QLabel* message = ui_.statusPanels->panel(PanelStatusBar::kMessagePanel);
    const int left = ui_.statusPanels->x() + message->x();
    right = std::min(right, left + message->width());
    progress->setGeometry(left, bottom - S + 2, std::max(0, right - left), S - 2);
    // Above whatever scrolls beneath.
    ui_.statusPanels->raise();
    progress->raise();
}

std::function<void(int, int)> StatusBarPanel::progressDisplay() {
    QProgressBar* bar = ui_.progressBar;
    QElapsedTimer sinceShown;
    return [bar, sinceShown, shown = -1](int done, int total) mutable {
        // The bar moves and repaints at most once per percent and once per 40 ms (and at
        // the end): the command runs without an event loop, and every new value costs the
        // bar its text, a repaint and an accessibility event, which for 32,767 tiles is as
        // much as reading them. A person sees no more than 25 steps a second.
        const int percent = total > 0 ? int(qint64(done) * 100 / total) : 100;
        const bool end = done == total;
        if (!end && (percent == shown || (sinceShown.isValid() && sinceShown.elapsed() < 40)))
            return;
        shown = percent;
        sinceShown.start();
        if (bar->maximum() != total)
            bar->setMaximum(total);
        bar->setValue(done);
        if (bar->isHidden())
            bar->show();
        bar->repaint();
    };
}

} // namespace qrb
