#include "support/QrbFixture.h"
#include "support/TempDir.h"

#include <algorithm>
#include <stdexcept>

namespace qrb::test {

namespace {

void u16(std::vector<std::uint8_t>& out, std::uint16_t v) {
    out.push_back(std::uint8_t(v));
    out.push_back(std::uint8_t(v >> 8));
}
void u32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(std::uint8_t(v >> shift));
    }
}

std::uint8_t to5(std::uint8_t c) {
    return c >> 3;
}
std::uint8_t from5(unsigned v) {
    return static_cast<std::uint8_t>((v << 3) | (v >> 2));
}

std::size_t rowBytes(std::int32_t width, unsigned bits) {
    return (static_cast<std::size_t>(width) * bits + 31) / 32 * 4;
}

std::vector<Rgb> paletteOf(const DibImage& picture, unsigned bits) {
    std::vector<Rgb> table;
    for (std::int32_t y = 0; y < picture.height(); ++y) {
        for (std::int32_t x = 0; x < picture.width(); ++x) {
            const Rgb c = picture.pixel(x, y);
            if (std::find(table.begin(), table.end(), c) == table.end()) {
                table.push_back(c);
            }
        }
    }
    if (table.size() > (std::size_t(1) << bits)) {
        throw std::invalid_argument("picture has too many colours for its colour table");
    }
    return table;
}

// Pixel rows (bottom row first) of `image` in its stored depth, and its colour table.
void encodeImage(const FixtureImage& image, std::vector<std::uint8_t>& table,
                 std::vector<std::uint8_t>& rows) {
    const DibImage& p = image.picture;
    const unsigned bits = image.bits;
    std::vector<Rgb> palette;
    if (bits <= 8) {
        palette = paletteOf(p, bits);
        const std::size_t entries = std::size_t(1) << bits;
        for (std::size_t i = 0; i < entries; ++i) {
            if (i < palette.size()) {
                table.insert(table.end(), {palette[i].blue, palette[i].green, palette[i].red, 0});
            } else {
                table.insert(table.end(), 4, image.padByte);
            }
        }
    }
    const std::size_t stride = rowBytes(p.width(), bits);
    for (std::int32_t r = 0; r < p.height(); ++r) {
        std::vector<std::uint8_t> row(stride, image.padByte);
        const std::int32_t y = p.height() - 1 - r;
        if (bits <= 8) {
            std::fill(row.begin(),
                      row.begin() +
                          static_cast<std::ptrdiff_t>((std::size_t(p.width()) * bits + 7) / 8),
                      0);
        }
        for (std::int32_t x = 0; x < p.width(); ++x) {
            const Rgb c = p.pixel(x, y);
            if (bits <= 8) {
                const auto index = static_cast<unsigned>(
                    std::find(palette.begin(), palette.end(), c) - palette.begin());
                const std::size_t bit = std::size_t(x) * bits;
                row[bit / 8] |= static_cast<std::uint8_t>(index << (8 - bits - bit % 8));
            } else if (bits == 16) {
                const unsigned v =
                    unsigned(to5(c.red)) << 10 | unsigned(to5(c.green)) << 5 | to5(c.blue);
                row[2 * std::size_t(x)] = std::uint8_t(v);
                row[2 * std::size_t(x) + 1] = std::uint8_t(v >> 8);
            } else {
                const std::size_t at = std::size_t(x) * (bits / 8);
                row[at] = c.blue;
                row[at + 1] = c.green;
                row[at + 2] = c.red;
                if (bits == 32) {
                    row[at + 3] = image.padByte;
                }
            }
        }
        rows.insert(rows.end(), row.begin(), row.end());
    }
}

void appendImage(std::vector<std::uint8_t>& out, const FixtureImage& image, ImageOffsets& at) {
    std::vector<std::uint8_t> table;
    std::vector<std::uint8_t> rows;
    encodeImage(image, table, rows);
    u32(out, static_cast<std::uint32_t>(
                 image.blockLength.value_or(static_cast<std::int32_t>(40 + rows.size()))));
    at.header = out.size();
    u32(out, 40);
    u32(out, static_cast<std::uint32_t>(image.width.value_or(image.picture.width())));
    u32(out, static_cast<std::uint32_t>(image.height.value_or(image.picture.height())));
    u16(out, 1);
    u16(out, image.storedBits.value_or(image.bits));
    u32(out, image.compression);
    u32(out,
        image.sizeImage == 0xFFFFFFFF ? static_cast<std::uint32_t>(rows.size()) : image.sizeImage);
    u32(out, static_cast<std::uint32_t>(image.xPelsPerMeter));
    out.insert(out.end(), 12, 0); // vertical resolution, colours used, colours important
    at.table = out.size();
    out.insert(out.end(), table.begin(), table.end());
    at.pixels = out.size();
    out.insert(out.end(), rows.begin(), rows.end());
    at.end = out.size();
}

