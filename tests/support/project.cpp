#include "support/project.h"

namespace morlane::testing {

Project::Project()
    : native(MakeNativeProfileService()), profile(*native), session(process, dialogs, profile) {
  WriteFile(dir / "plant/Config/.keep", "");
  process.applicationDirectory = dir / "plant/Config";
  process.servicePackLog = dir / "HalvoServicePack.log";
}

}  // namespace morlane::testing
