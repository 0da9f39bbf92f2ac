#pragma once
// A main window on the scripted platform, with a scratch folder for libraries, for tests
// that drive the window through its handlers and controls.

#include "app/commands/LibraryFileCommands.h"
#include "app/window/MainWindow.h"
#include "support/QrbFixture.h"
#include "support/TempDir.h"
#include "support/ui/ScriptedPlatform.h"
#include "widgets/ImageBox.h"
#include "widgets/PanelStatusBar.h"
#include "widgets/ShapeWidget.h"
#include "widgets/TileStrip.h"
#include "widgets/WorkingTileBox.h"

#include <gtest/gtest.h>

// The controls' own classes, so tests can use every member of MainWindow::Controls.
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QString>
#include <QToolBar>

#include <filesystem>
#include <memory>
#include <vector>

namespace qrb::test {

class WindowFixture : public ::testing::Test {
protected:
    WindowFixture() {
        window = std::make_unique<MainWindow>(platform.platform());
        window->show();
    }

    const MainWindow::Controls& ui() const { return window->ui(); }
    QAction* action(Command id) const { return window->action(id); }

    // Resizes the window so that its client area is w x h.
    void resizeClient(int w, int h);

    // Writes a library of `count` solid tiles of the given size (tile i in its own colour).
    std::filesystem::path library(const std::string& name, int count, int width, int height);
    // Opens `path` through the Open command, answering the file dialog with it.
    void open(const std::filesystem::path& path);

    static QString q(const std::filesystem::path& p) { return QString::fromStdString(p.string()); }
    QString panel(int i) const;
    // Where a control lies in the client area's (design) coordinates.
    QRect inClient(const QWidget* w) const;
    // An edit and its reverse: the library counts as unsaved but holds the tiles it had.
    void makeUnsaved();

    // `base` with `text` drawn at (x, y) the way the live text preview draws it at `angle`
    // (0 meaning the angle text "000"), in the working tile's current style.
    QImage lettered(QImage base, const QString& text, int angle, int x, int y) const;

    // Input as a user gives it, delivered straight to the widget.
    static void click(QWidget* w, QPoint at, Qt::MouseButton button = Qt::LeftButton,
                      Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    static void key(QWidget* w, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // A left press on row i's full image in the strip, as the mouse gives it.
    void press(int i, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

    ScriptedPlatform platform;
    TempDir dir;
    std::unique_ptr<MainWindow> window;
};

} // namespace qrb::test
