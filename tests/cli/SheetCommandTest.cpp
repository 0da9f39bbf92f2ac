// qrbtool sheet and calibration, run as a script runs them; the pages written are read
// back as pictures (PNG directly, PDF through pdftoppm).

#include "cli/ToolRun.h"
#include "support/QrbFixture.h"
#include "support/render/PdfPages.h"

#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sys/resource.h>

namespace qrb {
namespace {

using test::QrbFixture;
using test::Result;
using test::run;
using test::TempDir;

constexpr int kDpi = 50;
const Rgb kRed{220, 0, 0};
const Rgb kGreen{0, 160, 0};
const Rgb kBlue{0, 0, 200};
const Rgb kYellow{240, 220, 0};

// Square tiles of 8 x 8 pixels in the given colours.
std::filesystem::path library(const TempDir& dir, const std::string& name,
                              std::initializer_list<Rgb> colours) {
    QrbFixture lib;
    for (const Rgb& colour : colours) {
        lib.addSolidTile(0, 8, 8, colour);
    }
    return lib.writeTo(dir / name);
}

// The colour at (x, y) mm of a page drawn at `dpi`.
Rgb at(const QImage& page, double xMm, double yMm, int dpi = kDpi) {
    const QColor c =
        page.pixelColor(int(std::floor(xMm / 25.4 * dpi)), int(std::floor(yMm / 25.4 * dpi)));
    return {std::uint8_t(c.red()), std::uint8_t(c.green()), std::uint8_t(c.blue())};
}

bool isWhite(Rgb c) {
    return c.red > 245 && c.green > 245 && c.blue > 245;
}

TEST(SheetCommand, PdfHasTheTilesWhereTheOptionsPutThem) {
    TempDir dir;
    library(dir, "lib.qrb", {kRed, kGreen, kBlue});
    const Result r =
        run(dir, {"sheet", "--page", "letter", "--landscape", "--margin", "0.5in", "--tile-size",
                  "30mm", "--gap", "2", "--tiles", "3,1", "--copies", "2", "lib.qrb", "out.pdf"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "wrote 1 page to out.pdf\n");
    EXPECT_EQ(r.err, ""); // nothing from Qt on the error output
    const QImage page = test::pdfPage(dir / "out.pdf", 1, kDpi);
    EXPECT_NEAR(page.width(), 279.4 / 25.4 * kDpi, 1);
    EXPECT_NEAR(page.height(), 215.9 / 25.4 * kDpi, 1);
    // From the top-left margin, 32 mm apart: 3, 3, 1, 1.
    const Rgb expected[] = {kBlue, kBlue, kRed, kRed};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(at(page, 12.7 + 15 + 32 * i, 12.7 + 15), expected[i]) << i;
    }
    EXPECT_TRUE(isWhite(at(page, 12.7 + 15 + 32 * 4, 12.7 + 15)));
    EXPECT_TRUE(isWhite(at(page, 12.7 + 31, 12.7 + 15))); // the gap
}

TEST(SheetCommand, PngWritesOnePicturePerPageAtTheResolutionAsked) {
    TempDir dir;
    library(dir, "lib.qrb", {kRed, kGreen});
    // Six 90 mm tiles to an A4 page: the seventh starts page 2.
    const Result r = run(dir, {"sheet", "--tile-size", "90", "--tiles", "1,1,1,1,1,1,2", "--dpi",
                               "40", "lib.qrb", "pages.PNG"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "wrote 2 pages: pages-1.PNG ... pages-2.PNG\n");
    const QImage second(QFile::decodeName((dir / "pages-2.PNG").c_str()));
    ASSERT_FALSE(second.isNull());
    EXPECT_EQ(second.size(), QSize(331, 468));
    EXPECT_EQ(at(second, 55, 55, 40), kGreen);
    EXPECT_TRUE(isWhite(at(second, 145, 55, 40)));
}

TEST(SheetCommand, SheetsThatCannotBeMadeWriteNothing) {
    TempDir dir;
    library(dir, "lib.qrb", {kRed, kGreen});
    const std::vector<std::vector<std::string>> failures = {
        {"--tile-size", "300"}, // no tile fits: an error, not a usage error
        {"--tiles", "2,3"},
        {"--backs", "missing.qrb"},
    };
    for (const auto& options : failures) {
        for (const char* out : {"out.pdf", "out.png"}) {
            std::vector<std::string> args{"sheet"};
            args.insert(args.end(), options.begin(), options.end());
            args.insert(args.end(), {"lib.qrb", out});
            const Result r = run(dir, args);
            EXPECT_EQ(r.code, 1) << ::testing::PrintToString(args);
            EXPECT_EQ(r.err.rfind("error: ", 0), 0u) << r.err;
            EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
        }
    }
    EXPECT_EQ(run(dir, {"sheet", "--tile-size", "300", "lib.qrb", "out.pdf"}).err,
              "error: no tile fits: a 300 x 300 mm tile, but the page leaves 190 x 277 mm inside "
              "its margins\n");
    EXPECT_EQ(dir.entries(), 1u);
    // A length no page has is shown short, not as 309 digits.
    EXPECT_EQ(run(dir, {"sheet", "--tile-size", "1e308", "lib.qrb", "out.pdf"}).err,
              "error: no tile fits: a 1e+308 x inf mm tile, but the page leaves 190 x 277 mm "
              "inside its margins\n");
}

// Pages of an earlier, longer run stay and are named; file names show control characters
// escaped, never raw to the terminal.
TEST(SheetCommand, PngPagesOnAnyNumberOfJobsAreThePagesOfOne) {
    TempDir dir;
    library(dir, "lib.qrb", {kRed, kGreen, kBlue});
    std::vector<std::string> args{"sheet", "--jobs", "1",  "--tile-size", "60",     "--copies",
                                  "12",    "--dpi",  "30", "lib.qrb",     "one.png"};
    const Result one = run(dir, args);
    ASSERT_EQ(one.code, 0) << one.err;
    args[2] = "3";
    args.back() = "three.png";
    const Result three = run(dir, args);
    ASSERT_EQ(three.code, 0) << three.err;
    for (int page = 1; std::filesystem::exists(dir / ("one-" + std::to_string(page) + ".png"));
         ++page) {
        const std::string n = std::to_string(page);
        EXPECT_EQ(test::readFile(dir / ("three-" + n + ".png")),
                  test::readFile(dir / ("one-" + n + ".png")))
            << "page " << n;
    }
    EXPECT_TRUE(std::filesystem::exists(dir / "one-3.png"));
    args[2] = "0";
    EXPECT_EQ(run(dir, args).code, 2);
}

TEST(SheetCommand, PngPagesSayWhichOlderPagesWereLeft) {
    TempDir dir;
    library(dir, "lib.qrb", {kRed, kGreen});
    for (const char* page : {"p\x1b-1.png", "p\x1b-2.png", "p\x1b-3.png", "p\x1b-4.png"}) {
        test::writeFile(dir / page, {'o', 'l', 'd'});
    }
    const Result r = run(dir, {"sheet", "--dpi", "10", "lib.qrb", "p\x1b.png"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "wrote 1 page: p\\x1B-1.png\nnote: older pages of an earlier, longer run "
                     "were left as they were: p\\x1B-2.png ... p\\x1B-4.png\n");
    EXPECT_EQ(test::readFile(dir / "p\x1b-2.png"), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
}

// A library of 24-bit tiles written straight to disk, so that this test's own memory
// stays small: its children's peak (measured below) includes it.
std::uint64_t writeLargeLibrary(const std::filesystem::path& path, int count, int side) {
    std::ofstream out(path, std::ios::binary);
    auto put = [&](std::uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i)
            out.put(char(v >> (8 * i)));
    };
    out << "QRBB";
    put(256, 2);
    put(std::uint32_t(count), 4);
    std::uint64_t decoded = 0;
    for (int i = 0; i < count; ++i) {
        put(0, 4);
        for (const int size : {side, side / 2}) {
            const std::uint32_t stride = (std::uint32_t(size) * 3 + 3) & ~3u;
            put(40 + stride * std::uint32_t(size), 4);
            for (const std::uint32_t field : {40u, std::uint32_t(size), std::uint32_t(size)})
                put(field, 4);
            put(1, 2);
            put(24, 2);
            for (int k = 0; k < 6; ++k)
                put(0, 4);
            std::string row(stride, '\0');
            for (std::uint32_t x = 0; x < stride; ++x)
                row[x] = char((x * 7 + std::uint32_t(i)) & 0xFF);
            for (int y = 0; y < size; ++y)
                out.write(row.data(), std::streamsize(row.size()));
            decoded += std::uint64_t(stride) * std::uint64_t(size);
        }
    }
    return decoded;
}

// A sheet holds the library's pixels once: each tile is drawn from its own rows, not from
// a 32-bit copy of every tile. Measured as the largest resident size of this test's child
// processes, nothing timed.
TEST(SheetCommand, PeakMemoryStaysCloseToTheDecodedLibrary) {
#ifdef __SANITIZE_ADDRESS__
    // The sanitizer's shadow memory and quarantine make a program's memory another size.
    GTEST_SKIP() << "memory sizes are not measured under the address sanitizer";
#endif
    TempDir dir;
    const std::uint64_t decoded = writeLargeLibrary(dir / "large.qrb", 20, 1600); // 192 MB
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"sheet", "--tile-size", "60", "large.qrb", "out.pdf"},
          {"sheet", "--tile-size", "60", "--dpi", "20", "large.qrb", "out.png"}}) {
        const Result r = run(dir, args);
        ASSERT_EQ(r.code, 0) << r.err;
    }
    struct rusage usage {};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    EXPECT_LT(std::uint64_t(usage.ru_maxrss) * 1024, decoded * 13 / 10 + (std::uint64_t(50) << 20));
}

TEST(SheetCommand, BadOptionsAreUsageErrors) {
    TempDir dir;
    library(dir, "lib.qrb", {kRed});
    const std::vector<std::vector<std::string>> cases = {
        {"--gap", "3furlongs", "lib.qrb", "out.pdf"},
        {"--margin", "-1", "lib.qrb", "out.pdf"},
        {"--tile-size", "0.5", "lib.qrb", "out.pdf"},
        {"--page", "b5", "lib.qrb", "out.pdf"},
        {"--page", "5x5", "lib.qrb", "out.pdf"},
        {"--marks", "dotted", "lib.qrb", "out.pdf"},
        {"--copies", "0", "lib.qrb", "out.pdf"},
        {"--copies", "two", "lib.qrb", "out.pdf"},
        {"--tiles", "2-1", "lib.qrb", "out.pdf"},
        {"--tiles", "1-4000000000", "lib.qrb", "out.pdf"},
        {"--dpi", "300", "lib.qrb", "out.pdf"}, // a PDF has no resolution
        {"--dpi", "5", "lib.qrb", "out.png"},
        {"--back-offset", "1,2", "lib.qrb", "out.pdf"}, // no backs to move
        {"--back-offset", "1", "--backs", "lib.qrb", "lib.qrb", "out.pdf"},
        {"lib.qrb"},
    };
    for (auto args : cases) {
        args.insert(args.begin(), "sheet");
        const Result r = run(dir, args);
        EXPECT_EQ(r.code, 2) << ::testing::PrintToString(args);
        EXPECT_EQ(r.err.rfind("error: ", 0), 0u) << r.err;
    }
    EXPECT_EQ(run(dir, {"calibration", "--margin", "200", "cal.pdf"}).code, 2);
    EXPECT_EQ(dir.entries(), 1u);
}

TEST(SheetCommand, BacksFollowTheirFrontsMirroredAndMoved) {
    TempDir dir;
    library(dir, "fronts.qrb", {kRed, kGreen});
    library(dir, "backs.qrb", {kBlue, kYellow});
    const Result r = run(
        dir, {"sheet", "--backs", "backs.qrb", "--back-offset", "1,2", "fronts.qrb", "out.pdf"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "wrote 2 pages to out.pdf\n");
    // Front: 1 at 10..35 mm, 2 at 35..60 mm. Behind them, counted from the right edge and
    // moved 1 mm right and 2 mm down: 1 at 175..200, 2 at 150..175.
    const QImage back = test::pdfPage(dir / "out.pdf", 2, kDpi);
    EXPECT_EQ(at(back, 176 + 12, 12 + 12), kBlue);
    EXPECT_EQ(at(back, 151 + 12, 12 + 12), kYellow);
    EXPECT_TRUE(isWhite(at(back, 10 + 12, 12 + 12)));

    // A picture backs every tile.
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(QColor(0, 0, 200));
    ASSERT_TRUE(picture.save(QFile::decodeName((dir / "back.png").c_str())));
    ASSERT_EQ(run(dir, {"sheet", "--backs", "back.png", "fronts.qrb", "pic.pdf"}).code, 0);
    const QImage pictureBack = test::pdfPage(dir / "pic.pdf", 2, kDpi);
    EXPECT_EQ(at(pictureBack, 175 + 12, 22), kBlue);
    EXPECT_EQ(at(pictureBack, 150 + 12, 22), kBlue);
}

TEST(SheetCommand, RunsWithoutADisplayAsTheOtherCommandsDo) {
    TempDir dir;
    library(dir, "lib.qrb", {kRed});
    const std::string noDisplay = "env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb";
    const Result sheet = run(dir, {"sheet", "lib.qrb", "out.pdf"}, ".out", noDisplay);
    EXPECT_EQ(sheet.code, 0) << sheet.err;
    EXPECT_EQ(sheet.err, "");
    const Result calibration =
        run(dir, {"calibration", "cal.png", "--dpi", "20"}, ".out", noDisplay);
    EXPECT_EQ(calibration.code, 0) << calibration.err;
    EXPECT_EQ(calibration.out, "wrote 2 pages: cal-1.png ... cal-2.png\n");
    EXPECT_EQ(run(dir, {"check", "lib.qrb"}, ".out", noDisplay).out, "ok: 1 tiles\n");
}

} // namespace
} // namespace qrb
