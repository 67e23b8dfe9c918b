#pragma once

#include <QString>

namespace tervela {

// The program's title: the application name and the title of every error box.
inline const QString kApplicationTitle = QStringLiteral("Tervela");

}  // namespace tervela
