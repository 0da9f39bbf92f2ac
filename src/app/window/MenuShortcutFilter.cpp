#include "app/window/MenuShortcutFilter.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>

namespace qrb {

namespace {

bool isShortcutIn(const QList<QAction*>& actions, const QKeySequence& pressed) {
    for (const QAction* action : actions) {
        if (action->menu() && isShortcutIn(action->menu()->actions(), pressed))
            return true;
        if (action->shortcuts().contains(pressed))
            return true;
    }
    return false;
}

} // namespace

MenuShortcutFilter::MenuShortcutFilter(const QMenuBar& menus, QObject* parent)
    : QObject(parent), menus_(menus) {}

void MenuShortcutFilter::watch(QWidget* widget) {
    widget->installEventFilter(this);
}

bool MenuShortcutFilter::eventFilter(QObject* watched, QEvent* event) {
    // A text box claims the keys it edits with by accepting this event; not passing it on
    // for a menu shortcut lets the shortcut run.
    if (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QKeySequence pressed(
            QKeyCombination(key->modifiers() & ~Qt::KeypadModifier, Qt::Key(key->key())));
        // A kept key whose menu item is disabled arrives as a key press: the box must not
        // take it.
        if (event->type() == QEvent::KeyPress)
            return kept_.contains(pressed) || QObject::eventFilter(watched, event);
        if (isShortcutIn(menus_.actions(), pressed)) {
            event->ignore();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace qrb
