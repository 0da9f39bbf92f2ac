// qrbtool import, move, delete and export run as a user runs them: the library written is
// byte for byte what the editor's document writes after the same edit; a picture that
// cannot be read is an error naming it, exit 1, and the library is left as it was.

#include "cli/ToolRun.h"
#include "document/Document.h"
#include "imaging/render/DibConversion.h"
#include "support/QrbFixture.h"
#include "tileset/LibraryFile.h"

#include <gtest/gtest.h>

#include <QImage>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace qrb::test {
namespace {

class TileCommands : public ::testing::Test {
protected:
    TileCommands() {
        QImage clear(9, 7, QImage::Format_ARGB32);
        clear.fill(QColor(0, 0, 255, 100));
        clear.save(path("a.png"));
        QImage solid(4, 4, QImage::Format_RGB32);
        solid.fill(QColor(200, 10, 10));
        solid.save(path("b.bmp"));
        test::writeFile(dir / "bad.png", std::vector<std::uint8_t>{0x89, 'P', 'N', 'G', 1, 2});
        TileSet set;
        for (int i = 1; i <= 5; ++i)
            set.append(patternTile(6 + i, 5, i));
        LibraryFile::save(dir / "lib.qrb", set);
    }
    QString path(const char* name) const { return QString::fromStdString((dir / name).string()); }
    // What the editor writes after `edit` on lib.qrb (or on a new library).
    std::vector<std::uint8_t> edited(const std::function<void(Document&)>& edit,
                                     bool fresh = false) {
        Document d;
        if (fresh)
            d.newLibrary();
        else
            d.open(path("lib.qrb"));
        edit(d);
        d.save(path("expected.qrb"));
        return readFile(dir / "expected.qrb");
    }
    TempDir dir;
};

TEST_F(TileCommands, ImportMakesTheTilesTheEditorMakes) {
    const Result created = run(dir, {"import", "new.qrb", "a.png", "b.bmp"});
    ASSERT_EQ(created.code, 0) << created.err;
    EXPECT_EQ(readFile(dir / "new.qrb"), edited(
                                             [&](Document& d) {
                                                 d.importPictures({path("a.png"), path("b.bmp")});
                                             },
                                             true));

    const Result at = run(dir, {"import", "--at", "2", "lib.qrb", "b.bmp"});
    ASSERT_EQ(at.code, 0) << at.err;
    const TileSet set = LibraryFile::load(dir / "lib.qrb");
    ASSERT_EQ(set.count(), 6);
    EXPECT_EQ(set.tile(2).smallColour, rgbColour(200, 10, 10));

    const std::vector<std::uint8_t> before = readFile(dir / "lib.qrb");
    const Result bad = run(dir, {"import", "lib.qrb", "a.png", "bad.png"});
    EXPECT_EQ(bad.code, 1);
    EXPECT_NE(bad.err.find("bad.png: "), std::string::npos) << bad.err;
    EXPECT_EQ(readFile(dir / "lib.qrb"), before);
    EXPECT_EQ(run(dir, {"import", "lib.qrb"}).code, 2);
    EXPECT_EQ(run(dir, {"import", "--at", "9", "lib.qrb", "a.png"}).code, 1);
}

TEST_F(TileCommands, MoveAndDeleteWriteWhatTheEditorWrites) {
    const std::vector<std::uint8_t> moved = edited([](Document& d) { d.moveTile(5, 2); });
    const Result move = run(dir, {"move", "lib.qrb", "5", "2"});
    ASSERT_EQ(move.code, 0) << move.err;
    EXPECT_EQ(readFile(dir / "lib.qrb"), moved);

    const std::vector<std::uint8_t> deleted = edited([](Document& d) { d.deleteTiles({2, 4, 5}); });
    const Result del = run(dir, {"delete", "lib.qrb", "4-5,2"});
    ASSERT_EQ(del.code, 0) << del.err;
    EXPECT_EQ(readFile(dir / "lib.qrb"), deleted);
    EXPECT_EQ(LibraryFile::load(dir / "lib.qrb").count(), 2);

    EXPECT_EQ(run(dir, {"move", "lib.qrb", "1", "3"}).code, 1);
    EXPECT_EQ(run(dir, {"move", "lib.qrb", "0", "1"}).code, 2);
    EXPECT_EQ(run(dir, {"delete", "lib.qrb", "1-2"}).code, 1);
    EXPECT_EQ(readFile(dir / "lib.qrb"), deleted);
}

TEST_F(TileCommands, ExportWritesPngFullAndHalfImages) {
    const Result r = run(dir, {"export", "--format", "png", "--half", "lib.qrb", "t.png"});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "wrote 10 pictures: t1.png ... t5_half.png\n");
    const TileSet set = LibraryFile::load(dir / "lib.qrb");
    EXPECT_EQ(toDibImage(QImage(path("t4.png"))), set.tile(4).full);
    EXPECT_EQ(toDibImage(QImage(path("t4_half.png"))), set.tile(4).half);
    EXPECT_EQ(run(dir, {"export", "--format", "gif", "lib.qrb", "t"}).code, 2);
}

