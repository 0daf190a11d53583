// The POSIX side speaks UTF-8; the core speaks Windows-1252.
#pragma once

#include <string>
#include <string_view>

namespace morlane::platform::posix {

// UTF-8 to Windows-1252; a character the code page lacks, or an invalid byte, becomes "?".
std::string Utf8ToCp1252(std::string_view utf8);

}  // namespace morlane::platform::posix
