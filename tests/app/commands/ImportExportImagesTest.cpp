// Import Images and Export Images as the window runs them, on the scripted desktop:
// several pictures at once after the current tile, one message naming those left out,
// Cancel importing nothing; the marked tiles exported as PNG with their half images.

#include "app/commands/ExportImagesCommand.h"
#include "app/commands/ImportImagesCommand.h"

#include "imaging/render/DibConversion.h"
#include "support/QrbFixture.h"
#include "support/TempDir.h"
#include "support/ui/ScriptedPlatform.h"

#include <QFile>
#include <gtest/gtest.h>

#include <filesystem>

namespace qrb::test {
namespace {

class ImagesCommands : public ::testing::Test {
protected:
    ImagesCommands() {
        TileSet set;
        for (int i = 1; i <= 4; ++i)
            set.append(patternTile(10, 10, i));
        document.openTiles(std::move(set), QStringLiteral("lib.qrb"));
        document.showSelectedTile(2);
    }
    QString picture(const char* name, QColor colour) {
        QImage image(6, 4, QImage::Format_ARGB32);
        image.fill(colour);
        const QString path = QString::fromStdString((dir / name).string());
        image.save(path);
        return path;
    }
    Services services() {
        return Services{dialog,
                        *platform.messages,
                        *platform.clipboard,
                        *platform.printing,
                        *platform.progress,
                        [this](const QString& s) { status = s; }};
    }
    ScriptedPlatform platform;
    CommonDialog dialog{*platform.dialogs};
    Document document;
    QString status;
    TempDir dir;
};

TEST_F(ImagesCommands, ImportPutsThePicturesAfterTheCurrentTileAndNamesTheOthers) {
    const QString red = picture("red.png", Qt::red);
    const QString blue = picture("blue.bmp", Qt::blue);
    const QString broken = QString::fromStdString((dir / "broken.jpg").string());
    QFile(broken).open(QIODevice::WriteOnly);
    ImportImagesCommand command(document, services(), {});
    platform.dialogs->answers.push_back(red + QLatin1Char('\n') + broken + QLatin1Char('\n') +
                                        blue);
    command.importImages();

    ASSERT_EQ(document.tileCount(), 6);
    EXPECT_EQ(document.tiles().tile(3).smallColour, palette::Red);
    EXPECT_EQ(document.tiles().tile(4).smallColour, rgbColour(0, 0, 255));
    EXPECT_EQ(document.currentTile(), 2);
    EXPECT_EQ(document.undoText(), QStringLiteral("Import Images"));
    ASSERT_EQ(platform.messages->shown.size(), 1u);
    EXPECT_TRUE(platform.messages->shown[0].text.contains(QStringLiteral("broken.jpg: ")));
    EXPECT_FALSE(platform.messages->shown[0].text.contains(QStringLiteral("red.png")));
    EXPECT_EQ(status, QStringLiteral("Imported 2 pictures"));
    EXPECT_TRUE(platform.dialogs->requests.back().file.filter.contains(QStringLiteral("*.png")));

    // Cancel while reading: nothing imported, nothing to undo.
    platform.progress->cancelAtReport = 2;
    EXPECT_EQ(command.importFiles({red, blue}, 1), 0);
    EXPECT_EQ(document.tileCount(), 6);
    EXPECT_EQ(document.undoText(), QStringLiteral("Import Images"));
    document.undo();
    EXPECT_EQ(document.tileCount(), 4);
}

TEST_F(ImagesCommands, ExportWritesTheMarkedTilesAsPngWithHalfImages) {
    document.press(3, RowPart::Full, MouseButton::Left, Modifiers::Ctrl);
    ASSERT_EQ(ExportImagesCommand::tilesToExport(document), (std::vector<int>{2, 3}));
    ExportImagesCommand command(document, services());
    platform.dialogs->answers.push_back(QString::fromStdString((dir / "art").string()));
    platform.messages->answers.push_back(true); // the half images too
    command.exportImages();
    for (const char* name : {"art2.png", "art2_half.png", "art3.png", "art3_half.png"})
        EXPECT_TRUE(std::filesystem::exists(dir / name)) << name;
    EXPECT_FALSE(std::filesystem::exists(dir / "art1.png"));
    EXPECT_EQ(toDibImage(QImage(QString::fromStdString((dir / "art3_half.png").string()))),
              document.tiles().tile(3).half);
    EXPECT_EQ(status, QStringLiteral("Wrote 4 pictures"));

    // A name ending in .bmp gives bitmaps; Cancel at the question writes nothing.
    platform.dialogs->answers.push_back(QString::fromStdString((dir / "bits.BMP").string()));
    platform.messages->answers.push_back(Answer::Cancel);
    command.exportImages();
    EXPECT_FALSE(std::filesystem::exists(dir / "bits2.bmp"));
    platform.dialogs->answers.push_back(QString::fromStdString((dir / "bits.BMP").string()));
    platform.messages->answers.push_back(false);
    command.exportImages();
    EXPECT_TRUE(std::filesystem::exists(dir / "bits2.bmp"));
    EXPECT_FALSE(std::filesystem::exists(dir / "bits2_half.bmp"));
}

} // namespace
} // namespace qrb::test
