// Opening and saving a library of 32767 tiles of 64 x 64 (about 506 MB) in the window
// against reading its file into fresh memory and writing its bytes durably, the peak memory
// of that open against the decoded tiles, and scrolling the tile strip one page at 32767
// tiles against at 10 tiles. The window runs offscreen; its dialogs answer from a script.
// The open and the read each run in a new process, as a user's first open after starting
// the program: memory comes fresh from the system, nothing of an earlier library is reused.
// Ratios are printed at the end; the aims are opening within 2x the read, saving within 1.2x
// the durable write, a peak within 1.1x the decoded tiles and scrolling at about 1x.
#include "PaintTiming.h"
#include "SilentDesktop.h"
#include "app/commands/LibraryFileCommands.h"
#include "app/window/MainWindow.h"
#include "tileset/LibraryFile.h"
#include "tileset/QrbWriter.h"
#include "widgets/TileStrip.h"

#include <QApplication>
#include <QScrollBar>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using qrb::bench::median;

struct Window {
    std::shared_ptr<qrb::bench::SilentDesktop> desktop =
        std::make_shared<qrb::bench::SilentDesktop>();
    std::unique_ptr<qrb::MainWindow> form;
    Window() {
        qrb::Platform p{desktop, desktop, desktop, desktop, desktop, desktop};
        form = std::make_unique<qrb::MainWindow>(p);
        form->show();
        QApplication::processEvents();
    }
    void open(const fs::path& path) {
        desktop->next = QString::fromStdString(path.string());
        form->files().openLibrary();
        // What the user then sees: the window painted with the first rows of the strip.
        form->repaint();
        form->ui().strip->repaint();
    }
};

fs::path library(int count, int side) {
    const fs::path path = fs::temp_directory_path() / ("qrb-bench-" + std::to_string(count) + "x" +
                                                       std::to_string(side) + ".qrb");
    if (fs::exists(path))
        return path;
    qrb::TileSet set;
    for (int i = 1; i <= count; ++i) {
        qrb::Tile tile;
        tile.full = qrb::DibImage::filled(side, side, {std::uint8_t(i), std::uint8_t(i * 7), 200});
        tile.half = qrb::DibImage::filled(side / 2, side / 2, {std::uint8_t(i), 90, 40});
        tile.smallColour = qrb::ColourValue(i);
        set.append(std::move(tile));
    }
    qrb::LibraryFile::save(path, set);
    return path;
}

constexpr int kTiles = 32767;
constexpr int kSide = 64;

// The whole file read into memory allocated for it, without touching that memory first.
std::unique_ptr<char[]> readWhole(const fs::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    const auto size = std::size_t(fs::file_size(path));
    auto bytes = std::make_unique_for_overwrite<char[]>(size);
    for (std::size_t done = 0; done < size;) {
        const ssize_t n = ::read(fd, bytes.get() + done, size - done);
        if (n <= 0)
            break;
        done += std::size_t(n);
    }
    ::close(fd);
    return bytes;
}

// Both write a new file beside the library (removed between runs, outside the timing), so
// each pays the same durable save.
fs::path savedCopy() {
    return fs::temp_directory_path() / "qrb-bench-saved.qrb";
}

void BM_WriteBytesDurably(benchmark::State& state) {
    const std::vector<std::uint8_t> bytes =
        qrb::QrbWriter::toBytes(qrb::LibraryFile::load(library(kTiles, kSide)));
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove(savedCopy());
        state.ResumeTiming();
        const int fd = ::open(savedCopy().c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
        for (std::size_t done = 0; done < bytes.size();) {
            const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
            if (n <= 0)
                break;
            done += std::size_t(n);
        }
        ::fsync(fd);
        ::close(fd);
    }
}
BENCHMARK(BM_WriteBytesDurably)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_SaveInWindow(benchmark::State& state) {
    Window window;
    window.open(library(kTiles, kSide));
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove(savedCopy());
        window.desktop->next = QString::fromStdString(savedCopy().string());
        state.ResumeTiming();
        if (!window.form->files().saveLibraryAs())
            state.SkipWithError("the library was not saved");
    }
}
BENCHMARK(BM_SaveInWindow)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// One page down the strip and the repaint that shows it, with rows that were never shown
// before (their pixmaps are built), from the middle of the library.
void BM_ScrollOnePage(benchmark::State& state) {
    const int count = int(state.range(0));
    Window window;
    window.open(library(count, 64));
    QScrollBar* bar = window.form->ui().stripBar;
    qrb::TileStrip* strip = window.form->ui().strip;
    const int start = bar->maximum() / 2 - bar->pageStep() / 2;
    bar->setValue(start);
    bool down = true;
    for (auto _ : state) {
        strip->invalidateAll();
        bar->setValue(down ? start + bar->pageStep() : start);
        down = !down;
        strip->repaint();
    }
}
BENCHMARK(BM_ScrollOnePage)->Arg(10)->Arg(32767)->Repetitions(5)->ReportAggregatesOnly(true);

