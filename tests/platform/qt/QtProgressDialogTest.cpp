// The desktop's progress dialog: the work runs on a thread of its own, what it throws comes
// back, Cancel stops it, and lettering there has the pixels of lettering on the window's
// thread.

#include "platform/qt/QtProgressDialog.h"

#include "document/Document.h"
#include "document/TableLettering.h"
#include "lettering/LetteringTable.h"
#include "support/LetteringLayout.h"
#include "support/QrbFixture.h"
#include "support/TempDir.h"
#include "text/PositionDataFile.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <stdexcept>
#include <thread>

namespace qrb::test {
namespace {

TEST(QtProgressDialog, RunsOnAnotherThreadShowsProgressAndCancelStopsIt) {
    QtProgressDialog progress;
    EXPECT_THROW(progress.run("", "", [](auto&, auto) { throw std::invalid_argument("x"); }),
                 std::invalid_argument);

    int shown = 0;
    QTimer user; // once the dialog shows some progress: Cancel
    QObject::connect(&user, &QTimer::timeout, [&] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog && shown == 0 && dialog->findChild<QProgressBar*>()->value() > 0) {
            shown = dialog->findChild<QProgressBar*>()->value();
            dialog->findChild<QPushButton*>()->click();
        }
    });
    user.start(20);
    std::thread::id ranOn;
    bool stopped = false;
    progress.run("Work", "Working", [&](const ProgressCallback& report, std::stop_token stop) {
        ranOn = std::this_thread::get_id();
        for (int i = 1; i <= 6000 && !stopped; ++i) { // bounded: a fault cannot hang
            stopped = stop.stop_requested();
            report(i, 6000);
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
    EXPECT_NE(ranOn, std::this_thread::get_id());
    EXPECT_GT(shown, 0) << "the dialog never showed progress";
    EXPECT_TRUE(stopped);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the dialog is gone";
}

TEST(QtProgressDialog, LetteringOnItsThreadGivesThePixelsOfTheWindowsThread) {
    TempDir dir;
    PositionDataFile::write(dir / "layout.qpf", letteringLayout());
    Document document;
    TileSet library;
    for (int i = 1; i <= 3; ++i)
        library.append(Tile{pattern(64, 64, i), pattern(32, 32, i), 0});
    document.openTiles(std::move(library), "in.qrb");
    document.loadPositionData(QString::fromStdString((dir / "layout.qpf").string()));
    std::string text = "base,slot1\n";
    for (int i = 0; i < 30; ++i)
        text += std::to_string(i % 3 + 1) + ",Row " + std::to_string(i) + "\n";
    const LetteringTable table = LetteringTable::parse(text, ',', "rows.csv");

    const std::vector<Tile> here = document.tableLettering(table).letterAll(table)->tiles;
    std::optional<LetteredTiles> there;
    QtProgressDialog().run("", "", [&](const ProgressCallback& report, std::stop_token stop) {
        there = document.tableLettering(table).letterAll(table, report, stop);
    });
    ASSERT_TRUE(there);
    EXPECT_TRUE(there->tiles == here);
}

} // namespace
} // namespace qrb::test
