#include "platform/backend.h"
#include "platform/profile.h"
#include "platform/win32/gui_loader_win32.h"

namespace morlane::platform {

std::unique_ptr<ProfileService> MakeProfileService() {
  return std::make_unique<NativeProfileService>();
}

std::unique_ptr<GuiProvider> MakeGuiProvider(ProcessServices& process, int& argc, char** argv) {
  return std::make_unique<win32::Win32GuiProvider>(process, argc, argv);
}

}  // namespace morlane::platform
