#pragma once

#include <functional>
#include <string>

#include "common/result.h"

namespace tervela {

// The name beside `path` that keeps the bytes of a settings file whose load
// stopped early: `path` followed by ".bad".
std::string KeptSettingsName(const std::string& path);

// Reads the settings record a program starts with (ReadSettingsRecord, regular
// files only, so that the start never waits on a FIFO). When the load stops
// early on a regular file that exists (a line too long, a read error), the
// file is copied to KeptSettingsName(path) before anything can write over it,
// and the error's text says where its bytes are, or why they could not be
// kept there.
Status ReadStartupSettings(const std::string& path,
                           const std::function<void(int index, const std::string& text)>& set_line);

}  // namespace tervela
