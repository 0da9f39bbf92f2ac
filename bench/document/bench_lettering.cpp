// Lettering tiles from a table, against the way such labels are usually scripted:
// ImageMagick's convert run once per tile with its own label. Tiles are 64 x 64, each with
// a distinct label in 18-point Arial at 37 degrees.
//
//   BM_LetterFromTable/1000   one run in one process: read the library, the position data
//                             and a 1,000-row table, letter, write the library
//   BM_LetterFromTable/32000  the same with 32,000 rows
//   BM_LetterWithEffects/1000 1,000 rows with the label centred on its position, outlined
//                             (2 pixels) and shadowed: at most 0.3 ms a tile
//   BM_LetterCards/1000       1,000 cards: rules wrapping on three lines in a box with an
//                             icon among them, and a picture per row: at most 0.5 ms a tile,
//                             each picture and icon decoded once
//   BM_Letter*OnEveryCore     the lettering alone (table, art and library in memory) of the
//                             1,000 cards and of 32,000 labels on every core against one
//                             thread, alternating, the best of each; the tiles must be
//                             the same bytes. Aim: at least 0.8 x the cores faster
//   BM_PngExportOnEveryCore   PNG export of the 1,000 labels' tiles and half images on every
//                             core against one thread; the files must be the same bytes
//   BM_ConvertPerTile         convert reads the base tile (PNG), draws the tile's label and
//                             writes the tile (PNG); one process per tile. QRB_BENCH_CONVERT
//                             sets how many tiles (default 1,000; 0 skips it)
//
// Every run starts with the memory freed before given back to the system, as in a fresh
// process. Printed at the end, from the best run of each: time per tile; convert / ours per tile
// (aim: at least 100); per tile at 32,000 rows / per tile at 1,000 (about 1: linear); per
// tile with effects, and against the plain 1,000 rows.
// QRB_BENCH_DIR chooses where the files go (default: the system's temporary folder);
// QRB_BENCH_KEEP=1 leaves them there to be looked at.

#include "core/OrderedWork.h"
#include "document/Document.h"
#include "document/LetteringArt.h"
#include "document/TableLettering.h"
#include "document/TileImageExport.h"
#include "lettering/LetteringTable.h"
#include "text/PositionDataFile.h"
#include "tileset/LibraryFile.h"

#include "imaging/render/DibConversion.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <malloc.h>
#include <map>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

constexpr int kSize = 64;
constexpr int kBaseTiles = 4;
constexpr int kLabelX = 6;
constexpr int kLabelY = 50;

double seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

std::string label(int i) {
    char text[16];
    std::snprintf(text, sizeof text, "Tile %05d", i);
    return text;
}

struct Files {
    fs::path dir;
    fs::path library;
    fs::path positions;
    fs::path effectPositions;
    fs::path basePng;
    fs::path cards;
    fs::path cardPositions;
    std::map<int, fs::path> tables;

