// The one set of conversions between Windows-1252 and the UTF-16 the wide
// Win32 functions take, shared by the Win32 platform files, defined in
// paths_win32.cpp. windows_api_win32.h holds the API itself and the handle
// owner; files_win32_common.h what the file services share beyond these.
#pragma once

#include <string>

namespace tessaro::platform {

// The path in UTF-16 (code page 1252 whatever the machine's). A long one
// (near or past 260 characters) becomes absolute with the "\\?\" prefix
// ("\\?\UNC\" for a share), which lifts the limit whatever the registry says.
std::wstring WidePath(const std::string& ansiPath);

// Windows-1252 text to UTF-16, and back with "?" for what code page 1252
// lacks (never a look-alike).
std::wstring WideText(const std::string& ansi);
std::string AnsiText(const std::wstring& wide);

// The path as Windows-1252 bytes. Where code page 1252 cannot hold it, its
// short (8.3) form when the volume keeps one; "" when neither holds it.
std::string AnsiOrShortPath(const std::wstring& widePath);

} // namespace tessaro::platform
