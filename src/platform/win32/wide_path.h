// Paths of the core (bytes in the ANSI code page) as the wide file services of Windows take
// them: absolute, in the "\\?\" form, so that a path beyond MAX_PATH (260) works too.
#pragma once

#include <optional>
#include <string>

namespace morlane::platform::win32 {

// Text in the ANSI code page and UTF-16. ToAnsi is empty when some character has no form in
// the code page (no best-fit letters, no "?").
std::wstring FromAnsi(const std::string& ansi);
std::optional<std::string> ToAnsi(const std::wstring& wide);

// The path for CreateFileW and the like: "\\?\D:\..." or "\\?\UNC\server\share\...", made
// absolute against the current directory. Already prefixed paths pass unchanged.
std::wstring WidePath(const std::string& path);

}  // namespace morlane::platform::win32
