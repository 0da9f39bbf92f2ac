#include "cli/ToolRun.h"
#include "support/QrbFixture.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace qrb {
namespace {

using test::FixtureImage;
using test::QrbFixture;
using test::readFile;
using test::Result;
using test::run;
using test::TempDir;

QrbFixture sixTiles() {
    QrbFixture lib;
    for (int i = 1; i <= 6; ++i) {
        lib.addTile(std::uint32_t(i), FixtureImage::of(test::pattern(4 + i, 4, i)),
                    FixtureImage::of(test::pattern(2, 2, i)));
    }
    return lib;
}

TEST(QrbTool, VersionHelpAndUsageErrors) {
    TempDir dir;
    const Result version = run(dir, {"--version"});
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out, "qrbtool 2.1\n");
    const Result help = run(dir, {"--help"});
    EXPECT_EQ(help.code, 0);
    for (const char* command : {"info", "check", "convert", "export", "extract"}) {
        EXPECT_NE(help.out.find(command), std::string::npos) << command;
    }

    // Usage errors exit with 2.
    sixTiles().writeTo(dir / "lib.qrb");
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"frobnicate", "lib.qrb"},
        {"check"},
        {"check", "lib.qrb", "extra"},
        {"info", "--json"},
        {"convert", "lib.qrb"},
        {"extract", "lib.qrb", "out.qrb", "2-x"},
        {"extract", "lib.qrb", "out.qrb", "5-3"},
        {"extract", "lib.qrb", "out.qrb", "0"},
        {"extract", "lib.qrb", "out.qrb", "1,,2"},
        {"extract", "lib.qrb", "out.qrb", "99999999999999999999"},
        {"--version", "lib.qrb"},
        {"check", "-x.qrb"},                        // looks like an option
        {"check", "--json", "lib.qrb"},             // an option of another command
        {"check", "--max-memory", "1G", "lib.qrb"}, // check decodes nothing
        {"convert", "--max-memory=lots", "lib.qrb", "out.qrb"},
        {"convert", "lib.qrb", "out.qrb", "--max-memory"},
        {"info", "--json=yes", "lib.qrb"},
    };
    for (const auto& args : cases) {
        const Result r = run(dir, args);
        EXPECT_EQ(r.code, 2) << ::testing::PrintToString(args);
        EXPECT_EQ(r.err.rfind("error: ", 0), 0u) << r.err;
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "out.qrb"));
}

