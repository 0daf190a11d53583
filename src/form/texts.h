// Captions, tool tips and help texts of the window in the chosen language.
#pragma once

#include <vector>

#include "form/controls.h"

namespace morlane {

class Session;

// Puts the texts of the language (GetLanguage) on the controls, visited in creation order,
// fills session.HelpTexts, and writes every key the language's section lacks ("0", or under
// "1031" the design caption). A control whose handling fails is skipped silently.
void LoadToolTipTexts(Session& session, std::vector<form::Control>& controls);

}  // namespace morlane
