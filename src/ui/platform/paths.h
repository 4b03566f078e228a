#pragma once
// File names between Qt's text and the standard library's paths.

#include <filesystem>

#include <QFile>
#include <QString>

namespace quorrel {

inline std::filesystem::path ToPath(const QString& name) {
  return std::filesystem::path(QFile::encodeName(name).toStdString());
}

inline QString FromPath(const std::filesystem::path& path) {
  return QFile::decodeName(QByteArray::fromStdString(path.string()));
}

}  // namespace quorrel
