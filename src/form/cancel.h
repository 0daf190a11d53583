// The question before edits are discarded.
#pragma once

#include <string>

namespace morlane {

class Session;

// The question text (integrated runs also say how to configure the component again).
std::string CancelQuestion(Session& session);

// True when the user confirms discarding the edits (a confirmed cancel is logged); always true
// in a silent run, which logs the question instead of asking. No error trap of its own: a
// failure here is a failure of the caller's step.
bool ConfirmCancel(Session& session);

}  // namespace morlane