TEST(QrbTool, InfoAsTextAndJson) {
    TempDir dir;
    QrbFixture lib;
    lib.addTile(0x80000004, FixtureImage::of(test::fewColours(5, 3, 9), 8),
                FixtureImage::of(test::pattern(2, 1, 0)));
    lib.addTile(0x00A1B2C3, FixtureImage::of(test::pattern(48, 32, 1)),
                FixtureImage::of(test::pattern(24, 16, 2)));
    lib.writeTo(dir / "lib.qrb");

    const Result json = run(dir, {"info", "--json", "lib.qrb"});
    EXPECT_EQ(json.code, 0);
    EXPECT_EQ(json.out,
              "{\"file\": \"lib.qrb\", \"signature\": \"QRBB\", \"version\": 256, \"count\": 2, "
              "\"tiles\": [{\"index\": 1, \"small_colour\": \"0x80000004\", \"full\": {\"width\": "
              "5, \"height\": 3, \"bits\": 8}, \"half\": {\"width\": 2, \"height\": 1, \"bits\": "
              "24}}, {\"index\": 2, \"small_colour\": \"0x00A1B2C3\", \"full\": {\"width\": 48, "
              "\"height\": 32, \"bits\": 24}, \"half\": {\"width\": 24, \"height\": 16, \"bits\": "
              "24}}]}\n");

    const Result text = run(dir, {"info", "lib.qrb"});
    EXPECT_EQ(text.code, 0);
    EXPECT_NE(text.out.find("tiles: 2"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("48 x 32"), std::string::npos) << text.out;
}

// Names are UTF-8 in JSON; bytes that are not become the replacement character.
TEST(QrbTool, InfoJsonWritesNamesAsUtf8) {
    TempDir dir;
    QrbFixture lib;
    lib.signature = {'Q', 0xFF, 'B', 0x01};
    lib.writeTo(dir / "\xC3\xBC.qrb");
    lib.writeTo(dir / "\xFC.qrb");
    const Result utf8 = run(dir, {"info", "--json", "\xC3\xBC.qrb"});
    EXPECT_EQ(utf8.code, 0);
    EXPECT_EQ(utf8.out.rfind("{\"file\": \"\xC3\xBC.qrb\", \"signature\": \"Q\\ufffdB\\u0001\"", 0),
              0u)
        << utf8.out;
    const Result latin1 = run(dir, {"info", "--json", "\xFC.qrb"});
    EXPECT_EQ(latin1.out.rfind("{\"file\": \"\\ufffd.qrb\"", 0), 0u) << latin1.out;
}

// Options end at "--"; before it they count only where the command takes them.
TEST(QrbTool, FileNamesThatLookLikeOptionsGoAfterDoubleDash) {
    TempDir dir;
    sixTiles().writeTo(dir / "-x.qrb");
    sixTiles().writeTo(dir / "--help");
    EXPECT_EQ(run(dir, {"check", "--", "-x.qrb"}).out, "ok: 6 tiles\n");
    EXPECT_EQ(run(dir, {"check", "--", "--help"}).out, "ok: 6 tiles\n");
    EXPECT_EQ(run(dir, {"info", "--", "--help", "--json"}).code, 2); // two files

    const Result help = run(dir, {"convert", "in.qrb", "--help"});
    EXPECT_EQ(help.code, 0);
    EXPECT_EQ(help.out.rfind("Usage: qrbtool convert [--max-memory SIZE] IN OUT\n", 0), 0u)
        << help.out;
    EXPECT_EQ(dir.entries(), 2u); // nothing written

    const Result convert = run(dir, {"convert", "--", "-x.qrb", "-out.qrb"});
    EXPECT_EQ(convert.code, 0) << convert.err;
    EXPECT_EQ(readFile(dir / "-out.qrb"), sixTiles().bytes());
    EXPECT_EQ(run(dir, {"info", "--json", "--", "-x.qrb"}).out.rfind("{\"file\": \"-x.qrb\"", 0),
              0u);
}

// The budget is checked against what each command holds: extract the whole library,
// convert one tile at a time.
TEST(QrbTool, MaxMemoryRefusesALibraryBeforeReadingIt) {
    TempDir dir;
    sixTiles().writeTo(dir / "lib.qrb");
    // 6 full images of 5..10 x 4 (rows of 16 + 20 + 24 + 24 + 28 + 32 bytes), 6 halves of
    // 2 x 2 (rows of 8 bytes): 672 bytes; the largest tile 128 + 16.
    const Result refused = run(dir, {"extract", "--max-memory", "512", "lib.qrb", "out.qrb", "1"});
    EXPECT_EQ(refused.code, 1);
    EXPECT_EQ(refused.err, "error: lib.qrb: its images need 672 bytes of memory once read, more "
                           "than the limit of 512 bytes\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "out.qrb"));
    EXPECT_EQ(run(dir, {"extract", "--max-memory=1k", "lib.qrb", "out.qrb", "1"}).code, 0);

    const Result tile = run(dir, {"convert", "--max-memory", "143", "lib.qrb", "whole.qrb"});
    EXPECT_EQ(tile.code, 1);
    EXPECT_EQ(tile.err, "error: lib.qrb: its largest tile needs 144 bytes of memory once read, "
                        "more than the limit of 143 bytes\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "whole.qrb"));
    const Result converted = run(dir, {"convert", "--max-memory", "144", "lib.qrb", "whole.qrb"});
    EXPECT_EQ(converted.code, 0) << converted.err;
    EXPECT_EQ(readFile(dir / "whole.qrb"), sixTiles().bytes());
}

// Memory the system will not give, within the budget: the message says what was being
// read and how much it needed, not "std::bad_alloc".
TEST(QrbTool, OutOfMemorySaysWhatAndHowMuch) {
#ifdef __SANITIZE_ADDRESS__
    // The sanitizer's shadow memory and quarantine make a program's memory another size.
    GTEST_SKIP() << "memory sizes are not measured under the address sanitizer";
#endif
    TempDir dir;
    QrbFixture lib; // 1-bit pictures: 8 MB in the file, 240 MB once read
    lib.addTile(0, FixtureImage::of(DibImage::filled(8192, 8192, Rgb{1, 2, 3}), 1),
                FixtureImage::of(DibImage::filled(4096, 4096, Rgb{1, 2, 3}), 1));
    lib.writeTo(dir / "packed.qrb");
    const Result r =
        run(dir, {"extract", "packed.qrb", "out.qrb", "1"}, ".out", "prlimit --as=209715200");
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "error: packed.qrb: not enough memory for its images (240 MiB needed)\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "out.qrb"));
}

// Results that cannot be written are a failure, not a silent success.
TEST(QrbTool, OutputThatCannotBeWrittenFails) {
    TempDir dir;
    sixTiles().writeTo(dir / "lib.qrb");
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"info", "--json", "lib.qrb"},
                                               {"check", "lib.qrb"},
                                               {"--help"},
                                               {"convert", "--help"}}) {
        const Result r = run(dir, args, "/dev/full");
        EXPECT_EQ(r.code, 1) << ::testing::PrintToString(args);
        EXPECT_EQ(r.err, "error: cannot write the output: No space left on device\n");
    }
    // A change was made: only its summary is lost, and a script must not make it again.
    const Result converted = run(dir, {"convert", "lib.qrb", "out.qrb"}, "/dev/full");
    EXPECT_EQ(converted.code, 0);
    EXPECT_EQ(converted.err,
              "note: cannot write the summary: No space left on device; the change was made\n");
    EXPECT_EQ(readFile(dir / "out.qrb"), sixTiles().bytes());
}

