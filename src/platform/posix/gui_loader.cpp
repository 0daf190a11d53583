// Loads the Qt module beside the program when a dialog or the window is needed.
#include <dlfcn.h>

#include <optional>

#include "platform/backend.h"
#include "platform/posix/core_text.h"
#include "platform/posix/display_probe.h"

namespace morlane::platform {
namespace {

constexpr const char* kGuiModuleFile = "libmorlane_gui.so";

class PosixGuiProvider final : public GuiProvider {
 public:
  PosixGuiProvider(ProcessServices& process, int& argc, char** argv)
      : process_(process), argc_(argc), argv_(argv) {}

  // Connects to the display once, on the first question.
  bool DisplayAvailable() const override {
    if (!display_) display_ = posix::CheckDisplay(posix::SystemDisplayEnvironment());
    return display_->usable;
  }
  std::string NoDisplayReason() const override {
    return DisplayAvailable() ? std::string() : display_->problem;
  }
  GuiModule* Gui() override;

 private:
  ProcessServices& process_;
  int& argc_;
  char** argv_;
  GuiModule* gui_ = nullptr;
  bool tried_ = false;
  mutable std::optional<posix::DisplayCheck> display_;
};

GuiModule* PosixGuiProvider::Gui() {
  if (tried_) return gui_;
  tried_ = true;
  const std::string path =
      posix::CoreTextToUtf8(process_.ApplicationDirectory()) + "/" + kGuiModuleFile;
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

}  // namespace

std::unique_ptr<GuiProvider> MakeGuiProvider(ProcessServices& process, int& argc, char** argv) {
  return std::make_unique<PosixGuiProvider>(process, argc, argv);
}

}  // namespace morlane::platform
