// Dragging the text across a 512 x 512 working tile zoomed to 16x, through the real window:
// the time from one mouse move to the repainted working tile, against the same drag at 1x
// measured in the same run. A zoomed view must still follow the mouse at display rate.
#include "PaintTiming.h"
#include "SilentDesktop.h"
#include "app/commands/LibraryFileCommands.h"
#include "app/panels/WorkingTilePanel.h"
#include "app/window/MainWindow.h"
#include "tileset/LibraryFile.h"
#include "widgets/WorkingTileBox.h"

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

namespace {

namespace fs = std::filesystem;
using qrb::bench::median;
using qrb::bench::PaintCounter;

fs::path library() {
    const fs::path path = fs::temp_directory_path() / "qrb-drag-10.qrb";
    qrb::TileSet set;
    for (int i = 1; i <= 10; ++i) {
        qrb::Tile tile;
        tile.full = qrb::DibImage::filled(8, 8, {std::uint8_t(i), 70, 200});
        tile.half = qrb::DibImage::filled(4, 4, {std::uint8_t(i), 90, 40});
        tile.smallColour = qrb::ColourValue(i);
        set.append(std::move(tile));
    }
    qrb::LibraryFile::save(path, set);
    return path;
}

// Milliseconds per move of a drag across the tile at `zoom`, median of the moves.
double measure(int zoom) {
    auto desktop = std::make_shared<qrb::bench::SilentDesktop>();
    qrb::MainWindow window(qrb::Platform{desktop, desktop, desktop, desktop, desktop, desktop});
    window.resize(1024, 768);
    window.show();
    desktop->next = QString::fromStdString(library().string());
    window.files().openLibrary();
    QImage art(512, 512, QImage::Format_RGB32);
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 512; ++x)
            art.setPixel(x, y, qRgb(x / 2, y / 2, (x + y) / 4));
    window.document().paste(art);
    const auto& ui = window.ui();
    ui.textBox->setText("Harbour Road");
    ui.placeButton->click();
    qrb::WorkingTilePanel& panel = window.workingTile();
    panel.actualSize();
    for (int i = 1; i < zoom; ++i)
        panel.zoomIn();
    QApplication::processEvents();

    PaintCounter counter;
    qrb::WorkingTileBox* box = ui.workingTile;
    box->installEventFilter(&counter);
    auto send = [box](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent event(type, QPointF(at), QPointF(box->mapToGlobal(at)), button, held,
                          Qt::NoModifier);
        QApplication::sendEvent(box, &event);
    };
    // From a point in view, one tile pixel a move, back and forth.
    const QPoint start = box->mapFrom(ui.workingTileView, ui.workingTileView->rect().center());
    send(QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    std::vector<double> moves;
    for (int i = 1; i <= 400; ++i) {
        const int step = 20 + (i % 40 < 20 ? i % 20 : 20 - i % 20);
        moves.push_back(counter.millisecondsToPaint([&] {
            send(QEvent::MouseMove, start + QPoint(step * zoom, step * zoom / 2), Qt::NoButton,
                 Qt::LeftButton);
        }));
    }
    send(QEvent::MouseButtonRelease, start, Qt::LeftButton, Qt::NoButton);
    panel.actualSize(); // the next run starts as a new user would
    return median(moves);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("QRB Text Editor benchmarks"));
    const double actual = measure(1);
    const double zoomed = measure(16);
    std::printf("drag: one move of the text to repainted working tile on a 512 x 512 tile at 16x: "
                "%.3f ms (at 1x: %.3f ms, ratio %.2f)\n",
                zoomed, actual, zoomed / actual);
    return 0;
}
