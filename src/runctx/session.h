// The process-wide state of one run: start-mode flags, machine list, help texts, and the
// platform services every routine talks through. main() makes exactly one; tests make their own.
#pragma once

#include <array>
#include <set>
#include <string>
#include <vector>

#include "platform/dialog.h"
#include "platform/process.h"
#include "platform/profile.h"

namespace morlane {

class Session {
 public:
  Session(platform::ProcessServices& process, platform::DialogService& dialogs,
          platform::ProfileService& profile)
      : process(process), dialogs(dialogs), profile(profile) {}
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  platform::ProcessServices& process;
  platform::DialogService& dialogs;
  platform::ProfileService& profile;

  bool IntegratedMode = false;
  bool SilentMode = false;
  // A write of the store changed a file on disk (a position, a part of the edit stamp): ending
  // after a failure is then reported as "partly stored", not as "nothing stored".
  bool partlyStored = false;
  // Failures reported so far: a silent run that reported one does not end as stored.
  int errorsReported = 0;
  // Files found unreadable and reported once; later reads of them fail without a report.
  std::set<std::string> unreadableFiles;
  bool HelpMode = false;

  // Machine names numbered from 1. Empty: no machines yet; otherwise entry 0 is unused and
  // size() - 1 is the number of machines.
  std::vector<std::string> MachineNames;
  // Help texts at positions 1 to 100; position 0 is unused.
  std::array<std::string, 101> HelpTexts;

  // How many error reports are in progress; a report made while another one runs must not
  // call back into routines that can fail again.
  int reportDepth = 0;

  int NumberOfMachines() const {
    return MachineNames.empty() ? 0 : static_cast<int>(MachineNames.size()) - 1;
  }
};

}  // namespace morlane
