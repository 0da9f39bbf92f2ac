// One keystroke in the text box to the repainted working tile, through the real window, in
// a library of 32,767 tiles against one of 10 tiles (the baseline measured in the same run),
// with the text placed on a 256 x 256 working tile; and the same for one step of the
// position scroll bar. What a keystroke costs must not grow with the library.
#include "PaintTiming.h"
#include "SilentDesktop.h"
#include "app/commands/LibraryFileCommands.h"
#include "app/panels/WorkingTilePanel.h"
#include "app/window/MainWindow.h"
#include "tileset/LibraryFile.h"
#include "widgets/WorkingTileBox.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
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
        fs::temp_directory_path() / ("qrb-typing-" + std::to_string(count) + ".qrb");
    if (fs::exists(path))
        return path;
    qrb::TileSet set;
    for (int i = 1; i <= count; ++i) {
        qrb::Tile tile;
        tile.full = qrb::DibImage::filled(8, 8, {std::uint8_t(i), std::uint8_t(i * 7), 200});
        tile.half = qrb::DibImage::filled(4, 4, {std::uint8_t(i), 90, 40});
        tile.smallColour = qrb::ColourValue(i);
        set.append(std::move(tile));
    }
    qrb::LibraryFile::save(path, set);
    return path;
}

struct Figures {
    double typing = 0; // milliseconds, median
    double moving = 0;
};

Figures measure(int tiles) {
    auto desktop = std::make_shared<qrb::bench::SilentDesktop>();
    qrb::MainWindow window(qrb::Platform{desktop, desktop, desktop, desktop, desktop, desktop});
    window.show();
    window.workingTile().actualSize();
    desktop->next = QString::fromStdString(library(tiles).string());
    window.files().openLibrary();
    // A 256 x 256 picture in the working tile, with a text placed on it.
    QImage art(256, 256, QImage::Format_RGB32);
    for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x)
            art.setPixel(x, y, qRgb(x, y, (x + y) / 2));
    window.document().paste(art);
    const auto& ui = window.ui();
    ui.textBox->setText("Harbour Road");
    ui.placeButton->click();
    ui.textBox->setFocus();
    QApplication::processEvents();

    PaintCounter counter;
    ui.workingTile->installEventFilter(&counter);
    auto timed = [&](const std::function<void()>& act) { return counter.millisecondsToPaint(act); };
    auto key = [&](int k, const QString& text) {
        QKeyEvent press(QEvent::KeyPress, k, Qt::NoModifier, text);
        QApplication::sendEvent(ui.textBox, &press);
        QKeyEvent release(QEvent::KeyRelease, k, Qt::NoModifier, text);
        QApplication::sendEvent(ui.textBox, &release);
    };

    Figures f;
    std::vector<double> typing, moving;
    for (int i = 0; i < 400; ++i) {
        // A letter, then taking it back, so the text stays the same length.
        typing.push_back(i % 2 == 0 ? timed([&] { key(Qt::Key_A, "a"); })
                                    : timed([&] { key(Qt::Key_Backspace, QString()); }));
        moving.push_back(timed([&] { ui.xBar->setValue(20 + i % 8); }));
    }
    f.typing = median(typing);
    f.moving = median(moving);
    return f;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("QRB Text Editor benchmarks"));
    const Figures small = measure(10);
    const Figures large = measure(32767);
    std::printf("position: one step of the position bar to repainted working tile at 32767 tiles: "
                "%.3f ms (at 10 tiles: %.3f ms, ratio %.2f)\n",
                large.moving, small.moving, large.moving / small.moving);
    std::printf("typing: one keystroke to repainted working tile at 32767 tiles: %.3f ms (at 10 "
                "tiles: %.3f ms)\n",
                large.typing, small.typing);
    return 0;
}
