// Library read and write against raw byte baselines measured in the same run, on a
// generated library of 2000 tiles of 128 x 128 (half 64 x 64), about 123 MB, and on one
// of 10 such tiles. Every figure is the best of 5; each iteration times the baseline and
// the operation back to back.
//
// Ratios are printed as counters:
//   BM_Convert  ratio = qrbtool convert / durable raw copy (read the file, write the same
//               bytes to a new file in the same folder, fsync)
//   BM_Check    ratio = qrbtool check / raw read of the file (128 KiB reads, as cat does)
//   BM_Load     ratio = LibraryFile::load / raw read
//   BM_Save     ratio = LibraryFile::save / raw write + fsync of the bytes
//   BM_Decode   ratio = QrbReader from memory / memcpy of the same bytes into memory
//               touched before; fresh_ratio: / memcpy into freshly mapped memory
//   BM_Encode   the same for QrbWriter to memory
//   BM_PeakMemory load_peak, save_peak: peak resident memory of a fresh process that loads
//               (then saves) the library, over its pixel bytes; convert_peak: of one that
//               runs qrbtool convert, over the file size.
// Aims: convert <= 1.3, check <= 1.5, decode and encode <= 3, peaks <= 1.1.

#include "cli/QrbTool.h"
#include "tileset/LibraryFile.h"
#include "tileset/QrbReader.h"
#include "tileset/QrbWriter.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <memory>
#include <spawn.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kLargeTiles = 2000;
constexpr int kSmallTiles = 10;
constexpr int kSize = 128;

qrb::TileSet makeLibrary(int tiles) {
    qrb::TileSet set;
    for (int i = 0; i < tiles; ++i) {
        qrb::Tile tile;
        tile.full = qrb::DibImage(kSize, kSize);
        tile.half = qrb::DibImage(kSize / 2, kSize / 2);
        for (auto* image : {&tile.full, &tile.half}) {
            std::uint8_t* bytes = image->bufferRow(0);
            const std::size_t n = image->stride() * std::size_t(image->height());
            // stride == 3 * width here, so there is no row padding to keep zero.
            for (std::size_t k = 0; k < n; ++k) {
                bytes[k] = static_cast<std::uint8_t>(k * 31 + static_cast<std::size_t>(i));
            }
        }
        tile.smallColour = static_cast<qrb::ColourValue>(i);
        set.append(std::move(tile));
    }
    return set;
}

std::uint64_t pixelBytes(const qrb::TileSet& set) {
    std::uint64_t n = 0;
    for (const auto& t : set.tiles()) {
        n += t.full.bytes().size() + t.half.bytes().size();
    }
    return n;
}

std::filesystem::path workDir(int tiles) {
    const char* dir = std::getenv("QRB_BENCH_DIR");
    auto path = std::filesystem::path(dir ? dir : std::filesystem::temp_directory_path().string()) /
                ("qrb-bench-" + std::to_string(::getpid()) + "-" + std::to_string(tiles));
    std::filesystem::create_directories(path);
    return path;
}

struct Library {
    explicit Library(int tiles)
        : set(makeLibrary(tiles)), bytes(qrb::QrbWriter::toBytes(set)), dir(workDir(tiles)),
          file(dir / "library.qrb") {
        qrb::LibraryFile::save(file, set);
    }
    ~Library() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    qrb::TileSet set;
    std::vector<std::uint8_t> bytes;
    std::filesystem::path dir;
    std::filesystem::path file;
};

Library& library(int tiles) {
    static std::map<int, std::unique_ptr<Library>> all;
    auto& entry = all[tiles];
    if (!entry) {
        entry = std::make_unique<Library>(tiles);
    }
    return *entry;
}

[[noreturn]] void fail(const char* what) {
    std::perror(what);
    std::abort();
}

void writeAll(int fd, const std::uint8_t* data, std::size_t n) {
    while (n > 0) {
        const ssize_t done = ::write(fd, data, n);
        if (done <= 0) {
            fail("write");
        }
        data += done;
        n -= std::size_t(done);
    }
}

void rawWrite(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        fail("open");
    }
    writeAll(fd, bytes.data(), bytes.size());
    if (::fsync(fd) != 0 || ::close(fd) != 0) {
        fail("fsync");
    }
}

// Reads the whole file into `into` (sized to the file).
void rawReadInto(const std::filesystem::path& path, std::vector<std::uint8_t>& into) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    std::size_t done = 0;
    while (fd >= 0 && done < into.size()) {
        const ssize_t n = ::read(fd, into.data() + done, into.size() - done);
        if (n <= 0) {
            break;
        }
        done += std::size_t(n);
    }
    if (fd < 0 || done != into.size()) {
        fail("read");
    }
    ::close(fd);
}

