#include "config/locations.h"

#include "config/ini.h"
#include "errors/report.h"
#include "errors/routine.h"
#include "runctx/locations.h"
#include "runctx/session.h"
#include "text/path.h"

namespace morlane {

std::string GetM4TConfigurationIniPath(Session& session) {
  Routine routine(session, "GetM4TConfigurationIniPath");
  std::string result;
  std::string path;
  routine.Step([&] {
    path = text::JoinPath(session.process.Style(), ProjectDirectory(session),
                          "parameter\\m4tconfiguration.ini");
  });
  if (routine.Test([&] { return !path.empty() && session.process.FileExists(path); })) {
    result = path;
  }
  return result;
}

std::string GetCFGPath(Session& session) {
  Routine routine(session, "GetCFGPath");
  std::string path;
  routine.Step([&] {
    const std::string component = GetOCXName(session);
    path = text::JoinPath(session.process.Style(), ProjectDirectory(session),
                          component + "\\" + component + ".cfg");
  });
  if (routine.Test([&] { return !path.empty() && session.process.FileExists(path); })) {
    return path;
  }
  routine.Step([&] {
    const std::string unusable = session.process.UnusableLocation();
    ReportFault(session, !unusable.empty()
                             ? unusable
                             : std::string("File not found: ") + kMessageBreak +
                                   text::PathForDisplay(session.process.Style(), path));
  });
  EndProgram(session, platform::ExitStatus::NotStored);
}

std::string ProjectProgramIniPath(Session& session) {
  return text::JoinPath(session.process.Style(), ProjectDirectory(session),
                        "parameter\\Program.ini");
}

std::string GetProgramIniPath(Session& session, IniAccess access) {
  Routine routine(session, "GetProgramIniPath");
  std::string result;
  std::string path;
  if (routine.Test([&] { return access == IniAccess::Read && session.IntegratedMode; })) {
    routine.Step([&] {
      const std::string workingCopy =
          LoadIniString(session, "Common", "SaveAndRestore", GetM4TConfigurationIniPath(session));
      const platform::PathStyle style = session.process.Style();
      if (!workingCopy.empty() && workingCopy.back() == text::Separator(style)) {
        path = workingCopy + text::JoinPath(style, "", "parameter\\program.ini").substr(1);
      } else {
        path = text::JoinPath(style, workingCopy, "parameter\\program.ini");
      }
    });
  } else {
    routine.Step([&] { path = ProjectProgramIniPath(session); });
  }
  if (routine.Test([&] { return session.process.FileExists(path); })) result = path;
  return result;
}

}  // namespace morlane
