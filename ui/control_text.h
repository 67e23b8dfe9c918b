#pragma once

// How the window's texts become the bytes the core modules read, and back.

#include <string>

#include <QString>

namespace tervela {

// The core modules take and give UTF-8 on every system: texts, and file
// names, which the file layer gives Windows in UTF-16. (Qt's local 8-bit
// encoding is UTF-8 on Linux, but Windows' ANSI code page.)
inline std::string Bytes(const QString& text) { return text.toUtf8().toStdString(); }

inline QString Text(const std::string& bytes) {
  return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

inline std::string FileName(const QString& name) { return Bytes(name); }

}  // namespace tervela