// Reads the file through one small buffer, as `cat FILE > /dev/null` does.
void rawReadThrough(const std::filesystem::path& path) {
    static std::vector<char> buffer(128 * 1024);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        fail("open");
    }
    while (::read(fd, buffer.data(), buffer.size()) > 0) {
    }
    ::close(fd);
}

// What `dd if=IN of=OUT conv=fsync` does: read the bytes, write them to a new file, sync.
void durableCopy(const std::filesystem::path& from, const std::filesystem::path& to,
                 std::vector<std::uint8_t>& buffer) {
    rawReadInto(from, buffer);
    rawWrite(to, buffer);
}

double seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// Runs `base` then `op` once per iteration and keeps the best time of each.
template <typename Base, typename Op>
void compare(benchmark::State& state, const char* baseName, Base base, Op op) {
    double bestBase = std::numeric_limits<double>::infinity();
    double bestOp = bestBase;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        base();
        const auto t1 = Clock::now();
        op();
        const auto t2 = Clock::now();
        bestBase = std::min(bestBase, seconds(t1 - t0));
        bestOp = std::min(bestOp, seconds(t2 - t1));
        state.SetIterationTime(seconds(t2 - t1));
    }
    state.counters[std::string(baseName) + "_ms"] = 1000 * bestBase;
    state.counters["ms"] = 1000 * bestOp;
    state.counters["ratio"] = bestOp / bestBase;
}

int runTool(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int code = qrb::QrbTool::run(args, out, err);
    if (code != qrb::QrbTool::kOk) {
        std::fputs(err.str().c_str(), stderr);
        std::abort();
    }
    return code;
}

void BM_Convert(benchmark::State& state) {
    Library& lib = library(int(state.range(0)));
    std::vector<std::uint8_t> buffer(lib.bytes.size());
    const auto copy = lib.dir / "copy.bin";
    const auto converted = lib.dir / "converted.qrb";
    compare(
        state, "copy", [&] { durableCopy(lib.file, copy, buffer); },
        [&] {
            runTool({"convert", lib.file.string(), converted.string()});
        });
}

void BM_Check(benchmark::State& state) {
    Library& lib = library(int(state.range(0)));
    compare(
        state, "read", [&] { rawReadThrough(lib.file); },
        [&] {
            runTool({"check", lib.file.string()});
        });
}

void BM_Load(benchmark::State& state) {
    Library& lib = library(int(state.range(0)));
    std::vector<std::uint8_t> buffer(lib.bytes.size());
    qrb::TileSet held;
    compare(
        state, "read", [&] { rawReadInto(lib.file, buffer); },
        [&] {
            // Like the editor, the library read replaces the one held before.
            held = qrb::LibraryFile::load(lib.file);
            benchmark::DoNotOptimize(held.count());
        });
}

void BM_Save(benchmark::State& state) {
    Library& lib = library(int(state.range(0)));
    const auto raw = lib.dir / "raw.bin";
    const auto saved = lib.dir / "saved.qrb";
    compare(
        state, "write", [&] { rawWrite(raw, lib.bytes); },
        [&] { qrb::LibraryFile::save(saved, lib.set); });
}

// memcpy of the library's bytes into memory that was just mapped, so every page faults
// in on first touch as it does for the buffers a decode allocates.
void freshCopy(const std::vector<std::uint8_t>& bytes) {
    auto* fresh = static_cast<std::uint8_t*>(std::malloc(bytes.size()));
    if (fresh == nullptr) {
        fail("malloc");
    }
    std::memcpy(fresh, bytes.data(), bytes.size());
    benchmark::DoNotOptimize(fresh);
    benchmark::ClobberMemory();
    std::free(fresh);
}

// Times `op` against memcpy into touched memory and into fresh memory.
template <typename Op> void compareWithCopies(benchmark::State& state, const Library& lib, Op op) {
    std::vector<std::uint8_t> warm(lib.bytes.size(), 1);
    double bestWarm = std::numeric_limits<double>::infinity();
    double bestFresh = bestWarm;
    double bestOp = bestWarm;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        std::memcpy(warm.data(), lib.bytes.data(), lib.bytes.size());
        benchmark::ClobberMemory();
        const auto t1 = Clock::now();
        freshCopy(lib.bytes);
        const auto t2 = Clock::now();
        op();
        const auto t3 = Clock::now();
        bestWarm = std::min(bestWarm, seconds(t1 - t0));
        bestFresh = std::min(bestFresh, seconds(t2 - t1));
        bestOp = std::min(bestOp, seconds(t3 - t2));
        state.SetIterationTime(seconds(t3 - t2));
    }
    state.counters["memcpy_ms"] = 1000 * bestWarm;
    state.counters["memcpy_fresh_ms"] = 1000 * bestFresh;
    state.counters["ms"] = 1000 * bestOp;
    state.counters["ratio"] = bestOp / bestWarm;
    state.counters["fresh_ratio"] = bestOp / bestFresh;
}

