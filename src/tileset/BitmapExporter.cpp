#include "tileset/BitmapExporter.h"

#include "core/AtomicFile.h"
#include "tileset/BmpWriter.h"

#include <cctype>
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

void BitmapExporter::writeAll(const std::vector<File>& files, const std::string& kind,
                              const ProgressCallback& progress) {
    const int total = int(files.size());
    if (progress) {
        progress(0, total);
    }
    if (std::size_t(total) <= AtomicFile::openableAtOnce(std::size_t(total))) {
        // All or none: every file complete on disk before any is put in place.
        AtomicFileSet set;
        const std::string nothing =
            " (nothing was exported; " + kind + " already there were left as they were)";
        for (int i = 0; i < total; ++i) {
            const std::filesystem::path& name = files[std::size_t(i)].name;
            try {
                AtomicFile& file = set.add(name);
                files[std::size_t(i)].write(file.stream());
                file.prepare();
            } catch (const FileError& e) {
                throw FileError(e.path(), e.reason() + nothing);
            } catch (const std::exception& e) {
                throw FileError(name, std::string("cannot write: ") + e.what() + nothing);
            }
            if (progress) {
                progress(i + 1, total);
            }
        }
        set.commit(); // says how many were replaced should a rename fail
        return;
    }
    for (int i = 0; i < total; ++i) {
        const std::filesystem::path& name = files[std::size_t(i)].name;
        try {
            AtomicFile file(name, AtomicFile::Options{.removeLeftTemporaries = false});
            files[std::size_t(i)].write(file.stream());
            file.commit();
        } catch (const std::exception& e) {
            const FileError* fileError = dynamic_cast<const FileError*>(&e);
            const int written = i;
            std::string done = " (the export stopped here; " + std::to_string(written) + " of " +
                               std::to_string(total) + " " + kind + " were written";
            if (written > 0) {
                done += ", " + files[0].name.filename().string();
            }
            if (written > 1) {
                done += " to " + files[std::size_t(written - 1)].name.filename().string();
            }
            throw FileError(
                fileError ? fileError->path() : name,
                (fileError ? fileError->reason() : std::string("cannot write: ") + e.what()) +
                    done + ")");
        }
        if (progress) {
            progress(i + 1, total);
        }
    }
}

} // namespace qrb
