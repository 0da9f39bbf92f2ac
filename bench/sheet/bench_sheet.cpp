// Print sheets: 1000 different tiles of 128 x 128 written as a PDF (A4, 25 mm tiles, corner
// marks), against writing the same pixel bytes raw to a file and syncing it. And the size
// of a PDF of 1000 copies of one tile against the PDF of one copy: each picture is embedded
// once, so the copies cost only their placements.
//
//   BM_SheetPdf/0    drawn art (flat colours, outlines, a shaded band)
//   BM_SheetPdf/1    grainy art (every pixel differs): the worst case for compression
//                    ratio = PDF write (layout included) / raw write of the pixel bytes
//   BM_CopiesSize/N  ratio = size of 1000 copies / size of one copy; per_copy_bytes
//   BM_SheetPngOnEveryCore  280 of the drawn tiles as PNG pages at 150 dpi on every core
//                    against one thread, alternating, the best of each; the pages must be
//                    the same bytes
// Targets: the PDF under 1 s; size ratio about 10 or less.

#include "core/OrderedWork.h"
#include "sheet/render/SheetWriter.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kTiles = 1000;
constexpr int kSize = 128;

// Drawn art: a background colour, a shaded band, a circle with an outline; or, grainy,
// shading with noise in every pixel. Every tile differs.
qrb::DibImage artwork(int seed, bool grainy) {
    qrb::DibImage image(kSize, kSize);
    std::uint32_t noise = 2654435761u * std::uint32_t(seed + 1);
    const auto channel = [](int v) { return std::uint8_t(v & 0xFF); };
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            qrb::Rgb c;
            if (grainy) {
                noise = noise * 1664525u + 1013904223u;
                const int grain = int(noise >> 29);
                c = {channel(x * 2 + seed), channel(y * 2 + grain),
                     channel((x + y) / 2 + seed * 7 + grain)};
            } else {
                const int dx = x - 64;
                const int dy = y - 64;
                const int r2 = dx * dx + dy * dy;
                if (r2 < 40 * 40) {
                    c = {channel(seed * 37), 200, 40};
                } else if (r2 < 43 * 43) {
                    c = {0, 0, 0};
                } else if (y > 100) {
                    c = {channel(y * 2), channel(seed), 120};
                } else {
                    c = {230, 220, channel(seed * 11)};
                }
            }
            image.setPixel(x, y, c);
        }
    }
    return image;
}

std::filesystem::path workDir() {
    const char* dir = std::getenv("QRB_BENCH_DIR");
    auto path = std::filesystem::path(dir ? dir : std::filesystem::temp_directory_path().string()) /
                ("qrb-bench-sheet-" + std::to_string(::getpid()));
    std::filesystem::create_directories(path);
    return path;
}

struct Library {
    qrb::TileSet set;
    std::vector<std::uint8_t> pixels;
};

struct Shared {
    Library drawn = library(false);
    Library grainy = library(true);
    std::filesystem::path dir = workDir();

    static Library library(bool grainy) {
        Library lib;
        for (int i = 0; i < kTiles; ++i) {
            qrb::DibImage full = artwork(i, grainy);
            lib.pixels.insert(lib.pixels.end(), full.bytes().begin(), full.bytes().end());
            lib.set.append({std::move(full), qrb::DibImage(kSize / 2, kSize / 2), 0});
        }
        return lib;
    }
    ~Shared() {
        std::error_code ec;
        if (!std::getenv("QRB_BENCH_KEEP")) {
            std::filesystem::remove_all(dir, ec);
        }
    }
};

Shared& shared() {
    static Shared s;
    return s;
}

void rawWrite(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != ssize_t(bytes.size()) ||
        ::fsync(fd) != 0 || ::close(fd) != 0) {
        std::abort();
    }
}

double seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

void BM_SheetPdf(benchmark::State& state) {
    Shared& s = shared();
    const Library& lib = state.range(0) ? s.grainy : s.drawn;
    const qrb::SheetArt art(lib.set);
    double raw = 0;
    double pdf = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        rawWrite(s.dir / "raw.bin", lib.pixels);
        const auto t1 = Clock::now();
        const qrb::SheetLayout layout = qrb::layOutSheet(qrb::SheetOptions{}, art);
        qrb::SheetWriter::writePdf(s.dir / "sheet.pdf", layout, art);
        const auto t2 = Clock::now();
        raw += seconds(t1 - t0);
        pdf += seconds(t2 - t1);
        state.SetIterationTime(seconds(t2 - t1));
    }
    const double n = double(state.iterations());
    state.counters["raw_ms"] = 1000 * raw / n;
    state.counters["pdf_ms"] = 1000 * pdf / n;
    state.counters["ratio"] = pdf / raw;
    state.counters["pdf_MB"] = double(std::filesystem::file_size(s.dir / "sheet.pdf")) / 1e6;
}
BENCHMARK(BM_SheetPdf)
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

void BM_CopiesSize(benchmark::State& state) {
    Shared& s = shared();
    const qrb::SheetArt art(state.range(0) ? s.grainy.set : s.drawn.set);
    qrb::SheetOptions options;
    options.tiles = {1};
    const auto sizeFor = [&](int copies) {
        options.copies = copies;
        const auto path = s.dir / ("copies" + std::to_string(copies) + ".pdf");
        qrb::SheetWriter::writePdf(path, qrb::layOutSheet(options, art), art);
        return double(std::filesystem::file_size(path));
    };
    double one = 0;
    double many = 0;
    for (auto _ : state) {
        one = sizeFor(1);
        many = sizeFor(kTiles);
    }
    state.counters["one_KB"] = one / 1e3;
    state.counters["copies_KB"] = many / 1e3;
    state.counters["per_copy_bytes"] = (many - one) / (kTiles - 1);
    state.counters["ratio"] = many / one;
}
BENCHMARK(BM_CopiesSize)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

std::string contents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void BM_SheetPngOnEveryCore(benchmark::State& state) {
    Shared& s = shared();
    const qrb::SheetArt art(s.drawn.set);
    qrb::SheetOptions options;
    for (int i = 1; i <= 280; ++i)
        options.tiles.push_back(i);
    const qrb::SheetLayout layout = qrb::layOutSheet(options, art);
    const int threads = qrb::batchThreads();
    double every = 1e300;
    double one = 1e300;
    std::vector<std::filesystem::path> fromEvery;
    std::vector<std::filesystem::path> fromOne;
    const auto write = [&](const char* name, int jobs, std::vector<std::filesystem::path>& pages) {
        const auto start = Clock::now();
        pages = qrb::SheetWriter::writePng(s.dir / name, layout, art, 150, UINT64_MAX, jobs);
        return seconds(Clock::now() - start);
    };
    for (auto _ : state) {
        every = std::min(every, write("every.png", threads, fromEvery));
        one = std::min(one, write("one.png", 1, fromOne));
    }
    for (std::size_t i = 0; i < fromOne.size(); ++i) {
        if (fromEvery.size() != fromOne.size() || contents(fromEvery[i]) != contents(fromOne[i])) {
            state.SkipWithError("the pages written on every core differ from one thread's");
            return;
        }
    }
    state.counters["speedup"] = one / every;
    std::printf("PNG sheet pages on every core: %zu pages in %.0f ms on %d threads, %.0f ms on "
                "one thread (%.2fx)\n",
                fromOne.size(), every * 1e3, threads, one * 1e3, one / every);
}
BENCHMARK(BM_SheetPngOnEveryCore)->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
