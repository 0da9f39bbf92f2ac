// Moving one tile, and undoing the move, in a library of 32,767 tiles against one of 100
// (64 x 64 tiles of two heights, so the rows are not all alike). Each move takes a tile
// from a random place to another; its undo puts it back. Printed: time per move and per
// undo at each size, and the 32,767-tile time divided by the 100-tile one (aim: about 1,
// and under 1 ms a move: no per-move rebuild of every row).

#include "document/Document.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <random>

namespace {

using Clock = std::chrono::steady_clock;

struct Timing {
    double moveUs = 0;
    double undoUs = 0;
};

Timing measure(int tiles, int moves) {
    qrb::TileSet set;
    for (int i = 0; i < tiles; ++i) {
        const int h = i % 2 == 0 ? 64 : 48;
        set.append(qrb::Tile{qrb::DibImage::filled(64, h, qrb::Rgb{10, 20, 30}),
                             qrb::DibImage::filled(32, h / 2, qrb::Rgb{10, 20, 30}),
                             qrb::palette::Red});
    }
    qrb::Document document;
    document.openTiles(std::move(set), QStringLiteral("bench.qrb"));
    document.showSelectedTile(tiles / 2);
    std::mt19937 gen(7);
    std::uniform_int_distribution<int> place(1, tiles);
    double moveUs = 0;
    double undoUs = 0;
    for (int i = 0; i < moves; ++i) {
        const int from = place(gen);
        int to = place(gen);
        if (to == from)
            to = from == 1 ? 2 : 1;
        auto start = Clock::now();
        document.moveTile(from, to);
        moveUs += std::chrono::duration<double, std::micro>(Clock::now() - start).count();
        start = Clock::now();
        document.undo();
        undoUs += std::chrono::duration<double, std::micro>(Clock::now() - start).count();
    }
    return Timing{moveUs / moves, undoUs / moves};
}

void BM_MoveTile(benchmark::State& state) {
    Timing small;
    Timing large;
    for (auto _ : state) {
        small = measure(100, 2000);
        large = measure(qrb::TileSet::kMaxTiles, 2000);
    }
    state.counters["move_us_100"] = small.moveUs;
    state.counters["undo_us_100"] = small.undoUs;
    state.counters["move_us_32767"] = large.moveUs;
    state.counters["undo_us_32767"] = large.undoUs;
    state.counters["move_x_100"] = large.moveUs / small.moveUs;
    state.counters["undo_x_100"] = large.undoUs / small.undoUs;
    std::printf("move: %.1f us at 100 tiles, %.1f us at 32,767 (x%.2f); undo: %.1f us, %.1f us "
                "(x%.2f)\n",
                small.moveUs, large.moveUs, large.moveUs / small.moveUs, small.undoUs, large.undoUs,
                large.undoUs / small.undoUs);
}
BENCHMARK(BM_MoveTile)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
