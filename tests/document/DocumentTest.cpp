// The document: every edit undone and redone byte for byte, the saved state across undo,
// and the working-tile faults the window once had (stale undo copy, snap back).

#include "document/Document.h"

#include "imaging/render/DibConversion.h"
#include "lettering/LetteringTable.h"
#include "support/QrbFixture.h"
#include "support/TempDir.h"
#include "text/PositionDataFile.h"
#include "tileset/LibraryFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <random>
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
    QImage shown; // the working tile as the view paints it, with the text being placed
    Placement placement;
    SlotState slotState;
    Document::Options options;
    QString path;
    bool open = false;
    bool saved = false;
    bool largeLayout = false;
    int oddTiles = 0;
    bool operator==(const State&) const = default;
};

State stateOf(const Document& d) {
    SlotState held{d.positionSlots(), {}, d.storePending()};
    for (int k = 0; k < int(PositionSlots::kCount); ++k)
        held.buttons[std::size_t(k)] = d.slotEnabled(k);
    return State{d.tiles().tiles(), d.strip().selection(),
                 d.working(),       d.workingImage(),
                 d.placement(),     held,
                 d.options(),       d.path(),
                 d.isLibraryOpen(), d.isSaved(),
                 d.largeLayout(),   d.oddTileCount()};
}

// The parts in which two states differ, for a failure that says what was lost.
std::string differences(const State& a, const State& b) {
    std::string parts;
    auto check = [&](bool same, const char* name) {
        if (!same)
            parts += std::string(parts.empty() ? "" : ", ") + name;
    };
    check(a.tiles == b.tiles, "tiles");
    check(a.selection == b.selection, "marks, current or base tile");
    check(a.working == b.working, "working tile or previews");
    check(a.shown == b.shown, "working tile as shown");
    check(a.placement == b.placement, "text being placed");
    check(a.slotState.positionSlots == b.slotState.positionSlots, "slots");
    check(a.slotState.buttons == b.slotState.buttons &&
              a.slotState.storePending == b.slotState.storePending,
          "slot buttons");
    check(a.options == b.options, "options");
    check(a.path == b.path && a.open == b.open, "path or open library");
    check(a.saved == b.saved, "saved state");
    check(a.largeLayout == b.largeLayout && a.oddTiles == b.oddTiles, "layout");
    return parts;
}

