#pragma once

#include <QString>

namespace tervela {

// The 28 lines of the Help page, joined by line feeds.
QString HelpText();

}  // namespace tervela
