#include "tileset/LibraryFile.h"

#include "core/AtomicFile.h"
#include "core/InputFile.h"
#include "tileset/QrbReader.h"
#include "tileset/QrbWriter.h"

#include <new>
#include <numeric>
#include <optional>

namespace qrb {

namespace {

// Runs `read` on the opened file and turns every failure into a LibraryFileError.
template <typename Read> auto readLibrary(const std::filesystem::path& path, Read read) {
    try {
        InputFile file(path);
        return read(file);
    } catch (const QrbFormatError& e) {
        throw LibraryFileError(path, e.what(), e.tile(), e.offset());
    } catch (const FileError& e) {
        throw LibraryFileError(path, e.reason());
    } catch (const std::bad_alloc&) {
        throw LibraryFileError(path, "not enough memory to read it");
    } catch (const NotEnoughMemory& e) {
        throw LibraryFileError(path, e.what());
    } catch (const LibraryTooLarge& e) {
        throw LibraryFileError(path, e.what());
    } catch (const LibraryChanged& e) {
        throw LibraryFileError(path, e.what());
    } catch (const std::runtime_error& e) {
        throw LibraryFileError(path, std::string("cannot read: ") + e.what());
    }
}

// A failure to write the output of convert(), kept apart from failures to read its input.
struct OutputFailed {
    std::string reason;
};

} // namespace

TileSet LibraryFile::load(const std::filesystem::path& path, const ProgressCallback& progress,
                          std::uint64_t budget) {
    return readLibrary(path,
                       [&](InputFile& file) { return QrbReader::read(file, progress, budget); });
}

LibraryHeaders LibraryFile::inspect(const std::filesystem::path& path) {
    return readLibrary(path,
                       [](InputFile& file) { return QrbReader::scan(file.stream(), file.size()); });
}

int LibraryFile::convert(const std::filesystem::path& from, const std::filesystem::path& to,
                         std::uint64_t budget) {
    std::optional<AtomicFile> out;
    int count = 0;
    auto writing = [&](auto write) {
        try {
            write();
        } catch (const FileError& e) {
            throw OutputFailed{e.reason()};
        } catch (const std::runtime_error& e) {
            throw OutputFailed{std::string("cannot write: ") + e.what()};
        }
    };
    try {
        readLibrary(from, [&](InputFile& file) {
            try {
                out.emplace(to);
            } catch (const FileError& e) {
                throw OutputFailed{e.reason()};
            }
            QrbReader::readEach(
                file,
                [&](int n) {
                    count = n;
                    writing([&] { QrbWriter::writeHeader(out->stream(), n); });
                },
                [&](Tile&& tile) { writing([&] { QrbWriter::writeTile(out->stream(), tile); }); },
                budget);
            writing([&] {
                out->stream().flush();
                out->commit();
            });
            return 0;
        });
    } catch (const OutputFailed& e) {
        throw LibraryFileError(to, e.reason);
    }
    return count;
}

void LibraryFile::save(const std::filesystem::path& path, const TileSet& set,
                       std::optional<std::span<const int>> subset,
                       const ProgressCallback& progress) {
    try {
        AtomicFile file(path);
        std::vector<int> all;
        if (!subset) {
            all.resize(static_cast<std::size_t>(set.count()));
            std::iota(all.begin(), all.end(), 1);
        }
        // The rows go from the images to the file without a copy.
        QrbWriter::write(
            set, subset ? *subset : std::span<const int>(all), progress,
            [&file](std::span<const QrbWriter::Bytes> parts) { file.writeParts(parts); });
        file.commit();
    } catch (const FileError& e) {
        throw LibraryFileError(path, e.reason());
    } catch (const std::invalid_argument& e) {
        throw LibraryFileError(path, std::string("cannot save: ") + e.what());
    } catch (const std::runtime_error& e) {
        throw LibraryFileError(path, std::string("cannot write: ") + e.what());
    }
}

} // namespace qrb