QImage solidImage(int w, int h, QColor colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

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

void toggleOptions(Document& d, bool usingPosition, bool fromWorkingTile, bool halfTile) {
    Document::Options o = d.options();
    o.createUsingPosition = usingPosition;
    o.createFromWorkingTile = fromWorkingTile;
    o.createHalfTile = halfTile;
    d.setOptions(o);
}

// Where the edits start from.
struct StartState {
    std::string name;
    std::function<void(Document&, const TempDir&)> make;
    bool everyEditChanges = false; // the table's edits all change something here
};

void PrintTo(const StartState& start, std::ostream* os) {
    *os << start.name;
}

const StartState kStarts[] = {
    {"Opened",
     [](Document& d, const TempDir&) { d.openTiles(library(), QStringLiteral("lib.qrb")); }, true},
    // Marks, a placed text still live, stored and typed slots, options off their defaults.
    {"Lettered",
     [](Document& d, const TempDir&) {
         d.openTiles(library(), QStringLiteral("lib.qrb"));
         storeTwoSlots(d);
         d.setSlotText(6, QStringLiteral("typed"));
         d.showSelectedTile(3);
         d.press(2, RowPart::Full, MouseButton::Left, Modifiers::Ctrl);
         letter(d, "Live", 6, 7);
         d.place();
         d.setBold(true);
         toggleOptions(d, true, true, false);
     }},
    // File > New: open, no tiles, nothing shown.
    {"Empty", [](Document& d, const TempDir&) { d.newLibrary(); }},
    // One tile and the previews in use: deleting it closes the library and resets an option.
    {"OneTile",
     [](Document& d, const TempDir&) {
         TileSet one;
         one.append(patternTile(40, 40, 1));
         d.openTiles(std::move(one), QStringLiteral("one.qrb"));
         toggleOptions(d, false, false, true);
     }},
    // Saved under a name after an edit, with large and odd tiles.
    {"SavedLarge",
     [](Document& d, const TempDir& dir) {
         TileSet set = library();
         set.append(patternTile(300, 20, 6));
         d.openTiles(std::move(set), QStringLiteral("lib.qrb"));
         d.createTile();
         d.save(QString::fromStdString((dir / "saved.qrb").string()));
     }},
};

struct EditCase {
    std::string name;
    std::function<void(Document&)> prepare;
    std::function<void(Document&)> edit;
};

void PrintTo(const EditCase& edit, std::ostream* os) {
    *os << edit.name;
}

const EditCase kEdits[] = {
    {"Place", [](Document& d) { letter(d, "ONE", 5, 6); }, [](Document& d) { d.place(); }},
    {"CreateTile", [](Document& d) { letter(d, "ONE", 5, 6); },
     [](Document& d) { d.createTile(); }},
    {"CreateTileUsingPositionData",
     [](Document& d) {
         storeTwoSlots(d);
         toggleOptions(d, true, d.options().createFromWorkingTile, d.options().createHalfTile);
     },
     [](Document& d) { d.createTile(); }},
    {"AddTile", [](Document&) {}, [](Document& d) { d.addTile(); }},
    {"CloneTile", [](Document& d) { d.showSelectedTile(3); }, [](Document& d) { d.cloneTile(); }},
    {"DeleteTile", [](Document& d) { d.showSelectedTile(3); }, [](Document& d) { d.deleteTile(); }},
    {"DeleteBaseTile", [](Document&) {}, [](Document& d) { d.deleteTile(1); }},
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
    {"PasteLarge", [](Document&) {}, [](Document& d) { d.paste(solidImage(300, 20, Qt::green)); }},
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
    {"Typing", [](Document&) {}, [](Document& d) { d.setText(QStringLiteral("Typed")); }},
    {"MoveText", [](Document& d) { d.place(); }, [](Document& d) { d.moveTextTo(7, 9); }},
    {"TurnText", [](Document&) {}, [](Document& d) { d.enterAngle(QStringLiteral("45")); }},
    {"TextEffects", [](Document& d) { letter(d, "E", 1, 1); },
     [](Document& d) {
         TextLayout layout;
         layout.outlineWidth = 1;
         d.setTextLayout(layout);
     }},
    {"Font", [](Document&) {},
     [](Document& d) {
         TextStyle style = d.placement().style;
         style.textColour = palette::White;
         d.chooseFont(style);
     }},
    // Store's first click is no edit: Undo of the slot click leaves Store waiting again.
    {"StoreInSlot",
     [](Document& d) {
         letter(d, "S", 7, 8);
         d.beginStore();
     },
     [](Document& d) { d.storeOrRecallSlot(6); }},
    {"RecallSlot",
     [](Document& d) {
         storeTwoSlots(d);
         letter(d, "LIVE", 0, 0);
     },
     [](Document& d) { d.storeOrRecallSlot(4); }},
    {"SlotText", [](Document& d) { storeTwoSlots(d); },
     [](Document& d) { d.setSlotText(2, QStringLiteral("Market")); }},
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
     [](Document& d) {
         if (d.tileCount() >= 2)
             d.moveTile(d.tileCount(), 1);
     }},
    {"DropTiles", [](Document& d) { d.showSelectedTile(2); },
     [](Document& d) {
         d.dropTiles({1, 2}, d.tileCount() + 1);
     }},
    {"DuplicateTile", [](Document& d) { d.showSelectedTile(2); },
     [](Document& d) { d.duplicateTile(); }},
    {"InsertTiles", [](Document&) {},
     [](Document& d) {
         d.insertTiles(d.insertionPoint(), {patternTile(20, 10, 8), patternTile(400, 400, 9)},
                       QStringLiteral("Import Images"));
     }},
    {"ReplaceTile",
     [](Document& d) {
         d.showSelectedTile(3);
         letter(d, "R", 4, 5);
     },
     [](Document& d) { d.replaceTile(); }},
};

