#include "support/SampleLibraries.h"

#include "core/Colour.h"

#include <cstdlib>
#include <functional>

namespace qrb::test {

namespace {

// A motif is a shape in a unit square: true where the foreground colour goes.
using Motif = std::function<bool(double x, double y)>;

DibImage drawn(std::int32_t width, std::int32_t height, Rgb background, Rgb foreground,
               const Motif& motif) {
    DibImage image = DibImage::filled(width, height, background);
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            if (motif((x + 0.5) / width, (y + 0.5) / height)) {
                image.setPixel(x, y, foreground);
            }
        }
    }
    return image;
}

void addDrawnTile(QrbFixture& lib, std::int32_t width, std::int32_t height, Rgb background,
                  Rgb foreground, const Motif& motif) {
    lib.addTile(rgbColour(background.red, background.green, background.blue),
                FixtureImage::of(drawn(width, height, background, foreground, motif)),
                FixtureImage::of(drawn(width / 2, height / 2, background, foreground, motif)));
}

} // namespace

QrbFixture sampleLibrary() {
    const Rgb white{255, 255, 255};
    QrbFixture lib;
    addDrawnTile(lib, 40, 40, {200, 30, 30}, white, [](double x, double y) {
        return std::abs(x - 0.5) < 0.1 || std::abs(y - 0.5) < 0.1; // cross
    });
    addDrawnTile(lib, 40, 40, {30, 60, 190}, {250, 220, 40}, [](double x, double y) {
        const double d = (x - 0.5) * (x - 0.5) + (y - 0.5) * (y - 0.5);
        return d < 0.09 && d > 0.04; // ring
    });
    addDrawnTile(lib, 40, 40, {40, 150, 60}, white, [](double x, double y) {
        return std::abs(x - y) < 0.12; // diagonal from top-left
    });
    addDrawnTile(lib, 40, 40, {240, 140, 20}, {60, 30, 10}, [](double x, double y) {
        const bool inner = x > 0.15 && x < 0.85 && y > 0.15 && y < 0.85;
        const bool hole = x > 0.3 && x < 0.7 && y > 0.3 && y < 0.7;
        return inner && !hole; // square frame
    });
    addDrawnTile(lib, 40, 40, {235, 235, 225}, {20, 20, 20}, [](double x, double y) {
        return y < 0.8 && std::abs(x - 0.5) < (y - 0.2) * 0.6; // triangle pointing up
    });
    addDrawnTile(lib, 48, 32, {130, 40, 160}, {255, 200, 230}, [](double x, double y) {
        return std::abs(y - 0.5) < 0.15 && x > 0.1 && x < 0.9; // band across a wide tile
    });
    return lib;
}

std::vector<std::pair<std::string, std::vector<std::uint8_t>>> readerFuzzSeeds() {
    std::vector<std::pair<std::string, std::vector<std::uint8_t>>> seeds;
    auto add = [&seeds](const std::string& name, const QrbFixture& lib) {
        seeds.emplace_back(name, lib.bytes());
    };

    add("empty.qrb", QrbFixture{});
    for (std::uint16_t bits : {1, 4, 8, 16, 24, 32}) {
        QrbFixture lib;
        const int colours = bits == 1 ? 2 : 16;
        lib.addTile(0x00102030 + bits, FixtureImage::of(fewColours(5, 3, colours, bits), bits),
                    FixtureImage::of(fewColours(2, 1, colours, bits + 1), bits));
        add("depth" + std::to_string(bits) + ".qrb", lib);
    }
    {
        QrbFixture lib;
        lib.addTile(systemcolour::MenuBar, FixtureImage::of(pattern(3, 2, 1)),
                    FixtureImage::of(pattern(1, 1, 2)));
        lib.addTile(0x00FFFFFF, FixtureImage::of(pattern(6, 4, 3)),
                    FixtureImage::of(fewColours(3, 2, 4), 4));
        lib.trailing = {0x51, 0x52, 0x42, 0x42};
        add("two-tiles-trailing.qrb", lib);
    }
    {
        QrbFixture lib;
        lib.signature = {'A', 'B', 'C', 'D'};
        lib.version = 1;
        lib.addSolidTile(7, 2, 2, Rgb{1, 2, 3});
        add("odd-signature.qrb", lib);
    }
    {
        QrbFixture lib;
        lib.count = 2; // one tile short
        lib.addSolidTile(7, 4, 4, Rgb{9, 8, 7});
        add("short.qrb", lib);
    }
    return seeds;
}

} // namespace qrb::test
