// One run of the program: the form is loaded without any GUI; the GUI starts only for a
// message box or the window, and where there is no display the run ends in a defined way.
#pragma once

#include <string>

#include "platform/dialog.h"
#include "platform/gui.h"

namespace morlane {

class Session;

namespace form {
class frm_Morlane_Exe;
}

// A dialog service that starts the GUI on the first message box.
class LazyDialogs : public platform::DialogService {
 public:
  explicit LazyDialogs(platform::GuiProvider& provider) : provider_(provider) {}
  void Attach(Session& session) { session_ = &session; }
  platform::Choice ShowMessage(const platform::MessageRequest& request) override;

 private:
  platform::GuiProvider& provider_;
  Session* session_ = nullptr;
};

// When a message box or the window is needed but cannot be shown (no usable display, or the
// window module cannot be started): a silent run writes the text to the service-pack log and
// ends NotStored; an interactive run says why (`reason`) in one line on stderr and ends
// NoDisplay.
[[noreturn]] void EndWithoutDisplay(Session& session, const std::string& text,
                                    const std::string& reason);

// Loads the form and, unless it has ended the process already, runs its window. A window that
// cannot be made is reported (silent: in the service-pack log) and ends the run NotStored.
platform::ExitStatus RunProgram(Session& session, form::frm_Morlane_Exe& form,
                                platform::GuiProvider& provider);

}  // namespace morlane
