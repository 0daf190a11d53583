#include "platform/win32/profile_win32.h"
#include "support/project.h"

namespace morlane::testing {

std::unique_ptr<platform::ProfileService> MakeNativeProfileService() {
  return std::make_unique<platform::win32::Win32ProfileService>();
}

const char* NativeBackend() {
  return "win32";
}

// Windows finds files whatever the case of their names.
std::string NativePath(const std::string& path) {
  return path;
}

}  // namespace morlane::testing
