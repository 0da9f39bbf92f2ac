// File > Recent Libraries: the last eight, most recent first, one entry per file, missing
// ones greyed with their path as the tip.

#include "app/commands/RecentLibraries.h"

#include "support/TempDir.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QSettings>
#include <gtest/gtest.h>

namespace qrb::test {
namespace {

class Recent : public ::testing::Test {
protected:
    Recent() { RecentLibraries::clear(); }
    ~Recent() override { RecentLibraries::clear(); }
    QString library(int k) {
        const QString path =
            QString::fromStdString((dir / ("lib" + std::to_string(k) + ".qrb")).string());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        return path;
    }
    TempDir dir;
};

TEST_F(Recent, KeepsTheLastEightMostRecentFirstOncePerFile) {
    QStringList made;
    for (int k = 1; k <= 10; ++k) {
        made << library(k);
        RecentLibraries::add(made.back());
    }
    RecentLibraries::add(made[4]);
    // The same file by another name is still one entry.
    RecentLibraries::add(QString::fromStdString(dir.path().string()) +
                         QStringLiteral("/./lib10.qrb"));
    const QStringList list = RecentLibraries::paths();
    ASSERT_EQ(list.size(), RecentLibraries::kMaxCount);
    EXPECT_TRUE(list[0].endsWith(QStringLiteral("lib10.qrb")));
    EXPECT_EQ(list[1], made[4]);
    EXPECT_EQ(list[2], made[8]);
    EXPECT_EQ(list.count(made[4]), 1);
    EXPECT_FALSE(list.contains(made[1])); // the ninth most recent went
}

TEST_F(Recent, TheMenuGreysMissingLibrariesAndClears) {
    const QString kept = library(1);
    const QString gone = library(2);
    RecentLibraries::add(gone);
    RecentLibraries::add(kept);
    QFile::remove(gone);
    QMenu menu;
    QString opened;
    bool cleared = false;
    RecentLibraries::fillMenu(
        &menu, [&](const QString& p) { opened = p; }, [&] { cleared = true; });
    const QList<QAction*> items = menu.actions();
    ASSERT_EQ(items.size(), 4); // two libraries, a separator, Clear
    EXPECT_EQ(items[0]->text(), QStringLiteral("&1 lib1.qrb"));
    EXPECT_TRUE(items[0]->isEnabled());
    EXPECT_FALSE(items[1]->isEnabled());
    EXPECT_EQ(items[1]->toolTip(), gone);
    items[0]->trigger();
    EXPECT_EQ(opened, kept);
    items[3]->trigger();
    EXPECT_TRUE(cleared);
    EXPECT_TRUE(RecentLibraries::paths().isEmpty());
}

} // namespace
} // namespace qrb::test