// Pictures made on several threads are the files of one, byte for byte.
TEST_F(TileCommands, ExportOnAnyNumberOfJobsWritesTheFilesOfOne) {
    TileSet set;
    for (int i = 1; i <= 300; ++i)
        set.append(patternTile(8 + i % 13, 5 + i % 7, i));
    LibraryFile::save(dir / "many.qrb", set);
    for (const char* format : {"png", "bmp"}) {
        ASSERT_EQ(
            run(dir, {"export", "--jobs", "1", "--format", format, "--half", "many.qrb", "one"})
                .code,
            0);
        for (const char* jobs : {"3", "8"}) {
            const Result r = run(dir, {"export", "--jobs", jobs, "--format", format, "--half",
                                       "many.qrb", "several"});
            ASSERT_EQ(r.code, 0) << r.err;
            for (int i = 1; i <= 300; ++i)
                for (const char* half : {"", "_half"}) {
                    const std::string end = std::to_string(i) + half + "." + format;
                    ASSERT_EQ(readFile(dir / ("several" + end)), readFile(dir / ("one" + end)))
                        << end << ", " << jobs << " jobs";
                }
        }
    }
}

// Pictures read on several threads make the library of one, byte for byte; a damaged one
// among them is the same error, and nothing is written.
TEST_F(TileCommands, ImportOnAnyNumberOfJobsWritesTheLibraryOfOne) {
    std::vector<std::string> args{"import", "--jobs", "1", "one.qrb"};
    for (int i = 0; i < 80; ++i) {
        QImage image(4 + i % 17, 3 + i % 11, QImage::Format_ARGB32);
        image.fill(QColor(i * 3, 255 - i * 2, i % 7 * 30, 60 + i * 2));
        const std::string name = "p" + std::to_string(i) + (i % 4 == 1 ? ".bmp" : ".png");
        image.save(path(name.c_str()));
        args.push_back(name);
    }
    const Result one = run(dir, args);
    ASSERT_EQ(one.code, 0) << one.err;
    for (const char* jobs : {"3", "8"}) {
        args[2] = jobs;
        args[3] = std::string("several") + jobs + ".qrb";
        const Result several = run(dir, args);
        ASSERT_EQ(several.code, 0) << several.err;
        EXPECT_EQ(several.out,
                  "imported 80 pictures into " + args[3] + " (new); it has 80 tiles\n");
        EXPECT_EQ(readFile(dir / args[3]), readFile(dir / "one.qrb")) << jobs << " jobs";
    }
    args[70] = "bad.png";
    args[3] = "lib.qrb";
    const std::vector<std::uint8_t> before = readFile(dir / "lib.qrb");
    args[2] = "1";
    const Result bad = run(dir, args);
    EXPECT_EQ(bad.code, 1);
    EXPECT_NE(bad.err.find("bad.png: "), std::string::npos) << bad.err;
    args[2] = "4";
    const Result badOnSeveral = run(dir, args);
    EXPECT_EQ(badOnSeveral.code, 1);
    EXPECT_EQ(badOnSeveral.err, bad.err);
    EXPECT_EQ(readFile(dir / "lib.qrb"), before);
    args[2] = "0";
    EXPECT_EQ(run(dir, args).code, 2);
}

