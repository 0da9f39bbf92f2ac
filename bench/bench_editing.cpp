// Appending and deleting strip rows at the format's limit of 32767 tiles, against
// libraries of 10 tiles and against copying one tile's bytes. The "x_copy" counter is
// the time per operation divided by the time to copy one 64 x 64 tile (full and half
// image), measured in the same run.

#include "editing/StripModel.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>

namespace {

using qrb::DibImage;
using qrb::StripModel;
using qrb::Tile;
using qrb::TileSet;
using Clock = std::chrono::steady_clock;

const Tile& prototype() {
    static const Tile tile{DibImage::filled(64, 64, qrb::Rgb{10, 20, 30}),
                           DibImage::filled(32, 32, qrb::Rgb{10, 20, 30}), qrb::palette::Red};
    return tile;
}

// Nanoseconds to copy one tile's pixel bytes into an existing tile.
double copyNanoseconds() {
    static const double ns = [] {
        Tile target = prototype();
        constexpr int rounds = 20000;
        const auto start = Clock::now();
        for (int i = 0; i < rounds; ++i) {
            std::memcpy(target.full.bytes().data(), prototype().full.bytes().data(),
                        prototype().full.bytes().size());
            std::memcpy(target.half.bytes().data(), prototype().half.bytes().data(),
                        prototype().half.bytes().size());
            benchmark::DoNotOptimize(target.full.bytes().data());
            benchmark::ClobberMemory();
        }
        return std::chrono::duration<double, std::nano>(Clock::now() - start).count() / rounds;
    }();
    return ns;
}

void reportRatio(benchmark::State& state, Clock::time_point start, int operationsPerIteration) {
    const double ns = std::chrono::duration<double, std::nano>(Clock::now() - start).count() /
                      static_cast<double>(state.iterations()) / operationsPerIteration;
    state.counters["x_copy"] = ns / copyNanoseconds();
}

// A library as an open leaves it: n tiles, tile 1 current and base.
struct Strip {
    TileSet set;
    StripModel model{set};
    explicit Strip(int n) {
        for (int i = 0; i < n; ++i) {
            set.append(prototype());
        }
        model.reload();
        model.showSelectedTile(1);
    }
};

void BM_CopyTileBytes(benchmark::State& state) {
    Tile target = prototype();
    for (auto _ : state) {
        std::memcpy(target.full.bytes().data(), prototype().full.bytes().data(),
                    prototype().full.bytes().size());
        std::memcpy(target.half.bytes().data(), prototype().half.bytes().data(),
                    prototype().half.bytes().size());
        benchmark::DoNotOptimize(target.full.bytes().data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CopyTileBytes);

// Append a copy of a tile at the end, then delete the last tile: two operations.
void BM_AppendAndDeleteAtEnd(benchmark::State& state) {
    Strip strip(static_cast<int>(state.range(0)));
    const auto start = Clock::now();
    for (auto _ : state) {
        strip.model.appendTile(prototype());
        strip.model.deleteTile(strip.model.count());
    }
    reportRatio(state, start, 2);
}
BENCHMARK(BM_AppendAndDeleteAtEnd)->Arg(10)->Arg(TileSet::kMaxTiles - 1);

// Delete the first tile, then append a tile so the size stays: two operations.
void BM_DeleteAtFrontAndAppend(benchmark::State& state) {
    Strip strip(static_cast<int>(state.range(0)));
    const auto start = Clock::now();
    for (auto _ : state) {
        strip.model.deleteTile(1);
        strip.model.appendTile(prototype());
    }
    reportRatio(state, start, 2);
}
BENCHMARK(BM_DeleteAtFrontAndAppend)->Arg(10)->Arg(TileSet::kMaxTiles);

// The tile set's own share of a delete at the front: removing tile 1 and appending one.
void BM_TileSetRemoveAtFrontAndAppend(benchmark::State& state) {
    Strip strip(static_cast<int>(state.range(0)));
    const auto start = Clock::now();
    for (auto _ : state) {
        strip.set.remove(1);
        strip.set.append(prototype());
    }
    reportRatio(state, start, 2);
}
BENCHMARK(BM_TileSetRemoveAtFrontAndAppend)->Arg(10)->Arg(TileSet::kMaxTiles);

// Delete selected tiles with one marked tile near the front, then append one.
void BM_DeleteSelectedAtFrontAndAppend(benchmark::State& state) {
    Strip strip(static_cast<int>(state.range(0)));
    const auto start = Clock::now();
    for (auto _ : state) {
        strip.model.press(2, qrb::RowPart::Full, qrb::MouseButton::Left, qrb::Modifiers::Ctrl);
        strip.model.deleteSelected();
        strip.model.appendTile(prototype());
    }
    reportRatio(state, start, 2);
}
BENCHMARK(BM_DeleteSelectedAtFrontAndAppend)->Arg(10)->Arg(TileSet::kMaxTiles);

// What one page of scrolling asks of the model: the row at the top, then the geometry of
// the rows in view.
void BM_RowsInView(benchmark::State& state) {
    Strip strip(static_cast<int>(state.range(0)));
    const qrb::Twips page = 6000;
    qrb::Twips top = 0;
    for (auto _ : state) {
        int row = strip.model.rowAt(top);
        for (; row != 0 && row <= strip.model.count(); ++row) {
            const qrb::RowGeometry g = strip.model.rowGeometry(row);
            benchmark::DoNotOptimize(g);
            if (g.frameTop + g.frameHeight >= top + page) {
                break;
            }
        }
        top = (top + 7919 * 15) % (strip.model.contentHeight() - page + 1);
    }
}
BENCHMARK(BM_RowsInView)->Arg(10)->Arg(TileSet::kMaxTiles);

} // namespace
