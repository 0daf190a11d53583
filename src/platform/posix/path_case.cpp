#include "platform/posix/path_case.h"

#include "platform/posix/bytes.h"
#include "platform/posix/core_text.h"
#include "platform/profile/codepage.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <vector>

namespace morlane::platform::posix {
namespace {

bool Exists(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

// The entry of dir named like name without regard to case, or the empty text.
std::string FindIgnoringCase(const std::string& dir, const std::string& name) {
  DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
  if (d == nullptr) return {};
  std::vector<std::string> matches;
  while (const dirent* entry = ::readdir(d)) {
    if (EqualsIgnoringAsciiCase(name, entry->d_name)) matches.emplace_back(entry->d_name);
  }
  ::closedir(d);
  if (matches.empty()) return {};
  return *std::min_element(matches.begin(), matches.end());
}

}  // namespace

std::string ResolvePathCase(const std::string& path) {
  if (path.empty() || Exists(path)) return path;

  std::string resolved;  // what has been resolved so far, without a trailing "/"
  std::size_t pos = 0;
  if (path[0] == '/') {
    resolved = "";
    pos = 1;
  }
  bool found = true;
  while (pos <= path.size()) {
    const std::size_t end = std::min(path.find('/', pos), path.size());
    const std::string component = path.substr(pos, end - pos);
    const std::string base = (path[0] == '/' || !resolved.empty()) ? resolved + "/" : resolved;
    if (component.empty() || component == "." || component == ".." || !found) {
      resolved = base + component;
    } else if (Exists(base + component)) {
      resolved = base + component;
    } else {
      const std::string match = FindIgnoringCase(base.empty() ? "." : base, component);
      found = !match.empty();
      resolved = base + (found ? match : component);
    }
    pos = end + 1;
  }
  return resolved;
}

std::string ToFileSystemPath(const std::string& path) {
  return ResolvePathCase(CoreTextToUtf8(path));
}

}  // namespace morlane::platform::posix
