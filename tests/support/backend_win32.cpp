#include "platform/profile.h"
#include "support/project.h"

namespace morlane::testing {

std::unique_ptr<platform::ProfileService> MakeNativeProfileService() {
  return std::make_unique<platform::NativeProfileService>();
}

// Windows finds files whatever the case of their names.
std::string NativePath(const std::string& path) {
  return path;
}

}  // namespace morlane::testing