    Files() {
        const char* root = std::getenv("QRB_BENCH_DIR");
        dir = fs::path(root ? root : fs::temp_directory_path().string()) /
              ("qrb-lettering-" + std::to_string(::getpid()));
        fs::create_directories(dir);

        qrb::TileSet set;
        for (int t = 0; t < kBaseTiles; ++t) {
            qrb::Tile tile;
            tile.full = qrb::DibImage(kSize, kSize);
            const auto bytes = tile.full.bytes();
            for (std::size_t k = 0; k < bytes.size(); ++k)
                bytes[k] = std::uint8_t(160 + (k * 7 + std::size_t(t) * 13) % 96);
            tile.half = qrb::DibImage(kSize / 2, kSize / 2);
            tile.smallColour = qrb::ColourValue(t);
            set.append(std::move(tile));
        }
        library = dir / "in.qrb";
        qrb::LibraryFile::save(library, set);
        basePng = dir / "base.png";
        qrb::toQImage(set.tile(1).full).save(QString::fromStdString(basePng.string()));

        qrb::PositionSlots layout;
        layout[0].text = "label";
        layout[0].style.size = 18;
        layout[0].angle = "037";
        layout[0].position = std::to_string(kLabelX) + "," + std::to_string(kLabelY);
        positions = dir / "layout.qpf";
        qrb::PositionDataFile::write(positions, layout);
        qrb::TextLayout& effects = layout[0].style.layout;
        effects.horizontal = qrb::HorizontalAnchor::Centre;
        effects.vertical = qrb::VerticalAnchor::Middle;
        effects.outlineColour = qrb::palette::White;
        effects.outlineWidth = 2;
        effects.shadowDx = 1;
        effects.shadowDy = 1;
        layout[0].position = std::to_string(kSize / 2) + "," + std::to_string(kSize / 2);
        effectPositions = dir / "effects.qpf";
        qrb::PositionDataFile::write(effectPositions, layout);

        // Cards: a picture per row (two files in turn), rules on three lines of a box at
        // the bottom of the tile with an icon.
        layout = qrb::PositionSlots();
        layout[0].text = "rules";
        layout[0].style.size = 7;
        layout[0].angle = "000";
        layout[0].position = "3,30";
        cardPositions = dir / "cards.qpf";
        qrb::PositionDataFile::write(cardPositions, layout);
        fs::create_directories(dir / "icons");
        QImage coin(32, 32, QImage::Format_ARGB32);
        coin.fill(Qt::transparent);
        for (int y = 4; y < 28; ++y)
            for (int x = 4; x < 28; ++x)
                coin.setPixel(x, y, qRgba(220, 170, 0, 255));
        coin.save(QString::fromStdString((dir / "icons" / "coin.png").string()));
        for (int i = 0; i < 2; ++i) {
            QImage art(96, 64, QImage::Format_RGB32);
            art.fill(QColor::fromHsv(i * 120, 160, 200));
            art.save(QString::fromStdString((dir / ("art" + std::to_string(i) + ".png")).string()));
        }
        cards = dir / "cards.csv";
        std::ofstream out(cards, std::ios::binary);
        out << "base,slot1,slot1_box,image1,image1_at,image1_size\n";
        for (int i = 1; i <= 1000; ++i)
            out << (i % kBaseTiles + 1) << ",Gain 2 {coin} and draw card " << 100 + i % 900
                << " from the deck,58x34,art" << i % 2 << ".png,\"4,2\",56x26\n";
    }
    ~Files() {
        std::error_code ignored;
        if (!std::getenv("QRB_BENCH_KEEP"))
            fs::remove_all(dir, ignored);
    }

    const fs::path& table(int rows) {
        auto [it, added] = tables.try_emplace(rows, dir / ("rows" + std::to_string(rows) + ".csv"));
        if (added) {
            std::ofstream out(it->second, std::ios::binary);
            out << "base,slot1\n";
            for (int i = 1; i <= rows; ++i)
                out << (i % kBaseTiles + 1) << ',' << label(i) << '\n';
        }
        return it->second;
    }
};

Files& files() {
    static Files instance;
    return instance;
}

// Best seconds per tile of each run, by its name.
std::map<std::string, double>& results() {
    static std::map<std::string, double> instance;
    return instance;
}

void letterFromTable(benchmark::State& state, const fs::path& positions, const std::string& name) {
    const int rows = int(state.range(0));
    const fs::path& table = files().table(rows);
    const fs::path out = files().dir / "out.qrb";
    double best = 1e9;
    double bestLettering = 1e9;
    for (auto _ : state) {
        // Every run starts from memory fresh from the system, as a tool run does: otherwise
        // small runs would reuse the pages the run before freed and large ones could not.
        malloc_trim(0);
        const auto start = Clock::now();
        qrb::Document document;
        document.open(QString::fromStdString(files().library.string()));
        document.loadPositionData(QString::fromStdString(positions.string()));
        const qrb::LetteringTable read = qrb::LetteringTable::read(table);
        const auto lettering = Clock::now();
        const std::optional<int> made = document.letterFromTable(read);
        const auto lettered = Clock::now();
        document.save(QString::fromStdString(out.string()));
        const auto end = Clock::now();
        if (made != rows) {
            state.SkipWithError("not every row made its tile");
            return;
        }
        best = std::min(best, seconds(end - start) / rows);
        bestLettering = std::min(bestLettering, seconds(lettered - lettering) / rows);
    }
    state.counters["per_tile_ms"] = best * 1e3;
    state.counters["letter_only_ms"] = bestLettering * 1e3;
    results()[name + "/" + std::to_string(rows)] = best;
    results()[name + " lettering/" + std::to_string(rows)] = bestLettering;
}

