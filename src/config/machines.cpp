#include "config/machines.h"

#include <algorithm>

#include "config/ini.h"
#include "config/locations.h"
#include "errors/routine.h"
#include "runctx/session.h"

namespace morlane {
namespace {

constexpr int kMachinesWithRows = 5;

// The list only grows: entry n exists once machine n has been found.
void SetMachineName(Session& session, int n, const std::string& name) {
  if (session.MachineNames.size() < static_cast<std::size_t>(n) + 1) {
    session.MachineNames.resize(static_cast<std::size_t>(n) + 1);
  }
  session.MachineNames.at(static_cast<std::size_t>(n)) = name;
}

}  // namespace

void GetExistingMachines(Session& session, const std::string& configurationIniPath) {
  Routine routine(session, "GetExistingMachines");
  if (routine.Test([&] { return session.IntegratedMode; })) {
    if (routine.Test([&] {
          return configurationIniPath.empty() || !session.process.FileExists(configurationIniPath);
        })) {
      return;
    }
    for (int n = 1; n <= 5; ++n) {
      std::string name;
      routine.Step([&] {
        name = LoadIniString(session, "Common", "NameM" + std::to_string(n), configurationIniPath);
      });
      if (routine.Test([&] { return name == "-" || name.empty(); })) return;
      routine.Step([&] { SetMachineName(session, n, name); });
    }
    return;
  }

  std::string programIni;
  int count = 0;
  routine.Step([&] { programIni = GetProgramIniPath(session, IniAccess::Read); });
  routine.Step([&] { count = LoadIniInteger(session, "Project", "NumberOfMachines", programIni); });
  // Rows exist for machines 1 to 5 only: the names above are never shown, so they are not
  // read (a count of 32767 would otherwise cost as many lookups). The count stays the count.
  for (int n = 1; n <= std::min(count, kMachinesWithRows); ++n) {
    routine.Step([&] {
      SetMachineName(
          session, n,
          LoadIniString(session, "Machine" + std::to_string(n), "MachineName", programIni));
    });
  }
  if (count > kMachinesWithRows) routine.Step([&] { SetMachineName(session, count, ""); });
}

std::string GetValidMachines(Session& session) {
  Routine routine(session, "GetValidMachines");
  std::string text;
  routine.Step(
      [&] { text = LoadIniString(session, "Project", "ValidMachines", GetCFGPath(session)); });
  return text;
}

}  // namespace morlane
