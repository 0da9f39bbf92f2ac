// Quarter turns and half-size reduction of a 256 x 256 tile against copying its bytes.
// The "x_memcpy" counter is the time per operation divided by one memcpy of the tile's
// bytes, measured in the same run.

#include "imaging/HalfSize.h"
#include "imaging/Transform.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <random>

namespace {

using qrb::DibImage;
using Clock = std::chrono::steady_clock;

const DibImage& tile(std::int32_t size) {
    static DibImage even = [] {
        DibImage image(256, 256);
        std::mt19937 gen(1);
        for (auto& b : image.bytes()) {
            b = static_cast<std::uint8_t>(gen());
        }
        return image;
    }();
    static DibImage odd = [] {
        DibImage image(255, 255);
        std::mt19937 gen(2);
        for (auto& b : image.bytes()) {
            b = static_cast<std::uint8_t>(gen());
        }
        return image;
    }();
    return size == 256 ? even : odd;
}

double memcpyNanoseconds() {
    static const double ns = [] {
        std::vector<std::uint8_t> target(tile(256).bytes().size());
        constexpr int rounds = 20000;
        const auto start = Clock::now();
        for (int i = 0; i < rounds; ++i) {
            std::memcpy(target.data(), tile(256).bytes().data(), target.size());
            benchmark::DoNotOptimize(target.data());
            benchmark::ClobberMemory();
        }
        return std::chrono::duration<double, std::nano>(Clock::now() - start).count() / rounds;
    }();
    return ns;
}

template <typename Op> void measure(benchmark::State& state, Op op) {
    const auto start = Clock::now();
    for (auto _ : state) {
        DibImage result = op();
        benchmark::DoNotOptimize(result.bytes().data());
    }
    const double ns = std::chrono::duration<double, std::nano>(Clock::now() - start).count() /
                      static_cast<double>(state.iterations());
    state.counters["x_memcpy"] = ns / memcpyNanoseconds();
}

void BM_Memcpy256(benchmark::State& state) {
    std::vector<std::uint8_t> target(tile(256).bytes().size());
    for (auto _ : state) {
        std::memcpy(target.data(), tile(256).bytes().data(), target.size());
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(target.size()));
}
BENCHMARK(BM_Memcpy256);

void BM_CopyImage256(benchmark::State& state) {
    measure(state, [] { return DibImage(tile(256)); });
}
BENCHMARK(BM_CopyImage256);

void BM_RotateLeft256(benchmark::State& state) {
    measure(state, [] { return qrb::transformed(tile(256), qrb::TransformKind::RotateLeft); });
}
BENCHMARK(BM_RotateLeft256);

void BM_RotateRight256(benchmark::State& state) {
    measure(state, [] { return qrb::transformed(tile(256), qrb::TransformKind::RotateRight); });
}
BENCHMARK(BM_RotateRight256);

void BM_FlipHorizontal256(benchmark::State& state) {
    measure(state, [] { return qrb::transformed(tile(256), qrb::TransformKind::FlipHorizontal); });
}
BENCHMARK(BM_FlipHorizontal256);

void BM_HalfSize256(benchmark::State& state) {
    measure(state, [] { return qrb::halfSize(tile(256)); });
}
BENCHMARK(BM_HalfSize256);

// Odd sides take the general, fractional-coverage path.
void BM_HalfSize255(benchmark::State& state) {
    measure(state, [] { return qrb::halfSize(tile(255)); });
}
BENCHMARK(BM_HalfSize255);

} // namespace
