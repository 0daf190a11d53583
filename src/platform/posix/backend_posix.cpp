#include "platform/backend.h"
#include "platform/posix/gui_loader.h"
#include "platform/profile.h"

namespace morlane::platform {

std::unique_ptr<ProfileService> MakeProfileService() {
  return std::make_unique<NativeProfileService>();
}

std::unique_ptr<GuiProvider> MakeGuiProvider(ProcessServices& process, int& argc, char** argv) {
  return std::make_unique<posix::PosixGuiProvider>(process, argc, argv);
}

}  // namespace morlane::platform
