// Ways the window could lose work, each driven through its controls: text left over from
// the slots, the save questions' Cancel, the selection over the library's own file,
// another program's change of it, and Undo taking back what the user did last.

#include "imaging/render/DibConversion.h"
#include "platform/qt/QtPlatform.h"
#include "support/ui/WindowFixture.h"
#include "text/PositionDataFile.h"
#include "tileset/LibraryFile.h"

#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <fcntl.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

namespace qrb::test {
namespace {

class LostWork : public WindowFixture {
protected:
    Document& doc() { return window->document(); }
    QImage fullOf(int k) { return toQImage(doc().tiles().tile(k).full); }
    void store(int k, const QString& text, int x, int y) {
        ui().textBox->setText(text);
        ui().xField->setText(QString::number(x));
        ui().yField->setText(QString::number(y));
        ui().storeButton->click();
        ui().slotButtons[std::size_t(k)]->click();
    }
};

TEST_F(LostWork, SlotTextIsNotBakedIntoTheTileAfterTheNextCreate) {
    open(library("lib.qrb", 3, 40, 40));
    store(0, "WW", 5, 5);
    ui().textBox->setText("");
    press(2); // tile 1 stays the base tile
    ui().createUsingPositionData->trigger();
    ui().createButton->click(); // tile 4 is stamped
    ASSERT_EQ(window->tileCount(), 4);
    EXPECT_NE(fullOf(4), fullOf(2));
    ui().createUsingPositionData->trigger();
    ui().createButton->click(); // the working tile was reset to the base tile: nothing on it
    ASSERT_EQ(window->tileCount(), 5);
    EXPECT_EQ(fullOf(5), fullOf(1));
}

// Every part of the document shown in the window: each call reports its change once, and
// no control sends what it was told to show back as an edit.
TEST_F(LostWork, ShowingTheDocumentNeverWritesBackIntoIt) {
    open(library("lib.qrb", 3, 40, 40));
    const auto qpf = dir / "slots.qpf";
    {
        PositionSlots stored;
        stored[2].text = "Loaded";
        stored[2].position = "4,6";
        PositionDataFile::write(qpf, stored);
    }
    const std::vector<std::pair<const char*, std::function<void()>>> calls = {
        {"text", [&] { doc().setText("Shown"); }},
        {"position", [&] { doc().setX(7); }},
        {"angle", [&] { doc().setAngle(30); }},
        {"style", [&] { doc().setBold(true); }},
        {"store", [&] { doc().beginStore(); }},
        {"store click", [&] { doc().storeOrRecallSlot(1); }},
        {"slot text", [&] { doc().setSlotText(4, "typed"); }},
        {"load", [&] { doc().loadPositionData(q(qpf)); }},
        {"recall", [&] { doc().storeOrRecallSlot(2); }},
        {"undo", [&] { doc().undo(); }},
        {"redo", [&] { doc().redo(); }},
        {"clear", [&] { doc().clearPositionData(); }},
        {"select", [&] { doc().showSelectedTile(2); }},
        {"create", [&] { doc().createTile(); }},
        {"options",
         [&] {
             Document::Options o = doc().options();
             o.createHalfTile = false;
             doc().setOptions(o);
         }},
    };
    for (const auto& [name, call] : calls) {
        SCOPED_TRACE(name);
        const std::size_t steps = doc().history().size();
        const QString undoText = doc().undoText();
        QSignalSpy spy(&doc(), &Document::changed);
        call();
        EXPECT_EQ(spy.count(), 1);
        // The call's own step at most: nothing typed into a control on its way back.
        EXPECT_LE(doc().history().size(), steps + 1);
        if (doc().history().size() > steps) {
            EXPECT_NE(doc().undoText(), undoText);
        }
    }
}

TEST_F(LostWork, CancelAtTheSaveQuestionsKeepsEverything) {
    const auto first = library("first.qrb", 2, 40, 40);
    const auto second = library("second.qrb", 5, 40, 40);
    open(first);
    ui().createButton->click();
    platform.messages->answers = {Answer::Cancel};
    open(second);
    ASSERT_EQ(platform.messages->shown.size(), 1u);
    EXPECT_TRUE(platform.messages->shown[0].offerCancel);
    EXPECT_EQ(window->tileCount(), 3) << "the open was abandoned";
    EXPECT_EQ(window->currentPath(), q(first));

    bool unloaded = false;
    QObject::connect(window.get(), &Form2::unloaded, [&] { unloaded = true; });
    platform.messages->answers = {Answer::Cancel};
    window->close();
    EXPECT_TRUE(platform.messages->shown.back().offerCancel);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(unloaded);
    EXPECT_EQ(window->tileCount(), 3);

    // No still means: go on without saving.
    platform.messages->answers = {false};
    open(second);
    EXPECT_EQ(window->tileCount(), 5);
}

TEST(MessageBox, EscapeMeansCancelWhenCancelIsOfferedAndNoOtherwise) {
    QtMessageBoxes boxes;
    for (const bool offerCancel : {true, false}) {
        QTimer::singleShot(0, [] {
            QWidget* box = QApplication::activeModalWidget();
            ASSERT_NE(box, nullptr);
            QTest::keyClick(box, Qt::Key_Escape);
        });
        const Answer answer =
            boxes.ask(Question{"Save?", "Test", MessageIcon::Critical, offerCancel});
        EXPECT_EQ(answer, offerCancel ? Answer::Cancel : Answer::No);
    }
}

TEST_F(LostWork, SaveSelectedOverTheLibrarysOwnFileAsksWithNoAsTheDefault) {
    const auto path = library("lib.qrb", 3, 40, 40);
    const auto link = dir / "link.qrb";
    std::filesystem::create_symlink(path, link);
    open(path);
    press(1); // tile 1 again: no tile current
    press(2, Qt::ControlModifier);
    press(3, Qt::ControlModifier);
    ASSERT_EQ(doc().strip().selectedTiles().size(), 2u);
    const auto before = LibraryFile::load(path);

    for (const auto& chosen : {path, link}) {
        SCOPED_TRACE(chosen.string());
        platform.messages->shown.clear();
        platform.dialogs->answers = {q(chosen)};
        ui().saveSelectedTiles->trigger(); // Enter at the question: its default
        ASSERT_EQ(platform.messages->shown.size(), 1u);
        const auto& asked = platform.messages->shown[0];
        EXPECT_EQ(asked.defaultAnswer, Answer::No);
        EXPECT_TRUE(asked.text.contains("2 of the library's 3 tiles")) << asked.text.toStdString();
        EXPECT_EQ(LibraryFile::load(path).count(), before.count()) << "nothing written";
    }
    platform.dialogs->answers = {q(path)};
    platform.messages->answers = {true};
    ui().saveSelectedTiles->trigger();
    EXPECT_EQ(LibraryFile::load(path).count(), 2);
    EXPECT_FALSE(doc().isSaved());
}

TEST_F(LostWork, AFileChangedByAnotherProgramIsNotOverwrittenUnasked) {
    const auto path = library("lib.qrb", 2, 40, 40);
    open(path);
    ui().createButton->click();
    // Another program replaces the file.
    const auto other = library("other.qrb", 7, 40, 40);
    std::filesystem::rename(other, path);

    platform.messages->answers = {true}; // "over write the current file?" - Yes
    EXPECT_FALSE(window->saveLibrary());
    ASSERT_EQ(platform.messages->shown.size(), 2u);
    EXPECT_EQ(platform.messages->shown[1].defaultAnswer, Answer::No);
    EXPECT_TRUE(platform.messages->shown[1].text.contains("changed by another program"));
    EXPECT_EQ(LibraryFile::load(path).count(), 7);

    platform.messages->answers = {true, true};
    EXPECT_TRUE(window->saveLibrary());
    EXPECT_EQ(LibraryFile::load(path).count(), 3);
    // Written here: the next save asks only the usual question.
    platform.messages->shown.clear();
    platform.messages->answers = {true};
    ui().createButton->click();
    EXPECT_TRUE(window->saveLibrary());
    EXPECT_EQ(platform.messages->shown.size(), 1u);
}

// qrbtool imports into the library while the window saves it: the save waits for the
// import to end and then writes nothing over it; the window keeps its tiles, unsaved.
TEST_F(LostWork, ASaveDuringAnotherProgramsChangeLosesNeitherSide) {
    const auto path = library("lib.qrb", 2, 40, 40);
    open(path);
    ui().createButton->click();
    const auto other = library("other.qrb", 7, 40, 40);
    const int held = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    std::thread import([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        std::filesystem::rename(other, path);
        ::close(held);
    });
    platform.messages->answers = {true}; // "over write the current file?" - Yes
    EXPECT_FALSE(window->saveLibrary());
    import.join();
    EXPECT_EQ(LibraryFile::load(path).count(), 7);
    EXPECT_EQ(window->tileCount(), 3);
    EXPECT_FALSE(doc().isSaved());
}

// Coming back to the window: a saved library whose file changed is offered for loading
// again, once, with No as the default (the window may hold the only copy of what was
// saved before); with unsaved work the status bar says that Save will ask.
TEST_F(LostWork, AChangedFileIsNoticedWhenTheWindowComesToTheFront) {
    const auto path = library("lib.qrb", 2, 40, 40);
    open(path);
    auto comeBack = [&] {
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(window.get(), &activate);
        QCoreApplication::processEvents();
    };
    comeBack();
    EXPECT_TRUE(platform.messages->shown.empty()) << "nothing changed";
    std::filesystem::rename(library("other.qrb", 7, 40, 40), path);
    platform.messages->answers = {true};
    comeBack();
    ASSERT_EQ(platform.messages->shown.size(), 1u);
    EXPECT_EQ(platform.messages->shown[0].defaultAnswer, Answer::No);
    EXPECT_EQ(window->tileCount(), 7);
    comeBack();
    EXPECT_EQ(platform.messages->shown.size(), 1u);

    ui().createButton->click();
    std::filesystem::rename(library("third.qrb", 4, 40, 40), path);
    comeBack();
    EXPECT_EQ(platform.messages->shown.size(), 1u) << "unsaved work is never replaced unasked";
    EXPECT_TRUE(panel(5).contains("Another program changed lib.qrb"));
    EXPECT_EQ(window->tileCount(), 8);
}

TEST_F(LostWork, UndoOfClearBringsBackTheTextItsStyleAndPlace) {
    open(library("lib.qrb", 2, 40, 40));
    ui().textBox->setText("Keep");
    ui().toolbarButton(10)->trigger(); // bold
    ui().placeButton->click();
    ui().xBar->setValue(12);
    ui().angleBar->setValue(45);
    const Placement before = doc().placement();
    const QImage shown = ui().workingTile->image();
    ui().clearPositionData->trigger();
    EXPECT_EQ(ui().textBox->text(), "");
    EXPECT_EQ(ui().undo->text(), "&Undo Clear Position Data");
    ui().undo->trigger();
    EXPECT_EQ(doc().placement(), before);
    EXPECT_EQ(ui().textBox->text(), "Keep");
    EXPECT_EQ(ui().xBar->value(), 12);
    EXPECT_EQ(ui().angleField->text(), "045");
    EXPECT_TRUE(ui().toolbarButton(10)->isChecked());
    EXPECT_EQ(ui().workingTile->image(), shown);
}

TEST_F(LostWork, UndoWhileTypingTakesBackTheTypingOneRunAtATime) {
    open(library("lib.qrb", 2, 40, 40));
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    ui().createButton->click();
    const QImage plain = ui().workingTile->image();
    ui().textBox->setFocus();
    QTest::keyClicks(ui().textBox, "abc");
    EXPECT_EQ(ui().undo->text(), "&Undo Typing");
    ui().placeButton->click();
    for (int x : {3, 4, 5})
        ui().xBar->setValue(x);
    EXPECT_EQ(ui().undo->text(), "&Undo Move Text");
    ui().angleBar->setValue(10);
    ui().angleBar->setValue(20);
    ui().textBox->setFocus();

    QTest::keyClick(ui().textBox, Qt::Key_Z, Qt::ControlModifier); // the turns
    EXPECT_EQ(ui().angleField->text(), "000");
    QTest::keyClick(ui().textBox, Qt::Key_Z, Qt::ControlModifier); // the moves
    EXPECT_EQ(ui().xBar->value(), 0);
    QTest::keyClick(ui().textBox, Qt::Key_Z, Qt::ControlModifier); // Place
    QTest::keyClick(ui().textBox, Qt::Key_Z, Qt::ControlModifier); // the typing
    EXPECT_EQ(ui().textBox->text(), "");
    EXPECT_EQ(ui().workingTile->image(), plain);
    EXPECT_EQ(window->tileCount(), 3) << "the library edit before the typing is still done";
    QTest::keyClick(ui().textBox, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(ui().textBox->text(), "abc");

    // Selecting and scrolling the strip are no steps.
    const std::size_t steps = doc().history().size();
    press(2);
    ui().stripBar->setValue(ui().stripBar->maximum());
    EXPECT_EQ(doc().history().size(), steps);
}

TEST_F(LostWork, DeletingTheNextToLastTileScrollsTheStripToTheTop) {
    open(library("lib.qrb", 30, 40, 40));
    ASSERT_TRUE(ui().stripBar->isEnabled());
    // Marked tiles 28 and 29: the first removed number is the new count.
    press(1); // no tile current
    press(28, Qt::ControlModifier);
    press(29, Qt::ControlModifier);
    ui().stripBar->setValue(ui().stripBar->maximum());
    ui().toolbarButton(20)->trigger();
    ASSERT_EQ(window->tileCount(), 28);
    EXPECT_EQ(ui().stripBar->value(), 0);
    // The next-to-last tile alone.
    ui().stripBar->setValue(ui().stripBar->maximum());
    if (window->currentTile() != 27)
        window->showSelectedTile(27);
    ASSERT_EQ(window->currentTile(), 27);
    ui().deleteCurrentTile->trigger();
    ASSERT_EQ(window->tileCount(), 27);
    EXPECT_EQ(ui().stripBar->value(), 0);
    // Create still shows the new last row.
    ui().createButton->click();
    EXPECT_EQ(ui().stripBar->value(), ui().stripBar->maximum());
}

TEST_F(LostWork, SlotButtonsAreEnabledOnlyByStoreAndLoad) {
    open(library("lib.qrb", 2, 40, 40));
    ui().slotTexts[3]->setText("typed");
    EXPECT_FALSE(ui().slotButtons[3]->isEnabled()) << "typing into a slot's box";

    store(0, "A", 1, 1);
    ui().storeButton->click();
    ui().clearPositionData->trigger(); // with a Store pending
    for (QPushButton* button : ui().slotButtons)
        EXPECT_FALSE(button->isEnabled());

    const auto qpf = dir / "one.qpf";
    PositionSlots stored;
    stored[5].text = "five";
    PositionDataFile::write(qpf, stored);
    ui().storeButton->click();
    platform.dialogs->answers = {q(qpf)};
    ui().loadPositionData->trigger(); // with a Store pending
    for (std::size_t k = 0; k < PositionSlots::kCount; ++k)
        EXPECT_EQ(ui().slotButtons[k]->isEnabled(), k == 5) << k;
}

TEST_F(LostWork, CreateFromTheHalfImageMakesATileOfItsOwnSize) {
    // The picture the working tile shows is the tile, not a half image in a padded corner.
    open(library("lib.qrb", 2, 40, 40));
    ui().autoCreateFromWorkingTile->trigger(); // the previews show
    click(ui().halfPreview, {3, 3});
    ui().autoCreateFromWorkingTile->trigger();
    const QImage half = ui().workingTile->image();
    ASSERT_EQ(half.size(), QSize(20, 20));
    ui().createButton->click();
    ASSERT_EQ(window->tileCount(), 3);
    EXPECT_EQ(fullOf(3), half);
    EXPECT_EQ(doc().tiles().tile(3).half.width(), 10);
}

TEST_F(LostWork, SaveDialogsStartInTheLibrarysFolder) {
    std::filesystem::create_directory(dir / "art");
    const auto path = library("art/lib.qrb", 2, 40, 40);
    open(path);
    platform.dialogs->answers = {std::nullopt, std::nullopt};
    window->saveLibraryAs();
    ui().saveSelectedTiles->trigger();
    ASSERT_GE(platform.dialogs->requests.size(), 3u);
    for (std::size_t i = 1; i < 3; ++i)
        EXPECT_EQ(platform.dialogs->requests[i].file.directory, q(dir / "art"));
}

// What the user typed into a slot's box is theirs: Undo and Redo of the Store before it
// leave it, and it is undone and redone as a step of its own.
TEST_F(LostWork, TypingInASlotsBoxSurvivesUndoAndRedo) {
    open(library("lib.qrb", 2, 40, 40));
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    store(0, "North", 2, 2);
    ui().slotTexts[1]->setFocus();
    QTest::keyClicks(ui().slotTexts[1], "Market");
    EXPECT_EQ(ui().undo->text(), "&Undo Slot Text") << "one step for the whole word";
    ui().undo->trigger();
    EXPECT_EQ(ui().slotTexts[1]->text(), "");
    ui().redo->trigger();
    EXPECT_EQ(ui().slotTexts[1]->text(), "Market");
    ui().undo->trigger();
    ui().undo->trigger(); // the Store
    EXPECT_EQ(ui().slotTexts[0]->text(), "");
    ui().redo->trigger();
    ui().redo->trigger();
    EXPECT_EQ(ui().slotTexts[0]->text(), "North");
    EXPECT_EQ(ui().slotTexts[1]->text(), "Market");
}

TEST_F(LostWork, UndoOfDeletingTheLastTileTicksTheOptionItReset) {
    open(library("lib.qrb", 1, 40, 40));
    ui().autoCreateFromWorkingTile->trigger();
    ASSERT_FALSE(ui().autoCreateFromWorkingTile->isChecked());
    ui().toolbarButton(20)->trigger(); // the last tile goes
    EXPECT_TRUE(ui().autoCreateFromWorkingTile->isChecked());
    ui().undo->trigger();
    EXPECT_FALSE(ui().autoCreateFromWorkingTile->isChecked());
    EXPECT_FALSE(ui().fullPreview->isHidden()) << "the previews are back with the option";
}

// A library without tiles is saved like any other, so a Yes to the exit question saves.
TEST_F(LostWork, ALibraryWithoutTilesIsSavedAndTheExitQuestionsYesSaves) {
    const auto path = library("empty.qrb", 0, 40, 40);
    open(path);
    platform.clipboard->setImage(QImage(20, 10, QImage::Format_RGB32));
    ui().paste->trigger();
    ui().createButton->click();
    platform.messages->answers = {true}; // "over write the current file?"
    ui().save->trigger();
    ui().undo->trigger();
    ASSERT_TRUE(window->isWindowModified());
    platform.messages->answers = {true};
    ui().save->trigger();
    EXPECT_FALSE(window->isWindowModified());
    EXPECT_EQ(LibraryFile::load(path).count(), 0);

    ui().redo->trigger();
    bool unloaded = false;
    QObject::connect(window.get(), &Form2::unloaded, [&] { unloaded = true; });
    platform.messages->answers = {true};        // save before exit: Yes
    platform.dialogs->answers = {q(path)};      // Save As names the same file
    platform.messages->answers.push_back(true); // and replaces it
    ui().exit->trigger();
    EXPECT_TRUE(unloaded);
    EXPECT_EQ(LibraryFile::load(path).count(), 1);
}

TEST_F(LostWork, TheTitleMarksUnsavedChanges) {
    const auto path = library("lib.qrb", 2, 40, 40);
    open(path);
    EXPECT_EQ(window->windowTitle(), "QRB Text Editor - " + q(path) + "[*]");
    EXPECT_FALSE(window->isWindowModified());
    ui().createButton->click();
    EXPECT_TRUE(window->isWindowModified());
    ui().undo->trigger();
    EXPECT_FALSE(window->isWindowModified());
}

} // namespace
} // namespace qrb::test
