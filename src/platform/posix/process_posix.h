// The parts of the process services that only Linux has.
#pragma once

#include <string>

namespace morlane::platform::posix {

// Splits the path of an executable into its directory (no trailing "/" except for the root)
// and its base name (without the last extension).
void SplitExecutablePath(const std::string& exePath, std::string& directory, std::string& baseName);

}  // namespace morlane::platform::posix
