#include "platform/posix/profile_posix.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <initializer_list>
#include <memory>

#include "platform/posix/codepage.h"
#include "platform/posix/ini_document.h"
#include "platform/posix/path_case.h"

namespace morlane::platform::posix {
namespace {

// A whole file in memory. Not zero-filled first: read() fills it at once.
class FileBytes {
 public:
  std::string_view view() const { return {data_.get(), size_}; }

  // false: the file is missing (errno ENOENT) or cannot be read.
  bool Read(const std::string& path, struct stat& st) {
    // O_NONBLOCK: a FIFO under the name must not hang the call; it is refused below.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return false;
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    if (!ok) errno = EISDIR;
    std::size_t capacity = ok ? static_cast<std::size_t>(st.st_size) + 1 : 0;
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

 private:
  std::unique_ptr<char[]> data_;
  std::size_t size_ = 0;
};

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

// A symbolic link is followed to the file it names, so that a write replaces that file and
// keeps the link.
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

void SyncDirectory(const std::string& dir) {
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  // Some file systems cannot sync a directory; the rename has happened either way.
  ::fsync(fd);
  ::close(fd);
}

// Where no temporary file can be made beside the file (a directory the user may not write
// to) but the file itself may be written: rewrite it from the first changed byte on. Not
// crash-safe, but the only way such a file can be changed at all.
bool RewriteInPlace(const std::string& path, std::string_view old, const IniEdit& edit, bool sync) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) return false;
  const std::size_t newSize = old.size() - (edit.end - edit.begin) + edit.text.size();
  bool ok = ::lseek(fd, static_cast<off_t>(edit.begin), SEEK_SET) >= 0 &&
            WriteAll(fd, {edit.text, old.substr(edit.end)}) &&
            ::ftruncate(fd, static_cast<off_t>(newSize)) == 0 && (!sync || ::fsync(fd) == 0);
  ok = ::close(fd) == 0 && ok;
  return ok;
}

// Writes the edited bytes to a temporary file beside path and renames it over path: a reader
// sees the old file or the new one, never a part; a crash leaves one of them (and at worst a
// stale temporary file). old_st is the old file's status, nullptr for a new file.
bool ReplaceFile(const std::string& path, std::string_view old, const IniEdit& edit,
                 const struct stat* oldSt, bool sync) {
  const std::size_t slash = path.rfind('/');
  const std::string dirPrefix = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  const std::string base = path.substr(dirPrefix.size());
  // Hidden, named after the file (cut so the name stays within NAME_MAX).
  std::string temp = dirPrefix + "." + base.substr(0, 200) + ".XXXXXX";
  const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) {
    if (oldSt != nullptr && (errno == EACCES || errno == EPERM)) {
      return RewriteInPlace(path, old, edit, sync);
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
  ok = ok && WriteAll(fd, {old.substr(0, edit.begin), edit.text, old.substr(edit.end)});
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

std::uint32_t CopyOut(std::string_view text, char* buffer, std::uint32_t size) {
  const std::size_t n = std::min<std::size_t>(text.size(), size - 1);
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
  return static_cast<std::uint32_t>(n);
}

}  // namespace

std::uint32_t PosixProfileService::GetString(std::string_view section, std::string_view key,
                                             std::string_view defaultValue, char* buffer,
                                             std::uint32_t size, const std::string& path) {
  if (size == 0) return 0;
  FileBytes file;
  struct stat st {};
  if (file.Read(ToFileSystemPath(path), st)) {
    const IniDocument document(file.view());
    if (const auto raw = document.RawValue(section, key)) {
      if (!document.utf8()) return CopyOut(*raw, buffer, size);
      return CopyOut(Utf8ToCp1252(*raw), buffer, size);
    }
  }
  // Windows documents trailing blanks of the default as removed (spaces only).
  while (!defaultValue.empty() && defaultValue.back() == ' ')
    defaultValue.remove_suffix(1);
  return CopyOut(defaultValue, buffer, size);
}

std::uint32_t PosixProfileService::GetInt(std::string_view section, std::string_view key,
                                          std::int32_t defaultValue, const std::string& path) {
  FileBytes file;
  struct stat st {};
  if (file.Read(ToFileSystemPath(path), st)) {
    // Digits, sign and "0x" are ASCII: the UTF-8 of a file with a byte order mark reads alike.
    if (const auto raw = IniDocument(file.view()).RawValue(section, key)) {
      if (const auto number = ParseProfileInt(*raw)) return *number;
    }
  }
  return static_cast<std::uint32_t>(defaultValue);
}

int PosixProfileService::WriteString(std::string_view section, std::string_view key,
                                     std::string_view value, const std::string& path) {
  if (IsUnsafeWrite(section, key, value)) return 0;
  if (path.empty()) return 0;
  const std::string target = FollowSymlinks(ToFileSystemPath(path));
  FileBytes file;
  struct stat st {};
  const bool exists = file.Read(target, st);
  // A missing file is made; a missing directory (found when the temporary file cannot be
  // made) or any other failure to read is a failed write.
  if (!exists && errno != ENOENT) return 0;
  const IniWritePlan plan = IniDocument(file.view()).PlanWrite(section, key, value);
  switch (plan.kind) {
    case IniWriteKind::kRefused:
      return 0;
    case IniWriteKind::kUnchanged:
      return 1;
    case IniWriteKind::kEdit:
      break;
  }
  return ReplaceFile(target, file.view(), plan.edit, exists ? &st : nullptr, options_.syncToDisk)
             ? 1
             : 0;
}

}  // namespace morlane::platform::posix
