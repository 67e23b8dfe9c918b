#pragma once

// What differs between the desktops the window runs on, one implementation
// each (desktop_posix.cpp, desktop_windows.cpp; CMake picks one). The fonts
// WindowFont() and ReadoutFont() of ui/look.h are defined there too.

#include "ui/platform.h"

namespace tervela {

// Readies the window program's surroundings once its QApplication exists;
// false when it cannot start (the error was shown through `platform`).
// POSIX: a write to a pipe whose reader went away or beyond the file-size
// limit fails with an error box (EPIPE, EFBIG) instead of killing the
// program; the working folder and its first start are the launcher's
// (packaging/tervela-launcher.sh.in).
// Windows: the working folder %USERPROFILE%\Tervela (or TERVELA_HOME) becomes
// the current one, prepared on a first start (PrepareWorkingFolder) from the
// examples beside the program.
bool PrepareProgramStart(TPlatform& platform);

}  // namespace tervela
