#include "platform/backend.h"
#include "platform/posix/profile_posix.h"

namespace morlane::platform {

std::unique_ptr<ProfileService> MakeProfileService() {
  return std::make_unique<posix::PosixProfileService>();
}

}  // namespace morlane::platform
