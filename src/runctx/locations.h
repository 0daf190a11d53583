// The places of the program: its project directory and its component name.
#pragma once

#include <string>

#include "platform/process.h"

namespace morlane {

class Session;

// The application directory less its last component: C:\Plant\Config -> C:\Plant,
// D:\ -> D:, /opt/plant/Config -> /opt/plant, /cfg -> empty.
std::string ProjectDirectory(const std::string& applicationDirectory, platform::PathStyle style);
std::string ProjectDirectory(Session& session);

// The part after the last separator (the whole text when there is none).
std::string GetFileNameOnly(Session& session, const std::string& path);

// The executable's base name less its last seven characters ("Morlane_Config" -> "Morlane").
std::string GetOCXName(Session& session);

}  // namespace morlane
