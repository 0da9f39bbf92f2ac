// One live text preview step on a 256 x 256 working tile (restore the undo copy, draw a
// 20-character text at 37 degrees in 18-point Arial) beside the cost of copying the tile
// once. The step runs on every scroll-bar move, so it must stay far below one frame.
#include "text/render/modRotateText.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

#include <cstring>

namespace {

struct Tile {
    QImage undo{256, 256, QImage::Format_RGB32};
    QImage working{256, 256, QImage::Format_RGB32};
    Tile() {
        for (int y = 0; y < 256; ++y) {
            auto* row = reinterpret_cast<QRgb*>(undo.scanLine(y));
            for (int x = 0; x < 256; ++x) {
                row[x] = qRgb(x, y, (x + y) / 2);
            }
        }
        working.fill(Qt::white);
    }
    void restore() {
        std::memcpy(working.bits(), undo.constBits(), std::size_t(undo.sizeInBytes()));
    }
};

void BM_CopyTile(benchmark::State& state) {
    Tile tile;
    for (auto _ : state) {
        tile.restore();
        benchmark::DoNotOptimize(tile.working.constBits());
    }
}
BENCHMARK(BM_CopyTile)->Repetitions(9)->ReportAggregatesOnly(true);

void BM_PreviewStep(benchmark::State& state) {
    Tile tile;
    qrb::TextSurface surface(tile.working);
    QFont font;
    font.setFamily("Arial");
    font.setPointSizeF(18);
    const QString text = "Harbour Road 12 East"; // 20 characters
    std::int16_t x = 20;
    for (auto _ : state) {
        tile.restore();
        qrb::DrawRotatedText(surface, font, text, 37.0f, x, 180);
        x = std::int16_t(20 + (x + 1) % 8); // a scroll bar moving
        benchmark::DoNotOptimize(tile.working.constBits());
    }
}
BENCHMARK(BM_PreviewStep)->Repetitions(9)->ReportAggregatesOnly(true);

// The angle scroll bar moving: each step draws at a new angle, so no glyph image from the
// step before can be reused.
void BM_PreviewStepTurning(benchmark::State& state) {
    Tile tile;
    qrb::TextSurface surface(tile.working);
    QFont font;
    font.setFamily("Arial");
    font.setPointSizeF(18);
    const QString text = "Harbour Road 12 East";
    int angle = 0;
    for (auto _ : state) {
        tile.restore();
        qrb::DrawRotatedText(surface, font, text, float(angle), 20, 180);
        angle = (angle + 1) % 360;
        benchmark::DoNotOptimize(tile.working.constBits());
    }
}
BENCHMARK(BM_PreviewStepTurning)->Repetitions(9)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
