#include "platform/backend.h"
#include "platform/profile.h"

namespace morlane::platform {

std::unique_ptr<ProfileService> MakeProfileService() {
  return std::make_unique<NativeProfileService>();
}

// MakeGuiProvider lives beside the native window it provides (gui/win32/win32_gui.cpp).

}  // namespace morlane::platform
