// Opening and saving a library of 32767 tiles in the window against reading and writing it
// with the core alone, and scrolling the tile strip one page at 32767 tiles against at 10
// tiles. The window runs offscreen;
// its dialogs answer from a script. Ratios are printed at the end.
#include "SilentDesktop.h"
#include "app/commands/LibraryFileCommands.h"
#include "app/window/MainWindow.h"
#include "tileset/LibraryFile.h"
#include "widgets/TileStrip.h"

#include <QApplication>
#include <QScrollBar>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

namespace {

namespace fs = std::filesystem;

struct Window {
    std::shared_ptr<qrb::bench::SilentDesktop> desktop =
        std::make_shared<qrb::bench::SilentDesktop>();
    std::unique_ptr<qrb::MainWindow> form;
    Window() {
        qrb::Platform p{desktop, desktop, desktop, desktop, desktop, desktop};
        form = std::make_unique<qrb::MainWindow>(p);
        form->show();
        QApplication::processEvents();
    }
    void open(const fs::path& path) {
        desktop->next = QString::fromStdString(path.string());
        form->files().openLibrary();
        // What the user then sees: the window painted with the first rows of the strip.
        form->repaint();
        form->ui().strip->repaint();
    }
};

fs::path library(int count, int side) {
    const fs::path path = fs::temp_directory_path() / ("qrb-bench-" + std::to_string(count) + "x" +
                                                       std::to_string(side) + ".qrb");
    if (fs::exists(path))
        return path;
    qrb::TileSet set;
    for (int i = 1; i <= count; ++i) {
        qrb::Tile tile;
        tile.full = qrb::DibImage::filled(side, side, {std::uint8_t(i), std::uint8_t(i * 7), 200});
        tile.half = qrb::DibImage::filled(side / 2, side / 2, {std::uint8_t(i), 90, 40});
        tile.smallColour = qrb::ColourValue(i);
        set.append(std::move(tile));
    }
    qrb::LibraryFile::save(path, set);
    return path;
}

constexpr int kTiles = 32767;
constexpr int kSide = 32;

void BM_ReadWithCore(benchmark::State& state) {
    const fs::path path = library(kTiles, kSide);
    // Like the window, the library read replaces the one held before (the same allocation
    // pattern, so the heap behaves the same in both).
    qrb::TileSet held;
    for (auto _ : state) {
        held = qrb::LibraryFile::load(path);
        benchmark::DoNotOptimize(held.count());
    }
}
BENCHMARK(BM_ReadWithCore)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_OpenInWindow(benchmark::State& state) {
    const fs::path path = library(kTiles, kSide);
    Window window;
    for (auto _ : state) {
        window.open(path);
        benchmark::DoNotOptimize(window.form->document().tileCount());
    }
    if (window.form->document().tileCount() != kTiles)
        state.SkipWithError("the library did not open");
}
BENCHMARK(BM_OpenInWindow)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// Both write a new file beside the library (removed between runs, outside the timing), so
// each pays the same durable save.
fs::path savedCopy() {
    return fs::temp_directory_path() / "qrb-bench-saved.qrb";
}

void BM_WriteWithCore(benchmark::State& state) {
    const qrb::TileSet set = qrb::LibraryFile::load(library(kTiles, kSide));
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove(savedCopy());
        state.ResumeTiming();
        qrb::LibraryFile::save(savedCopy(), set);
    }
}
BENCHMARK(BM_WriteWithCore)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_SaveInWindow(benchmark::State& state) {
    Window window;
    window.open(library(kTiles, kSide));
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove(savedCopy());
        window.desktop->next = QString::fromStdString(savedCopy().string());
        state.ResumeTiming();
        if (!window.form->files().saveLibraryAs())
            state.SkipWithError("the library was not saved");
    }
}
BENCHMARK(BM_SaveInWindow)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// One page down the strip and the repaint that shows it, with rows that were never shown
// before (their pixmaps are built), from the middle of the library.
void BM_ScrollOnePage(benchmark::State& state) {
    const int count = int(state.range(0));
    Window window;
    window.open(library(count, 64));
    QScrollBar* bar = window.form->ui().stripBar;
    qrb::TileStrip* strip = window.form->ui().strip;
    const int start = bar->maximum() / 2 - bar->pageStep() / 2;
    bar->setValue(start);
    bool down = true;
    for (auto _ : state) {
        strip->invalidateAll();
        bar->setValue(down ? start + bar->pageStep() : start);
        down = !down;
        strip->repaint();
    }
}
BENCHMARK(BM_ScrollOnePage)->Arg(10)->Arg(32767)->Repetitions(5)->ReportAggregatesOnly(true);

// Keeps the median of every benchmark so that ratios can be printed after the run.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> medians;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.aggregate_name == "median")
                medians[run.run_name.function_name +
                        (run.run_name.args.empty() ? "" : "/" + run.run_name.args)] =
                    run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
};

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto& m = reporter.medians;
    auto ratio = [&](const char* a, const char* b, const char* what) {
        if (m.count(a) && m.count(b) && m[b] > 0)
            std::printf("%s: %.2fx\n", what, m[a] / m[b]);
    };
    ratio("BM_OpenInWindow", "BM_ReadWithCore",
          "open 32767 tiles of 32x32 in the window / read with the core (target <= 1.5x)");
    ratio("BM_SaveInWindow", "BM_WriteWithCore",
          "save 32767 tiles of 32x32 from the window / write with the core (target <= 1.5x)");
    ratio("BM_ScrollOnePage/32767", "BM_ScrollOnePage/10",
          "scroll one page at 32767 tiles / at 10 tiles (target ~1x)");
    benchmark::Shutdown();
    std::error_code ec;
    fs::remove(savedCopy(), ec);
    return 0;
}