// Keeps the median of every benchmark so that ratios can be printed after the run.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    std::map<std::string, double> medians;
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.aggregate_name == "median")
                medians[run.run_name.function_name +
                        (run.run_name.args.empty() ? "" : "/" + run.run_name.args)] =
                    run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
};

// A line of the process's status in procfs, in kB.
long statusKilobytes(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0)
            return std::stol(line.substr(std::string(field).size()));
    return -1;
}

// What one run in a new process measured: milliseconds, and for an open the most memory
// it held at once beyond what the window held before, and the bytes of the decoded tiles.
struct ChildRun {
    double milliseconds = -1;
    double peak = 0;
    double decoded = 0;
};

// The child's side: one read of the file or one open in a new window, as a user's first
// open after starting the program (memory fresh from the system, nothing of an earlier
// library to reuse). Writes the run to `report`.
void runChild(const std::string& what, const fs::path& report) {
    const fs::path path = library(kTiles, kSide);
    ChildRun run;
    if (what == "read") {
        const auto start = std::chrono::steady_clock::now();
        const std::unique_ptr<char[]> bytes = readWhole(path);
        benchmark::DoNotOptimize(bytes.get());
        run.milliseconds =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
    } else {
        Window window;
        const long before = statusKilobytes("VmRSS:");
        // Starts the peak anew from what the process holds now.
        std::ofstream("/proc/self/clear_refs") << "5";
        const auto start = std::chrono::steady_clock::now();
        window.open(path);
        run.milliseconds =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        run.peak = double(statusKilobytes("VmHWM:") - before) * 1024.0;
        if (window.form->document().tileCount() == kTiles)
            for (const qrb::Tile& tile : window.form->document().tiles().tiles())
                run.decoded += double(tile.full.byteCount() + tile.half.byteCount());
        else
            run.milliseconds = -1;
    }
    std::ofstream(report) << run.milliseconds << ' ' << run.peak << ' ' << run.decoded;
}

ChildRun inChild(const char* what) {
    const fs::path report = fs::temp_directory_path() / "qrb-bench-open.run";
    fs::remove(report);
    const std::string whatVar = std::string("QRB_BENCH_OPEN_CHILD=") + what;
    const std::string reportVar = "QRB_BENCH_OPEN_REPORT=" + report.string();
    std::vector<std::string> env{whatVar, reportVar};
    for (char** e = environ; *e; ++e)
        env.emplace_back(*e);
    std::vector<char*> envp;
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    char self[] = "/proc/self/exe";
    char* argv[] = {self, nullptr};
    pid_t pid = 0;
    int status = 0;
    ChildRun run;
    if (::posix_spawn(&pid, self, nullptr, nullptr, argv, envp.data()) == 0 &&
        ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0)
        std::ifstream(report) >> run.milliseconds >> run.peak >> run.decoded;
    return run;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (const char* child = std::getenv("QRB_BENCH_OPEN_CHILD")) {
        runChild(child, std::getenv("QRB_BENCH_OPEN_REPORT"));
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    // Opening and reading, each five times in turn, each in a new process.
    library(kTiles, kSide);
    std::vector<double> reads, opens;
    ChildRun open;
    for (int i = 0; i < 5; ++i) {
        reads.push_back(inChild("read").milliseconds);
        const ChildRun run = inChild("open");
        opens.push_back(run.milliseconds);
        open.peak = std::max(open.peak, run.peak);
        open.decoded = run.decoded;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    auto& m = reporter.medians;
    auto both = [&](const char* a, const char* b, const char* format) {
        if (m.count(a) && m.count(b) && m[b] > 0)
            std::printf(format, m[a], m[b], m[a] / m[b]);
    };
    const double read = median(reads);
    const double opened = median(opens);
    std::printf("open 32767 tiles of 64 x 64 in the window: %.0f ms, reading the file into "
                "fresh memory: %.0f ms (%.2fx)\n",
                opened, read, opened / read);
    both("BM_SaveInWindow", "BM_WriteBytesDurably",
         "save 32767 tiles of 64 x 64 from the window: %.0f ms, writing its bytes durably: %.0f "
         "ms (%.2fx)\n");
    std::printf("peak memory of that open: %.0f MB for %.0f MB of decoded tiles (%.2fx)\n",
                open.peak / 1e6, open.decoded / 1e6,
                open.decoded > 0 ? open.peak / open.decoded : 0.0);
    if (m.count("BM_ScrollOnePage/32767") && m.count("BM_ScrollOnePage/10"))
        std::printf("scroll one page at 32767 tiles / at 10 tiles: %.2fx\n",
                    m["BM_ScrollOnePage/32767"] / m["BM_ScrollOnePage/10"]);
    benchmark::Shutdown();
    std::error_code ec;
    fs::remove(savedCopy(), ec);
    return 0;
}
