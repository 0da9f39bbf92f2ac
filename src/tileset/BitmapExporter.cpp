#include "tileset/BitmapExporter.h"

#include "core/AtomicFile.h"
#include "core/OrderedWork.h"
#include "tileset/BmpWriter.h"

#include <cctype>
#include <sstream>
#include <string>

namespace qrb {

std::filesystem::path BitmapExporter::prefixFor(const std::filesystem::path& chosenName) {
    std::string name = chosenName.string();
    static const std::string extension = ".bmp";
    if (name.size() >= extension.size()) {
        bool matches = true;
        const std::size_t start = name.size() - extension.size();
        for (std::size_t i = 0; i < extension.size(); ++i) {
            const auto c = static_cast<unsigned char>(name[start + i]);
            matches = matches && std::tolower(c) == extension[i];
        }
        if (matches) {
            name.erase(start);
        }
    }
    return name;
}

std::filesystem::path BitmapExporter::fileNameFor(const std::filesystem::path& prefix,
                                                  int tileNumber) {
    return prefix.string() + std::to_string(tileNumber) + ".bmp";
}

void BitmapExporter::exportAll(const TileSet& set, const std::filesystem::path& chosenName,
                               const ProgressCallback& progress) {
    const std::filesystem::path prefix = prefixFor(chosenName);
    std::vector<File> files;
    files.reserve(std::size_t(set.count()));
    for (int i = 1; i <= set.count(); ++i) {
        files.push_back({fileNameFor(prefix, i), [&set, i](std::ostream& out) {
                             BmpWriter::write(out, set.tile(i).full);
                         }});
    }
    writeAll(files, "bitmaps", progress);
}

namespace {

// "(the export stopped here; 3 of 6 bitmaps were written, set1.bmp to set3.bmp)".
std::string stoppedAfter(const std::vector<BitmapExporter::File>& files, std::size_t written,
                         const std::string& kind) {
    std::string done = " (the export stopped here; " + std::to_string(written) + " of " +
                       std::to_string(files.size()) + " " + kind + " were written";
    if (written > 0)
        done += ", " + files[0].name.filename().string();
    if (written > 1)
        done += " to " + files[written - 1].name.filename().string();
    return done + ")";
}

} // namespace

bool BitmapExporter::writeAll(const std::vector<File>& files, const std::string& kind,
                              const ProgressCallback& progress, const WriteBatch& batch) {
    const int total = int(files.size());
    if (progress) {
        progress(0, total);
    }
    const auto done = [&](int i) {
        if (progress) {
            progress(i + 1, total);
        }
    };
    if (std::size_t(total) <= AtomicFile::openableAtOnce(std::size_t(total))) {
        // All or none: every file complete on disk before any is put in place. Each is
        // written and made durable by the thread that makes it.
        AtomicFileSet set;
        const std::string nothing =
            " (nothing was exported; " + kind + " already there were left as they were)";
        // Ended (its jobs waited for) before `set` removes the files it writes to.
        OrderedWork<int> work(batch.threads, batch.window, batch.stop, kGroupFiles);
        work.run(
            [&] {
                for (int i = 0; i < total && !batch.stop.stop_requested(); ++i) {
                    AtomicFile* file = nullptr;
                    try {
                        file = &set.add(files[std::size_t(i)].name);
                    } catch (const FileError& e) {
                        throw FileError(e.path(), e.reason() + nothing);
                    }
                    work.add(
                        [&files, &nothing, file, i](std::stop_token) {
                            try {
                                files[std::size_t(i)].write(file->stream());
                                file->prepare();
                            } catch (const FileError& e) {
                                throw FileError(e.path(), e.reason() + nothing);
                            } catch (const std::exception& e) {
                                throw FileError(files[std::size_t(i)].name,
                                                std::string("cannot write: ") + e.what() + nothing);
                            }
                            return i;
                        },
                        done);
                }
            },
            done);
        if (batch.stop.stop_requested()) {
            return false;
        }
        set.commit(); // says how many were replaced should a rename fail
        return true;
    }
    // One after another, each put in place as soon as it is complete: the files are made
    // ahead on the threads and written here in order, so that a failure stops the export
    // at the first file in order that fails, the files before it written.
    struct Made {
        std::string bytes;
        std::exception_ptr error;
    };
    std::size_t written = 0;
    const auto put = [&](Made&& made) {
        const std::filesystem::path& name = files[written].name;
        try {
            if (made.error) {
                std::rethrow_exception(made.error);
            }
            AtomicFile file(name, AtomicFile::Options{.removeLeftTemporaries = false});
            file.stream().write(made.bytes.data(), std::streamsize(made.bytes.size()));
            file.commit();
        } catch (const FileError& e) {
            throw FileError(e.path(), e.reason() + stoppedAfter(files, written, kind));
        } catch (const std::exception& e) {
            throw FileError(name, std::string("cannot write: ") + e.what() +
                                      stoppedAfter(files, written, kind));
        }
        ++written;
        done(int(written) - 1);
    };
    OrderedWork<Made> work(batch.threads, batch.window, batch.stop, kGroupFiles);
    work.run(
        [&] {
            for (std::size_t i = 0; i < files.size() && !batch.stop.stop_requested(); ++i) {
                work.add(
                    [&files, i](std::stop_token) {
                        Made made;
                        try {
                            std::ostringstream out;
                            files[i].write(out);
                            made.bytes = std::move(out).str();
                        } catch (...) {
                            made.error = std::current_exception();
                        }
                        return made;
                    },
                    put);
            }
        },
        put);
    if (written < files.size()) {
        throw FileError(files[written].name,
                        "the export was cancelled" + stoppedAfter(files, written, kind));
    }
    return true;
}

} // namespace qrb
