// Move Tile Down in the real window, to the repainted strip, in a library of 32,767 tiles
// against one of 100 (the baseline measured in the same run), and its Undo. The tile moved
// is in view in the middle of the library; a move must not rebuild every row.

#include "PaintTiming.h"
#include "SilentDesktop.h"
#include "app/commands/LibraryFileCommands.h"
#include "app/window/MainWindow.h"
#include "tileset/LibraryFile.h"
#include "widgets/TileStrip.h"

#include <QAction>
#include <QApplication>
#include <QScrollBar>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using qrb::bench::median;
using qrb::bench::PaintCounter;

fs::path library(int count) {
    const fs::path path =
        fs::temp_directory_path() / ("qrb-move-" + std::to_string(count) + ".qrb");
    if (fs::exists(path))
        return path;
    qrb::TileSet set;
    for (int i = 1; i <= count; ++i) {
        qrb::Tile tile;
        tile.full = qrb::DibImage::filled(16, 12 + i % 5, {std::uint8_t(i), 90, 200});
        tile.half = qrb::DibImage::filled(8, 6, {std::uint8_t(i), 90, 40});
        tile.smallColour = qrb::ColourValue(i);
        set.append(std::move(tile));
    }
    qrb::LibraryFile::save(path, set);
    return path;
}

struct Figures {
    double move = 0; // milliseconds, median
    double undo = 0;
};

Figures measure(int tiles) {
    auto desktop = std::make_shared<qrb::bench::SilentDesktop>();
    qrb::MainWindow window(qrb::Platform{desktop, desktop, desktop, desktop, desktop, desktop});
    window.show();
    desktop->next = QString::fromStdString(library(tiles).string());
    window.files().openLibrary();
    const auto& ui = window.ui();
    const int middle = tiles / 2;
    window.document().showSelectedTile(middle);
    window.strip().ensureRowVisible(middle);
    QApplication::processEvents();

    PaintCounter counter;
    ui.strip->installEventFilter(&counter);
    auto timed = [&](const std::function<void()>& act) { return counter.millisecondsToPaint(act); };
    std::vector<double> moves, undos;
    for (int i = 0; i < 200; ++i) {
        moves.push_back(timed([&] { window.action(qrb::Command::MoveTileDown)->trigger(); }));
        undos.push_back(timed([&] { window.action(qrb::Command::Undo)->trigger(); }));
    }
    return Figures{median(moves), median(undos)};
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("QRB Text Editor benchmarks"));
    const Figures small = measure(100);
    const Figures large = measure(32767);
    std::printf("Move Tile Down to repainted strip at 32767 tiles: %.3f ms (at 100 tiles: %.3f ms, "
                "ratio %.2f)\n",
                large.move, small.move, large.move / small.move);
    std::printf("its Undo at 32767 tiles: %.3f ms (at 100 tiles: %.3f ms, ratio %.2f)\n",
                large.undo, small.undo, large.undo / small.undo);
    return 0;
}
