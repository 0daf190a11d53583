// A privileged run must not write where another user points it: a symbolic link on the way to
// a file the program writes is followed only when it is owned by the running user, or by the
// owner of the folder that holds it (the rule Linux applies to links in sticky folders) and
// what it leads to belongs to that owner too.
#pragma once

#include <string>

namespace morlane::platform::posix {

// True when every symbolic link met on the way to path (a file-system path; its folders and
// the file itself, and the links their targets lead through) may be followed by that rule.
bool MayFollowLinks(const std::string& path);

}  // namespace morlane::platform::posix
