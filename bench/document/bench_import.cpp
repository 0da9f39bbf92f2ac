// Import Images against decoding alone: 1,000 PNGs of 64 x 64 (half of them with
// transparency) imported into a new library as one step, beside reading the same files
// with QImageReader and nothing else, in the same run. Printed: both times and import /
// decode (aim: at most 1.5). QRB_BENCH_DIR chooses where the files go (default: the
// system's temporary folder).

#include "document/Document.h"

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

double importMs(const QStringList& paths) {
    qrb::Document document;
    document.newLibrary();
    const auto start = Clock::now();
    const auto result = document.importPictures(paths);
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    if (!result || document.tileCount() != kPictures)
        std::fprintf(stderr, "import failed\n");
    return ms;
}

void BM_ImportPictures(benchmark::State& state) {
    const QByteArray base = qgetenv("QRB_BENCH_DIR");
    QTemporaryDir dir(base.isEmpty()
                          ? QDir::tempPath() + QStringLiteral("/qrb-import-XXXXXX")
                          : QString::fromLocal8Bit(base) + QStringLiteral("/qrb-import-XXXXXX"));
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

} // namespace
