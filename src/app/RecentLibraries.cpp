#include "app/RecentLibraries.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>

namespace qrb {

namespace {

const char* const kKey = "recentLibraries";

QString canonical(const QString& path) {
    const QFileInfo info(path);
    const QString real = info.canonicalFilePath();
    return real.isEmpty() ? info.absoluteFilePath() : real;
}

} // namespace

QStringList RecentLibraries::paths() {
    QStringList list = QSettings().value(QString::fromLatin1(kKey)).toStringList();
    list.removeAll(QString());
    while (list.size() > kMaxCount)
        list.removeLast();
    return list;
}

void RecentLibraries::add(const QString& path) {
    if (path.isEmpty())
        return;
    remove(path);
    QStringList list = paths();
    list.prepend(QFileInfo(path).absoluteFilePath());
    while (list.size() > kMaxCount)
        list.removeLast();
    QSettings().setValue(QString::fromLatin1(kKey), list);
}

void RecentLibraries::remove(const QString& path) {
    const QString same = canonical(path);
    QStringList list = paths();
    if (list.removeIf([&](const QString& p) { return canonical(p) == same; }) > 0)
        QSettings().setValue(QString::fromLatin1(kKey), list);
}

void RecentLibraries::clear() {
    QSettings().remove(QString::fromLatin1(kKey));
}

void RecentLibraries::fillMenu(QMenu* menu, const std::function<void(const QString&)>& open,
                               const std::function<void()>& cleared) {
    // The items go later: the list is filled again from an item's own signal.
    for (QAction* item : menu->actions()) {
        menu->removeAction(item);
        item->deleteLater();
    }
    menu->setToolTipsVisible(true);
    const QStringList list = paths();
    int number = 0;
    for (const QString& path : list) {
        ++number;
        QString name = QFileInfo(path).fileName();
        name.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* item = menu->addAction(QStringLiteral("&%1 %2").arg(number).arg(name));
        item->setToolTip(path);
        item->setEnabled(QFileInfo(path).isFile());
        QObject::connect(item, &QAction::triggered, menu, [open, path] { open(path); });
    }
    if (!list.isEmpty())
        menu->addSeparator();
    QAction* clearItem = menu->addAction(QObject::tr("Clear Recent Libraries"));
    clearItem->setObjectName(QStringLiteral("mnuClearRecent"));
    clearItem->setEnabled(!list.isEmpty());
    QObject::connect(clearItem, &QAction::triggered, menu, [cleared] {
        clear();
        cleared();
    });
}

} // namespace qrb
