// File locations, all worked out from the place of the executable.
#pragma once

#include <string>

#include "platform/process.h"

namespace morlane {

class Session;

char Separator(platform::PathStyle style);

// dir + separator + relative, where relative is spelled with "\" and every "\" becomes the
// native separator: JoinPath(Posix, "/opt/p", "parameter\\Program.ini") -> /opt/p/parameter/Program.ini
std::string JoinPath(platform::PathStyle style, const std::string& dir, const std::string& relative);

// The application directory less its last component: C:\Plant\Config -> C:\Plant,
// D:\ -> D:, /opt/plant/Config -> /opt/plant, /cfg -> empty.
std::string ProjectDirectory(const std::string& applicationDirectory, platform::PathStyle style);
std::string ProjectDirectory(Session& session);

// A path as a message shows it: upper case where file names ignore case (Windows); unchanged
// on POSIX, where an upper-cased path would name another file.
std::string PathForDisplay(Session& session, const std::string& path);

// The part after the last separator (the whole text when there is none).
std::string GetFileNameOnly(Session& session, const std::string& path);

// The executable's base name less its last seven characters ("Morlane_Config" -> "Morlane").
std::string GetOCXName(Session& session);

}  // namespace morlane