void BM_LetterFromTable(benchmark::State& state) {
    letterFromTable(state, files().positions, "ours");
}

void BM_LetterWithEffects(benchmark::State& state) {
    letterFromTable(state, files().effectPositions, "effects");
}
BENCHMARK(BM_LetterWithEffects)->Arg(1000)->Iterations(5)->Unit(benchmark::kMillisecond);

// The cards as the window letters them: the table and its art read, every row lettered,
// the tiles appended.
void BM_LetterCards(benchmark::State& state) {
    const fs::path& table = files().cards;
    double best = 1e9;
    int decoded = 0;
    int made = 0;
    int overflowing = 0;
    for (auto _ : state) {
        malloc_trim(0);
        qrb::Document document;
        document.open(QString::fromStdString(files().library.string()));
        document.loadPositionData(QString::fromStdString(files().cardPositions.string()));
        const auto start = Clock::now();
        const qrb::LetteringTable read = qrb::LetteringTable::read(table);
        const qrb::LetteringArt art = qrb::LetteringArt::forTable(
            read, document.tiles(), files().dir / "icons", qrb::Document::kArtMemory);
        std::optional<qrb::LetteredTiles> tiles =
            document.tableLettering(read, &art).letterAll(read);
        overflowing = int(tiles->overflowingLines.size());
        made = document.appendLettered(std::move(tiles->tiles));
        best = std::min(best, seconds(Clock::now() - start) / made);
        decoded = art.filesDecoded();
    }
    state.counters["per_tile_ms"] = best * 1e3;
    state.counters["decoded"] = decoded;
    results()["cards/1000"] = best;
    results()["cards decoded"] = decoded;
    results()["cards overflowing"] = overflowing;
    results()["cards made"] = made;
}
BENCHMARK(BM_LetterCards)->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LetterFromTable)->Arg(1000)->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LetterFromTable)->Arg(32000)->Iterations(2)->Unit(benchmark::kMillisecond);

// The lettering of `table` alone, on `threads` threads: its best time and its tiles.
struct Lettering {
    double best = 1e300;
    std::vector<qrb::Tile> tiles;
};

void letterOnce(const qrb::Document& document, const qrb::LetteringTable& table,
                const qrb::LetteringArt& art, int threads, Lettering& into) {
    malloc_trim(0);
    const auto start = Clock::now();
    std::optional<qrb::LetteredTiles> made =
        document.tableLettering(table, &art).letterAll(table, {}, {}, threads);
    into.best = std::min(into.best, seconds(Clock::now() - start));
    into.tiles = std::move(made->tiles);
}

bool sameTiles(const std::vector<qrb::Tile>& a, const std::vector<qrb::Tile>& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto x = a[i].full.bytes();
        const auto y = b[i].full.bytes();
        const auto hx = a[i].half.bytes();
        const auto hy = b[i].half.bytes();
        if (!std::equal(x.begin(), x.end(), y.begin(), y.end()) ||
            !std::equal(hx.begin(), hx.end(), hy.begin(), hy.end()) ||
            a[i].smallColour != b[i].smallColour)
            return false;
    }
    return true;
}

