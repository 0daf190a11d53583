#include "platform/backend.h"
#include "platform/profile.h"
#include "platform/win32/gui_win32.h"

namespace morlane::platform {

std::unique_ptr<ProfileService> MakeProfileService() {
  return std::make_unique<NativeProfileService>();
}

// argc/argv are for a toolkit that wants them; the native window does not.
std::unique_ptr<GuiProvider> MakeGuiProvider(ProcessServices& process, int&, char**) {
  return std::make_unique<win32::Win32GuiProvider>(process);
}

}  // namespace morlane::platform
