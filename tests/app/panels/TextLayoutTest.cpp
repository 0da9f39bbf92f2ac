// The text's anchor and effects in the window: the Align commands (checked as the text is
// laid out, one step each, named in the status bar) and the Text Effects dialog, whose
// preview follows its controls and whose OK is one step.

#include "app/dialogs/TextEffectsDialog.h"
#include "support/ui/WindowFixture.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QSpinBox>

namespace qrb::test {
namespace {

class TextLayoutWindow : public WindowFixture {
protected:
    TextLayoutWindow() {
        open(library("lib.qrb", 2, 40, 40));
        ui().textBox->setText("Harbour");
    }
    const TextLayout& layout() const { return window->document().placement().style.layout; }
    TextEffectsDialog* openEffects() {
        action(Command::TextEffects)->trigger();
        return window->findChild<TextEffectsDialog*>();
    }
    static void press(TextEffectsDialog* dialog, QDialogButtonBox::StandardButton which) {
        dialog->findChild<QDialogButtonBox*>()->button(which)->click();
    }
};

TEST_F(TextLayoutWindow, AlignCommandsAreCheckedByTheLayoutAndEachIsOneStep) {
    // Which of each three is checked, as "x--" for the first.
    const auto checks = [this] {
        std::string marks;
        for (QAction* a : {action(Command::AlignLeft), action(Command::AlignCentre),
                           action(Command::AlignRight), action(Command::AlignTop),
                           action(Command::AlignMiddle), action(Command::AlignBottom)})
            marks += a->isChecked() ? 'x' : '-';
        return marks;
    };
    EXPECT_EQ(checks(), "x--x--");
    for (QAction* a :
         {action(Command::AlignLeft), action(Command::AlignBottom), action(Command::TextEffects)}) {
        EXPECT_TRUE(ui().editMenu->actions().contains(a) && ui().mainToolBar->actions().contains(a))
            << a->text().toStdString();
    }
    const QImage before = window->document().workingImage();
    const std::size_t steps = window->document().history().size();

    action(Command::AlignCentre)->trigger();
    action(Command::AlignMiddle)->trigger();
    EXPECT_EQ(layout().horizontal, HorizontalAnchor::Centre);
    EXPECT_EQ(layout().vertical, VerticalAnchor::Middle);
    EXPECT_EQ(checks(), "-x--x-");
    EXPECT_EQ(window->document().history().size(), steps + 2);
    EXPECT_EQ(action(Command::Undo)->text(), "&Undo Align Text");
    EXPECT_EQ(panel(4), "Centre Middle");
    EXPECT_GE(ui().statusPanels->panelWidth(4), 150) << "the style panel makes room for it";
    EXPECT_NE(window->document().workingImage(), before) << "the live text moved";
    ui().toolbarButton(10)->trigger(); // Bold
    EXPECT_EQ(panel(4), "Bold, Centre Middle");
    action(Command::AlignCentre)->trigger(); // already centred: stays checked, no step
    EXPECT_EQ(checks(), "-x--x-");
    EXPECT_EQ(window->document().history().size(), steps + 3);

    for (int i = 0; i < 3; ++i)
        action(Command::Undo)->trigger();
    EXPECT_EQ(checks(), "x--x--");
    EXPECT_EQ(panel(4), "");
    EXPECT_EQ(ui().statusPanels->panelWidth(4), 78) << "and gives it back";
    EXPECT_EQ(window->document().workingImage(), before);
}

TEST_F(TextLayoutWindow, TextEffectsPreviewFollowsTheControlsAndOkIsOneStep) {
    TextEffectsDialog* dialog = openEffects();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    const QImage plain = dialog->preview();
    const std::size_t steps = window->document().history().size();

    dialog->outlineWidth->setValue(2);
    platform.dialogs->colourAnswers = {rgbColour(0, 0, 255)};
    dialog->outlineColour->click();
    dialog->shadow->setChecked(true);
    dialog->fitWidth->setValue(30);
    const TextLayout chosen = dialog->layout();
    EXPECT_EQ(chosen.outlineWidth, 2);
    EXPECT_EQ(chosen.outlineColour, rgbColour(0, 0, 255));
    EXPECT_EQ(chosen.shadowDx, 1);
    EXPECT_EQ(chosen.shadowDy, 1);
    EXPECT_EQ(chosen.fitWidth, 30);
    EXPECT_NE(dialog->preview(), plain);
    Placement expected = window->document().placement();
    expected.style.layout = chosen;
    QImage drawn = window->document().working().picture.copy();
    drawPlacement(drawn, expected);
    EXPECT_EQ(dialog->preview(), drawn) << "the preview is the working tile with the effects";
    EXPECT_TRUE(layout().isDefault()) << "nothing changes before OK";
    EXPECT_EQ(window->document().history().size(), steps);

    press(dialog, QDialogButtonBox::Ok);
    EXPECT_EQ(layout(), chosen);
    EXPECT_EQ(window->document().history().size(), steps + 1);
    EXPECT_EQ(action(Command::Undo)->text(), "&Undo Text Effects");
    EXPECT_EQ(window->document().workingImage(), drawn);

    // Opened again it starts from the text's effects; Cancel keeps them.
    dialog = openEffects();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->layout(), chosen);
    dialog->outlineWidth->setValue(0);
    platform.dialogs->colourAnswers = {std::nullopt};
    dialog->shadowColour->click(); // a cancelled colour dialog changes nothing
    EXPECT_EQ(dialog->layout().shadowColour, chosen.shadowColour);
    press(dialog, QDialogButtonBox::Cancel);
    EXPECT_EQ(layout(), chosen);
    EXPECT_EQ(window->document().history().size(), steps + 1);
}

} // namespace
} // namespace qrb::test
