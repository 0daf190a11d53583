// Small byte helpers shared by the POSIX backend.
#pragma once

#include <initializer_list>
#include <string_view>

#include "platform/profile/bytes.h"

namespace morlane::platform::posix {

// Writes every piece in turn, resuming after short writes and EINTR. False on any failure.
bool WriteAll(int fd, std::initializer_list<std::string_view> pieces);

}  // namespace morlane::platform::posix
