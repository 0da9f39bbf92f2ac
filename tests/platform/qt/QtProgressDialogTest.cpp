// The desktop's progress dialog: the work runs on a thread of its own, what it throws comes
// back to the caller, Cancel stops it, and lettering done there has the very pixels of
// lettering done on the window's thread.

#include "platform/qt/QtProgressDialog.h"

#include "document/Document.h"
#include "document/TableLettering.h"
#include "lettering/LetteringTable.h"
#include "support/QrbFixture.h"
#include "support/TempDir.h"
#include "text/PositionDataFile.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <chrono>
#include <stdexcept>
#include <thread>

namespace qrb::test {
namespace {

TEST(QtProgressDialog, RunsTheWorkOnAnotherThreadAndHandsBackWhatItThrows) {
    QtProgressDialog progress;
    std::thread::id ranOn;
    progress.run("Work", "Working", [&](const ProgressCallback& report, std::stop_token) {
        ranOn = std::this_thread::get_id();
        report(1, 1);
    });
    EXPECT_NE(ranOn, std::thread::id());
    EXPECT_NE(ranOn, std::this_thread::get_id());

    EXPECT_THROW(progress.run("Work", "Working",
                              [](const ProgressCallback&, std::stop_token) {
                                  throw std::invalid_argument("rows.csv:3: bad");
                              }),
                 std::invalid_argument);
}

TEST(QtProgressDialog, ShowsTheProgressOfALongJobAndItsCancelStopsTheWork) {
    QtProgressDialog progress;
    int shownValue = -1;
    bool cancelled = false;
    // The user, once the dialog is up and shows some progress: Cancel.
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog || cancelled)
            return;
        const auto* bar = dialog->findChild<QProgressBar*>();
        if (!bar || bar->value() <= 0)
            return;
        shownValue = bar->value();
        dialog->findChild<QPushButton*>()->click();
        cancelled = true;
    });
    user.start(20);

    bool stopSeen = false;
    progress.run("Work", "Working", [&](const ProgressCallback& report, std::stop_token stop) {
        // Long enough for any machine to show the dialog; bounded so a fault cannot hang.
        for (int i = 1; i <= 6000; ++i) {
            if (stop.stop_requested()) {
                stopSeen = true;
                return;
            }
            report(i, 6000);
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
    EXPECT_TRUE(cancelled) << "the dialog never showed progress";
    EXPECT_GT(shownValue, 0);
    EXPECT_TRUE(stopSeen);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the dialog is gone";
}

TEST(QtProgressDialog, LetteringOnItsThreadGivesThePixelsOfTheWindowsThread) {
    TempDir dir;
    PositionSlots layout;
    const char* const angles[] = {"000", "037", "090", "180", "359", "270", "045", "001", "120"};
    for (std::size_t k = 0; k < PositionSlots::kCount; ++k) {
        layout[k].text = "Slot " + std::to_string(k);
        layout[k].position = std::to_string(int(k) * 7 - 5) + "," + std::to_string(60 - int(k) * 7);
        layout[k].angle = angles[k];
        layout[k].style.size = float(6 + k * 8);
        layout[k].style.bold = k % 2 == 1;
        layout[k].style.italic = k % 3 == 1;
        layout[k].style.underline = k == 4;
        layout[k].style.strikethrough = k == 5;
    }
    PositionDataFile::write(dir / "layout.qpf", layout);
    Document document;
    TileSet library;
    for (int i = 1; i <= 3; ++i)
        library.append(Tile{pattern(64, 64, i), pattern(32, 32, i), 0});
    document.openTiles(std::move(library), "in.qrb");
    document.loadPositionData(QString::fromStdString((dir / "layout.qpf").string()));
    std::string text = "base,slot1,slot5\n";
    for (int i = 0; i < 30; ++i)
        text += std::to_string(i % 3 + 1) + ",Row " + std::to_string(i) + ",Wind " +
                std::to_string(i * 7) + "\n";
    const LetteringTable table = LetteringTable::parse(text, ',', "rows.csv");

    const std::vector<Tile> here = *document.tableLettering(table).letterAll(table);
    std::optional<std::vector<Tile>> there;
    QtProgressDialog().run(
        "Work", "Working", [&](const ProgressCallback& report, std::stop_token stop) {
            there = document.tableLettering(table).letterAll(table, report, stop);
        });
    ASSERT_TRUE(there);
    ASSERT_EQ(there->size(), here.size());
    for (std::size_t i = 0; i < here.size(); ++i)
        EXPECT_TRUE((*there)[i] == here[i]) << "row " << i + 2;
}

} // namespace
} // namespace qrb::test
