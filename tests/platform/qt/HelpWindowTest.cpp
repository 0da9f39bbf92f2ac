// The help in the user's language: which page the help window chooses for a list of
// languages, and that the German pages are complete and hold together.

#include "platform/qt/HelpWindow.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

namespace qrb::test {
namespace {

const QString kRoot = QString::fromLatin1(HelpWindow::kHelpRoot);

TEST(HelpLanguage, ChoosesTheFirstOfTheUsersLanguagesThatHasThePage) {
    const QUrl english("qrc:/help/index.html");
    const QUrl german("qrc:/help/de/index.html");
    struct Case {
        QStringList languages;
        QUrl page;
    };
    for (const Case& c : {Case{{"de-DE", "de", "en-US"}, german}, Case{{"de_AT"}, german},
                          Case{{"fr-FR", "fr", "de"}, german}, Case{{"en-GB", "de"}, english},
                          Case{{"fr-FR", "fr"}, english}, Case{{"C"}, english}, Case{{}, english},
                          Case{{""}, english}})
        EXPECT_EQ(HelpWindow::localizedPage(kRoot, "index.html", c.languages), c.page)
            << c.languages.join(' ').toStdString();
}

TEST(HelpLanguage, FallsBackToEnglishForAMissingPageOrALanguageThatIsNoCode) {
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    ASSERT_TRUE(QDir(root.path()).mkdir("de"));
    for (const char* name : {"index.html", "tiles.html", "de/index.html"}) {
        QFile file(root.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const QStringList german{"de-DE", "de"};
    EXPECT_EQ(HelpWindow::localizedPage(root.path(), "index.html", german),
              QUrl::fromLocalFile(root.filePath("de/index.html")));
    EXPECT_EQ(HelpWindow::localizedPage(root.path(), "tiles.html", german),
              QUrl::fromLocalFile(root.filePath("tiles.html")));
    // A language that is not a plain code never reaches outside the help's folder.
    for (const char* name : {"help/index.html", "evil/index.html"}) {
        ASSERT_TRUE(QDir(root.path()).mkpath(QFileInfo(root.filePath(name)).path()));
        QFile file(root.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    EXPECT_EQ(HelpWindow::localizedPage(root.filePath("help"), "index.html", {"../evil"}),
              QUrl::fromLocalFile(root.filePath("help/index.html")));
}

QString read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

TEST(GermanHelp, EveryEnglishPageHasAGermanOneWhoseLinksAllResolve) {
    const QStringList english = QDir(kRoot).entryList({"*.html"}, QDir::Files);
    ASSERT_GE(english.size(), 5);
    QSet<QString> germanPages;
    for (const QString& page : QDir(kRoot + "/de").entryList({"*.html"}, QDir::Files))
        germanPages.insert(page);
    for (const QString& page : english)
        EXPECT_TRUE(germanPages.contains(page)) << "no German " << page.toStdString();

    const QRegularExpression reference(R"re((?:href|src)="([^"]*)")re");
    const QRegularExpression anchor(R"re((?:id|name)="([^"]+)")re");
    int links = 0;
    for (const QString& page : germanPages) {
        const QString html = read(kRoot + "/de/" + page);
        EXPECT_TRUE(html.contains("lang=\"de\"")) << page.toStdString();
        for (auto it = reference.globalMatch(html); it.hasNext(); ++links) {
            const QString target = it.next().captured(1);
            if (target.startsWith("http:") || target.startsWith("https:") ||
                target.startsWith("mailto:"))
                continue;
            const QString file = target.section('#', 0, 0);
            const QString fragment = target.section('#', 1);
            const QString path =
                file.isEmpty() ? kRoot + "/de/" + page : QDir::cleanPath(kRoot + "/de/" + file);
            const std::string where = (page + " -> " + target).toStdString();
            if (!QFile::exists(path)) {
                ADD_FAILURE() << "missing " << where;
                continue;
            }
            if (fragment.isEmpty())
                continue;
            QSet<QString> anchors;
            for (auto a = anchor.globalMatch(read(path)); a.hasNext();)
                anchors.insert(a.next().captured(1));
            EXPECT_TRUE(anchors.contains(fragment)) << "no anchor " << where;
        }
    }
    EXPECT_GT(links, 100);
}

} // namespace
} // namespace qrb::test
