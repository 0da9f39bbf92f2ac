// Start-up with a command line, shutdown with unsaved changes, help and the About box.

#include "app/dialogs/AboutBox.h"
#include "platform/qt/HelpWindow.h"
#include "support/ui/WindowFixture.h"

#include <QApplication>
#include <QFile>
#include <QFrame>
#include <QRegularExpression>
#include <QTextBrowser>

#include <new>
#include <stdexcept>

#include <QTest>

namespace qrb::test {
namespace {

using Lifecycle = WindowFixture;

TEST_F(Lifecycle, CommandLineLibraryOpensAtFirstActivationWithoutDialog) {
    const auto path = library("start.qrb", 2, 20, 20);
    MainWindow started(platform.platform(), q(path));
    EXPECT_EQ(started.document().tileCount(), 0); // not before the window is active
    started.openStartupFile();
    EXPECT_EQ(started.document().tileCount(), 2);
    EXPECT_EQ(started.document().path(), q(path));
    EXPECT_TRUE(platform.messages->shown.empty());
    started.openStartupFile(); // later activations open nothing
    EXPECT_TRUE(platform.dialogs->requests.empty());
}

TEST_F(Lifecycle, QuotedOrMissingStartupFileIsReportedAndNothingOpens) {
    const auto path = library("start.qrb", 2, 20, 20);
    for (const QString& text : {"\"" + q(path) + "\"", q(dir / "gone.qrb")}) {
        platform.messages->shown.clear();
        MainWindow started(platform.platform(), text);
        started.openStartupFile();
        EXPECT_FALSE(started.document().isLibraryOpen());
        ASSERT_EQ(platform.messages->shown.size(), 1u);
        EXPECT_TRUE(platform.messages->shown[0].text.contains(text));
        EXPECT_EQ(started.windowTitle(), "QRB Text Editor");
    }
}

TEST_F(Lifecycle, ClosingAsksOnlyWithUnsavedChangesOfAnOpenedLibrary) {
    // Changes without an opened library are not offered.
    makeUnsaved();
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(platform.messages->shown.empty());

    window->show();
    open(library("lib.qrb", 2, 20, 20)); // asks to save first: No
    platform.messages->shown.clear();
    EXPECT_TRUE(window->close()); // right after an open: no question
    EXPECT_TRUE(platform.messages->shown.empty());

    window->show();
    makeUnsaved();
    platform.messages->answers = {true}; // Yes, then the Save As dialog is cancelled
    EXPECT_FALSE(window->close());
    ASSERT_EQ(platform.messages->shown.size(), 1u);
    EXPECT_EQ(platform.messages->shown[0].text, "Do you what to save the current QRB File?");
    EXPECT_EQ(platform.messages->shown[0].caption, "Danger Ivo Brankel!");
    EXPECT_EQ(platform.dialogs->requests.back().kind, ScriptedDialogs::Kind::Save);
    EXPECT_TRUE(window->isVisible());

    platform.messages->answers = {false}; // No: the changes go
    EXPECT_TRUE(window->close());
}

TEST_F(Lifecycle, ExitWithYesSavesAsEvenThoughTheLibraryHasAName) {
    open(library("lib.qrb", 2, 20, 20));
    makeUnsaved();
    platform.messages->answers = {true};
    platform.dialogs->answers.push_back(q(dir / "kept"));
    action(Command::Exit)->trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(readFile(dir / "kept.qrb"), readFile(dir / "lib.qrb"));
}

TEST_F(Lifecycle, AFailingCommandIsReportedAndTheWindowCarriesOn) {
    window->runCommand([] { throw std::runtime_error("out of ink"); });
    window->runCommand([] { throw std::bad_alloc(); });
    ASSERT_EQ(platform.messages->shown.size(), 2u);
    EXPECT_TRUE(platform.messages->shown[0].text.contains("out of ink"));
    EXPECT_TRUE(platform.messages->shown[1].text.contains("not enough memory"));
    open(library("lib.qrb", 2, 20, 20)); // the next command runs as usual
    EXPECT_EQ(window->document().tileCount(), 2);
}

TEST_F(Lifecycle, ContentsAndF1OpenTheSameHelp) {
    action(Command::Contents)->trigger();
    // The F1 key of the window (shortcut events need a real keyboard focus to arrive).
    auto* f1 = window->findChild<QAction*>("helpKey");
    EXPECT_EQ(f1->shortcut(), QKeySequence(Qt::Key_F1));
    f1->trigger();
    EXPECT_EQ(platform.help->opened, 2);
}

TEST_F(Lifecycle, AboutBoxIsOneModelessInstanceClosedByEsc) {
    action(Command::About)->trigger();
    QPointer<AboutBox> about = window->aboutBox();
    ASSERT_TRUE(about);
    EXPECT_FALSE(about->isModal());
    EXPECT_EQ(about->windowTitle(), "About Tessarine QRB Text Editor");
    EXPECT_EQ(about->findChild<QLabel*>("lblVersion")->text(), "Version 2.1");
    EXPECT_TRUE(about->findChild<QPushButton*>("cmdOK")->isDefault());
    action(Command::About)->trigger();
    EXPECT_EQ(window->aboutBox(), about.data());

    key(about.data(), Qt::Key_Escape); // closed and gone: the next About makes a new one
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(about.isNull());
}

// A longer translation or a larger desktop font must not cut the remarks off.
TEST_F(Lifecycle, AboutRemarksShowTheirWholeTextAboveTheSeparatorWithALargerFont) {
    const QFont before = QApplication::font();
    QFont larger = before;
    larger.setPointSizeF(before.pointSizeF() * 1.1);
    QApplication::setFont(larger);
    AboutBox about(QPixmap{});
    QApplication::setFont(before);
    auto* remarks = about.findChild<QLabel*>("lblRemarks");
    EXPECT_GE(remarks->height(), remarks->heightForWidth(remarks->width()));
    EXPECT_LT(remarks->geometry().bottom(), about.findChild<QFrame*>("Line1_1")->y());
}

TEST(HelpWindowPages, ContentsPageIsBuiltIntoTheProgramAndLinksResolve) {
    HelpWindow help;
    help.showHome();
    QTextBrowser* browser = help.browser();
    EXPECT_EQ(browser->source(), QUrl("qrc:/help/index.html"));
    EXPECT_FALSE(browser->documentTitle().isEmpty());
    EXPECT_GT(browser->toPlainText().size(), 200);
    // Every page the contents page links to is there too.
    const QString html = browser->toHtml();
    QRegularExpression link(R"(href="([a-z]+\.html))");
    int pages = 0;
    for (auto it = link.globalMatch(html); it.hasNext(); ++pages) {
        const QString page = it.next().captured(1);
        EXPECT_TRUE(QFile::exists(":/help/" + page)) << page.toStdString();
    }
    EXPECT_GT(pages, 0);
    help.close();
}

TEST(HelpWindowPages, EscapeAndCtrlWCloseTheHelp) {
    for (const QKeySequence& keys :
         {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
        HelpWindow help;
        help.showHome();
        help.show();
        help.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&help));
        QTest::keySequence(help.browser(), keys);
        EXPECT_FALSE(help.isVisible()) << keys.toString().toStdString();
    }
}

} // namespace
} // namespace qrb::test
