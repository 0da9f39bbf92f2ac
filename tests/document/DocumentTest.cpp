// The document: every edit undone and redone byte for byte, the saved state across undo,
// and the working-tile faults the window once had (stale undo copy, snap back).

#include "document/Document.h"

#include "imaging/render/DibConversion.h"
#include "support/QrbFixture.h"
#include "support/TempDir.h"
#include "text/PositionDataFile.h"
#include "tileset/LibraryFile.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace qrb::test {
namespace {

// Tiles 1-4 square 40 x 40, tile 5 64 x 32.
TileSet library() {
    TileSet set;
    for (int i = 1; i <= 4; ++i)
        set.append(patternTile(40, 40, i));
    set.append(patternTile(64, 32, 5));
    return set;
}

// Everything an undo must put back.
struct State {
    std::deque<Tile> tiles;
    StripModel::Selection selection;
    WorkingTile working;
    PositionSlots positionSlots;
    bool open = false;
    bool operator==(const State&) const = default;
};

State stateOf(const Document& d) {
    return State{d.tiles().tiles(), d.strip().selection(), d.working(), d.positionSlots(),
                 d.isLibraryOpen()};
}

QImage solidImage(int w, int h, QColor colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

struct EditCase {
    std::string name;
    std::function<void(Document&)> prepare;
    std::function<void(Document&)> edit;
};

void letter(Document& d, const char* text, int x, int y) {
    d.setText(QString::fromLatin1(text));
    d.setX(std::int16_t(x));
    d.setY(std::int16_t(y));
}

void storeTwoSlots(Document& d) {
    letter(d, "A", 3, 4);
    d.beginStore();
    d.storeOrRecallSlot(1);
    letter(d, "B", 10, 20);
    d.setAngle(37);
    d.beginStore();
    d.storeOrRecallSlot(4);
}

class EveryEdit : public ::testing::TestWithParam<EditCase> {
protected:
    EveryEdit() {
        doc.openTiles(library(), QStringLiteral("lib.qrb"));
        GetParam().prepare(doc);
    }
    Document doc;
    TempDir dir;
};

TEST_P(EveryEdit, UndoRestoresTheStateBeforeAndRedoTheStateAfter) {
    const State before = stateOf(doc);
    const std::size_t steps = doc.history().size();
    GetParam().edit(doc);
    const State after = stateOf(doc);
    ASSERT_NE(before, after) << "the edit changed nothing";
    ASSERT_TRUE(doc.canUndo());
    EXPECT_EQ(doc.history().size(), steps + 1) << "one gesture, one step";

    doc.undo();
    EXPECT_EQ(stateOf(doc), before);
    doc.redo();
    EXPECT_EQ(stateOf(doc), after);
    doc.undo();
    EXPECT_EQ(stateOf(doc), before);
}

const EditCase kEdits[] = {
    {"Place", [](Document& d) { letter(d, "ONE", 5, 6); }, [](Document& d) { d.place(); }},
    {"CreateTile", [](Document& d) { letter(d, "ONE", 5, 6); },
     [](Document& d) { d.createTile(); }},
    {"CreateTileUsingPositionData",
     [](Document& d) {
         storeTwoSlots(d);
         Document::Options o = d.options();
         o.createUsingPosition = true;
         d.setOptions(o);
     },
     [](Document& d) { d.createTile(); }},
    {"AddTile", [](Document&) {}, [](Document& d) { d.addTile(); }},
    {"CloneTile", [](Document& d) { d.showSelectedTile(3); }, [](Document& d) { d.cloneTile(); }},
    {"DeleteTile", [](Document& d) { d.showSelectedTile(3); }, [](Document& d) { d.deleteTile(); }},
    {"DeleteBaseTile", [](Document&) {}, [](Document& d) { d.deleteTile(); }},
    {"DeleteSelectedTiles",
     [](Document& d) {
         d.press(2, RowPart::Full, MouseButton::Left, Modifiers::Ctrl);
         d.press(4, RowPart::Full, MouseButton::Left, Modifiers::Ctrl);
     },
     [](Document& d) { d.deleteSelected(); }},
    {"DeleteSelectedTilesShowsTheOneBefore",
     [](Document& d) {
         d.press(4, RowPart::Full, MouseButton::Left, Modifiers::Ctrl);
         d.press(5, RowPart::Full, MouseButton::Left, Modifiers::Ctrl);
     },
     [](Document& d) { d.deleteSelected(); }},
    {"RotateLeft", [](Document& d) { letter(d, "T", 1, 1); },
     [](Document& d) { d.transform(TransformKind::RotateLeft); }},
    {"RotateRightNonSquare", [](Document& d) { d.showSelectedTile(5); },
     [](Document& d) { d.transform(TransformKind::RotateRight); }},
    {"FlipVertical", [](Document&) {},
     [](Document& d) { d.transform(TransformKind::FlipVertical); }},
    {"FlipHorizontal", [](Document&) {},
     [](Document& d) { d.transform(TransformKind::FlipHorizontal); }},
    {"Paste", [](Document&) {}, [](Document& d) { d.paste(solidImage(30, 20, Qt::green)); }},
    {"PasteBaseImage", [](Document& d) { d.showSelectedTile(3); },
     [](Document& d) { d.pasteBaseImage(); }},
    {"SmallColour", [](Document&) {}, [](Document& d) { d.setSmallColour(palette::DarkBlue); }},
    {"WorkingTileToPreview", [](Document& d) { letter(d, "W", 2, 2); },
     [](Document& d) { d.workingTileToPreview(); }},
    {"FullPreviewToWorkingTile",
     [](Document& d) {
         d.paste(solidImage(12, 12, Qt::red));
         d.editHalfImage();
     },
     [](Document& d) { d.editFullImage(); }},
    {"HalfPreviewToWorkingTile", [](Document&) {}, [](Document& d) { d.editHalfImage(); }},
    {"StoreInSlot", [](Document& d) { letter(d, "S", 7, 8); },
     [](Document& d) {
         d.beginStore();
         d.storeOrRecallSlot(6);
     }},
    {"RecallSlot",
     [](Document& d) {
         storeTwoSlots(d);
         letter(d, "LIVE", 0, 0);
     },
     [](Document& d) { d.storeOrRecallSlot(4); }},
    {"ClearPositionData", [](Document& d) { storeTwoSlots(d); },
     [](Document& d) { d.clearPositionData(); }},
    {"MoveTileUp", [](Document& d) { d.showSelectedTile(3); },
     [](Document& d) { d.moveTiles(Document::TileMove::Up); }},
    {"MoveMarkedTilesToEnd",
     [](Document& d) {
         d.showSelectedTile(4);
         d.setBaseTile();
         d.press(1, RowPart::Full, MouseButton::Left, Modifiers::Ctrl);
         d.press(2, RowPart::Full, MouseButton::Left, Modifiers::Ctrl);
     },
     [](Document& d) { d.moveTiles(Document::TileMove::ToEnd); }},
    {"MoveTileFromTo", [](Document& d) { d.showSelectedTile(2); },
     [](Document& d) { d.moveTile(5, 1); }},
    {"DuplicateTile", [](Document& d) { d.showSelectedTile(2); },
     [](Document& d) { d.duplicateTile(); }},
    {"ReplaceTile",
     [](Document& d) {
         d.showSelectedTile(3);
         letter(d, "R", 4, 5);
     },
     [](Document& d) { d.replaceTile(); }},
};

INSTANTIATE_TEST_SUITE_P(Document, EveryEdit, ::testing::ValuesIn(kEdits),
                         [](const auto& testCase) { return testCase.param.name; });

// A two-step edit is not in the table: each click is its own step there.
TEST(DocumentUndo, LoadPositionDataIsOneStep) {
    TempDir dir;
    Document d;
    d.openTiles(library(), QStringLiteral("lib.qrb"));
    storeTwoSlots(d);
    const std::filesystem::path file = dir / "slots.qpf";
    d.savePositionData(QString::fromStdString(file.string()));
    d.clearPositionData();
    const PositionSlots cleared = d.positionSlots();
    d.loadPositionData(QString::fromStdString(file.string()));
    EXPECT_EQ(d.positionSlots()[4].text, "B");
    EXPECT_EQ(d.history().undoStep().text, QStringLiteral("Load Position Data"));
    d.undo();
    EXPECT_EQ(d.positionSlots(), cleared);
}

TEST(DocumentUndo, DeletingTheLastTileClosesTheLibraryAndUndoOpensItAgain) {
    Document d;
    TileSet one;
    one.append(patternTile(40, 40, 1));
    d.openTiles(std::move(one), QStringLiteral("lib.qrb"));
    d.deleteTile();
    EXPECT_FALSE(d.isLibraryOpen());
    EXPECT_FALSE(d.working().shown);
    d.undo();
    EXPECT_TRUE(d.isLibraryOpen());
    EXPECT_EQ(d.tileCount(), 1);
    EXPECT_TRUE(d.working().shown);
}

TEST(DocumentUndo, UndoingBackToTheSavedStateMakesTheLibrarySavedAgain) {
    TempDir dir;
    Document d;
    d.openTiles(library(), QStringLiteral("lib.qrb"));
    EXPECT_TRUE(d.isSaved());
    d.createTile();
    EXPECT_FALSE(d.isSaved());
    d.save(QString::fromStdString((dir / "saved.qrb").string()));
    EXPECT_TRUE(d.isSaved());
    EXPECT_TRUE(d.canUndo()) << "a save keeps the history";
    d.undo();
    EXPECT_FALSE(d.isSaved());
    d.redo();
    EXPECT_TRUE(d.isSaved());
    // Edits of the working tile alone leave the library saved.
    d.transform(TransformKind::FlipVertical);
    EXPECT_TRUE(d.isSaved());
    // A new edit after undoing past the save: the saved state is gone for good.
    d.undo();
    d.undo();
    d.addTile();
    EXPECT_FALSE(d.isSaved());
}

// Steps that never change the tiles keep the library as saved, also when undone and
// replaced by others.
TEST(DocumentUndo, TypingUndoneAfterASaveAndTypedAgainKeepsTheLibrarySaved) {
    TempDir dir;
    Document d;
    d.openTiles(library(), QStringLiteral("lib.qrb"));
    d.setText(QStringLiteral("A"));
    d.save(QString::fromStdString((dir / "lib.qrb").string()));
    d.setAngle(10);
    d.undo();
    d.undo();
    ASSERT_TRUE(d.isSaved());
    d.setText(QStringLiteral("B"));
    EXPECT_TRUE(d.isSaved());
}

TEST(DocumentUndo, TheOldestStepsGoWhenTheHistoryOutgrowsItsLimit) {
    Document d;
    d.openTiles(library(), QStringLiteral("lib.qrb"));
    d.setHistoryLimit(3 * 40 * 40 * 4 * 2);
    for (int i = 0; i < 10; ++i)
        d.transform(TransformKind::RotateLeft);
    EXPECT_LT(d.history().size(), 10u);
    EXPECT_LE(d.history().bytes(), d.history().limit());
    // One step larger than the limit is still kept: the latest edit can always be undone.
    d.setHistoryLimit(1);
    EXPECT_EQ(d.history().size(), 1u);
    EXPECT_TRUE(d.canUndo());
}

TEST(DocumentUndo, DeleteOfManySelectedTilesIsOneStepThatMovesTheTilesOut) {
    Document d;
    TileSet set;
    for (int i = 1; i <= 300; ++i)
        set.append(patternTile(8, 8, i));
    d.openTiles(std::move(set), QStringLiteral("lib.qrb"));
    d.press(1, RowPart::Full, MouseButton::Left, Modifiers::Ctrl); // unmark the current tile
    for (int i = 2; i <= 300; i += 3)
        d.press(i, RowPart::Full, MouseButton::Left, Modifiers::Ctrl);
    const std::deque<Tile> before = d.tiles().tiles();
    d.deleteSelected();
    EXPECT_EQ(d.tileCount(), 200);
    EXPECT_EQ(d.history().size(), 1u);
    d.undo();
    EXPECT_EQ(d.tiles().tiles(), before);
    for (int i = 2; i <= 300; i += 3)
        EXPECT_TRUE(d.strip().isSelected(i)) << i;
}

// ---- The working tile ---------------------------------------------------------------------

class WorkingTileFaults : public ::testing::Test {
protected:
    WorkingTileFaults() { doc.openTiles(library(), QStringLiteral("lib.qrb")); }
    Document doc;
};

TEST_F(WorkingTileFaults, MovingTheTextAfterATurnOrPasteKeepsTheirResult) {
    const QImage original = doc.workingImage();
    doc.transform(TransformKind::RotateLeft);
    const QImage turned = doc.working().picture;
    ASSERT_NE(turned, original);
    doc.setX(1);
    doc.setX(2);
    doc.setText(QString());
    EXPECT_EQ(doc.workingImage(), turned);

    doc.paste(solidImage(30, 30, Qt::blue));
    doc.setY(3);
    EXPECT_EQ(doc.workingImage().size(), QSize(30, 30));
    EXPECT_EQ(doc.workingImage().pixelColor(0, 0), QColor(Qt::blue));
}

TEST_F(WorkingTileFaults, TheNextTileDoesNotInheritThePreviousLettering) {
    const QImage base = toQImage(doc.tiles().tile(1).full);
    letter(doc, "ONE", 2, 2);
    doc.place();
    doc.createTile();
    EXPECT_EQ(doc.working().picture, base) << "Create goes back to the base tile";
    doc.setText(QString());
    doc.setX(1);
    EXPECT_EQ(doc.workingImage(), base);
    doc.createTile();
    EXPECT_EQ(toQImage(doc.tiles().tile(doc.tileCount()).full), base);
}

TEST_F(WorkingTileFaults, AWorkingTileThatGetsSmallerKeepsItsNewPicture) {
    doc.setX(50);
    doc.setY(38);
    doc.showSelectedTile(5); // 64 x 32
    EXPECT_EQ(doc.placement().y, 38) << "the text keeps its position";
    doc.paste(solidImage(30, 30, Qt::blue));
    doc.setX(4);
    EXPECT_EQ(doc.workingImage().size(), QSize(30, 30));
    doc.createTile();
    EXPECT_EQ(doc.tiles().tile(doc.tileCount()).full.width(), 30);
}

TEST_F(WorkingTileFaults, TheLiveTextFollowsTypingAndCreateTakesWhatIsShown) {
    const QImage plain = doc.workingImage();
    doc.setText(QStringLiteral("HELLO"));
    EXPECT_NE(doc.workingImage(), plain) << "typing shows at once";
    const QImage shown = doc.workingImage();
    doc.setStyle([&] {
        TextStyle s = doc.placement().style;
        s.bold = true;
        return s;
    }());
    EXPECT_NE(doc.workingImage(), shown);
    EXPECT_EQ(doc.working().picture, plain) << "the live text is never stored";
    const QImage created = doc.workingImage();
    doc.createTile();
    EXPECT_EQ(toQImage(doc.tiles().tile(6).full), created);
}

TEST_F(WorkingTileFaults, TheTextLayoutIsOneStepAndTravelsWithStoreRecallAndUndo) {
    letter(doc, "Harbour", 20, 20);
    const QImage plain = doc.workingImage();
    const std::size_t steps = doc.history().size();
    TextLayout layout;
    layout.horizontal = HorizontalAnchor::Centre;
    layout.outlineWidth = 2;
    layout.shadowDx = 1;
    doc.setTextLayout(layout);
    EXPECT_EQ(doc.history().size(), steps + 1);
    EXPECT_EQ(doc.undoText(), "Text Effects");
    EXPECT_NE(doc.workingImage(), plain) << "the preview shows the layout";
    doc.setTextLayout(layout);
    EXPECT_EQ(doc.history().size(), steps + 1) << "the same layout again is no edit";
    doc.setVerticalAnchor(VerticalAnchor::Bottom);
    EXPECT_EQ(doc.undoText(), "Align Text");

    doc.beginStore();
    doc.storeOrRecallSlot(2);
    layout.vertical = VerticalAnchor::Bottom;
    EXPECT_EQ(doc.positionSlots()[2].style.layout, layout);
    doc.undo(); // the store
    doc.undo(); // the anchor
    EXPECT_EQ(doc.placement().style.layout.vertical, VerticalAnchor::Top);
    doc.undo();
    EXPECT_TRUE(doc.placement().style.layout.isDefault());
    EXPECT_EQ(doc.workingImage(), plain);
    doc.redo();
    doc.redo();
    doc.redo();
    doc.setTextLayout(TextLayout{});
    doc.storeOrRecallSlot(2);
    EXPECT_EQ(doc.placement().style.layout, layout) << "recall brings the layout back";

    layout.outlineWidth = TextLayout::kMaxOutlineWidth + 1;
    EXPECT_THROW(doc.setTextLayout(layout), Refusal);
}

TEST_F(WorkingTileFaults, PlaceRotateUndoEverythingCreatesTheUntouchedTile) {
    const QImage base = toQImage(doc.tiles().tile(1).full);
    doc.setText(QStringLiteral("TEXT"));
    doc.place();
    doc.transform(TransformKind::RotateLeft);
    doc.undo();
    doc.undo();
    doc.undo(); // the typing
    doc.createTile();
    doc.createTile();
    doc.undo();
    doc.redo();
    doc.undo();
    ASSERT_EQ(doc.tileCount(), 6);
    EXPECT_EQ(toQImage(doc.tiles().tile(6).full), base);
}

TEST_F(WorkingTileFaults, StampingSlotsDrawsEachStoredTextOnce) {
    storeTwoSlots(doc);
    Document::Options o = doc.options();
    o.createUsingPosition = true;
    doc.setOptions(o);
    doc.showSelectedTile(2);
    doc.createTile();
    const QImage stamped = toQImage(doc.tiles().tile(6).full);

    // The same two texts placed by hand give the same pixels.
    Document byHand;
    byHand.openTiles(library(), QStringLiteral("lib.qrb"));
    byHand.showSelectedTile(2);
    letter(byHand, "A", 3, 4);
    byHand.place();
    letter(byHand, "B", 10, 20);
    byHand.setAngle(37);
    EXPECT_EQ(byHand.workingImage(), stamped);
}

// The five tiles of library() saved as lib.qrb and open, with a sixth made and unsaved.
class DocumentSave : public testing::Test {
protected:
    DocumentSave() {
        LibraryFile::save(path, library());
        d.open(name);
        d.createTile();
    }
    TempDir dir;
    const std::filesystem::path path = dir / "lib.qrb";
    const QString name = QString::fromStdString(path.string());
    Document d;
};

// Save never writes over another program's change unasked: not one made since the library
// was read, nor one that ends while the save waits for it. The user agrees to replace one
// version of the file, and only that one is replaced.
TEST_F(DocumentSave, NeverWritesOverAnotherProgramsChangeUnasked) {
    TileSet other;
    other.append(patternTile(40, 40, 9));
    LibraryFile::save(dir / "other.qrb", other);
    std::filesystem::rename(dir / "other.qrb", path);
    const std::optional<FileIdentity> changed = d.fileOnDisk();

    EXPECT_THROW(d.save(name), FileError);
    EXPECT_EQ(LibraryFile::load(path).count(), 1);
    EXPECT_FALSE(d.isSaved());

    // Agreed to, then another change before the write: still refused.
    std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) +
                                               std::chrono::seconds(2));
    EXPECT_THROW(d.save(name, {}, changed), FileError);
    EXPECT_EQ(LibraryFile::load(path).count(), 1);

    d.save(name, {}, d.fileOnDisk());
    EXPECT_EQ(LibraryFile::load(path).count(), 6);
    EXPECT_TRUE(d.isSaved());
}

} // namespace
} // namespace qrb::test
