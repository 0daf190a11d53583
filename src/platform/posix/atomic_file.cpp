#include "platform/posix/atomic_file.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/posix/bytes.h"

namespace morlane::platform::posix {
namespace {

bool WritePieces(int fd, const Pieces& pieces) {
  for (const std::string_view piece : pieces) {
    if (!WriteAll(fd, {piece})) return false;
  }
  return true;
}

std::size_t TotalSize(const Pieces& pieces) {
  std::size_t n = 0;
  for (const std::string_view piece : pieces)
    n += piece.size();
  return n;
}

// The process umask, read without changing it: umask() can only be read by setting it, which
// races with other threads creating files.
mode_t CurrentUmask() {
  const int fd = ::open("/proc/self/status", O_RDONLY | O_CLOEXEC);
  if (fd >= 0) {
    char buffer[4096];
    const ssize_t n = ::read(fd, buffer, sizeof buffer - 1);
    ::close(fd);
    if (n > 0) {
      buffer[n] = '\0';
      if (const char* line = std::strstr(buffer, "\nUmask:")) {
        return static_cast<mode_t>(std::strtoul(line + 7, nullptr, 8)) & 0777;
      }
    }
  }
  const mode_t mask = ::umask(022);
  ::umask(mask);
  return mask;
}

void SyncDirectory(const std::string& dir) {
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  // Some file systems cannot sync a directory; the rename has happened either way.
  ::fsync(fd);
  ::close(fd);
}

// Where no temporary file can be made beside the file (a directory the user may not write
// to) but the file itself may be written: rewrite it in place. Not crash-safe, but the only
// way such a file can be changed at all.
bool RewriteInPlace(const std::string& path, const Pieces& content, bool sync) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = WritePieces(fd, content) &&
            ::ftruncate(fd, static_cast<off_t>(TotalSize(content))) == 0 &&
            (!sync || ::fsync(fd) == 0);
  ok = ::close(fd) == 0 && ok;
  return ok;
}

}  // namespace

bool FileBytes::Read(const std::string& path, struct stat& st) {
  // O_NONBLOCK: a FIFO under the name must not hang the call; it is refused below.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  if (!ok) errno = EISDIR;
  std::size_t capacity = ok ? static_cast<std::size_t>(st.st_size) + 1 : 0;
  // Not zero-filled first: read() fills it at once.
  data_.reset(new char[capacity]);
  size_ = 0;
  while (ok) {
    const ssize_t n = ::read(fd, data_.get() + size_, capacity - size_);
    if (n < 0) {
      ok = errno == EINTR;
      continue;
    }
    size_ += static_cast<std::size_t>(n);
    // A short read of a regular file is its end.
    if (n == 0 || size_ < capacity) break;
    std::unique_ptr<char[]> bigger(new char[capacity * 2]);
    std::memcpy(bigger.get(), data_.get(), size_);
    data_ = std::move(bigger);
    capacity *= 2;
  }
  const int savedErrno = errno;
  ::close(fd);
  errno = savedErrno;
  return ok;
}

std::string FollowSymlinks(std::string path) {
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) break;
    std::string target(st.st_size > 0 ? static_cast<std::size_t>(st.st_size) + 1 : 4096, '\0');
    const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= target.size()) break;
    target.resize(static_cast<std::size_t>(n));
    const std::size_t slash = path.rfind('/');
    path = (target[0] == '/' || slash == std::string::npos) ? target
                                                            : path.substr(0, slash + 1) + target;
  }
  return path;
}

// Writes the content to a temporary file beside path and renames it over path: a reader sees
// the old file or the new one, never a part; a crash leaves one of them (and at worst a stale
// temporary file).
bool ReplaceFile(const std::string& path, std::string_view old, const Pieces& content,
                 const struct stat* oldSt, bool sync) {
  (void)old;
  const std::size_t slash = path.rfind('/');
  const std::string dirPrefix = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  const std::string base = path.substr(dirPrefix.size());
  // Hidden, named after the file (cut so the name stays within NAME_MAX).
  std::string temp = dirPrefix + "." + base.substr(0, 200) + ".XXXXXX";
  const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) {
    if (oldSt != nullptr && (errno == EACCES || errno == EPERM)) {
      return RewriteInPlace(path, content, sync);
    }
    return false;
  }
  bool ok;
  if (oldSt != nullptr) {
    // Keeping the owner needs privileges we may lack; the content matters more. Owner first:
    // chown clears set-id bits, which fchmod then restores.
    [[maybe_unused]] const int chownFailed = ::fchown(fd, oldSt->st_uid, oldSt->st_gid);
    ok = ::fchmod(fd, oldSt->st_mode & 07777) == 0;
  } else {
    ok = ::fchmod(fd, 0666 & ~CurrentUmask()) == 0;
  }
  ok = ok && WritePieces(fd, content);
  ok = ok && (!sync || ::fsync(fd) == 0);
  ok = ::close(fd) == 0 && ok;
  ok = ok && ::rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) {
    ::unlink(temp.c_str());
    return false;
  }
  if (sync) SyncDirectory(dirPrefix.empty() ? "." : dirPrefix);
  return true;
}

}  // namespace morlane::platform::posix
