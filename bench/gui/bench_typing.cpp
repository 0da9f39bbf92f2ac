// One keystroke in the text box to the repainted working tile, through the real window, in
// a library of 32,767 tiles against one of 10 tiles (the baseline measured in the same run),
// with the text placed on a 256 x 256 working tile; and the same for one step of the
// position scroll bar. What a keystroke costs must not grow with the library.
//
// Then the same keystroke, a step of the position and of the angle, and one tile pixel of
// a drag of the text at 16x, on a 4096 x 4096 working tile against a 256 x 256 one: each
// redraws only where the text was and is, so its cost must not grow with the tile (aims: a
// keystroke within 1 ms, a drag step within a frame).
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
#include <QMouseEvent>
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

// A key pressed and released in the text box, as the keyboard sends it.
void typeKey(QWidget* box, int key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(box, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(box, &release);
}

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
    auto key = [&](int k, const QString& text) { typeKey(ui.textBox, k, text); };

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

QImage artwork(int side) {
    QImage art(side, side, QImage::Format_RGB32);
    for (int y = 0; y < side; ++y) {
        auto* line = reinterpret_cast<QRgb*>(art.scanLine(y));
        for (int x = 0; x < side; ++x)
            line[x] = qRgb(x & 255, y & 255, ((x + y) / 2) & 255);
    }
    return art;
}

struct TileFigures {
    double typing = 0; // milliseconds, medians
    double moving = 0;
    double turning = 0;
    double dragging = 0; // one tile pixel of a drag at 16x
};

TileFigures measureTile(int side) {
    auto desktop = std::make_shared<qrb::bench::SilentDesktop>();
    qrb::MainWindow window(qrb::Platform{desktop, desktop, desktop, desktop, desktop, desktop});
    window.show();
    window.workingTile().actualSize();
    desktop->next = QString::fromStdString(library(10).string());
    window.files().openLibrary();
    window.document().paste(artwork(side));
    const auto& ui = window.ui();
    ui.textBox->setText("Harbour Road");
    ui.placeButton->click();
    // Each step below moves the bar to another value than it has, so that each repaints.
    ui.xBar->setValue(19);
    ui.yBar->setValue(20);
    ui.angleBar->setValue(29);
    ui.textBox->setFocus();
    QApplication::processEvents();

    PaintCounter counter;
    ui.workingTile->installEventFilter(&counter);
    auto timed = [&](const std::function<void()>& act) { return counter.millisecondsToPaint(act); };
    auto key = [&](int k, const QString& text) { typeKey(ui.textBox, k, text); };
    std::vector<double> typing, moving, turning;
    for (int i = 0; i < 200; ++i) {
        typing.push_back(i % 2 == 0 ? timed([&] { key(Qt::Key_A, "a"); })
                                    : timed([&] { key(Qt::Key_Backspace, QString()); }));
        moving.push_back(timed([&] { ui.xBar->setValue(20 + i % 8); }));
        turning.push_back(timed([&] { ui.angleBar->setValue(30 + i % 8); }));
    }

    // A drag at 16x, one tile pixel (16 screen pixels) a step, from a point of the tile in
    // view.
    while (window.workingTile().zoom() < 16)
        window.workingTile().zoomIn();
    QApplication::processEvents();
    qrb::WorkingTileBox* box = ui.workingTile;
    const QPoint from = box->visibleRegion().boundingRect().topLeft() + QPoint(8, 8);
    ui.xBar->setValue(from.x() / 16 + 2);
    ui.yBar->setValue(from.y() / 16 + 4);
    QApplication::processEvents();
    auto mouse = [&](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
        QMouseEvent event(type, QPointF(at), box->mapToGlobal(QPointF(at)), Qt::LeftButton, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(box, &event);
    };
    mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
    std::vector<double> dragging;
    for (int i = 1; i <= 200; ++i) {
        const int step = i % 16 < 8 ? i % 16 : 16 - i % 16; // right and back, within view
        dragging.push_back(timed(
            [&] { mouse(QEvent::MouseMove, from + QPoint(16 * step + 16, 0), Qt::LeftButton); }));
    }
    mouse(QEvent::MouseButtonRelease, from, Qt::NoButton);
    return {median(typing), median(moving), median(turning), median(dragging)};
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
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
    const TileFigures huge = measureTile(4096);
    const TileFigures usual = measureTile(256);
    std::printf("typing on a 4096 x 4096 working tile: %.3f ms (on 256 x 256: %.3f ms)\n",
                huge.typing, usual.typing);
    std::printf("a position step on a 4096 x 4096 working tile: %.3f ms (on 256 x 256: %.3f ms)\n",
                huge.moving, usual.moving);
    std::printf("an angle step on a 4096 x 4096 working tile: %.3f ms (on 256 x 256: %.3f ms)\n",
                huge.turning, usual.turning);
    std::printf("dragging the text at 16x on a 4096 x 4096 working tile: %.3f ms a tile pixel (on "
                "256 x 256: %.3f ms; a frame is 16.7 ms)\n",
                huge.dragging, usual.dragging);
    return 0;
}
