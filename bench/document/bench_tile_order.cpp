// Moving one tile, and undoing the move, in a library of 32,767 tiles against one of 100
// (64 x 64 tiles of two heights, so the rows are not all alike): from a random place to
// another (/0), and one place down as Move Tile Down does (/1); each undo puts it back. Printed:
// time per move and per undo at each size, and the 32,767-tile time divided by the 100-tile one
// (aim: about 1, and under 1 ms a move: no per-move rebuild of every row).

#include "document/Document.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>

namespace {

using Clock = std::chrono::steady_clock;

struct Timing {
    double moveUs = 0;
    double undoUs = 0;
};

// `oneStep`: each move takes a tile one place down (Move Tile Down); otherwise from a
// random place to another.
Timing measure(int tiles, int moves, bool oneStep) {
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
        const int from = oneStep ? std::min(place(gen), tiles - 1) : place(gen);
        int to = oneStep ? from + 1 : place(gen);
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
    const bool oneStep = state.range(0) == 1;
    Timing small;
    Timing large;
    for (auto _ : state) {
        small = measure(100, 2000, oneStep);
        large = measure(qrb::TileSet::kMaxTiles, 2000, oneStep);
    }
    state.counters["move_us_100"] = small.moveUs;
    state.counters["undo_us_100"] = small.undoUs;
    state.counters["move_us_32767"] = large.moveUs;
    state.counters["undo_us_32767"] = large.undoUs;
    state.counters["move_x_100"] = large.moveUs / small.moveUs;
    state.counters["undo_x_100"] = large.undoUs / small.undoUs;
    std::printf("%s move: %.1f us at 100 tiles, %.1f us at 32,767 (x%.2f); undo: %.1f us, %.1f us "
                "(x%.2f)\n",
                oneStep ? "one-place" : "random", small.moveUs, large.moveUs,
                large.moveUs / small.moveUs, small.undoUs, large.undoUs,
                large.undoUs / small.undoUs);
}
// 0: random moves; 1: one place down.
BENCHMARK(BM_MoveTile)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
