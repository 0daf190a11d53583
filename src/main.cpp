// Wires the platform services and runs the form. Qt is loaded only when a message box or the
// window is needed, so a silent run that stores without asking starts in a few milliseconds.
#include <cstdio>

#include "form/form.h"
#include "form/program.h"
#include "platform/backend.h"
#include "runctx/session.h"
#include "runctx/usage.h"

int main(int argc, char** argv) {
  using namespace morlane;
  const auto process = platform::MakeProcessServices(argc, argv);
  if (const auto answer = InformationRequested(*process)) {
    std::fputs(answer->c_str(), stdout);
    return 0;
  }
  const auto profile = platform::MakeProfileService();
  const auto gui = platform::MakeGuiProvider(*process, argc, argv);
  LazyDialogs dialogs(*gui);
  Session session(*process, dialogs, *profile);
  dialogs.Attach(session);

  form::frm_Morlane_Exe form(session);
  const int status = RunProgram(session, form, *gui);
  process->EndProcess(status);
}