void letterOnEveryCore(benchmark::State& state, const fs::path& table, const fs::path& positions,
                       std::optional<fs::path> icons) {
    qrb::Document document;
    document.open(QString::fromStdString(files().library.string()));
    document.loadPositionData(QString::fromStdString(positions.string()));
    const qrb::LetteringTable read = qrb::LetteringTable::read(table);
    const qrb::LetteringArt art =
        qrb::LetteringArt::forTable(read, document.tiles(), icons, qrb::Document::kArtMemory);
    const int threads = qrb::batchThreads();
    Lettering every;
    Lettering one;
    for (auto _ : state) {
        letterOnce(document, read, art, threads, every);
        letterOnce(document, read, art, 1, one);
    }
    if (!sameTiles(every.tiles, one.tiles)) {
        state.SkipWithError("the tiles lettered on every core differ from one thread's");
        return;
    }
    state.counters["threads"] = threads;
    state.counters["speedup"] = one.best / every.best;
    std::printf("lettering on every core: %zu tiles in %.0f ms on %d threads, %.0f ms on one "
                "thread (%.2fx)\n",
                every.tiles.size(), every.best * 1e3, threads, one.best * 1e3,
                one.best / every.best);
}

void BM_LetterCardsOnEveryCore(benchmark::State& state) {
    letterOnEveryCore(state, files().cards, files().cardPositions, files().dir / "icons");
}
BENCHMARK(BM_LetterCardsOnEveryCore)->Iterations(5)->Unit(benchmark::kMillisecond);

void BM_LetterLabelsOnEveryCore(benchmark::State& state) {
    letterOnEveryCore(state, files().table(32000), files().positions, std::nullopt);
}
BENCHMARK(BM_LetterLabelsOnEveryCore)->Iterations(3)->Unit(benchmark::kMillisecond);

// PNG export of the 1,000 labels' tiles and their half images on every core against one
// thread, alternating, the best of each; the files must be the same bytes.
void BM_PngExportOnEveryCore(benchmark::State& state) {
    qrb::Document document;
    document.open(QString::fromStdString(files().library.string()));
    document.loadPositionData(QString::fromStdString(files().positions.string()));
    const qrb::LetteringTable read = qrb::LetteringTable::read(files().table(1000));
    const qrb::LetteringArt art = qrb::LetteringArt::forTable(read, document.tiles(), std::nullopt,
                                                              qrb::Document::kArtMemory);
    qrb::TileSet set;
    std::optional<qrb::LetteredTiles> made = document.tableLettering(read, &art).letterAll(read);
    for (qrb::Tile& tile : made->tiles)
        set.append(std::move(tile));
    std::vector<int> all(std::size_t(set.count()));
    for (int i = 1; i <= set.count(); ++i)
        all[std::size_t(i - 1)] = i;
    const int threads = qrb::batchThreads();
    double every = 1e300;
    double one = 1e300;
    std::size_t written = 0;
    const auto exportOnce = [&](int on, const char* folder, double& best) {
        fs::remove_all(files().dir / folder);
        fs::create_directories(files().dir / folder);
        qrb::ImageExport png{qrb::ImageFormat::Png, true};
        png.threads = on;
        const auto start = Clock::now();
        written = png.write(set, all, files().dir / folder / "t")->size();
        best = std::min(best, seconds(Clock::now() - start));
    };
    for (auto _ : state) {
        exportOnce(threads, "png-every", every);
        exportOnce(1, "png-one", one);
    }
    for (const auto& entry : fs::directory_iterator(files().dir / "png-one")) {
        std::ifstream a(entry.path(), std::ios::binary);
        std::ifstream b(files().dir / "png-every" / entry.path().filename(), std::ios::binary);
        if (std::string(std::istreambuf_iterator<char>(a), {}) !=
            std::string(std::istreambuf_iterator<char>(b), {})) {
            state.SkipWithError("the pictures written on every core differ from one thread's");
            return;
        }
    }
    state.counters["speedup"] = one / every;
    std::printf("PNG export on every core: %zu pictures in %.0f ms on %d threads, %.0f ms on one "
                "thread (%.2fx)\n",
                written, every * 1e3, threads, one * 1e3, one / every);
}
BENCHMARK(BM_PngExportOnEveryCore)->Iterations(3)->Unit(benchmark::kMillisecond);

