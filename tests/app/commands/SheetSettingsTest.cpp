// The print sheet options kept between runs: what is saved comes back, and a settings file
// edited by hand cannot break the window.

#include "app/commands/SheetSettings.h"
#include "support/TempDir.h"

#include <QSettings>

#include <gtest/gtest.h>

namespace qrb::test {
namespace {

TEST(SheetSettings, SavedOptionsComeBack) {
    TempDir dir;
    QSettings settings(QString::fromStdString((dir / "settings.ini").string()),
                       QSettings::IniFormat);
    SheetOptions options;
    options.page = PageSize{"", {100, 150.5}};
    options.orientation = PageOrientation::Landscape;
    options.margins = SheetMargins::uniform(4);
    options.tileWidth = 31.5;
    options.gap = 2;
    options.bleed = 0.5;
    options.marks = CutMarks::None;
    options.copies = 3;
    options.tiles = {2, 3}; // one print's choice: not kept
    saveSheetOptions(settings, options);
    const SheetOptions back = loadSheetOptions(settings);
    EXPECT_EQ(back.page, options.page);
    EXPECT_EQ(back.orientation, options.orientation);
    EXPECT_EQ(back.margins, options.margins);
    EXPECT_EQ(back.tileWidth, 31.5);
    EXPECT_EQ(back.gap, 2);
    EXPECT_EQ(back.bleed, 0.5);
    EXPECT_EQ(back.marks, CutMarks::None);
    EXPECT_EQ(back.copies, 3);
    EXPECT_TRUE(back.tiles.empty());

    options.page = PageSize::legal();
    saveSheetOptions(settings, options);
    EXPECT_EQ(loadSheetOptions(settings).page, PageSize::legal());
}

TEST(SheetSettings, ValuesThatMakeNoSenseGiveTheirDefaults) {
    TempDir dir;
    QSettings settings(QString::fromStdString((dir / "settings.ini").string()),
                       QSettings::IniFormat);
    settings.setValue("printSheet/paper", "B5");
    settings.setValue("printSheet/margin", -3);
    settings.setValue("printSheet/tileSize", "nan");
    settings.setValue("printSheet/gap", "wide");
    settings.setValue("printSheet/bleed", 1e12);
    settings.setValue("printSheet/marks", "dotted");
    settings.setValue("printSheet/copies", 5000);
    const SheetOptions loaded = loadSheetOptions(settings);
    const SheetOptions defaults;
    EXPECT_EQ(loaded.page, defaults.page);
    EXPECT_EQ(loaded.margins, defaults.margins);
    EXPECT_EQ(loaded.tileWidth, defaults.tileWidth);
    EXPECT_EQ(loaded.gap, defaults.gap);
    EXPECT_EQ(loaded.bleed, defaults.bleed);
    EXPECT_EQ(loaded.marks, defaults.marks);
    EXPECT_EQ(loaded.copies, defaults.copies);

    // One bad value leaves the good ones alone.
    settings.setValue("printSheet/paper", "8.5x11in");
    settings.setValue("printSheet/copies", 0);
    settings.setValue("printSheet/tileSize", 40);
    const SheetOptions mixed = loadSheetOptions(settings);
    EXPECT_NEAR(mixed.page.size.width, 215.9, 1e-9);
    EXPECT_EQ(mixed.copies, 1);
    EXPECT_EQ(mixed.tileWidth, 40);
}

} // namespace
} // namespace qrb::test
