// The parts of the process services that only Windows has.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace morlane::platform::win32 {

// The arguments of a whole command line: the program's path (up to the closing quote when it
// starts with one, else up to the first blank) and the blanks after it are skipped; the rest
// is kept as it is.
std::string CommandLineArguments(std::string_view commandLine);

// Splits the path of a module into its directory (no trailing backslash except at a drive root
// such as "D:\") and its base name (without the last extension).
void SplitModulePath(const std::string& modulePath, std::string& directory, std::string& baseName);

// The entries of an environment block (strings ending in NUL, an empty one last), in order,
// without those starting with "=": Windows keeps each drive's current directory there
// ("=C:=C:\Plant"), and they are no variables.
std::vector<std::string> EnvironmentBlockEntries(const char* block);

}  // namespace morlane::platform::win32
