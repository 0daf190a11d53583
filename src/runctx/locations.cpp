#include "runctx/locations.h"

#include "config/ini.h"
#include "errors/failure.h"
#include "errors/report.h"
#include "errors/routine.h"
#include "runctx/session.h"
#include "text/cp1252.h"

namespace morlane {

char Separator(platform::PathStyle style) {
  return style == platform::PathStyle::Windows ? '\\' : '/';
}

std::string JoinPath(platform::PathStyle style, const std::string& dir,
                     const std::string& relative) {
  const char sep = Separator(style);
  std::string path = dir;
  path += sep;
  for (const char c : relative)
    path += (c == '\\') ? sep : c;
  return path;
}

std::string ProjectDirectory(const std::string& applicationDirectory, platform::PathStyle style) {
  const char sep = Separator(style);
  std::string dir = applicationDirectory;
  while (!dir.empty() && dir.back() != sep)
    dir.pop_back();
  if (!dir.empty()) dir.pop_back();
  return dir;
}

std::string ProjectDirectory(Session& session) {
  return ProjectDirectory(session.process.ApplicationDirectory(), session.process.Style());
}

std::string PathForDisplay(Session& session, const std::string& path) {
  const std::string shown = text::EscapeLineBreaks(path);
  return session.process.Style() == platform::PathStyle::Windows ? text::UpperCase1252(shown)
                                                                 : shown;
}

std::string GetFileNameOnly(Session& session, const std::string& path) {
  Routine routine(session, "GetFileNameOnly");
  std::string name = path;
  routine.Step([&] {
    const auto sep = name.rfind(Separator(session.process.Style()));
    if (sep != std::string::npos) name.erase(0, sep + 1);
  });
  return name;
}

std::string GetOCXName(Session& session) {
  Routine routine(session, "GetOCXName");
  std::string name;
  routine.Step([&] {
    const std::string base = session.process.ExecutableBaseName();
    if (base.size() < 7) throw Failure::InvalidArgument();
    name = base.substr(0, base.size() - 7);
  });
  return name;
}

std::string GetM4TConfigurationIniPath(Session& session) {
  Routine routine(session, "GetM4TConfigurationIniPath");
  std::string result;
  std::string path;
  routine.Step([&] {
    path = JoinPath(session.process.Style(), ProjectDirectory(session),
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
    path = JoinPath(session.process.Style(), ProjectDirectory(session),
                    component + "\\" + component + ".cfg");
  });
  if (routine.Test([&] { return !path.empty() && session.process.FileExists(path); })) {
    return path;
  }
  routine.Step([&] {
    ReportFault(session,
                std::string("File not found: ") + kMessageBreak + PathForDisplay(session, path));
  });
  EndProgram(session, platform::ExitStatus::NotStored);
}

std::string ProjectProgramIniPath(Session& session) {
  return JoinPath(session.process.Style(), ProjectDirectory(session), "parameter\\Program.ini");
}

std::string GetProgramIniPath(Session& session, int accessMode) {
  Routine routine(session, "GetProgramIniPath");
  std::string result;
  std::string path;
  if (routine.Test([&] { return accessMode == kAccessRead && session.IntegratedMode; })) {
    routine.Step([&] {
      const std::string workingCopy = LoadIniString(session, "Common", "SaveAndRestore",
                                                    GetM4TConfigurationIniPath(session), false);
      const platform::PathStyle style = session.process.Style();
      if (!workingCopy.empty() && workingCopy.back() == Separator(style)) {
        path = workingCopy + JoinPath(style, "", "parameter\\program.ini").substr(1);
      } else {
        path = JoinPath(style, workingCopy, "parameter\\program.ini");
      }
    });
  } else {
    routine.Step([&] { path = ProjectProgramIniPath(session); });
  }
  if (routine.Test([&] { return session.process.FileExists(path); })) result = path;
  return result;
}

}  // namespace morlane
