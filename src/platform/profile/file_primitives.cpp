#include "platform/profile/file_primitives.h"

#include <algorithm>

namespace morlane::platform::profile {

std::size_t TotalSize(const Pieces& pieces) {
  std::size_t n = 0;
  for (const std::string_view piece : pieces)
    n += piece.size();
  return n;
}

std::size_t CommonPrefix(std::string_view old, const Pieces& content) {
  std::size_t done = 0;
  for (const std::string_view piece : content) {
    const std::size_t n = std::min(piece.size(), old.size() - done);
    const auto diff = std::mismatch(piece.begin(), piece.begin() + static_cast<std::ptrdiff_t>(n),
                                    old.begin() + static_cast<std::ptrdiff_t>(done));
    done += static_cast<std::size_t>(diff.first - piece.begin());
    if (diff.first != piece.end()) break;
  }
  return done;
}

std::string TailFrom(const Pieces& content, std::size_t from, std::size_t minSize,
                     std::string_view blank) {
  std::string tail;
  std::size_t pos = 0;
  for (const std::string_view piece : content) {
    if (pos + piece.size() > from) tail.append(piece.substr(from > pos ? from - pos : 0));
    pos += piece.size();
  }
  if (blank.empty() || (minSize - std::min(minSize, pos)) % blank.size() != 0) blank = " ";
  while (pos < minSize) {
    tail.append(blank);
    pos += blank.size();
  }
  return tail;
}

}  // namespace morlane::platform::profile
