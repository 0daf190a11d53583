#include "form/program.h"

#include <cstdlib>

#include "errors/report.h"
#include "form/form.h"
#include "runctx/session.h"

namespace morlane {

void EndWithoutDisplay(Session& session, const std::string& text) {
  auto& process = session.process;
  if (session.SilentMode) {
    WriteServicePackLog(session, text);
    process.EndProcess(kExitNotStored);
  }
  process.WriteDiagnostic(process.ExecutableBaseName() +
                          ": no display available (DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM "
                          "are unset); nothing was stored\n");
  process.EndProcess(kExitNoDisplay);
  std::abort();  // not reached: EndProcess does not return
}

platform::Choice LazyDialogs::ShowMessage(const platform::MessageRequest& request) {
  platform::GuiModule* gui = provider_.DisplayAvailable() ? provider_.Gui() : nullptr;
  if (gui == nullptr) {
    if (session_ == nullptr) std::abort();  // wired up wrongly: no way to report anything
    EndWithoutDisplay(*session_, request.text);
  }
  return gui->ShowMessage(request);
}

int RunProgram(Session& session, form::frm_Morlane_Exe& form, platform::GuiProvider& provider) {
  form.Form_Load();
  // Still running: the window is needed (a normal start, or a silent store that was refused).
  platform::GuiModule* gui = provider.DisplayAvailable() ? provider.Gui() : nullptr;
  if (gui == nullptr) {
    EndWithoutDisplay(session, "Nothing stored: the window is needed, but no display is available");
  }
  return gui->RunWindow(form);
}

}  // namespace morlane
