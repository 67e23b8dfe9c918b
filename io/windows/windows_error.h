#pragma once

// What every Windows file call in io/windows/ needs: names in UTF-16, errors
// in the program's words, the handle behind a descriptor. Internal to io/.

#include <windows.h>
// windows.h makes these names macros for its own functions; in io/ they name
// the program's (io::ReplaceFile, io::CopyFile).
#undef ReplaceFile
#undef CopyFile

#include <optional>
#include <string>
#include <string_view>

#include "common/result.h"

namespace tervela::io::windows {

// `name`, UTF-8 as the program keeps every name, in UTF-16 as Windows' file
// functions take it; nothing where the bytes are not UTF-8. Drive letters,
// UNC names (\\server\share\...) and either slash pass as they are.
std::optional<std::wstring> WideName(std::string_view name);

// The UTF-8 form of a UTF-16 name Windows gave.
std::string Utf8Name(std::wstring_view name);

// The errno that Error::FromErrno maps Windows' error `code` with: the POSIX
// error of the same meaning, else kSystemErrorBase plus the code, so that an
// error POSIX has no name for (a sharing violation, 32) keeps its number.
int ErrnoOf(DWORD code);

// The program's error for GetLastError().
Error LastError();

// The Windows handle of descriptor `fd` (INVALID_HANDLE_VALUE for none).
HANDLE HandleOf(int fd);

}  // namespace tervela::io::windows
