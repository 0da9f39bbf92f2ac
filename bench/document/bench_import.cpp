// Import Images against decoding alone, in the same run: 1,000 PNGs of 64 x 64 (half of
// them with transparency) imported into a new library as one step, as they are and fitted
// to 32 x 32; and a 4096 x 4096 sprite sheet sliced into 64 x 64 tiles; each beside
// reading the same files with QImageReader and nothing else. Printed: the times and
// import / decode (aim: at most 1.5). Then the 1,000 PNGs on every core against one thread.
// QRB_BENCH_DIR chooses where the files go (default: the system's temporary folder).

#include "core/OrderedWork.h"
#include "document/Document.h"
#include "document/PictureImport.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kPictures = 1000;

QStringList writePictures(const QString& dir) {
    QStringList paths;
    for (int i = 0; i < kPictures; ++i) {
        QImage image(64, 64, i % 2 == 0 ? QImage::Format_ARGB32 : QImage::Format_RGB32);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                image.setPixel(x, y,
                               qRgba((x * 4 + i) & 255, (y * 4) & 255, (x ^ y) & 255,
                                     i % 2 == 0 ? (x * 8) & 255 : 255));
        const QString path = QStringLiteral("%1/p%2.png").arg(dir).arg(i);
        image.save(path);
        paths << path;
    }
    return paths;
}

double decodeMs(const QStringList& paths) {
    const auto start = Clock::now();
    for (const QString& path : paths) {
        QImageReader reader(path);
        const QImage image = reader.read();
        benchmark::DoNotOptimize(image.constBits());
    }
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double importMs(const QStringList& paths, const qrb::ImportOptions& options = {},
                int tiles = kPictures) {
    qrb::Document document;
    document.newLibrary();
    const auto start = Clock::now();
    const auto result = document.importPictures(paths, qrb::defaultMemoryBudget(), {}, {}, options);
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    if (!result || document.tileCount() != tiles)
        std::fprintf(stderr, "import failed\n");
    return ms;
}

QTemporaryDir benchDir() {
    const QByteArray base = qgetenv("QRB_BENCH_DIR");
    return QTemporaryDir(base.isEmpty()
                             ? QDir::tempPath() + QStringLiteral("/qrb-import-XXXXXX")
                             : QString::fromLocal8Bit(base) + QStringLiteral("/qrb-import-XXXXXX"));
}

void BM_ImportPictures(benchmark::State& state) {
    const QTemporaryDir dir = benchDir();
    const QStringList paths = writePictures(dir.path());
    double decode = 1e300;
    double import = 1e300;
    for (auto _ : state) {
        // Alternating, the best of each: the file cache is warm for both.
        decode = std::min(decode, decodeMs(paths));
        import = std::min(import, importMs(paths));
    }
    state.counters["decode_ms"] = decode;
    state.counters["import_ms"] = import;
    state.counters["import_x_decode"] = import / decode;
    std::printf("1,000 PNGs 64 x 64: decode %.1f ms, import %.1f ms (x%.2f)\n", decode, import,
                import / decode);
}
BENCHMARK(BM_ImportPictures)->Unit(benchmark::kMillisecond)->Iterations(5);

// The best of each, alternating, against decoding the same files; printed as `what`.
void compare(benchmark::State& state, const char* what, const QStringList& paths,
             const qrb::ImportOptions& options, int tiles) {
    double decode = 1e300;
    double import = 1e300;
    for (auto _ : state) {
        decode = std::min(decode, decodeMs(paths));
        import = std::min(import, importMs(paths, options, tiles));
    }
    state.counters["import_x_decode"] = import / decode;
    std::printf("%s: decode %.1f ms, import %.1f ms (x%.2f)\n", what, decode, import,
                import / decode);
}

void BM_ImportFitted(benchmark::State& state) {
    const QTemporaryDir dir = benchDir();
    qrb::ImportOptions options;
    options.fit = qrb::FitOptions{QSize(32, 32), qrb::FitMode::Contain};
    compare(state, "1,000 PNGs 64 x 64 --fit 32x32", writePictures(dir.path()), options, kPictures);
}
BENCHMARK(BM_ImportFitted)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_SliceSheet(benchmark::State& state) {
    const QTemporaryDir dir = benchDir();
    QImage sheet(4096, 4096, QImage::Format_ARGB32);
    for (int y = 0; y < 4096; ++y) {
        auto* row = reinterpret_cast<QRgb*>(sheet.scanLine(y));
        for (int x = 0; x < 4096; ++x)
            row[x] = qRgba(x & 255, y & 255, (x ^ y) & 255, ((x >> 6) + (y >> 6)) % 2 ? 255 : 128);
    }
    const QStringList paths{dir.path() + QStringLiteral("/sheet.png")};
    sheet.save(paths.first());
    qrb::ImportOptions options;
    options.slice = qrb::SliceOptions{QSize(64, 64), 0, 0, false};
    compare(state, "4096 x 4096 sheet --slice 64x64", paths, options, 64 * 64);
}
BENCHMARK(BM_SliceSheet)->Unit(benchmark::kMillisecond)->Iterations(3);

// The 1,000 PNGs read into tiles on every core against one thread, alternating, the best
// of each; the tiles must be the same.
void BM_ImportOnEveryCore(benchmark::State& state) {
    const QTemporaryDir dir = benchDir();
    const QStringList paths = writePictures(dir.path());
    const int threads = qrb::batchThreads();
    double every = 1e300;
    double one = 1e300;
    std::optional<qrb::PictureImport> fromEvery;
    std::optional<qrb::PictureImport> fromOne;
    auto readMs = [&paths](int jobs, std::optional<qrb::PictureImport>& read) {
        const auto start = Clock::now();
        read = qrb::readPictures(paths, {}, qrb::TileSet::kMaxTiles, qrb::defaultMemoryBudget(), {},
                                 {}, jobs);
        return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    };
    for (auto _ : state) {
        every = std::min(every, readMs(threads, fromEvery));
        one = std::min(one, readMs(1, fromOne));
    }
    if (!fromEvery || !fromOne || fromEvery->tiles != fromOne->tiles ||
        fromOne->tiles.size() != std::size_t(kPictures)) {
        state.SkipWithError("the tiles read on every core differ from one thread's");
        return;
    }
    state.counters["threads"] = threads;
    state.counters["speedup"] = one / every;
    std::printf("import on every core: %d pictures in %.0f ms on %d threads, %.0f ms on one "
                "thread (%.2fx)\n",
                kPictures, every, threads, one, one / every);
}
BENCHMARK(BM_ImportOnEveryCore)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
