// Paths as text: joining and display in either spelling (Windows "\" or POSIX "/").
#pragma once

#include <string>

#include "platform/process.h"

namespace morlane::text {

char Separator(platform::PathStyle style);

// dir + separator + relative, where relative is spelled with "\" and every "\" becomes the
// native separator: JoinPath(Posix, "/opt/p", "parameter\\Program.ini") ->
// /opt/p/parameter/Program.ini
std::string JoinPath(platform::PathStyle style, const std::string& dir,
                     const std::string& relative);

// A path as a message shows it: upper case where file names ignore case (Windows); unchanged
// on POSIX, where an upper-cased path would name another file.
std::string PathForDisplay(platform::PathStyle style, const std::string& path);

}  // namespace morlane::text
