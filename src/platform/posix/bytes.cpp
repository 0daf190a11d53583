#include "platform/posix/bytes.h"

#include <unistd.h>

#include <cerrno>

namespace morlane::platform::posix {

bool WriteAll(int fd, std::initializer_list<std::string_view> pieces) {
  for (std::string_view piece : pieces) {
    while (!piece.empty()) {
      const ssize_t n = ::write(fd, piece.data(), piece.size());
      if (n < 0) {
        if (errno == EINTR) continue;
        return false;
      }
      piece.remove_prefix(static_cast<std::size_t>(n));
    }
  }
  return true;
}

}  // namespace morlane::platform::posix
