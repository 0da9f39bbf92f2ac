#pragma once
// File names as the user and Qt give them (QString) turned into the paths the file layer
// opens, in the file system's own encoding.

#include <QFile>
#include <QString>

#include <filesystem>

namespace qrb {

inline std::filesystem::path toFsPath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

} // namespace qrb
