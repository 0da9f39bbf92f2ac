#include "document/LetteringArt.h"

#include "core/InputText.h"
#include "document/ArtPicture.h"
#include "imaging/render/DibConversion.h"
#include "lettering/IconMarkup.h"

#include <tuple>

namespace qrb {

namespace {

std::string pictureColumn(std::size_t n) {
    return "image" + std::to_string(n + 1);
}

} // namespace

bool LetteringArt::Key::operator<(const Key& other) const {
    const auto parts = [](const Key& k) {
        return std::tuple(k.source, k.tile, k.size.has_value(), k.size ? k.size->width : 0,
                          k.size ? k.size->height : 0);
    };
    return parts(*this) < parts(other);
}

LetteringArt::Key LetteringArt::keyOf(const RowPicture& picture) {
    return Key{picture.tile > 0 ? std::string() : picture.source, picture.tile, picture.size};
}

LetteringArt::LetteringArt(std::string tableName, std::filesystem::path tableFolder,
                           std::optional<std::filesystem::path> iconFolder)
    : tableName_(std::move(tableName)), tableFolder_(std::move(tableFolder)),
      iconFolder_(std::move(iconFolder)) {}

LetteringArt LetteringArt::forTable(const LetteringTable& table, const TileSet& tiles,
                                    std::optional<std::filesystem::path> iconFolder,
                                    std::uint64_t memory) {
    LetteringArt art(table.name(), std::filesystem::path(table.name()).parent_path(),
                     std::move(iconFolder));
    for (const LetteringRow& row : table.rows())
        art.note(row);
    art.prepare(tiles, memory);
    return art;
}

void LetteringArt::note(const LetteringRow& row) {
    if (row.copies == 0)
        return;
    bases_.insert(int(row.base));
    for (std::size_t k = 0; k < row.texts.size(); ++k) {
        if (!row.texts[k] || !hasMarkup(*row.texts[k]))
            continue;
        for (const TextPiece& piece : splitIcons(*row.texts[k])) {
            if (piece.icon)
                iconUses_.try_emplace(piece.text, Use{row.line, "slot" + std::to_string(k + 1)});
        }
    }
    for (std::size_t n = 0; n < row.pictures.size(); ++n) {
        if (row.pictures[n])
            pictureUses_.try_emplace(keyOf(*row.pictures[n]), Use{row.line, pictureColumn(n)});
    }
}

void LetteringArt::fail(const Use& use, const std::string& reason) const {
    throw TableError(tableName_, use.line, use.column, use.column + ": " + reason);
}

void LetteringArt::add(const QImage& image) {
    bytes_ += std::uint64_t(image.sizeInBytes());
}

void LetteringArt::prepare(const TileSet& tiles, std::uint64_t memory) {
    memory_ = memory;
    const auto room = [&] { return memory_ > bytes_ ? memory_ - bytes_ : 0; };
    const auto tooMuch = [&](const Use& use) {
        fail(use, "the pictures and icons of the table take more memory than the limit");
    };

    for (const auto& [name, use] : iconUses_) {
        if (!iconFolder_)
            fail(use, "the icon {" + name + "} needs a folder of icons, and none was chosen");
        std::filesystem::path file;
        for (const char* extension : {".png", ".svg", ".jpg"}) {
            const std::filesystem::path tried = *iconFolder_ / (name + extension);
            std::error_code error;
            if (std::filesystem::exists(tried, error)) {
                file = tried;
                break;
            }
        }
        if (file.empty())
            fail(use, "no icon " + quotedInput(name) + ": " +
                          escapedControls((*iconFolder_ / (name + ".png")).string()) +
                          " (or .svg, .jpg) does not exist");
        QImage icon;
        try {
            icon = readArtPicture(file, room(), kIconHeight);
        } catch (const PictureError& e) {
            fail(use,
                 "the icon " + escapedControls(file.string()) + " cannot be used: " + e.what());
        }
        ++decoded_;
        icon = std::move(icon).convertToFormat(QImage::Format_ARGB32_Premultiplied);
        add(icon);
        if (bytes_ > memory_)
            tooMuch(use);
        icons_.emplace(name, std::move(icon));
    }

    // Each source decoded once, then scaled once into each box it is drawn into.
    for (auto it = pictureUses_.begin(); it != pictureUses_.end();) {
        const Key& first = it->first;
        const Use& use = it->second;
        QImage original;
        if (first.tile > 0) {
            if (first.tile > tiles.count())
                fail(use, "#" + std::to_string(first.tile) + " is beyond the " +
                              std::to_string(tiles.count()) +
                              (tiles.count() == 1 ? " tile" : " tiles") + " of the library");
            original = toQImage(tiles.tile(first.tile).full);
        } else {
            std::filesystem::path file(first.source);
            if (file.is_relative())
                file = tableFolder_ / file;
            try {
                original = readArtPicture(file, room());
            } catch (const PictureError& e) {
                fail(use,
                     escapedControls(file.string()) + " cannot be used as a picture: " + e.what());
            }
            ++decoded_;
        }
        original = std::move(original).convertToFormat(QImage::Format_ARGB32_Premultiplied);
        for (; it != pictureUses_.end() && it->first.source == first.source &&
               it->first.tile == first.tile;
             ++it) {
            const std::optional<PixelSize>& size = it->first.size;
            if (size && std::uint64_t(size->width) * std::uint64_t(size->height) * 4 > room())
                tooMuch(it->second);
            QImage scaled = size ? original.scaled(size->width, size->height, Qt::KeepAspectRatio,
                                                   Qt::SmoothTransformation)
                                 : original;
            add(scaled);
            if (bytes_ > memory_)
                tooMuch(it->second);
            pictures_.emplace(it->first, std::move(scaled));
        }
    }

    // The bases last: they only save time, so they take what memory is left.
    for (const int tile : bases_) {
        if (tile < 1 || tile > tiles.count())
            continue;
        const DibImage& full = tiles.tile(tile).full;
        if (std::uint64_t(full.width()) * std::uint64_t(full.height()) * 4 > room())
            break;
        QImage image = toQImage(full);
        add(image);
        baseImages_.emplace(tile, std::move(image));
    }
}

const QImage* LetteringArt::icon(const std::string& name) const {
    const auto it = icons_.find(name);
    return it == icons_.end() ? nullptr : &it->second;
}

const QImage* LetteringArt::picture(const RowPicture& picture) const {
    const auto it = pictures_.find(keyOf(picture));
    return it == pictures_.end() ? nullptr : &it->second;
}

const QImage* LetteringArt::base(int tile) const {
    const auto it = baseImages_.find(tile);
    return it == baseImages_.end() ? nullptr : &it->second;
}

} // namespace qrb
