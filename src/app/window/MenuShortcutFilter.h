#pragma once
// Lets the menu bar's shortcuts win over the text boxes of the window. A text box takes
// Ctrl+C, Ctrl+V and Ctrl+A for its own text, and one of them has the focus nearly all the
// time, so the menu's Copy, Paste and Save As would hardly ever be reached by key. With
// this filter on a text box, a key that is a menu shortcut goes to the menu; the box keeps
// its context menu and Ctrl+Insert, Shift+Insert and Shift+Delete for its text. A menu item
// that is disabled leaves the key to the box.

#include <QKeySequence>
#include <QList>
#include <QObject>

class QMenuBar;
class QWidget;

namespace qrb {

class MenuShortcutFilter : public QObject {
    Q_OBJECT
public:
    MenuShortcutFilter(const QMenuBar& menus, QObject* parent);

    // Lets the menu's shortcuts win while `widget` has the focus.
    void watch(QWidget* widget);
    // Keys the watched boxes never get, even while their menu item is disabled (undo and
    // redo act on the document, never on a box's text).
    void keepFromBoxes(const QList<QKeySequence>& keys) { kept_ = keys; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const QMenuBar& menus_;
    QList<QKeySequence> kept_;
};

} // namespace qrb
