// Wires the platform services and runs the form. Qt is loaded only when a message box or the
// window is needed, so a silent run that stores without asking starts in a few milliseconds.
#include <cstdio>
#include <cstdlib>

#include "errors/report.h"
#include "form/form.h"
#include "form/program.h"
#include "platform/backend.h"
#include "runctx/session.h"
#include "runctx/usage.h"

int main(int argc, char** argv) {
  using namespace morlane;
  platform::SystemProcessServices process(argc, argv);
  if (const auto answer = InformationRequested(process)) {
    std::fputs(answer->c_str(), stdout);
    return EXIT_SUCCESS;
  }
  const auto profile = platform::MakeProfileService();
  const auto gui = platform::MakeGuiProvider(process, argc, argv);
  LazyDialogs dialogs(*gui);
  Session session(process, dialogs, *profile);
  dialogs.Attach(session);

  form::frm_Morlane_Exe form(session);
  EndProgram(session, RunProgram(session, form, *gui));
}
