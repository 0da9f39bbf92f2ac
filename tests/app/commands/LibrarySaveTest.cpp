// Save, Save As and the bitmap export through the window: the questions asked, the bytes
// written, and the paths that must change nothing.

#include "support/ui/WindowFixture.h"
#include "tileset/BmpWriter.h"
#include "tileset/QrbWriter.h"

namespace qrb::test {
namespace {

using Save = WindowFixture;

TEST_F(Save, PlainSaveAsksBeforeReplacingAndWritesTheLibraryBackUnchanged) {
    const auto path = library("lib.qrb", 3, 30, 30);
    const auto original = readFile(path);
    open(path);
    makeUnsaved();

    // No: nothing written, still unsaved.
    std::filesystem::remove(path);
    EXPECT_FALSE(window->files().saveLibrary());
    EXPECT_EQ(platform.messages->count("Do you want to over write the current file?"), 1);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FALSE(window->document().isSaved());

    // Yes: the file a canonical library was read from is written back byte for byte.
    platform.messages->answers = {true};
    EXPECT_TRUE(window->files().saveLibrary());
    EXPECT_EQ(readFile(path), original);
    EXPECT_TRUE(window->document().isSaved());

    // Unchecked option: no question.
    action(Command::ConfirmReplace)->trigger();
    platform.messages->shown.clear();
    EXPECT_TRUE(window->files().saveLibrary());
    EXPECT_TRUE(platform.messages->shown.empty());
}

struct ExtensionCase {
    const char* chosen;
    const char* written;
};
void PrintTo(const ExtensionCase& c, std::ostream* os) {
    *os << c.chosen;
}

class SaveAsExtension : public WindowFixture,
                        public ::testing::WithParamInterface<ExtensionCase> {};

TEST_P(SaveAsExtension, AppendsQrbUnlessPresentInAnyCase) {
    open(library("lib.qrb", 2, 20, 20));
    makeUnsaved();
    platform.dialogs->answers.push_back(q(dir / GetParam().chosen));
    ASSERT_TRUE(window->files().saveLibraryAs());
    const auto written = dir / GetParam().written;
    EXPECT_EQ(readFile(written), QrbWriter::toBytes(window->document().tiles()));
    EXPECT_EQ(window->windowTitle(), "QRB Text Editor - " + q(written) + "[*]");
    EXPECT_EQ(platform.dialogs->requests.back().file.title, "Save QRB file as ...");
    EXPECT_TRUE(platform.messages->shown.empty()); // Save As never asks to over write
    EXPECT_TRUE(window->document().isSaved());
}

INSTANTIATE_TEST_SUITE_P(Names, SaveAsExtension,
                         ::testing::Values(ExtensionCase{"copy", "copy.qrb"},
                                           ExtensionCase{"copy.QRB", "copy.QRB"},
                                           ExtensionCase{"copy.qrb.bak", "copy.qrb.bak.qrb"},
                                           ExtensionCase{"rb", "rb.qrb"}));

TEST_F(Save, SaveAsAsksBeforeReplacingTheFileItsExtensionLeadsTo) {
    open(library("lib.qrb", 2, 20, 20));
    const auto other = library("other.qrb", 1, 20, 20);
    const auto kept = readFile(other);
    makeUnsaved();
    platform.dialogs->answers = {q(dir / "other"), q(dir / "other")};
    platform.messages->answers = {false, true};
    EXPECT_FALSE(window->files().saveLibraryAs());
    EXPECT_EQ(platform.messages->count("other.qrb already exists"), 1);
    EXPECT_EQ(readFile(other), kept);
    EXPECT_FALSE(window->document().isSaved());
    EXPECT_TRUE(window->files().saveLibraryAs());
    EXPECT_EQ(readFile(other), QrbWriter::toBytes(window->document().tiles()));
}

TEST_F(Save, CancelledSaveAsKeepsThePathAndTheChanges) {
    const auto path = library("lib.qrb", 2, 20, 20);
    open(path);
    makeUnsaved();
    EXPECT_FALSE(window->files().saveLibraryAs()); // the dialog is cancelled
    EXPECT_EQ(window->document().path(), q(path));
    EXPECT_FALSE(window->document().isSaved());
    // A later plain save goes to the library's own file, not to ".qrb".
    platform.messages->answers = {true};
    EXPECT_TRUE(window->files().saveLibrary());
    EXPECT_FALSE(std::filesystem::exists(".qrb"));
    EXPECT_EQ(window->document().path(), q(path));
}

TEST_F(Save, FailedSaveSaysWhyAndKeepsTheOldFileAndTheChanges) {
    const auto path = library("lib.qrb", 2, 20, 20);
    open(path);
    makeUnsaved();
    const auto folder = dir / "folder.qrb";
    std::filesystem::create_directory(folder);
    platform.dialogs->answers.push_back(q(folder));
    EXPECT_FALSE(window->files().saveLibraryAs());
    ASSERT_EQ(platform.messages->shown.size(), 1u);
    EXPECT_TRUE(platform.messages->shown[0].text.contains(q(folder)));
    EXPECT_FALSE(window->document().isSaved());
    EXPECT_EQ(window->document().path(), q(path));
    EXPECT_TRUE(ui().progressBar->isHidden());
}

TEST_F(Save, NothingIsSavedWithoutAnOpenedLibrary) {
    EXPECT_FALSE(window->files().saveLibraryAs());
    EXPECT_TRUE(platform.dialogs->requests.empty());
}

using Export = WindowFixture;

TEST_F(Export, WritesNumberedBitmapsCancelWritesNothingAndFailureNamesTheFile) {
    const auto path = library("lib.qrb", 12, 17, 9);
    open(path);
    window->files().exportBitmaps(); // cancelled
    EXPECT_EQ(dir.entries(), 1u);
    platform.dialogs->answers.push_back(q(dir / "set.BMP"));
    window->files().exportBitmaps();
    const auto& request = platform.dialogs->requests.back();
    EXPECT_EQ(request.kind, ScriptedDialogs::Kind::Save);
    EXPECT_EQ(request.file.title, "Convert QRB file to BMP files starting with ...");
    EXPECT_EQ(request.file.filter, "BMP File (*.bmp)|*.bmp");
    EXPECT_EQ(readFile(dir / "set12.bmp"),
              BmpWriter::toBytes(window->document().tiles().tile(12).full));
    EXPECT_TRUE(platform.messages->shown.empty());
    EXPECT_EQ(window->document().path(), q(path));
    EXPECT_TRUE(ui().progressBar->isHidden());

    std::filesystem::create_directory(dir / "t2.bmp"); // tile 2's name is taken by a folder
    platform.dialogs->answers.push_back(q(dir / "t"));
    window->files().exportBitmaps();
    EXPECT_EQ(platform.messages->count(q(dir / "t2.bmp")), 1);
    EXPECT_FALSE(std::filesystem::exists(dir / "t3.bmp"));
    EXPECT_TRUE(window->commonDialog().CancelError);
}

} // namespace
} // namespace qrb::test
