// Creating and deleting tiles in the window, at the end and at the front of the strip, at
// the format's limit of 32767 tiles against a library of 100 tiles (already tall enough
// to scroll, so both repaint the same controls). Each operation runs through the window's
// own handlers and ends with the window repainted, as the user sees it. "x_copy" is the
// time per operation divided by the time to copy one tile's bytes in the same run; the
// ratios 32767 / 100 are printed at the end (the rows out of view must not make an
// operation slower).
#include "SilentDesktop.h"
#include "app/commands/LibraryFileCommands.h"
#include "app/window/MainWindow.h"
#include "tileset/LibraryFile.h"
#include "widgets/TileStrip.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kSide = 32;

qrb::Tile prototype(int i) {
    qrb::Tile tile;
    tile.full = qrb::DibImage::filled(kSide, kSide, {std::uint8_t(i), std::uint8_t(i * 7), 200});
    tile.half = qrb::DibImage::filled(kSide / 2, kSide / 2, {std::uint8_t(i), 90, 40});
    tile.smallColour = qrb::ColourValue(i);
    return tile;
}

fs::path library(int count) {
    const fs::path path = fs::temp_directory_path() / ("qrb-bench-edit-" + std::to_string(count) +
                                                       "x" + std::to_string(kSide) + ".qrb");
    if (fs::exists(path))
        return path;
    qrb::TileSet set;
    for (int i = 1; i <= count; ++i)
        set.append(prototype(i));
    qrb::LibraryFile::save(path, set);
    return path;
}

// Nanoseconds to copy one tile's pixel bytes (full and half image) into another tile.
double copyNanoseconds() {
    static const double ns = [] {
        const qrb::Tile source = prototype(1);
        qrb::Tile target = prototype(2);
        constexpr int rounds = 20000;
        const auto start = Clock::now();
        for (int i = 0; i < rounds; ++i) {
            std::memcpy(target.full.bytes().data(), source.full.bytes().data(),
                        source.full.bytes().size());
            std::memcpy(target.half.bytes().data(), source.half.bytes().data(),
                        source.half.bytes().size());
            benchmark::DoNotOptimize(target.full.bytes().data());
            benchmark::ClobberMemory();
        }
        return std::chrono::duration<double, std::nano>(Clock::now() - start).count() / rounds;
    }();
    return ns;
}

// The window with a library of `count` tiles open, as the user has it after opening.
struct Window {
    std::shared_ptr<qrb::bench::SilentDesktop> desktop =
        std::make_shared<qrb::bench::SilentDesktop>();
    std::unique_ptr<qrb::MainWindow> form;
    explicit Window(int count) {
        qrb::Platform p{desktop, desktop, desktop, desktop, desktop, desktop};
        form = std::make_unique<qrb::MainWindow>(p);
        form->show();
        desktop->next = QString::fromStdString(library(count).string());
        form->files().openLibrary();
        QApplication::processEvents();
    }
    // Makes tile k the current tile (a plain click when it is not current yet).
    void select(int k) {
        if (form->document().currentTile() != k)
            form->strip().press(k, qrb::RowPart::Full, qrb::MouseButton::Left,
                                qrb::Modifiers::None);
    }
    void create() {
        form->ui().createButton->click();
        form->ui().strip->repaint();
    }
    void deleteCurrent() {
        form->action(qrb::Command::DeleteTile)->trigger();
        form->ui().strip->repaint();
    }
};

enum class Where { End, Front };

// One timed operation per iteration; the opposite operation that keeps the tile count
// steady runs untimed.
void run(benchmark::State& state, bool creating, Where where) {
    const int count = int(state.range(0));
    Window window(count);
    window.select(1);
    double ns = 0;
    for (auto _ : state) {
        if (creating) {
            const auto start = Clock::now();
            window.create(); // a new tile is always appended
            ns += std::chrono::duration<double, std::nano>(Clock::now() - start).count();
            state.PauseTiming();
            window.select(window.form->document().tileCount());
            window.deleteCurrent();
            window.select(1); // the base image is pasted back after each create
            state.ResumeTiming();
        } else {
            state.PauseTiming();
            window.select(where == Where::End ? window.form->document().tileCount() : 1);
            state.ResumeTiming();
            const auto start = Clock::now();
            window.deleteCurrent();
            ns += std::chrono::duration<double, std::nano>(Clock::now() - start).count();
            state.PauseTiming();
            window.select(1);
            window.create();
            state.ResumeTiming();
        }
    }
    if (window.form->document().tileCount() != count)
        state.SkipWithError("the tile count drifted");
    state.counters["x_copy"] = ns / double(state.iterations()) / copyNanoseconds();
    state.counters["us_per_op"] = ns / double(state.iterations()) / 1000.0;
}

void BM_CreateAtEnd(benchmark::State& state) {
    run(state, true, Where::End);
}
void BM_DeleteAtEnd(benchmark::State& state) {
    run(state, false, Where::End);
}
void BM_DeleteAtFront(benchmark::State& state) {
    run(state, false, Where::Front);
}
BENCHMARK(BM_CreateAtEnd)->Arg(100)->Arg(32766)->Iterations(200)->Repetitions(3);
BENCHMARK(BM_DeleteAtEnd)->Arg(100)->Arg(32767)->Iterations(200)->Repetitions(3);
BENCHMARK(BM_DeleteAtFront)->Arg(100)->Arg(32767)->Iterations(200)->Repetitions(3);

// Keeps the median of every benchmark's per-operation time for the ratios at the end.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> medians;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.aggregate_name == "median" && run.counters.count("us_per_op"))
                medians[run.run_name.function_name + "/" + run.run_name.args] =
                    run.counters.at("us_per_op");
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
    auto ratio = [&](const std::string& a, const std::string& b, const char* what) {
        if (m.count(a) && m.count(b) && m[b] > 0)
            std::printf("%s: %.1f us vs %.1f us, %.2fx (target ~1x)\n", what, m[a], m[b],
                        m[a] / m[b]);
    };
    ratio("BM_CreateAtEnd/32766", "BM_CreateAtEnd/100", "create at the end, 32767 / 100 tiles");
    ratio("BM_DeleteAtEnd/32767", "BM_DeleteAtEnd/100", "delete at the end, 32767 / 100 tiles");
    ratio("BM_DeleteAtFront/32767", "BM_DeleteAtFront/100",
          "delete at the front, 32767 / 100 tiles");
    benchmark::Shutdown();
    return 0;
}