// A link another user put in a shared folder (the system's temporary folder) is not
// written through: the file it points at stays, and so does the link.
TEST(QrbTool, AnOutputLinkPlantedByAnotherUserIsRefused) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to give a link to another user (CI runs as root)";
    TempDir dir;
    sixTiles().writeTo(dir / "deck.qrb");
    const auto notes = test::writeFile(dir / "notes.txt", {'m', 'i', 'n', 'e'});
    std::filesystem::create_directory(dir / "shared");
    ASSERT_EQ(::chmod((dir / "shared").c_str(), 01777), 0);
    std::filesystem::create_symlink(notes, dir / "shared" / "out.qrb");
    ASSERT_EQ(::lchown((dir / "shared" / "out.qrb").c_str(), 65534, 65534), 0);

    const Result r = run(dir, {"convert", "deck.qrb", "shared/out.qrb"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "error: shared/out.qrb: cannot write through the symbolic link "
                     "shared/out.qrb: it belongs to another user (uid 65534) and lies in a "
                     "folder where anyone may put links, so it is not followed\n");
    EXPECT_EQ(readFile(notes), (std::vector<std::uint8_t>{'m', 'i', 'n', 'e'}));
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "shared" / "out.qrb"));
}

TEST(QrbTool, CheckReportsTileAndOffsetOnOneLine) {
    TempDir dir;
    sixTiles().writeTo(dir / "good.qrb");
    const Result ok = run(dir, {"check", "good.qrb"});
    EXPECT_EQ(ok.code, 0);
    EXPECT_EQ(ok.out, "ok: 6 tiles\n");

    auto bytes = sixTiles().bytes();
    bytes.resize(70);
    test::writeFile(dir / "bad.qrb", bytes);
    const Result bad = run(dir, {"check", "bad.qrb"});
    EXPECT_EQ(bad.code, 1);
    EXPECT_EQ(bad.out, "");
    EXPECT_EQ(bad.err.rfind("error: bad.qrb: tile 1, byte 58: ", 0), 0u) << bad.err;
    EXPECT_EQ(std::count(bad.err.begin(), bad.err.end(), '\n'), 1);

    const Result missing = run(dir, {"check", "missing.qrb"});
    EXPECT_EQ(missing.code, 1);
    EXPECT_EQ(missing.err, "error: missing.qrb: cannot open: No such file or directory\n");
}

