#include "platform/posix/gui_loader.h"

#include <dlfcn.h>

#include "platform/posix/codepage.h"

namespace morlane::platform::posix {
bool PosixGuiProvider::DisplayAvailable() const {
  if (!display_) display_ = CheckDisplay(SystemDisplayEnvironment());
  return display_->usable;
}

std::string PosixGuiProvider::NoDisplayReason() const {
  return DisplayAvailable() ? std::string() : display_->problem;
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
