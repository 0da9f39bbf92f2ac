// The window in the user's language: German menus on a German desktop, English when the
// user puts English first or speaks a language the program does not, and a letter of its
// own for each visible item of every German menu.

#include "app/UiLanguage.h"
#include "app/window/MainWindow.h"
#include "support/ui/ScriptedPlatform.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

#include <map>
#include <utility>

namespace qrb::test {
namespace {

QStringList menuTitles(MainWindow& window) {
    QStringList titles;
    for (const QAction* a : window.menuBar()->actions()) {
        if (a->isVisible())
            titles << a->text();
    }
    return titles;
}

// The visible items of `actions` that share a mnemonic, or have none, each named once;
// submenus are looked into as well.
QStringList mnemonicClashes(const QList<QAction*>& actions) {
    QStringList clashes;
    std::map<int, QString> taken;
    for (const QAction* a : actions) {
        if (a->isSeparator() || !a->isVisible())
            continue;
        const QKeySequence key = QKeySequence::mnemonic(a->text());
        if (key.isEmpty())
            clashes << a->text() + QStringLiteral(": no mnemonic");
        else if (const auto [at, fresh] = taken.emplace(key[0].toCombined(), a->text()); !fresh)
            clashes << at->second + QStringLiteral(" / ") + a->text();
        if (a->menu())
            clashes << mnemonicClashes(a->menu()->actions());
    }
    return clashes;
}

TEST(WindowLanguage, GermanDesktopReadsGermanWithALetterPerItem) {
    const UiLanguage german({QStringLiteral("de-DE"), QStringLiteral("en-US")});
    ASSERT_EQ(german.name(), QStringLiteral("de"));
    ScriptedPlatform platform;
    MainWindow window(platform.platform());
    EXPECT_EQ(menuTitles(window),
              (QStringList{"&Datei", "&Bearbeiten", "&Kachel", "&Ansicht", "&Hilfe"}));
    EXPECT_EQ(mnemonicClashes(window.menuBar()->actions()).join(u'\n').toStdString(), "");
    EXPECT_EQ(window.action(Command::SaveAs)->text(), QStringLiteral("Speichern &unter ..."));
}

// The first of the user's languages that the program speaks, English included.
TEST(WindowLanguage, FirstLanguageSpokenWins) {
    const std::pair<QStringList, QString> cases[] = {{{"en-GB", "de-DE"}, ""},
                                                     {{"fr-FR", "de-AT", "en"}, "de"},
                                                     {{"fr-FR", "it"}, ""},
                                                     {{"C"}, ""},
                                                     {{}, ""},
                                                     {{"de"}, "de"}};
    for (const auto& [preferred, expected] : cases) {
        const UiLanguage language(preferred);
        EXPECT_EQ(language.name(), expected) << preferred.join(' ').toStdString();
    }
    ScriptedPlatform platform;
    MainWindow window(platform.platform());
    EXPECT_EQ(menuTitles(window).value(0), QStringLiteral("&File")) << "no catalogue is left";
}

} // namespace
} // namespace qrb::test
