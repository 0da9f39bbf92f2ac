// The dialogs in German: the catalogue reaches each of them, and the longer German texts
// still give every control a mnemonic of its own.

#include "app/UiLanguage.h"
#include "app/commands/SheetPrintJob.h"
#include "app/commands/TableLetteringCommand.h"
#include "app/dialogs/LetterPreviewDialog.h"
#include "app/dialogs/TextEffectsDialog.h"
#include "platform/qt/DeckOptionsDialog.h"
#include "platform/qt/FontDialog.h"
#include "platform/qt/ImportOptionsDialog.h"
#include "platform/qt/PrintPreviewDialog.h"
#include "support/ui/Mnemonics.h"
#include "support/ui/WindowFixture.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QLabel>

#include <fstream>

namespace qrb::test {
namespace {

class GermanDialogs : public WindowFixture {
protected:
    UiLanguage german{{QStringLiteral("de-DE")}};

    // Shown without `english` in its title or on its labels and buttons, and no key
    // claimed twice.
    static void expectGerman(QDialog& dialog, const QString& english) {
        dialog.show();
        QStringList shown{dialog.windowTitle()};
        for (const QLabel* label : dialog.findChildren<QLabel*>())
            shown << label->text();
        for (const QAbstractButton* button : dialog.findChildren<QAbstractButton*>())
            shown << button->text();
        EXPECT_FALSE(shown.contains(english)) << english.toStdString();
        const Mnemonics keys = mnemonicsOf(dialog);
        EXPECT_TRUE(keys.clashes.isEmpty())
            << english.toStdString() << ": " << keys.clashes.join(", ").toStdString();
    }
};

TEST_F(GermanDialogs, PlatformDialogsSpeakGermanWithTheirOwnMnemonics) {
    ASSERT_EQ(german.name(), "de");
    FontDialog font(FontDialogRequest{FontSettings{"Arial", 10}, 6, 18, dialogflags::Effects});
    expectGerman(font, "Font");
    DeckOptionsDialog deck(DeckDialogRequest{DeckOptions{}, 6, {1, 2}});
    expectGerman(deck, "Export Deck Image");
    ImportOptionsDialog import({q(dir / "missing.png")}, ImportOptions{});
    expectGerman(import, "Import Images");

    TileSet tiles;
    tiles.append(patternTile(40, 40, 1));
    SheetPrintJob job(tiles, {1}, SheetOptions{});
    for (const char* accept : {"P&rint...", "E&xport..."}) {
        PrintPreviewDialog preview(
            job, QCoreApplication::translate("qrb::PrintSheetCommands", "Print"),
            QCoreApplication::translate("qrb::PrintSheetCommands", accept), [] { return true; });
        expectGerman(preview, "&Paper:");
    }
}

TEST_F(GermanDialogs, WindowDialogsSpeakGermanWithTheirOwnMnemonics) {
    open(library("lib.qrb", 2, 40, 40));
    action(Command::TextEffects)->trigger();
    auto* effects = window->findChild<TextEffectsDialog*>();
    ASSERT_NE(effects, nullptr);
    expectGerman(*effects, "Text Effects");

    std::ofstream(dir / "rows.csv", std::ios::binary)
        << "base,slot1,copies\n1,Harbour,1\n2,Mill,2\n";
    platform.dialogs->answers.push_back(q(dir / "rows.csv"));
    action(Command::LetterFromTable)->trigger();
    LetterPreviewDialog* letter = window->tableLettering().preview();
    ASSERT_NE(letter, nullptr);
    expectGerman(*letter, "Letter from Table");
}

} // namespace
} // namespace qrb::test
