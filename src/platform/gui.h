// The graphical user interface, started only when a dialog or the window is really needed: a
// silent run that stores without asking never loads it and needs no display.
#pragma once

#include <string>

#include "platform/dialog.h"
#include "platform/process.h"

namespace morlane::form {
class FormEvents;
}

namespace morlane::platform {

// Thrown by a GUI that has nothing to show its boxes or window on after all (Windows: a
// scheduled task or a service has no interactive desktop). The run then ends as it does
// without a display; reason says why in a few words.
struct GuiUnavailable {
  std::string reason;
};

class GuiModule {
 public:
  virtual ~GuiModule() = default;
  // A modal message box; an empty title shows the application's title.
  virtual Choice ShowMessage(const MessageRequest& request) = 0;
  // Shows the window of the form and runs it until it closes (a confirmed close request).
  virtual ExitStatus RunWindow(form::FormEvents& form) = 0;
  // Why the last RunWindow could not make the window; empty when it could.
  virtual std::string WindowFailure() const { return {}; }
};

class GuiProvider {
 public:
  virtual ~GuiProvider() = default;
  // Whether a display is there to show anything on.
  virtual bool DisplayAvailable() const = 0;
  // Why there is none, when DisplayAvailable() is false: the one line on stderr says it.
  virtual std::string NoDisplayReason() const { return "no display available"; }
  // Loads and starts the GUI on first use; nullptr when it cannot be started.
  virtual GuiModule* Gui() = 0;
};

}  // namespace morlane::platform

// The entry point of the GUI module (a shared library beside the program).
extern "C" {
typedef morlane::platform::GuiModule* (*MorlaneGuiCreateFn)(const char* applicationTitle, int* argc,
                                                            char** argv);
}
#define MORLANE_GUI_CREATE_SYMBOL "morlane_gui_create"
