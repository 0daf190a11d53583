// The two questions a user may ask any command-line program: how to use it and which version
// it is. They are answered before the form loads, so nothing is read or written.
#pragma once

#include <optional>
#include <string>

#include "platform/process.h"

namespace morlane {

// The text to print when the whole command line is "--help" or "--version"; nothing for
// every other command line, which keeps its meaning as a start mode.
std::optional<std::string> InformationRequested(const platform::ProcessServices& process);

}  // namespace morlane
