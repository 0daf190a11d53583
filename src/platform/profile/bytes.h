// Small byte helpers of the private-profile engine.
#pragma once

#include <string_view>

namespace morlane::platform {

bool IsAscii(std::string_view s);

// Only ASCII letters fold, as in the Windows services; other bytes compare exactly.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

}  // namespace morlane::platform