int convertTiles() {
    const char* count = std::getenv("QRB_BENCH_CONVERT");
    return count ? std::max(0, std::atoi(count)) : 1000;
}

// ImageMagick's own program from its package, found before anything else on PATH.
std::string convertProgram() {
    return fs::exists("/usr/bin/convert") ? "/usr/bin/convert" : "convert";
}

void BM_ConvertPerTile(benchmark::State& state) {
    const int tiles = convertTiles();
    if (tiles == 0) {
        state.SkipWithError("QRB_BENCH_CONVERT=0");
        return;
    }
    const std::string program = convertProgram();
    const std::string font = "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf";
    // convert turns clockwise: 37 degrees the other way round.
    const std::string geometry =
        "323x323+" + std::to_string(kLabelX) + "+" + std::to_string(kLabelY);
    const fs::path outDir = files().dir / "convert";
    fs::create_directories(outDir);
    double best = 1e9;
    for (auto _ : state) {
        const auto start = Clock::now();
        for (int i = 1; i <= tiles; ++i) {
            const std::string out = (outDir / (label(i) + ".png")).string();
            std::vector<std::string> args = {program,      files().basePng.string(),
                                             "-font",      font,
                                             "-pointsize", "18",
                                             "-fill",      "black",
                                             "-annotate",  geometry,
                                             label(i),     out};
            std::vector<char*> argv;
            for (std::string& a : args)
                argv.push_back(a.data());
            argv.push_back(nullptr);
            pid_t pid = 0;
            int status = 0;
            if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ) != 0 ||
                waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
                state.SkipWithError("convert failed (is imagemagick installed?)");
                return;
            }
        }
        best = std::min(best, seconds(Clock::now() - start) / tiles);
    }
    state.counters["per_tile_ms"] = best * 1e3;
    state.counters["tiles"] = tiles;
    results()["convert"] = best;
}
BENCHMARK(BM_ConvertPerTile)->Iterations(1)->Unit(benchmark::kMillisecond);

void printSummary() {
    const auto& r = results();
    const auto find = [&](const std::string& key) {
        const auto it = r.find(key);
        return it == r.end() ? 0.0 : it->second;
    };
    const double ours = find("ours/1000");
    const double large = find("ours/32000");
    const double convert = find("convert");
    std::printf("\nper tile: ours %.4f ms (1,000 rows), %.4f ms (32,000 rows)", ours * 1e3,
                large * 1e3);
    if (convert > 0)
        std::printf(", convert %.2f ms", convert * 1e3);
    std::printf("\n");
    if (ours > 0 && convert > 0)
        std::printf("convert / ours per tile: %.0f (aim: at least 100)\n", convert / ours);
    if (ours > 0 && large > 0)
        std::printf("per tile at 32,000 rows / at 1,000: %.2f (linear: about 1)\n", large / ours);
    const double effects = find("effects/1000");
    const double effectsOnly = find("effects lettering/1000");
    const double plainOnly = find("ours lettering/1000");
    if (effects > 0 && ours > 0) {
        std::printf("per tile with centre, outline and shadow: %.4f ms in all (%.2f x plain), "
                    "%.4f ms lettering alone (%.2f x plain); budget 0.3 ms: %s\n",
                    effects * 1e3, effects / ours, effectsOnly * 1e3,
                    plainOnly > 0 ? effectsOnly / plainOnly : 0.0,
                    effects <= 0.3e-3 ? "met" : "MISSED");
    }
    const double cards = find("cards/1000");
    if (cards > 0) {
        std::printf("per card (3-line box with an icon, a picture per row): %.4f ms "
                    "(%.2f x plain), %.0f tiles, %.0f cut; pictures and icons decoded: %.0f "
                    "for 1,000 rows; budget 0.5 ms: %s\n",
                    cards * 1e3, ours > 0 ? cards / ours : 0.0, find("cards made"),
                    find("cards overflowing"), find("cards decoded"),
                    cards <= 0.5e-3 ? "met" : "MISSED");
    }
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    printSummary();
    return 0;
}
