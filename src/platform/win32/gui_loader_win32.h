// Loads the Qt module beside the program when a dialog or the window is needed.
#pragma once

#include "platform/gui.h"
#include "platform/process.h"

namespace morlane::platform::win32 {

inline constexpr const char* kGuiModuleFile = "morlane_gui.dll";

class Win32GuiProvider : public GuiProvider {
 public:
  Win32GuiProvider(ProcessServices& process, int& argc, char** argv)
      : process_(process), argc_(argc), argv_(argv) {}

  // Windows always has a desktop to show the window on.
  bool DisplayAvailable() const override { return true; }
  GuiModule* Gui() override;

 private:
  ProcessServices& process_;
  int& argc_;
  char** argv_;
  GuiModule* gui_ = nullptr;
  bool tried_ = false;
};

}  // namespace morlane::platform::win32
