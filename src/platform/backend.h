// The platform services of the system the program runs on, besides SystemProcessServices
// (platform/process.h). Each backend implements these in its own .cpp files, chosen by CMake.
#pragma once

#include <memory>

#include "platform/gui.h"
#include "platform/process.h"
#include "platform/profile.h"

namespace morlane::platform {

std::unique_ptr<ProfileService> MakeProfileService();
// The GUI module is loaded on first use; argc and argv go to the GUI toolkit then, so they
// must outlive the provider.
std::unique_ptr<GuiProvider> MakeGuiProvider(ProcessServices& process, int& argc, char** argv);

}  // namespace morlane::platform
