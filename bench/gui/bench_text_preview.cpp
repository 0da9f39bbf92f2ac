// One live text preview step on a 256 x 256 working tile (restore the undo copy, draw a
// 20-character text at 37 degrees in 18-point Arial) beside the cost of copying the tile
// once. The step runs on every scroll-bar move, so it must stay far below one frame.
//
// The same step with the text centred, outlined (2 pixels) and shadowed, moving and
// turning, and with the widest outline (8 pixels), must stay at most 1 ms. Printed at the end, from
// the best repetition of each: the steps' times, and each against the plain step and the tile copy
// of the same run.
#include "text/render/RotatedText.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

// Best seconds per step of each benchmark, by name.
std::map<std::string, double>& results() {
    static std::map<std::string, double> instance;
    return instance;
}

void record(const char* name, Clock::duration spent, benchmark::IterationCount steps) {
    const double each = std::chrono::duration<double>(spent).count() / double(steps);
    auto [it, added] = results().try_emplace(name, each);
    if (!added)
        it->second = std::min(it->second, each);
}

qrb::TextLayout effects() {
    qrb::TextLayout layout;
    layout.horizontal = qrb::HorizontalAnchor::Centre;
    layout.vertical = qrb::VerticalAnchor::Middle;
    layout.outlineColour = qrb::palette::White;
    layout.outlineWidth = 2;
    layout.shadowColour = qrb::palette::DarkGrey;
    layout.shadowDx = 2;
    layout.shadowDy = 2;
    return layout;
}

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
    const auto start = Clock::now();
    for (auto _ : state) {
        tile.restore();
        benchmark::DoNotOptimize(tile.working.constBits());
    }
    record("copy", Clock::now() - start, state.iterations());
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
    const auto start = Clock::now();
    for (auto _ : state) {
        tile.restore();
        qrb::DrawRotatedText(surface, font, text, 37.0f, x, 180);
        x = std::int16_t(20 + (x + 1) % 8); // a scroll bar moving
        benchmark::DoNotOptimize(tile.working.constBits());
    }
    record("plain", Clock::now() - start, state.iterations());
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

// Preview steps of the 20-character text with `layout`, moving across the tile's centre at
// 37 degrees, or turning a degree a step there.
void timeLaidOutSteps(benchmark::State& state, const char* name, const qrb::TextLayout& layout,
                      bool turning) {
    Tile tile;
    qrb::TextSurface surface(tile.working);
    QFont font;
    font.setFamily("Arial");
    font.setPointSizeF(18);
    const QString text = "Harbour Road 12 East";
    std::int16_t x = 128;
    int angle = 0;
    const auto start = Clock::now();
    for (auto _ : state) {
        tile.restore();
        qrb::DrawLaidOutText(surface, font, text, turning ? float(angle) : 37.0f, x, 128, layout);
        if (turning)
            angle = (angle + 1) % 360;
        else
            x = std::int16_t(124 + (x + 1) % 8);
        benchmark::DoNotOptimize(tile.working.constBits());
    }
    record(name, Clock::now() - start, state.iterations());
}

// The moving step with the text centred on its position, outlined and shadowed.
void BM_PreviewStepWithEffects(benchmark::State& state) {
    timeLaidOutSteps(state, "effects", effects(), false);
}
BENCHMARK(BM_PreviewStepWithEffects)->Repetitions(9)->ReportAggregatesOnly(true);

// Turning with effects: the outline's path is built anew at every angle.
void BM_PreviewStepTurningWithEffects(benchmark::State& state) {
    qrb::TextLayout layout = effects();
    layout.fitWidth = 200; // and shrunk to fit
    timeLaidOutSteps(state, "effects turning", layout, true);
}
BENCHMARK(BM_PreviewStepTurningWithEffects)->Repetitions(9)->ReportAggregatesOnly(true);

// The widest outline and a far shadow: the outline's cost grows with its width.
void BM_PreviewStepWidestOutline(benchmark::State& state) {
    qrb::TextLayout layout = effects();
    layout.outlineWidth = qrb::TextLayout::kMaxOutlineWidth;
    layout.shadowDx = layout.shadowDy = 8;
    timeLaidOutSteps(state, "widest outline", layout, false);
}
BENCHMARK(BM_PreviewStepWidestOutline)->Repetitions(9)->ReportAggregatesOnly(true);

void printSummary() {
    const auto& r = results();
    const auto find = [&](const char* key) {
        const auto it = r.find(key);
        return it == r.end() ? 0.0 : it->second;
    };
    const double copy = find("copy"), plain = find("plain");
    std::printf("\npreview step on 256 x 256 (best repetition):\n");
    for (const char* name : {"plain", "effects", "effects turning", "widest outline"}) {
        const double each = find(name);
        if (each <= 0)
            continue;
        std::printf("  %-16s %.4f ms", name, each * 1e3);
        if (plain > 0)
            std::printf("  %.2f x plain", each / plain);
        if (copy > 0)
            std::printf("  %.0f x tile copy", each / copy);
        std::printf("%s\n",
                    std::string(name) != "plain"
                        ? (each <= 1e-3 ? "  (budget 1 ms: met)" : "  (budget 1 ms: MISSED)")
                        : "");
    }
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printSummary();
    return 0;
}
