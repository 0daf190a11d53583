#include "platform/posix/bytes.h"

#include <unistd.h>

#include <cerrno>

namespace morlane::platform::posix {

bool IsAscii(std::string_view s) {
  for (const char c : s) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  auto lower = [](char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'A' && u <= 'Z') ? u + 32 : u;
  };
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

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
