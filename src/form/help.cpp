#include "form/help.h"

#include "platform/dialog.h"
#include "runctx/session.h"
#include "text/cp1252.h"

namespace morlane {

std::string ExpandLineMarkers(const std::string& text) {
  static const std::string kMarker = "<CRLF>";
  std::string result;
  std::string rest = text;
  for (auto at = text::UpperCase1252(rest).find(kMarker); at != std::string::npos;
       at = text::UpperCase1252(rest).find(kMarker)) {
    result += rest.substr(0, at) + "\r\n";
    rest.erase(0, at + kMarker.size());
  }
  return result + rest;
}

void ShowHelpText(Session& session, const form::Control& control) {
  if (!session.HelpMode) return;
  std::string text;
  if (control.helpId >= 1 && control.helpId <= 100) {
    text = ExpandLineMarkers(session.HelpTexts[static_cast<std::size_t>(control.helpId)]);
  }
  session.dialogs.ShowMessage(
      {text, "Info:", platform::Buttons::Ok, platform::Icon::Information, platform::Choice::Ok});
}

}  // namespace morlane
