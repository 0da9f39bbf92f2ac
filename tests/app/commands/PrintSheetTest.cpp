// Print sheets from the window: File > Print... and File > Export print sheet... through
// the preview with its options, the print dialog and the save dialog, driven with the
// scripted platform. The pages written are drawn back into pixels with pdftoppm.

#include "support/render/PdfPages.h"
#include "support/ui/WindowFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QSettings>
#include <QSpinBox>

#include <cmath>

namespace qrb::test {
namespace {

constexpr int kDpi = 50;
const Rgb kColours[] = {{220, 0, 0}, {0, 160, 0}, {0, 0, 200}, {240, 220, 0}, {200, 0, 200}};

// The colour at (x, y) mm of a page drawn at kDpi.
Rgb at(const QImage& page, double xMm, double yMm) {
    const QColor c =
        page.pixelColor(int(std::floor(xMm / 25.4 * kDpi)), int(std::floor(yMm / 25.4 * kDpi)));
    return {std::uint8_t(c.red()), std::uint8_t(c.green()), std::uint8_t(c.blue())};
}

bool isWhite(Rgb c) {
    return c.red > 245 && c.green > 245 && c.blue > 245;
}

// A field of the options form the preview shows.
template <class Field> Field* field(PrintJob& job, const char* name) {
    auto* found = job.optionsWidget()->findChild<Field*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

QString summary(PrintJob& job) {
    return field<QLabel>(job, "sheetSummary")->text();
}

class PrintSheet : public WindowFixture {
protected:
    PrintSheet() { QSettings().clear(); }
    ~PrintSheet() override { QSettings().clear(); }

    // Opens a library of `count` tiles of 40 x 40 pixels, tile i in kColours[i - 1]: at
    // the default 25 mm a tile, tile i's middle is at (22.5 + 25 (i - 1), 22.5) mm.
    void openColours(int count) {
        QrbFixture lib;
        for (int i = 0; i < count; ++i)
            lib.addSolidTile(0, 40, 40, kColours[i]);
        open(lib.writeTo(dir / "colours.qrb"));
        ASSERT_EQ(window->document().tileCount(), count);
    }

    void exportTo(const std::filesystem::path& path, std::function<bool(PrintJob&)> preview) {
        platform.printing->previews.push_back(std::move(preview));
        platform.dialogs->answers.push_back(q(path));
        action(Command::ExportSheet)->trigger();
    }

    // Shows the export's preview, which the script cancels.
    void lookAt(std::function<bool(PrintJob&)> preview) {
        platform.printing->previews.push_back(std::move(preview));
        action(Command::ExportSheet)->trigger();
    }

    static bool accept(PrintJob&) { return true; }
};

TEST_F(PrintSheet, CommandsAtTheEndOfTheFileMenuWaitForALibrary) {
    EXPECT_FALSE(action(Command::Print)->isEnabled());
    EXPECT_FALSE(action(Command::ExportSheet)->isEnabled());
    EXPECT_EQ(action(Command::Print)->shortcut(), QKeySequence("Ctrl+P"));
    // After the menu's own items, with Exit still last.
    const QList<QAction*> file = ui().fileMenu->actions();
    const auto bmp = file.indexOf(action(Command::CreateBitmaps));
    EXPECT_EQ(file.mid(bmp, 6),
              (QList<QAction*>{action(Command::CreateBitmaps),
                               window->findChild<QAction*>(QStringLiteral("spacer7")),
                               action(Command::Print), action(Command::ExportSheet),
                               window->findChild<QAction*>(QStringLiteral("printSpacer")),
                               action(Command::Exit)}));
    openColours(2);
    EXPECT_TRUE(action(Command::Print)->isEnabled());
    EXPECT_TRUE(action(Command::ExportSheet)->isEnabled());
}

TEST_F(PrintSheet, PrintGoesThroughThePreviewAndThePrintDialog) {
    openColours(3);
    platform.printing->previews.push_back(&PrintSheet::accept);
    platform.printing->printers.push_back(q(dir / "printed.pdf"));
    action(Command::Print)->trigger();
    EXPECT_TRUE(platform.messages->shown.empty());
    const QImage page = pdfPage(dir / "printed.pdf", 1, kDpi);
    EXPECT_NEAR(page.width(), 210 / 25.4 * kDpi, 1);
    EXPECT_NEAR(page.height(), 297 / 25.4 * kDpi, 1);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(at(page, 22.5 + 25 * i, 22.5), kColours[i]) << i;
    EXPECT_TRUE(isWhite(at(page, 22.5 + 25 * 3, 22.5)));

    // A cancelled preview asks for no printer; a cancelled print dialog prints nothing and
    // leaves the preview open, to print from it again or cancel it.
    action(Command::Print)->trigger();
    EXPECT_EQ(platform.printing->printDialogsShown, 1);
    platform.printing->previews = {&PrintSheet::accept, &PrintSheet::accept};
    platform.printing->printers = {std::nullopt, q(dir / "again.pdf")};
    const int previews = platform.printing->previewsShown;
    action(Command::Print)->trigger();
    EXPECT_EQ(platform.printing->printDialogsShown, 3);
    EXPECT_EQ(platform.printing->previewsShown, previews + 1) << "one preview, accepted twice";
    EXPECT_TRUE(std::filesystem::exists(dir / "again.pdf"));
    EXPECT_TRUE(platform.messages->shown.empty());
}

TEST_F(PrintSheet, ExportFollowsTheOptionsAsTheyChangeInThePreview) {
    openColours(3);
    exportTo(dir / "sheet", [this](PrintJob& job) {
        EXPECT_EQ(summary(job), "3 tiles on 1 page (up to 7 across and 11 down).");
        field<QComboBox>(job, "sheetOrientation")->setCurrentIndex(1); // landscape
        field<QDoubleSpinBox>(job, "sheetTileSize")->setValue(30);
        field<QSpinBox>(job, "sheetCopies")->setValue(2);
        EXPECT_EQ(platform.printing->refreshes, 3);
        EXPECT_EQ(summary(job), "6 tiles on 1 page (up to 9 across and 6 down).");
        EXPECT_EQ(job.pageLayout().orientation(), QPageLayout::Landscape);
        return true;
    });
    EXPECT_TRUE(platform.messages->shown.empty());
    // The name gets its extension; the dialog started beside the library, on its name.
    EXPECT_EQ(platform.dialogs->requests.back().file.fileName, q(dir / "colours.pdf"));
    const QImage page = pdfPage(dir / "sheet.pdf", 1, kDpi);
    EXPECT_GT(page.width(), page.height());
    const Rgb expected[] = {kColours[0], kColours[0], kColours[1], kColours[1], kColours[2]};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(at(page, 25 + 30 * i, 25), expected[i]) << i;
}

TEST_F(PrintSheet, ExportAsksBeforeReplacingAndWritesNothingThatFails) {
    openColours(2);
    const std::filesystem::path pdf = dir / "sheet.pdf";
    writeFile(pdf, {'o', 'l', 'd'});
    platform.messages->answers.push_back(false); // keep the old file
    exportTo(pdf, &PrintSheet::accept);
    EXPECT_EQ(platform.messages->count("already exists"), 1);
    EXPECT_EQ(readFile(pdf), (std::vector<std::uint8_t>{'o', 'l', 'd'}));

    // A folder that is not there: the user is told, and nothing is left behind.
    exportTo(dir / "missing" / "sheet.pdf", &PrintSheet::accept);
    EXPECT_EQ(platform.messages->count("The print sheet was not written."), 1);
    EXPECT_FALSE(std::filesystem::exists(dir / "missing"));

    platform.messages->answers.push_back(true);
    exportTo(pdf, &PrintSheet::accept);
    EXPECT_EQ(at(pdfPage(pdf, 1, kDpi), 22.5, 22.5), kColours[0]);
}

TEST_F(PrintSheet, OptionsWithoutPagesCannotBeUsed) {
    openColours(2);
    exportTo(dir / "sheet.pdf", [](PrintJob& job) {
        field<QDoubleSpinBox>(job, "sheetTileSize")->setValue(300);
        EXPECT_FALSE(job.isReady());
        EXPECT_TRUE(summary(job).startsWith("No tile fits")) << summary(job).toStdString();
        return true; // accepted all the same
    });
    EXPECT_EQ(platform.messages->count("no tile fits"), 1);
    EXPECT_FALSE(std::filesystem::exists(dir / "sheet.pdf"));
    EXPECT_EQ(platform.dialogs->requests.size(), 1u); // only the open: no save dialog
    // Nothing of it is remembered.
    lookAt([](PrintJob& job) {
        EXPECT_EQ(field<QDoubleSpinBox>(job, "sheetTileSize")->value(), 25);
        return false;
    });
}

TEST_F(PrintSheet, AcceptedOptionsAreRememberedForTheNextTime) {
    openColours(2);
    platform.printing->previews.push_back([](PrintJob& job) {
        field<QComboBox>(job, "sheetPage")->setCurrentIndex(1); // Letter
        field<QDoubleSpinBox>(job, "sheetMargin")->setValue(5);
        field<QDoubleSpinBox>(job, "sheetBleed")->setValue(1.5);
        field<QComboBox>(job, "sheetMarks")->setCurrentIndex(2); // full lines
        return true;
    });
    action(Command::Print)->trigger(); // the print dialog is cancelled: the options stay chosen
    ASSERT_TRUE(platform.messages->shown.empty());

    lookAt([](PrintJob& job) {
        EXPECT_EQ(field<QComboBox>(job, "sheetPage")->currentText(), "Letter");
        EXPECT_EQ(field<QDoubleSpinBox>(job, "sheetPageWidth")->value(), 215.9);
        EXPECT_EQ(field<QDoubleSpinBox>(job, "sheetMargin")->value(), 5);
        EXPECT_EQ(field<QDoubleSpinBox>(job, "sheetBleed")->value(), 1.5);
        EXPECT_EQ(field<QComboBox>(job, "sheetMarks")->currentIndex(), 2);
        field<QDoubleSpinBox>(job, "sheetMargin")->setValue(20);
        return false; // cancelled: not remembered
    });
    lookAt([](PrintJob& job) {
        EXPECT_EQ(field<QDoubleSpinBox>(job, "sheetMargin")->value(), 5);
        return false;
    });
    EXPECT_EQ(platform.printing->previewsShown, 3);
}

TEST_F(PrintSheet, SelectedTilesOnlyWhenTilesAreMarked) {
    openColours(5);
    press(1); // the current tile clicked again: nothing is marked
    lookAt([](PrintJob& job) {
        EXPECT_FALSE(field<QCheckBox>(job, "sheetSelectedOnly")->isEnabled());
        return false;
    });
    press(2);
    press(4, Qt::ControlModifier);
    exportTo(dir / "marked.pdf", [](PrintJob& job) {
        auto* only = field<QCheckBox>(job, "sheetSelectedOnly");
        EXPECT_TRUE(only->isEnabled());
        EXPECT_FALSE(only->isChecked()); // every tile unless asked
        EXPECT_TRUE(summary(job).startsWith("5 tiles"));
        only->setChecked(true);
        EXPECT_TRUE(summary(job).startsWith("2 tiles"));
        return true;
    });
    const QImage page = pdfPage(dir / "marked.pdf", 1, kDpi);
    EXPECT_EQ(at(page, 22.5, 22.5), kColours[1]);
    EXPECT_EQ(at(page, 47.5, 22.5), kColours[3]);
    EXPECT_TRUE(isWhite(at(page, 72.5, 22.5)));
}

} // namespace
} // namespace qrb::test
