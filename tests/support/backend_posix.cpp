#include "platform/posix/path_case.h"
#include "platform/profile.h"
#include "support/project.h"

namespace morlane::testing {

std::unique_ptr<platform::ProfileService> MakeNativeProfileService() {
  return std::make_unique<platform::NativeProfileService>();
}

std::string NativePath(const std::string& path) {
  return platform::posix::ToFileSystemPath(path);
}

}  // namespace morlane::testing
