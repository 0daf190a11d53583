// Loads the Qt module beside the program when a dialog or the window is needed.
#pragma once

#include <optional>
#include <string>

#include "platform/gui.h"
#include "platform/posix/display_probe.h"
#include "platform/process.h"

namespace morlane::platform::posix {

inline constexpr const char* kGuiModuleFile = "libmorlane_gui.so";

class PosixGuiProvider : public GuiProvider {
 public:
  PosixGuiProvider(ProcessServices& process, int& argc, char** argv)
      : process_(process), argc_(argc), argv_(argv) {}

  // Connects to the display once, on the first question.
  bool DisplayAvailable() const override;
  std::string NoDisplayReason() const override;
  GuiModule* Gui() override;

 private:
  ProcessServices& process_;
  int& argc_;
  char** argv_;
  GuiModule* gui_ = nullptr;
  bool tried_ = false;
  mutable std::optional<DisplayCheck> display_;
};

}  // namespace morlane::platform::posix