std::vector<std::uint8_t> build(const QrbFixture& f, FixtureLayout* layout) {
    std::vector<std::uint8_t> out(f.signature.begin(), f.signature.end());
    u16(out, static_cast<std::uint16_t>(f.version));
    u32(out,
        static_cast<std::uint32_t>(f.count.value_or(static_cast<std::int32_t>(f.tiles.size()))));
    FixtureLayout local;
    for (const auto& tile : f.tiles) {
        TileOffsets at;
        u32(out, tile.smallColour);
        appendImage(out, tile.full, at.full);
        appendImage(out, tile.half, at.half);
        local.tiles.push_back(at);
    }
    local.end = out.size();
    out.insert(out.end(), f.trailing.begin(), f.trailing.end());
    if (layout != nullptr) {
        *layout = std::move(local);
    }
    return out;
}

} // namespace

FixtureImage FixtureImage::of(DibImage picture, std::uint16_t bits) {
    FixtureImage image;
    image.picture = std::move(picture);
    image.bits = bits;
    return image;
}

DibImage FixtureImage::expected() const {
    if (bits != 16) {
        return picture;
    }
    DibImage rounded = picture;
    for (std::int32_t y = 0; y < rounded.height(); ++y) {
        for (std::int32_t x = 0; x < rounded.width(); ++x) {
            const Rgb c = rounded.pixel(x, y);
            rounded.setPixel(x, y, Rgb{from5(to5(c.red)), from5(to5(c.green)), from5(to5(c.blue))});
        }
    }
    return rounded;
}

QrbFixture& QrbFixture::addTile(std::uint32_t smallColour, FixtureImage full, FixtureImage half) {
    tiles.push_back(TileEntry{smallColour, std::move(full), std::move(half)});
    return *this;
}

QrbFixture& QrbFixture::addSolidTile(std::uint32_t smallColour, std::int32_t width,
                                     std::int32_t height, Rgb colour) {
    return addTile(
        smallColour, FixtureImage::of(solid(width, height, colour)),
        FixtureImage::of(solid(std::max(1, width / 2), std::max(1, height / 2), colour)));
}

std::vector<std::uint8_t> QrbFixture::bytes() const {
    return build(*this, nullptr);
}

FixtureLayout QrbFixture::layout() const {
    FixtureLayout layout;
    build(*this, &layout);
    return layout;
}

std::filesystem::path QrbFixture::writeTo(const std::filesystem::path& path) const {
    return writeFile(path, bytes());
}

DibImage solid(std::int32_t width, std::int32_t height, Rgb colour) {
    return DibImage::filled(width, height, colour);
}

DibImage pattern(std::int32_t width, std::int32_t height, int seed) {
    DibImage image(width, height);
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            image.setPixel(x, y,
                           Rgb{std::uint8_t(x * 7 + seed), std::uint8_t(y * 13 + seed * 3),
                               std::uint8_t((x ^ y) * 5 + seed * 11)});
        }
    }
    return image;
}

DibImage fewColours(std::int32_t width, std::int32_t height, int colours, int seed) {
    DibImage image(width, height);
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            const int k = (x + 3 * y + seed) % colours;
            image.setPixel(
                x, y,
                Rgb{std::uint8_t(k * 37 + 1), std::uint8_t(k * 91 + 2), std::uint8_t(255 - k)});
        }
    }
    return image;
}

Tile patternTile(std::int32_t width, std::int32_t height, int seed) {
    Tile tile;
    tile.full = pattern(width, height, seed);
    tile.half = pattern(width / 2, height / 2, seed + 100);
    tile.smallColour = rgbColour(std::uint8_t(seed * 40), 20, 30);
    return tile;
}

} // namespace qrb::test