TEST(QrbTool, ConvertWritesTheCanonicalLayout) {
    TempDir dir;
    QrbFixture palette;
    palette.signature = {'O', 'L', 'D', '!'};
    palette.addTile(7, FixtureImage::of(test::fewColours(7, 3, 50), 8),
                    FixtureImage::of(test::fewColours(3, 1, 2), 1));
    palette.trailing = {1, 2, 3};
    palette.writeTo(dir / "in.qrb");
    const Result r = run(dir, {"convert", "in.qrb", "out.qrb"});
    EXPECT_EQ(r.code, 0) << r.err;

    QrbFixture canonical;
    canonical.addTile(7, FixtureImage::of(test::fewColours(7, 3, 50)),
                      FixtureImage::of(test::fewColours(3, 1, 2)));
    EXPECT_EQ(readFile(dir / "out.qrb"), canonical.bytes());

    const Result failed = run(dir, {"convert", "missing.qrb", "out2.qrb"});
    EXPECT_EQ(failed.code, 1);
    EXPECT_FALSE(std::filesystem::exists(dir / "out2.qrb"));
}

TEST(QrbTool, ExportWritesNumberedBitmaps) {
    TempDir dir;
    sixTiles().writeTo(dir / "lib.qrb");
    const Result r = run(dir, {"export", "lib.qrb", "pic.BMP"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(readFile(dir / "pic6.bmp").at(18), 4 + 6); // width of tile 6

    // All or none: a bitmap that cannot be written leaves every file as it was.
    const std::vector<std::uint8_t> old = {'o', 'l', 'd'};
    test::writeFile(dir / "blocked1.bmp", old);
    std::filesystem::create_directory(dir / "blocked4.bmp");
    const Result failed = run(dir, {"export", "lib.qrb", "blocked"});
    EXPECT_EQ(failed.code, 1);
    EXPECT_EQ(failed.err, "error: blocked4.bmp: cannot replace the file: it is a folder (nothing "
                          "was exported; bitmaps already there were left as they were)\n");
    EXPECT_EQ(readFile(dir / "blocked1.bmp"), old);
    EXPECT_FALSE(std::filesystem::exists(dir / "blocked3.bmp"));
    EXPECT_FALSE(std::filesystem::exists(dir / "blocked5.bmp"));

    // A system that would not keep six files open: one after another, and the message says
    // exactly what was written.
    const Result oneByOne =
        run(dir, {"export", "lib.qrb", "blocked"}, ".out", "prlimit --nofile=69:69");
    EXPECT_EQ(oneByOne.code, 1);
    EXPECT_EQ(oneByOne.err, "error: blocked4.bmp: cannot replace the file: it is a folder (the "
                            "export stopped here; 3 of 6 bitmaps were written, blocked1.bmp to "
                            "blocked3.bmp)\n");
    EXPECT_TRUE(std::filesystem::exists(dir / "blocked3.bmp"));
    EXPECT_FALSE(std::filesystem::exists(dir / "blocked5.bmp"));
}

TEST(QrbTool, ExtractWritesTheListedTilesInOrder) {
    TempDir dir;
    sixTiles().writeTo(dir / "lib.qrb");
    const Result r = run(dir, {"extract", "lib.qrb", "out.qrb", "5-6,2,4-5"});
    EXPECT_EQ(r.code, 0) << r.err;
    QrbFixture expected;
    for (int i : {2, 4, 5, 6}) {
        expected.tiles.push_back(sixTiles().tiles[std::size_t(i - 1)]);
    }
    EXPECT_EQ(readFile(dir / "out.qrb"), expected.bytes());

    const Result outOfRange = run(dir, {"extract", "lib.qrb", "none.qrb", "2,7"});
    EXPECT_EQ(outOfRange.code, 1);
    EXPECT_EQ(outOfRange.err.rfind("error: lib.qrb: tile 7 is out of range", 0), 0u)
        << outOfRange.err;
    EXPECT_FALSE(std::filesystem::exists(dir / "none.qrb"));
}

} // namespace
} // namespace qrb
