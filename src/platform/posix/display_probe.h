// Whether the window can be shown: works out which platforms Qt is going to try, as its start
// does, and connects to the display servers among them. Qt aborts the process when none of
// its platforms can start, so a display that is set but cannot be used must be found here.
#pragma once

#include <functional>
#include <string>

namespace morlane::platform::posix {

struct DisplayCheck {
  bool usable = false;
  std::string problem;  // when not usable: why, for the one line on stderr
};

struct DisplayEnvironment {
  // The value of an environment variable; empty when it is unset.
  std::function<std::string(const char* name)> get;
  // Whether a connection to the display server named by the variable's value can be made.
  std::function<bool(const std::string& display)> connectX;
  std::function<bool(const std::string& display)> connectWayland;
};

DisplayCheck CheckDisplay(const DisplayEnvironment& environment);

// The real environment, and connections made with the client libraries of X (libxcb) and
// Wayland (libwayland-client), loaded only for the check.
DisplayEnvironment SystemDisplayEnvironment();

}  // namespace morlane::platform::posix
