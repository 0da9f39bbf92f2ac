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
    const int total = set.count();
    if (progress) {
        progress(0, total);
    }
    if (std::size_t(total) <= AtomicFile::openableAtOnce(std::size_t(total))) {
        // All or none: every bitmap complete on disk before any is put in place.
        AtomicFileSet files;
        const std::string nothing = " (nothing was exported; bitmaps already there were left "
                                    "as they were)";
        for (int i = 1; i <= total; ++i) {
            const std::filesystem::path name = fileNameFor(prefix, i);
            try {
                AtomicFile& file = files.add(name);
                BmpWriter::write(file.stream(), set.tile(i).full);
                file.prepare();
            } catch (const FileError& e) {
                throw FileError(e.path(), e.reason() + nothing);
            } catch (const std::exception& e) {
                throw FileError(name, std::string("cannot write: ") + e.what() + nothing);
            }
            if (progress) {
                progress(i, total);
            }
        }
        files.commit(); // says how many were replaced should a rename fail
        return;
    }
    for (int i = 1; i <= total; ++i) {
        try {
            BmpWriter::writeFile(fileNameFor(prefix, i), set.tile(i).full);
        } catch (const FileError& e) {
            const int written = i - 1;
            std::string done = " (the export stopped here; " + std::to_string(written) + " of " +
                               std::to_string(total) + " bitmaps were written";
            if (written > 0) {
                done += ", " + fileNameFor(prefix, 1).filename().string();
            }
            if (written > 1) {
                done += " to " + fileNameFor(prefix, written).filename().string();
            }
            throw FileError(e.path(), e.reason() + done + ")");
        }
        if (progress) {
            progress(i, total);
        }
    }
}

} // namespace qrb
