#include "platform/posix/gui_loader.h"

#include <dlfcn.h>

#include <cstdlib>

#include "platform/posix/codepage.h"

namespace morlane::platform::posix {
namespace {

bool IsSet(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

}  // namespace

bool PosixGuiProvider::DisplayAvailable() const {
  return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY") || IsSet("QT_QPA_PLATFORM");
}

GuiModule* PosixGuiProvider::Gui() {
  if (tried_) return gui_;
  tried_ = true;
  const std::string path = Cp1252ToUtf8(process_.ApplicationDirectory()) + "/" + kGuiModuleFile;
  // The module stays loaded for the rest of the process.
  void* module = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) {
    const char* error = ::dlerror();
    process_.WriteDiagnostic(process_.ExecutableBaseName() + ": cannot load the window (" +
                             (error != nullptr ? error : path) + ")\n");
    return nullptr;
  }
  auto create = reinterpret_cast<MorlaneGuiCreateFn>(::dlsym(module, MORLANE_GUI_CREATE_SYMBOL));
  if (create == nullptr) {
    process_.WriteDiagnostic(process_.ExecutableBaseName() + ": " + path +
                             " is not the window module of this program\n");
    return nullptr;
  }
  gui_ = create(process_.ExecutableBaseName().c_str(), &argc_, argv_);
  return gui_;
}

}  // namespace morlane::platform::posix
