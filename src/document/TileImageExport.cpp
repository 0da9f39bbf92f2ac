#include "document/TileImageExport.h"

#include "core/OrderedWork.h"
#include "imaging/render/DibConversion.h"
#include "tileset/BitmapExporter.h"
#include "tileset/BmpWriter.h"

#include <QBuffer>
#include <QImageWriter>

#include <algorithm>
#include <cctype>
#include <stdexcept>
#include <string>

namespace qrb {

namespace {

void writePng(std::ostream& out, const DibImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(toQImage(image)))
        throw std::runtime_error(writer.errorString().toStdString());
    out.write(bytes.constData(), std::streamsize(bytes.size()));
}

} // namespace

std::filesystem::path ImageExport::prefixFor(const std::filesystem::path& chosenName) const {
    std::string name = chosenName.string();
    const std::string extension = format == ImageFormat::Png ? ".png" : ".bmp";
    if (name.size() >= extension.size()) {
        const std::size_t start = name.size() - extension.size();
        bool matches = true;
        for (std::size_t i = 0; i < extension.size(); ++i)
            matches = matches &&
                      std::tolower(static_cast<unsigned char>(name[start + i])) == extension[i];
        if (matches)
            name.erase(start);
    }
    return name;
}

std::vector<std::filesystem::path> ImageExport::fileNamesFor(const std::filesystem::path& prefix,
                                                             int number) const {
    const std::string extension = format == ImageFormat::Png ? ".png" : ".bmp";
    const std::string stem = prefix.string() + std::to_string(number);
    std::vector<std::filesystem::path> names{stem + extension};
    if (halfImages)
        names.emplace_back(stem + "_half" + extension);
    return names;
}

std::optional<std::vector<std::filesystem::path>>
ImageExport::write(const TileSet& set, const std::vector<int>& numbers,
                   const std::filesystem::path& chosenName, const ProgressCallback& progress,
                   std::stop_token stop) const {
    const std::filesystem::path prefix = prefixFor(chosenName);
    std::vector<BitmapExporter::File> files;
    std::vector<std::filesystem::path> names;
    std::uint64_t largest = 0;
    for (const int number : numbers) {
        const Tile& tile = set.tile(number);
        largest =
            std::max(largest, std::uint64_t(tile.full.width()) * std::uint64_t(tile.full.height()));
        const std::vector<std::filesystem::path> pair = fileNamesFor(prefix, number);
        for (std::size_t k = 0; k < pair.size(); ++k) {
            const DibImage* image = k == 0 ? &tile.full : &tile.half;
            auto writer = format == ImageFormat::Png
                              ? std::function<void(std::ostream&)>(
                                    [image](std::ostream& out) { writePng(out, *image); })
                              : std::function<void(std::ostream&)>(
                                    [image](std::ostream& out) { BmpWriter::write(out, *image); });
            files.push_back({pair[k], std::move(writer)});
            names.push_back(pair[k]);
        }
    }
    // A file in hand holds its picture as Qt takes it and its bytes, with the file's buffer.
    const std::uint64_t eachFile = largest * 8 + (std::uint64_t(1) << 20);
    const WriteBatch batch{
        threads, batchWindow(threads, memory, eachFile, BitmapExporter::kGroupFiles), stop};
    if (!BitmapExporter::writeAll(files, format == ImageFormat::Png ? "pictures" : "bitmaps",
                                  progress, batch))
        return std::nullopt;
    return names;
}

} // namespace qrb
