#include "platform/posix/link_owner.h"

#include <sys/stat.h>
#include <unistd.h>

namespace morlane::platform::posix {
namespace {

constexpr int kMaxLinks = 40;  // as the kernel's limit: a loop is no path

// The next component of rest (which it then no longer holds); empty when none is left.
std::string TakeComponent(std::string& rest) {
  const std::size_t start = rest.find_first_not_of('/');
  if (start == std::string::npos) {
    rest.clear();
    return {};
  }
  const std::size_t end = rest.find('/', start);
  std::string component = rest.substr(start, end - start);
  rest = end == std::string::npos ? std::string() : rest.substr(end);
  return component;
}

// A link of the folder's owner hands on only what that owner holds himself: a link to a file
// of someone else (or to nothing yet, which the write would create) would let the owner aim a
// privileged run at any file of the system.
bool MayFollow(const struct stat& link, const std::string& folder, const std::string& path) {
  if (link.st_uid == ::geteuid()) return true;
  struct stat holder {};
  if (::stat(folder.empty() ? "/" : folder.c_str(), &holder) != 0) return false;
  struct stat target {};
  return link.st_uid == holder.st_uid && ::stat(path.c_str(), &target) == 0 &&
         target.st_uid == link.st_uid;
}

}  // namespace

bool MayFollowLinks(const std::string& path) {
  // resolved holds no link: its parent is found by cutting its last component.
  std::string resolved = !path.empty() && path[0] == '/' ? "" : ".";
  std::string rest = path;
  int links = 0;
  for (std::string component = TakeComponent(rest); !component.empty();
       component = TakeComponent(rest)) {
    if (component == ".") continue;
    if (component == "..") {
      const std::size_t slash = resolved.rfind('/');
      const bool up = slash != std::string::npos && resolved.substr(slash + 1) != "..";
      resolved = up ? resolved.substr(0, slash) : resolved + "/..";
      continue;
    }
    const std::string next = resolved + "/" + component;
    struct stat st {};
    if (::lstat(next.c_str(), &st) != 0) return true;  // nothing further to follow
    if (!S_ISLNK(st.st_mode)) {
      resolved = next;
      continue;
    }
    if (++links > kMaxLinks || !MayFollow(st, resolved, next)) return false;
    std::string target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 4095) + 1, '\0');
    const ssize_t n = ::readlink(next.c_str(), target.data(), target.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= target.size()) return false;
    target.resize(static_cast<std::size_t>(n));
    if (target[0] == '/') resolved.clear();
    rest = target + (rest.empty() ? "" : "/" + rest);
  }
  return true;
}

}  // namespace morlane::platform::posix
