// The print preview: every control's mnemonic is its own, and an accept that did not
// happen (a cancelled print dialog) leaves the preview open.

#include "platform/qt/PrintPreviewDialog.h"
#include "app/commands/SheetPrintJob.h"
#include "support/QrbFixture.h"

#include <QAbstractButton>
#include <QLabel>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <map>

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
        std::map<QChar, QString> owners;
        const QRegularExpression mnemonic(QStringLiteral("&([^&])"));
        auto claim = [&](const QString& text) {
            const QRegularExpressionMatch m = mnemonic.match(text);
            if (!m.hasMatch())
                return;
            const QChar key = m.captured(1).at(0).toLower();
            EXPECT_FALSE(owners.count(key))
                << text.toStdString() << " and " << owners[key].toStdString();
            owners[key] = text;
        };
        for (const QLabel* label : dialog.findChildren<QLabel*>())
            if (label->isVisibleTo(&dialog) && label->buddy())
                claim(label->text());
        for (const QAbstractButton* button : dialog.findChildren<QAbstractButton*>())
            if (button->isVisibleTo(&dialog))
                claim(button->text());
        EXPECT_TRUE(owners.count(acceptText.at(acceptText.indexOf('&') + 1).toLower()));

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
