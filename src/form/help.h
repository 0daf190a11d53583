// Context help: the help text of a control, shown while help mode is on.
#pragma once

#include <string>

#include "form/controls.h"

namespace morlane {

class Session;

// Every "<CRLF>" marker (any letter case) becomes CR LF, from left to right.
std::string ExpandLineMarkers(const std::string& text);

// Shows the control's help text in an information box when help mode is on. Failures are
// ignored: a help id outside 1..100 shows an empty text.
void ShowHelpText(Session& session, const form::Control& control);

}  // namespace morlane
