// The font dialog as the user works it: keys, the faces and sizes it offers, and what it
// gives back.

#include "platform/qt/FontDialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFontDatabase>
#include <QTest>

namespace qrb {
void PrintTo(const FontSettings& f, std::ostream* os) {
    *os << f.name.toStdString() << ' ' << f.size << (f.bold ? " bold" : "")
        << (f.italic ? " italic" : "") << (f.underline ? " underline" : "")
        << (f.strikethru ? " strikeout" : "") << " colour " << f.colour;
}
} // namespace qrb

namespace qrb::test {
namespace {

FontDialogRequest request(const QString& face, double size = 10) {
    return FontDialogRequest{FontSettings{face, size, true, false, false, true, 0x0000C8u}, 6, 18,
                             dialogflags::ScreenFonts | dialogflags::PrinterFonts |
                                 dialogflags::HelpButton | dialogflags::Effects |
                                 dialogflags::LimitSize};
}

// Shows the dialog as the active window and presses `key` where the keyboard is.
void pressIn(FontDialog& dialog, int key) {
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    QTest::keyClick(focus, Qt::Key(key));
}

TEST(FontDialog, EnterAcceptsAndEscCancelsTheWholeDialog) {
    FontDialog accepted(request("Arial"));
    pressIn(accepted, Qt::Key_Return);
    EXPECT_FALSE(accepted.isVisible());
    EXPECT_EQ(accepted.result(), QDialog::Accepted);

    FontDialog cancelled(request("Arial"));
    pressIn(cancelled, Qt::Key_Escape);
    EXPECT_FALSE(cancelled.isVisible());
    EXPECT_EQ(cancelled.result(), QDialog::Rejected);
}

TEST(FontDialog, UnchangedOkGivesBackTheFaceAsNamedWhetherInstalledSubstitutedOrMissing) {
    const QString installed = QFontDatabase::families().value(0);
    for (const QString& face : {installed, QStringLiteral("Arial"), QStringLiteral("Nonesuch")}) {
        SCOPED_TRACE(face.toStdString());
        FontDialog dialog(request(face, 8.5));
        pressIn(dialog, Qt::Key_Return);
        EXPECT_EQ(dialog.chosen(), request(face, 8.5).current);
    }
}

TEST(FontDialog, OffersOnlyTheSizesWithinItsLimits) {
    FontDialog dialog(request("Arial", 30));
    auto* sizes = dialog.findChild<QComboBox*>(QStringLiteral("size"));
    ASSERT_NE(sizes, nullptr);
    QStringList offered;
    for (int i = 0; i < sizes->count(); ++i)
        offered << sizes->itemText(i);
    EXPECT_EQ(offered, QStringList({"6", "7", "8", "9", "10", "11", "12", "13", "14", "15", "16",
                                    "17", "18"}));
    EXPECT_EQ(dialog.chosen().size, 18); // a size beyond the limits starts at the nearest
    sizes->setCurrentIndex(0);
    EXPECT_EQ(dialog.chosen().size, 6);
}

} // namespace
} // namespace qrb::test
