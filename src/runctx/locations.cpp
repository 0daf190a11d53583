#include "runctx/locations.h"

#include "errors/failure.h"
#include "errors/routine.h"
#include "runctx/session.h"
#include "text/path.h"

namespace morlane {

std::string ProjectDirectory(const std::string& applicationDirectory, platform::PathStyle style) {
  const char sep = text::Separator(style);
  std::string dir = applicationDirectory;
  while (!dir.empty() && dir.back() != sep)
    dir.pop_back();
  if (!dir.empty()) dir.pop_back();
  return dir;
}

std::string ProjectDirectory(Session& session) {
  return ProjectDirectory(session.process.ApplicationDirectory(), session.process.Style());
}

std::string GetFileNameOnly(Session& session, const std::string& path) {
  Routine routine(session, "GetFileNameOnly");
  std::string name = path;
  routine.Step([&] {
    const auto sep = name.rfind(text::Separator(session.process.Style()));
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

}  // namespace morlane
