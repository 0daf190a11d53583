#include "form/program.h"

#include <cstdlib>

#include "errors/report.h"
#include "form/form.h"
#include "runctx/session.h"

namespace morlane {

void EndWithoutDisplay(Session& session, const std::string& text, const std::string& reason) {
  auto& process = session.process;
  if (session.SilentMode) {
    WriteServicePackLog(session, text);
    EndProgram(session, platform::ExitStatus::NotStored);
  }
  const char* stored =
      session.partlyStored ? "the store was only partly written" : "nothing was stored";
  process.WriteDiagnostic(process.ExecutableBaseName() + ": " + reason + "; " + stored + "\n");
  EndProgram(session, platform::ExitStatus::NoDisplay);
}

namespace {

// The loader has already said on stderr why a window module could not be started.
std::string WhyNoGui(const platform::GuiProvider& provider, bool displayAvailable) {
  return displayAvailable ? "the window cannot be started" : provider.NoDisplayReason();
}

}  // namespace

platform::Choice LazyDialogs::ShowMessage(const platform::MessageRequest& request) {
  const bool display = provider_.DisplayAvailable();
  platform::GuiModule* gui = display ? provider_.Gui() : nullptr;
  if (gui == nullptr) {
    if (session_ == nullptr) std::abort();  // wired up wrongly: no way to report anything
    EndWithoutDisplay(*session_, request.text, WhyNoGui(provider_, display));
  }
  try {
    return gui->ShowMessage(request);
  } catch (const platform::GuiUnavailable& e) {
    // The text must not be lost: a silent run logs it on its way out, any other run here.
    if (!session_->SilentMode) WriteServicePackLog(*session_, request.text);
    EndWithoutDisplay(*session_, request.text, e.reason);
  }
}

platform::ExitStatus RunProgram(Session& session, form::frm_Morlane_Exe& form,
                                platform::GuiProvider& provider) {
  form.Form_Load();
  // Still running: the window is needed (a normal start, or a silent store that was refused).
  const std::string stored = session.partlyStored
                                 ? "Partly stored (see the errors above): the window is needed"
                                 : "Nothing stored: the window is needed";
  const bool display = provider.DisplayAvailable();
  platform::GuiModule* gui = display ? provider.Gui() : nullptr;
  if (gui == nullptr) {
    EndWithoutDisplay(
        session,
        stored + (display ? ", but it cannot be started" : ", but no display is available"),
        WhyNoGui(provider, display));
  }
  try {
    const platform::ExitStatus status = gui->RunWindow(form);
    if (const std::string why = gui->WindowFailure(); !why.empty()) {
      // Said in a box where one can still be shown, else logged on the way out.
      ReportFault(session, "The window cannot be created: " + why);
      EndProgram(session, platform::ExitStatus::NotStored);
    }
    return status;
  } catch (const platform::GuiUnavailable& e) {
    EndWithoutDisplay(session, stored + ", but it cannot be shown", e.reason);
  }
}

}  // namespace morlane
