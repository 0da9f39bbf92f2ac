#pragma once
// File > Recent Libraries: the last eight libraries opened or saved, most recent first,
// remembered between runs in the program's settings.

#include <QString>
#include <QStringList>

#include <functional>

class QMenu;

namespace qrb {

class RecentLibraries {
public:
    static constexpr int kMaxCount = 8;

    // As remembered, most recent first.
    static QStringList paths();
    // `path` becomes the most recent; an entry for the same file goes.
    static void add(const QString& path);
    // The entry for `path` (the same file under any name) goes.
    static void remove(const QString& path);
    static void clear();

    // Fills `menu` with one item per library ("&1 castle.qrb", the path as its tip; a
    // library that is no longer there greyed), then "Clear Recent Libraries". A chosen item
    // calls `open` with its path; Clear empties the list and calls `cleared`.
    static void fillMenu(QMenu* menu, const std::function<void(const QString&)>& open,
                         const std::function<void()>& cleared);
};

} // namespace qrb