// Imports side by side on one library: each waits for the one before, so every picture
// arrives. Another program that keeps the library longer than a few seconds makes the
// import fail, changing nothing.
TEST_F(TileCommands, ImportsAtTheSameTimeLoseNoPicture) {
    const std::string tool = quoted(QRBTOOL_PATH);
    const std::string imports = "cd " + quoted(dir.path().string()) + " && (" + tool +
                                " import lib.qrb a.png >/dev/null & " + tool +
                                " import lib.qrb b.bmp >/dev/null & " + tool +
                                " import lib.qrb a.png >/dev/null & wait)";
    ASSERT_EQ(std::system(imports.c_str()), 0);
    EXPECT_EQ(LibraryFile::load(dir / "lib.qrb").count(), 8);

    const std::vector<std::uint8_t> before = readFile(dir / "lib.qrb");
    const int other = ::open((dir / "lib.qrb").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(other, LOCK_EX), 0);
    const Result busy = run(dir, {"import", "lib.qrb", "b.bmp"});
    ::close(other);
    EXPECT_EQ(busy.code, 1);
    EXPECT_NE(busy.err.find("error: lib.qrb: it is being changed by another program"),
              std::string::npos)
        << busy.err;
    EXPECT_EQ(readFile(dir / "lib.qrb"), before);
}

// The tile is in: a summary that cannot be written does not make the import a failure a
// script would repeat.
TEST_F(TileCommands, ImportWhoseSummaryIsLostStillSucceeds) {
    const Result r = run(dir, {"import", "lib.qrb", "a.png"}, "/dev/full");
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.err,
              "note: cannot write the summary: No space left on device; the change was made\n");
    EXPECT_EQ(LibraryFile::load(dir / "lib.qrb").count(), 6);
    EXPECT_EQ(run(dir, {"import", "--help"}, "/dev/full").code, 1) << "nothing was changed";
}

// Messages stay readable and say what was typed.
TEST_F(TileCommands, ErrorsNameWhatWasGiven) {
    std::vector<std::string> args{"import", "lib.qrb"};
    for (int i = 0; i < 12; ++i)
        args.push_back("bad.png");
    const Result many = run(dir, args);
    EXPECT_EQ(many.code, 1);
    std::size_t named = 0;
    for (std::size_t at = many.err.find("bad.png: "); at != std::string::npos;
         at = many.err.find("bad.png: ", at + 1))
        ++named;
    EXPECT_EQ(named, 10u);
    EXPECT_NE(many.err.find("; and 2 more pictures (nothing was written)\n"), std::string::npos)
        << many.err;

    for (const auto& [command, typed] :
         std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"delete", "lib.qrb", "2,99999999999"}, "99999999999"},
             {{"move", "lib.qrb", "1", "100001"}, "100001"},
             {{"import", "--at", "4000000000", "lib.qrb", "a.png"}, "4000000000"}}) {
        const Result r = run(dir, command);
        EXPECT_EQ(r.code, 1) << r.err;
        EXPECT_NE(r.err.find(" " + typed + " "), std::string::npos) << r.err;
    }
    for (const auto& twice : std::vector<std::vector<std::string>>{
             {"import", "--at", "2", "--at", "4", "lib.qrb", "a.png"},
             {"export", "--half", "--half", "lib.qrb", "t"},
             {"export", "--format", "png", "lib.qrb", ""}}) {
        const Result r = run(dir, twice);
        EXPECT_EQ(r.code, 2) << r.err;
    }
    EXPECT_EQ(LibraryFile::load(dir / "lib.qrb").count(), 5);
    EXPECT_FALSE(std::filesystem::exists(dir / "1.png"));
}

