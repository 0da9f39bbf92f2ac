// Library read and write against raw byte baselines, on a generated library of 2000
// tiles of 128 x 128 (half 64 x 64), about 120 MB of pixels.
//
// Ratios are printed as counters:
//   BM_FileRoundTrip   ratio = (load + save) / (raw read + raw write, both with fsync)
//   BM_DecodeInMemory  ratio = QrbReader from memory / memcpy of the same bytes
//   BM_EncodeInMemory  ratio = QrbWriter to memory / memcpy of the same bytes
//   BM_PeakMemory      load_peak / save_peak = peak resident memory of a fresh process
//                      that loads (then saves) the file, divided by the pixel bytes.
// Targets: round trip ratio <= 2, peak ratios <= 1.3.

#include "tileset/LibraryFile.h"
#include "tileset/QrbReader.h"
#include "tileset/QrbWriter.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kTiles = 2000;
constexpr int kSize = 128;

qrb::TileSet makeLibrary() {
    qrb::TileSet set;
    for (int i = 0; i < kTiles; ++i) {
        qrb::Tile tile;
        tile.full = qrb::DibImage(kSize, kSize);
        tile.half = qrb::DibImage(kSize / 2, kSize / 2);
        for (auto* image : {&tile.full, &tile.half}) {
            auto& bytes = image->bytes();
            for (std::size_t k = 0; k < bytes.size(); ++k) {
                bytes[k] = static_cast<std::uint8_t>(k * 31 + static_cast<std::size_t>(i));
            }
            // Keep the row padding zero, as every DibImage has it (stride == 3 * width here).
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

std::filesystem::path workDir() {
    const char* dir = std::getenv("QRB_BENCH_DIR");
    auto path = std::filesystem::path(dir ? dir : std::filesystem::temp_directory_path().string()) /
                ("qrb-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(path);
    return path;
}

struct Shared {
    qrb::TileSet set = makeLibrary();
    std::vector<std::uint8_t> bytes = qrb::QrbWriter::toBytes(set);
    std::filesystem::path dir = workDir();
    std::filesystem::path file = dir / "library.qrb";

    Shared() { qrb::LibraryFile::save(file, set); }
    ~Shared() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
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

void rawRead(const std::filesystem::path& path, std::vector<std::uint8_t>& into) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    std::size_t done = 0;
    while (fd >= 0 && done < into.size()) {
        const ssize_t n = ::read(fd, into.data() + done, into.size() - done);
        if (n <= 0) {
            break;
        }
        done += std::size_t(n);
    }
    if (fd < 0 || done != into.size()) {
        std::abort();
    }
    ::close(fd);
}

double seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

void BM_FileRoundTrip(benchmark::State& state) {
    Shared& s = shared();
    const auto rawFile = s.dir / "raw.bin";
    const auto savedFile = s.dir / "saved.qrb";
    std::vector<std::uint8_t> buffer(s.bytes.size());
    double raw = 0;
    double lib = 0;
    double loadTime = 0;
    double saveTime = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        rawRead(s.file, buffer);
        rawWrite(rawFile, buffer);
        const auto t1 = Clock::now();
        qrb::TileSet loaded = qrb::LibraryFile::load(s.file);
        const auto t2 = Clock::now();
        qrb::LibraryFile::save(savedFile, loaded);
        const auto t3 = Clock::now();
        benchmark::DoNotOptimize(loaded);
        raw += seconds(t1 - t0);
        lib += seconds(t3 - t1);
        loadTime += seconds(t2 - t1);
        saveTime += seconds(t3 - t2);
        state.SetIterationTime(seconds(t3 - t1));
    }
    const double n = double(state.iterations());
    state.counters["raw_ms"] = 1000 * raw / n;
    state.counters["load_ms"] = 1000 * loadTime / n;
    state.counters["save_ms"] = 1000 * saveTime / n;
    state.counters["ratio"] = lib / raw;
    state.SetBytesProcessed(std::int64_t(2 * s.bytes.size()) * state.iterations());
}
BENCHMARK(BM_FileRoundTrip)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_DecodeInMemory(benchmark::State& state) {
    Shared& s = shared();
    std::vector<std::uint8_t> copy(s.bytes.size());
    double base = 0;
    double decode = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        std::memcpy(copy.data(), s.bytes.data(), s.bytes.size());
        benchmark::ClobberMemory();
        const auto t1 = Clock::now();
        qrb::TileSet set = qrb::QrbReader::read(s.bytes);
        benchmark::DoNotOptimize(set);
        const auto t2 = Clock::now();
        base += seconds(t1 - t0);
        decode += seconds(t2 - t1);
        state.SetIterationTime(seconds(t2 - t1));
    }
    state.counters["memcpy_ms"] = 1000 * base / double(state.iterations());
    state.counters["ratio"] = decode / base;
}
BENCHMARK(BM_DecodeInMemory)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

void BM_EncodeInMemory(benchmark::State& state) {
    Shared& s = shared();
    std::vector<std::uint8_t> copy(s.bytes.size());
    double base = 0;
    double encode = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        std::memcpy(copy.data(), s.bytes.data(), s.bytes.size());
        benchmark::ClobberMemory();
        const auto t1 = Clock::now();
        auto bytes = qrb::QrbWriter::toBytes(s.set);
        benchmark::DoNotOptimize(bytes);
        const auto t2 = Clock::now();
        base += seconds(t1 - t0);
        encode += seconds(t2 - t1);
        state.SetIterationTime(seconds(t2 - t1));
    }
    state.counters["memcpy_ms"] = 1000 * base / double(state.iterations());
    state.counters["ratio"] = encode / base;
}
BENCHMARK(BM_EncodeInMemory)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

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

double childPeakRatio(const char* mode, const Shared& s) {
    const auto report = s.dir / (std::string(mode) + ".peak");
    const std::string modeVar = std::string("QRB_BENCH_PEAK_MODE=") + mode;
    const std::string fileVar = "QRB_BENCH_PEAK_FILE=" + s.file.string();
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
    return double(peak) * 1024.0 / double(pixelBytes(s.set));
}

void BM_PeakMemory(benchmark::State& state) {
    Shared& s = shared();
    double load = 0;
    double save = 0;
    for (auto _ : state) {
        load = childPeakRatio("load", s);
        save = childPeakRatio("save", s);
    }
    state.counters["pixel_MB"] = double(pixelBytes(s.set)) / 1e6;
    state.counters["load_peak"] = load;
    state.counters["save_peak"] = save;
}
BENCHMARK(BM_PeakMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

// Child mode: runs before main when the environment asks for it, loads (and for "save"
// also saves) the library, writes the peak resident size in kB and exits.
const bool kChildMode = [] {
    const char* mode = std::getenv("QRB_BENCH_PEAK_MODE");
    if (mode == nullptr) {
        return false;
    }
    const std::filesystem::path file = std::getenv("QRB_BENCH_PEAK_FILE");
    {
        qrb::TileSet set = qrb::LibraryFile::load(file);
        if (std::string(mode) == "save") {
            qrb::LibraryFile::save(file.parent_path() / "child-saved.qrb", set);
        }
    }
    std::ofstream(std::getenv("QRB_BENCH_PEAK_REPORT")) << peakKilobytes();
    std::_Exit(0);
}();

} // namespace
