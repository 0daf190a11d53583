// File locations, all worked out from the place of the executable.
#pragma once

#include <string>

#include "platform/process.h"

namespace morlane {

class Session;

char Separator(platform::PathStyle style);

// dir + separator + relative, where relative is spelled with "\" and every "\" becomes the
// native separator: JoinPath(Posix, "/opt/p", "parameter\\Program.ini") ->
// /opt/p/parameter/Program.ini
std::string JoinPath(platform::PathStyle style, const std::string& dir,
                     const std::string& relative);

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

// Access modes of GetProgramIniPath.
inline constexpr int kAccessRead = 1;
inline constexpr int kAccessWrite = 2;

// project directory + "\parameter\m4tconfiguration.ini", or empty when that file is missing.
std::string GetM4TConfigurationIniPath(Session& session);

// project directory + "\<component>\<component>.cfg". When that file is missing it says so
// (message box, or the service-pack log when silent) and ends the process.
std::string GetCFGPath(Session& session);

// The program ini to read (kAccessRead: in integrated mode the "SaveAndRestore" working copy's)
// or to write (kAccessWrite: always the project's); empty when that file does not exist.
std::string GetProgramIniPath(Session& session, int accessMode);

// Where the project's program ini is, whether it exists or not.
std::string ProjectProgramIniPath(Session& session);

}  // namespace morlane
