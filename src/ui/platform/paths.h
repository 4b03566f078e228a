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

//! The last part of `path`, as a caption or a message names the file.
inline QString FileNameOf(const QString& path) {
  return FromPath(ToPath(path).filename());
}

}  // namespace quorrel
