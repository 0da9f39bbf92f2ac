// The print preview: every control's mnemonic is its own, and an accept that did not
// happen (a cancelled print dialog) leaves the preview open.

#include "platform/qt/PrintPreviewDialog.h"
#include "app/commands/SheetPrintJob.h"
#include "support/QrbFixture.h"
#include "support/ui/Mnemonics.h"

#include <gtest/gtest.h>

namespace qrb::test {
namespace {

TEST(PrintPreview, NoTwoControlsShareAMnemonicAndAFailedAcceptKeepsItOpen) {
    TileSet tiles;
    tiles.append(patternTile(40, 40, 1));
    tiles.append(patternTile(40, 40, 2));
    SheetPrintJob job(tiles, {1}, SheetOptions{});
    int accepts = 0;
    for (const QString& acceptText : {QStringLiteral("P&rint..."), QStringLiteral("E&xport...")}) {
        PrintPreviewDialog dialog(job, "Print", acceptText, [&] { return ++accepts > 1; });
        dialog.show();
        const Mnemonics keys = mnemonicsOf(dialog);
        EXPECT_TRUE(keys.clashes.isEmpty()) << keys.clashes.join(", ").toStdString();
        EXPECT_TRUE(keys.owners.count(acceptText.at(acceptText.indexOf('&') + 1).toLower()));

        if (accepts == 0) {
            dialog.accept(); // the print dialog was cancelled
            EXPECT_TRUE(dialog.isVisible());
            dialog.accept();
            EXPECT_EQ(dialog.result(), QDialog::Accepted);
            EXPECT_FALSE(dialog.isVisible());
        }
    }
}

} // namespace
} // namespace qrb::test
