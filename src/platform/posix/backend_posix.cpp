#include "platform/backend.h"
#include "platform/profile.h"

namespace morlane::platform {

std::unique_ptr<ProfileService> MakeProfileService() {
  return std::make_unique<NativeProfileService>();
}

}  // namespace morlane::platform
