// The window and the message boxes of the Windows program: the native view linked into the
// executable, started on first use.
#pragma once

#include <memory>

#include "platform/gui.h"
#include "platform/process.h"

namespace morlane::platform::win32 {

class Win32GuiProvider : public GuiProvider {
 public:
  explicit Win32GuiProvider(ProcessServices& process) : process_(process) {}
  ~Win32GuiProvider() override;

  // Windows always has a desktop to show the window on.
  bool DisplayAvailable() const override { return true; }
  GuiModule* Gui() override;

 private:
  ProcessServices& process_;
  std::unique_ptr<GuiModule> gui_;
};

}  // namespace morlane::platform::win32