class EveryEdit : public ::testing::TestWithParam<std::tuple<StartState, EditCase>> {};

TEST_P(EveryEdit, UndoRestoresTheStateBeforeAndRedoTheStateAfter) {
    const auto& [start, edit] = GetParam();
    TempDir dir;
    Document doc;
    start.make(doc, dir);
    edit.prepare(doc);
    doc.startTextMove(); // the edit is a step of its own, not the end of a run
    const State before = stateOf(doc);
    const std::size_t steps = doc.history().position();
    edit.edit(doc);
    const State after = stateOf(doc);
    if (after == before) {
        EXPECT_FALSE(start.everyEditChanges) << "the edit changed nothing";
        EXPECT_EQ(doc.history().position(), steps) << "nothing changed, no step";
        return;
    }
    ASSERT_EQ(doc.history().position(), steps + 1) << "one gesture, one step";

    doc.undo();
    EXPECT_EQ(differences(stateOf(doc), before), "");
    doc.redo();
    EXPECT_EQ(differences(stateOf(doc), after), "");
    doc.undo();
    EXPECT_EQ(differences(stateOf(doc), before), "");
}

INSTANTIATE_TEST_SUITE_P(Document, EveryEdit,
                         ::testing::Combine(::testing::ValuesIn(kStarts),
                                            ::testing::ValuesIn(kEdits)),
                         [](const auto& testCase) {
                             return std::get<0>(testCase.param).name + "_" +
                                    std::get<1>(testCase.param).name;
                         });

// ---- Random sequences ----------------------------------------------------------------------

// A document command with arguments drawn at random. Setup commands (selecting, Store's
// first click, the options, undo and redo, save) are no edits; every other one is checked.
struct RandomCommand {
    const char* name;
    bool setup;
    std::function<void(Document&, std::mt19937&)> run;
};

int anyOf(std::mt19937& random, int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
}

// A tile number, now and then one outside the library.
int aTile(const Document& d, std::mt19937& random) {
    if (anyOf(random, 0, 9) == 0)
        return anyOf(random, 0, 1) == 0 ? 0 : d.tileCount() + 1;
    return anyOf(random, 1, std::max(1, d.tileCount()));
}

