// File names on the plant's Windows PCs ignore case; project trees copied to POSIX keep
// their spelling while the program asks for, say, "parameter/program.ini".
#pragma once

#include <string>

namespace morlane::platform::posix {

// The path with every component that does not exist in its exact spelling replaced by an
// existing entry of the same name without regard to ASCII case (the first in sorted order).
// Components after the first one that cannot be found are kept as given.
std::string ResolvePathCase(const std::string& path);

// A path of the core, which keeps text in Windows-1252 as the Windows services do, as the file
// system spells it: UTF-8, with the case of each component resolved. Paths are read in through
// Utf8ToCoreText, which marks what Windows-1252 lacks, so any name the system allows is reached.
std::string ToFileSystemPath(const std::string& path);

}  // namespace morlane::platform::posix
