// Small byte helpers shared by the POSIX backend.
#pragma once

#include <initializer_list>
#include <string_view>

namespace morlane::platform::posix {

bool IsAscii(std::string_view s);

// Only ASCII letters fold, as in the Windows services; other bytes compare exactly.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

// Writes every piece in turn, resuming after short writes and EINTR. False on any failure.
bool WriteAll(int fd, std::initializer_list<std::string_view> pieces);

}  // namespace morlane::platform::posix