TEST_F(TileCommands, ADamagedPictureIsOneErrorLineAndNothingIsWritten) {
    QImage noise(60, 60, QImage::Format_RGB32);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 60; ++x)
            noise.setPixel(x, y, qRgb(x * 4, (x * y) % 256, y * 4));
    noise.save(path("whole.png"));
    noise.save(path("whole.jpg"), "JPEG", 90);
    for (const char* name : {"whole.png", "whole.jpg"}) {
        std::vector<std::uint8_t> bytes = readFile(dir / name);
        bytes.resize(bytes.size() * 6 / 10);
        writeFile(dir / (std::string("cut") + (name + 5)), bytes);
    }
    const std::vector<std::uint8_t> before = readFile(dir / "lib.qrb");
    for (const char* cut : {"cut.png", "cut.jpg"}) {
        const Result r = run(dir, {"import", "lib.qrb", "b.bmp", cut});
        EXPECT_EQ(r.code, 1) << cut;
        // One line: no library's own message beside it.
        EXPECT_EQ(r.err, std::string("error: ") + cut +
                             ": the data ends before the picture does (nothing was written)\n");
        EXPECT_EQ(readFile(dir / "lib.qrb"), before);
    }
}

TEST_F(TileCommands, ImportFitsAndSlicesAndAtlasLaysPages) {
    const Result fit = run(dir, {"import", "--fit", "3x5", "--mode", "cover", "--background",
                                 "#102030", "new.qrb", "a.png", "b.bmp"});
    ASSERT_EQ(fit.code, 0) << fit.err;
    const TileSet fitted = LibraryFile::load(dir / "new.qrb");
    ASSERT_EQ(fitted.count(), 2);
    EXPECT_EQ(fitted.tile(1).full.width(), 3);
    EXPECT_EQ(fitted.tile(2).full.height(), 5);

    // b.bmp is 4 x 4: four 2 x 2 cells, or one with a margin of 1.
    const Result slice = run(dir, {"import", "--slice", "2x2", "sliced.qrb", "b.bmp"});
    ASSERT_EQ(slice.code, 0) << slice.err;
    EXPECT_EQ(slice.out, "imported 4 tiles from 1 file into sliced.qrb (new); it has 4 tiles\n");
    EXPECT_EQ(LibraryFile::load(dir / "sliced.qrb").count(), 4);
    ASSERT_EQ(run(dir, {"import", "--slice", "2x2", "--margin", "1", "--spacing", "0", "one.qrb",
                        "b.bmp"})
                  .code,
              0);
    EXPECT_EQ(LibraryFile::load(dir / "one.qrb").count(), 1);
    for (const std::vector<std::string>& bad :
         {std::vector<std::string>{"import", "--margin", "1", "x.qrb", "a.png"},
          {"import", "--fit", "0x5", "x.qrb", "a.png"},
          {"import", "--fit", "4x4", "--mode", "fill", "x.qrb", "a.png"},
          {"import", "--background", "red", "x.qrb", "a.png"},
          {"atlas", "--grid", "3", "lib.qrb", "d.png"}})
        EXPECT_EQ(run(dir, bad).code, 2) << bad[1];

    // Five tiles, 2 x 1 cells with the hidden card in the second: five pages.
    const Result atlas =
        run(dir, {"atlas", "--grid", "2x1", "--hidden", "1", "lib.qrb", "deck.png"});
    ASSERT_EQ(atlas.code, 0) << atlas.err;
    EXPECT_EQ(atlas.out, "wrote 5 deck images of 2 x 1 cells of 11 x 5 pixels: deck-1.png ... "
                         "deck-5.png\n");
    EXPECT_EQ(QImage(path("deck-5.png")).size(), QSize(22, 5));
    EXPECT_EQ(run(dir, {"atlas", "--tiles", "2,9", "lib.qrb", "no.png"}).code, 1);
    EXPECT_FALSE(std::filesystem::exists(dir / "no.png"));
}

} // namespace
} // namespace qrb::test
