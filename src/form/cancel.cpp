#include "form/cancel.h"

#include "errors/report.h"
#include "platform/dialog.h"
#include "runctx/locations.h"
#include "runctx/session.h"
#include "text/cp1252.h"
#include "text/path.h"

namespace morlane {

std::string CancelQuestion(Session& session) {
  const std::string br = kMessageBreak;
  std::string q =
      "Cancel edits?" + br + "Remark:" + br + "Until now no changes have been taken over ";
  if (session.IntegratedMode) {
    auto& process = session.process;
    // The program file as the user would start it: with ".exe" where programs carry it.
    const bool windows = process.Style() == platform::PathStyle::Windows;
    const std::string program = process.ApplicationDirectory() + text::Separator(process.Style()) +
                                process.ExecutableBaseName() + (windows ? ".exe" : "");
    q += br + "\"" + GetOCXName(session) + "\"" + " has to be configured again in " +
         "\"standalone-mode\"" + " via " + br + "\"" + program + "\"";
  }
  return q;
}

bool ConfirmCancel(Session& session) {
  const std::string question = CancelQuestion(session);
  if (session.SilentMode) {
    WriteServicePackLog(session, question);
    return true;
  }
  const platform::Choice answer =
      session.dialogs.ShowMessage({question, "Cancel?", platform::Buttons::YesNo,
                                   platform::Icon::Warning, platform::Choice::No});
  if (answer != platform::Choice::Yes) return false;
  WriteErrorLog(session, "Konfigurations-EXE wurde abgebrochen:     " +
                             text::EscapeLineBreaks(GetOCXName(session)));
  return true;
}

}  // namespace morlane
