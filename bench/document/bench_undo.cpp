// Undo and redo of "Delete selected tiles" at the format's limit: 10,000 marked tiles of a
// 32,767-tile library (64 x 64 tiles) removed, put back and removed again. Aim: each undo
// and each redo under 50 ms. The baseline is copying the tile list once (what a step that
// stored the whole library would cost); "x_copy" is the time per undo or redo divided by it.

#include "document/Document.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kTiles = 32767;
constexpr int kDeleted = 10000;

qrb::TileSet library() {
    qrb::TileSet set;
    const qrb::Tile tile{qrb::DibImage::filled(64, 64, qrb::Rgb{10, 20, 30}),
                         qrb::DibImage::filled(32, 32, qrb::Rgb{10, 20, 30}), qrb::palette::Red};
    for (int i = 0; i < kTiles; ++i)
        set.append(tile);
    return set;
}

double copyMilliseconds(const qrb::TileSet& set) {
    const auto start = Clock::now();
    qrb::TileSet copy = set;
    benchmark::DoNotOptimize(copy);
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void BM_UndoRedoDeleteOfManyTiles(benchmark::State& state) {
    qrb::Document document;
    document.openTiles(library(), QStringLiteral("bench.qrb"));
    // Marks every third tile from tile 2 on, 10,000 in all (tile 1, current, unmarked).
    document.press(1, qrb::RowPart::Full, qrb::MouseButton::Left, qrb::Modifiers::Ctrl);
    for (int i = 0, tile = 2; i < kDeleted; ++i, tile += 3)
        document.press(tile, qrb::RowPart::Full, qrb::MouseButton::Left, qrb::Modifiers::Ctrl);
    document.deleteSelected();
    const double baseline = copyMilliseconds(document.tiles());

    double undoMs = 0;
    double redoMs = 0;
    for (auto _ : state) {
        auto start = Clock::now();
        document.undo();
        undoMs += std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        start = Clock::now();
        document.redo();
        redoMs += std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    }
    const double n = double(state.iterations());
    state.counters["undo_ms"] = undoMs / n;
    state.counters["redo_ms"] = redoMs / n;
    state.counters["undo_x_copy"] = undoMs / n / baseline;
    state.counters["redo_x_copy"] = redoMs / n / baseline;
}
BENCHMARK(BM_UndoRedoDeleteOfManyTiles)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace
