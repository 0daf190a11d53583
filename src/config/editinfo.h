// The edit stamp: which program version, in which start mode and by whom the order was stored.
#pragma once

#include <string>

namespace morlane {

class Session;

// "abc" -> "666768": each character's code + 5 in upper-case hex, "-" and "_" left out.
std::string EncodeEditor(const std::string& editor);

// Writes [Info] S_Prog and S_Editor into the component's .cfg file. True when both were
// written; a key that could not be written is reported through the error pattern.
bool WriteEditInfo(Session& session);

}  // namespace morlane
