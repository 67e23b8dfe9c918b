#pragma once

// How the window's texts become the bytes the core modules read, and back.

#include <string>

#include <QFile>
#include <QString>

namespace tervela {

// A control's text in the local encoding.
inline std::string Bytes(const QString& text) { return text.toLocal8Bit().toStdString(); }

inline QString Text(const std::string& bytes) {
  return QString::fromLocal8Bit(bytes.data(), qsizetype(bytes.size()));
}

// A file name as the file system takes it.
inline std::string FileName(const QString& name) { return QFile::encodeName(name).toStdString(); }

}  // namespace tervela