std::vector<RandomCommand> randomCommands(const TempDir& dir) {
    const QString qpf = QString::fromStdString((dir / "slots.qpf").string());
    const QString png = QString::fromStdString((dir / "a.png").string());
    const auto table = dir / "rows.csv";
    const QString saved = QString::fromStdString((dir / "random.qrb").string());
    using D = Document;
    using R = std::mt19937;
    return {
        {"create", false, [](D& d, R&) { d.createTile(); }},
        {"replace", false, [](D& d, R&) { d.replaceTile(); }},
        {"add", false, [](D& d, R&) { d.addTile(); }},
        {"clone", false, [](D& d, R&) { d.cloneTile(); }},
        {"duplicate", false, [](D& d, R&) { d.duplicateTile(); }},
        {"delete", false, [](D& d, R& r) { d.deleteTile(aTile(d, r)); }},
        {"delete selected", false, [](D& d, R&) { d.deleteSelected(); }},
        {"delete tiles", false,
         [](D& d, R& r) {
             const int a = aTile(d, r);
             d.deleteTiles({a, a + 2});
         }},
        {"move", false, [](D& d, R& r) { d.moveTiles(D::TileMove(anyOf(r, 0, 3))); }},
        {"move from to", false,
         [](D& d, R& r) {
             const int from = aTile(d, r);
             d.moveTile(from, aTile(d, r));
         }},
        {"drop", false,
         [](D& d, R& r) {
             const int a = aTile(d, r);
             d.dropTiles({a, a + 1}, aTile(d, r));
         }},
        {"insert", false,
         [](D& d, R& r) {
             d.insertTiles(aTile(d, r), {patternTile(anyOf(r, 1, 300), anyOf(r, 1, 30), 3)},
                           QStringLiteral("Insert"));
         }},
        {"import", false,
         [png](D& d, R&) {
             d.importPictures({png, png + "-missing.png"});
         }},
        {"letter", false, [table](D& d, R&) { d.letterFromTable(LetteringTable::read(table)); }},
        {"place", false, [](D& d, R&) { d.place(); }},
        {"transform", false, [](D& d, R& r) { d.transform(TransformKind(anyOf(r, 0, 3))); }},
        {"paste", false,
         [](D& d, R& r) { d.paste(solidImage(anyOf(r, 1, 200), anyOf(r, 1, 50), Qt::cyan)); }},
        {"paste base", false, [](D& d, R&) { d.pasteBaseImage(); }},
        {"small colour", false, [](D& d, R& r) { d.setSmallColour(ColourValue(anyOf(r, 0, 15))); }},
        {"to preview", false, [](D& d, R&) { d.workingTileToPreview(); }},
        {"edit full", false, [](D& d, R&) { d.editFullImage(); }},
        {"edit half", false, [](D& d, R&) { d.editHalfImage(); }},
        {"type", false,
         [](D& d, R& r) { d.setText(d.placement().text + QChar(u'a' + anyOf(r, 0, 5))); }},
        {"bold", false, [](D& d, R& r) { d.setBold(anyOf(r, 0, 1) == 1); }},
        {"italic", false, [](D& d, R& r) { d.setItalic(anyOf(r, 0, 1) == 1); }},
        {"size", false, [](D& d, R& r) { d.stepFontSize(anyOf(r, -1, 1)); }},
        {"font", false,
         [](D& d, R& r) {
             TextStyle style = d.placement().style;
             style.textColour = anyOf(r, 0, 1) ? palette::White : palette::DarkBlue;
             d.chooseFont(style);
         }},
        {"align", false,
         [](D& d, R& r) { d.setHorizontalAnchor(HorizontalAnchor(anyOf(r, 0, 2))); }},
        {"align vertically", false,
         [](D& d, R& r) { d.setVerticalAnchor(VerticalAnchor(anyOf(r, 0, 2))); }},
        {"effects", false,
         [](D& d, R& r) {
             TextLayout layout;
             layout.outlineWidth = anyOf(r, 0, 2);
             d.setTextLayout(layout);
         }},
        {"x", false, [](D& d, R& r) { d.setX(std::int16_t(anyOf(r, -5, 60))); }},
        {"y", false, [](D& d, R& r) { d.setY(std::int16_t(anyOf(r, -5, 60))); }},
        {"drag text", false,
         [](D& d, R& r) {
             const int x = anyOf(r, -9, 90);
             d.moveTextTo(x, anyOf(r, -9, 90));
         }},
        {"angle", false, [](D& d, R& r) { d.setAngle(anyOf(r, -1, 360)); }},
        {"typed angle", false,
         [](D& d, R& r) {
             static const char* const typed[] = {"45", "12.5", "360", "abc", "0"};
             d.enterAngle(QString::fromLatin1(typed[anyOf(r, 0, 4)]));
         }},
        {"reset angle", false, [](D& d, R&) { d.resetAngle(); }},
        {"store or recall", false, [](D& d, R& r) { d.storeOrRecallSlot(anyOf(r, 0, 8)); }},
        {"slot text", false,
         [](D& d, R& r) {
             const int k = anyOf(r, 0, 8);
             d.setSlotText(k, QString::fromStdString(d.positionSlots()[std::size_t(k)].text) +
                                  QChar(u'k'));
         }},
        {"load slots", false, [qpf](D& d, R&) { d.loadPositionData(qpf); }},
        {"clear slots", false, [](D& d, R&) { d.clearPositionData(); }},

        {"press", true,
         [](D& d, R& r) {
             d.press(aTile(d, r), RowPart(anyOf(r, 0, 3)), MouseButton(anyOf(r, 0, 1)),
                     Modifiers(anyOf(r, 0, 2)));
         }},
        {"show", true, [](D& d, R& r) { d.showSelectedTile(aTile(d, r)); }},
        {"base", true, [](D& d, R&) { d.setBaseTile(); }},
        {"store", true, [](D& d, R&) { d.beginStore(); }},
        {"options", true,
         [](D& d, R& r) {
             toggleOptions(d, anyOf(r, 0, 3) == 0, anyOf(r, 0, 2) != 0, anyOf(r, 0, 2) != 0);
         }},
        {"undo", true, [](D& d, R&) { d.undo(); }},
        {"redo", true, [](D& d, R&) { d.redo(); }},
        {"save", true, [saved](D& d, R&) { d.save(saved); }},
        {"new", true,
         [](D& d, R& r) {
             if (!d.isLibraryOpen() || anyOf(r, 0, 20) == 0)
                 d.openTiles(library(), QStringLiteral("lib.qrb"));
         }},
    };
}

