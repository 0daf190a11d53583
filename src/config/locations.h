// File locations of the INI files, all worked out from the place of the executable.
#pragma once

#include <string>

namespace morlane {

class Session;

enum class IniAccess { Read = 1, Write = 2 };

// project directory + "\parameter\m4tconfiguration.ini", or empty when that file is missing.
std::string GetM4TConfigurationIniPath(Session& session);

// project directory + "\<component>\<component>.cfg". When that file is missing it says so
// (message box, or the service-pack log when silent) and ends the process.
std::string GetCFGPath(Session& session);

// The program ini to read (IniAccess::Read: in integrated mode the "SaveAndRestore" working copy's)
// or to write (IniAccess::Write: always the project's); empty when that file does not exist.
std::string GetProgramIniPath(Session& session, IniAccess access);

// Where the project's program ini is, whether it exists or not.
std::string ProjectProgramIniPath(Session& session);

}  // namespace morlane