void BM_Decode(benchmark::State& state) {
    Library& lib = library(int(state.range(0)));
    compareWithCopies(state, lib, [&] {
        qrb::TileSet set = qrb::QrbReader::read(lib.bytes);
        benchmark::DoNotOptimize(set);
    });
}

void BM_Encode(benchmark::State& state) {
    Library& lib = library(int(state.range(0)));
    compareWithCopies(state, lib, [&] {
        auto bytes = qrb::QrbWriter::toBytes(lib.set);
        benchmark::DoNotOptimize(bytes);
    });
}

#define QRB_BOTH_SIZES(name)                                                                       \
    BENCHMARK(name)                                                                                \
        ->Arg(kLargeTiles)                                                                         \
        ->Arg(kSmallTiles)                                                                         \
        ->UseManualTime()                                                                          \
        ->Iterations(5)                                                                            \
        ->Unit(benchmark::kMillisecond)

QRB_BOTH_SIZES(BM_Convert);
QRB_BOTH_SIZES(BM_Check);
QRB_BOTH_SIZES(BM_Load);
QRB_BOTH_SIZES(BM_Save);
QRB_BOTH_SIZES(BM_Decode);
QRB_BOTH_SIZES(BM_Encode);

// Peak memory is measured in a fresh process started from this program (see the child
// mode below), so the benchmark's own copies of the library do not count.
long peakKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}

double childPeak(const char* mode, const Library& lib) {
    const auto report = lib.dir / (std::string(mode) + ".peak");
    const std::string modeVar = std::string("QRB_BENCH_PEAK_MODE=") + mode;
    const std::string fileVar = "QRB_BENCH_PEAK_FILE=" + lib.file.string();
    const std::string reportVar = "QRB_BENCH_PEAK_REPORT=" + report.string();
    std::vector<char*> env{const_cast<char*>(modeVar.c_str()), const_cast<char*>(fileVar.c_str()),
                           const_cast<char*>(reportVar.c_str()), nullptr};
    char self[] = "/proc/self/exe";
    char* argv[] = {self, nullptr};
    pid_t pid = 0;
    int status = 0;
    if (::posix_spawn(&pid, "/proc/self/exe", nullptr, nullptr, argv, env.data()) != 0 ||
        ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return -1;
    }
    long peak = -1;
    std::ifstream(report) >> peak;
    return double(peak) * 1024.0;
}

void BM_PeakMemory(benchmark::State& state) {
    Library& lib = library(kLargeTiles);
    double idle = 0;
    double load = 0;
    double save = 0;
    double convert = 0;
    for (auto _ : state) {
        idle = childPeak("idle", lib);
        load = childPeak("load", lib);
        save = childPeak("save", lib);
        convert = childPeak("convert", lib);
    }
    const auto pixels = double(pixelBytes(lib.set));
    state.counters["pixel_MB"] = pixels / 1e6;
    state.counters["idle_MB"] = idle / 1e6;
    state.counters["load_peak"] = load / pixels;
    state.counters["save_peak"] = save / pixels;
    state.counters["convert_peak"] = convert / double(lib.bytes.size());
}
BENCHMARK(BM_PeakMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

// Child mode: runs before main when the environment asks for it, does its part, writes
// the peak resident size in kB and exits.
const bool kChildMode = [] {
    const char* mode = std::getenv("QRB_BENCH_PEAK_MODE");
    if (mode == nullptr) {
        return false;
    }
    const std::string what = mode;
    const std::filesystem::path file = std::getenv("QRB_BENCH_PEAK_FILE");
    const auto out = file.parent_path() / "child-saved.qrb";
    if (what == "convert") {
        runTool({"convert", file.string(), out.string()});
    } else if (what != "idle") {
        qrb::TileSet set = qrb::LibraryFile::load(file);
        if (what == "save") {
            qrb::LibraryFile::save(out, set);
        }
    }
    std::ofstream(std::getenv("QRB_BENCH_PEAK_REPORT")) << peakKilobytes();
    std::_Exit(0);
}();

} // namespace