class RandomEdits : public ::testing::TestWithParam<StartState> {};

TEST_P(RandomEdits, EveryStepUndoesAndRedoesTheWholeState) {
    TempDir dir;
    {
        Document stored;
        stored.openTiles(library(), QStringLiteral("lib.qrb"));
        storeTwoSlots(stored);
        stored.savePositionData(QString::fromStdString((dir / "slots.qpf").string()));
        solidImage(30, 12, Qt::magenta).save(QString::fromStdString((dir / "a.png").string()));
        std::ofstream(dir / "rows.csv") << "base,slot1\r\n1,Row\r\n";
    }
    const std::vector<RandomCommand> commands = randomCommands(dir);
    for (const unsigned seed : {1u, 2u, 3u}) {
        Document doc;
        GetParam().make(doc, dir);
        std::mt19937 random(seed);
        for (int i = 0; i < 300; ++i) {
            const RandomCommand& command =
                commands[std::size_t(anyOf(random, 0, int(commands.size()) - 1))];
            SCOPED_TRACE(std::to_string(seed) + ":" + std::to_string(i) + " " + command.name);
            const State before = stateOf(doc);
            const std::size_t done = doc.history().position();
            try {
                command.run(doc, random);
            } catch (const std::exception&) {
                // Refused or unreadable: nothing changed.
                ASSERT_EQ(differences(stateOf(doc), before), "");
                ASSERT_EQ(doc.history().position(), done);
                continue;
            }
            if (command.setup)
                continue;
            const State after = stateOf(doc);
            const std::size_t now = doc.history().position();
            if (now == done && after == before)
                continue; // nothing to do here
            // Undo and redo below end any run, so every edit here is a step of its own.
            ASSERT_EQ(now, done + 1) << "a change without a step of its own";
            doc.undo();
            ASSERT_EQ(differences(stateOf(doc), before), "") << "undo";
            doc.redo();
            ASSERT_EQ(differences(stateOf(doc), after), "") << "redo";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Document, RandomEdits, ::testing::ValuesIn(kStarts),
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

// Typing into a slot's box is the user's work: Undo and Redo of other steps keep it.
TEST(DocumentUndo, TypingIntoASlotsBoxIsAStepPerBoxThatOtherStepsLeaveAlone) {
    Document d;
    d.openTiles(library(), QStringLiteral("lib.qrb"));
    d.setText(QStringLiteral("North"));
    d.beginStore();
    d.storeOrRecallSlot(0);
    for (const char* typed : {"M", "Ma", "Market"})
        d.setSlotText(1, QString::fromLatin1(typed));
    EXPECT_EQ(d.undoText(), QStringLiteral("Slot Text"));
    EXPECT_FALSE(d.slotEnabled(1)) << "typed text waits for Store or Load";
    d.setSlotText(2, QStringLiteral("Harbour")); // another box: a step of its own

    d.undo();
    EXPECT_EQ(d.positionSlots()[2].text, "");
    EXPECT_EQ(d.positionSlots()[1].text, "Market");
    d.undo(); // the whole run of typing into the second box
    EXPECT_EQ(d.positionSlots()[1].text, "");
    EXPECT_EQ(d.undoText(), QStringLiteral("Store in Slot 1"));
    d.undo();
    d.redo();
    d.redo();
    EXPECT_EQ(d.positionSlots()[0].text, "North");
    EXPECT_EQ(d.positionSlots()[1].text, "Market");
    EXPECT_FALSE(d.slotEnabled(1));
    EXPECT_TRUE(d.slotEnabled(0));
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
