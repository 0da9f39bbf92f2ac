#pragma once
// File names as the user and Qt give them (QString) turned into the paths the file layer
// opens, in the file system's own encoding.

#include <QFile>
#include <QFileInfo>
#include <QString>

#include <filesystem>

namespace qrb {

inline std::filesystem::path toFsPath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

// Both names lead to the same existing file, through links or another spelling.
inline bool isSameFile(const QString& a, const QString& b) {
    if (a.isEmpty() || b.isEmpty())
        return false;
    const QString first = QFileInfo(a).canonicalFilePath();
    return !first.isEmpty() && first == QFileInfo(b).canonicalFilePath();
}

} // namespace qrb
