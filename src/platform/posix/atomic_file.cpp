#include "platform/posix/atomic_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <sys/file.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

#include "platform/posix/bytes.h"
#include "platform/posix/link_owner.h"
#include "platform/posix/path_case.h"

namespace morlane::platform::posix {
namespace {

using profile::FileProbe;
using profile::FileStatus;
using profile::Pieces;
using profile::ReplaceOptions;

bool WritePieces(int fd, const Pieces& pieces) {
  for (const std::string_view piece : pieces) {
    if (!WriteAll(fd, {piece})) return false;
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

std::string DirectoryOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

void SyncDirectory(const std::string& dir) {
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  // Some file systems cannot sync a directory; the rename has happened either way.
  ::fsync(fd);
  ::close(fd);
}

bool PwriteAll(int fd, std::string_view bytes, off_t offset) {
  while (!bytes.empty()) {
    const ssize_t n = ::pwrite(fd, bytes.data(), bytes.size(), offset);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
    offset += n;
  }
  return true;
}

// Where no temporary file can be made beside the file (a directory the user may not write
// to) but the file itself may be written: rewrite it in place with as few system calls as
// possible. Only the changed tail is written, in one pwrite, then cut (see TailFrom). What
// stays unsafe: a kill that the kernel lets cut a write of more than a page, and a power loss
// before fsync.
bool RewriteInPlace(const std::string& path, std::string_view old, const Pieces& content,
                    const ReplaceOptions& options) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW);
  if (fd < 0) return false;
  const std::size_t newSize = profile::TotalSize(content);
  const std::size_t from = profile::CommonPrefix(old, content);
  const std::string tail = profile::TailFrom(content, from, old.size(), options.blank);
  bool ok = PwriteAll(fd, tail, static_cast<off_t>(from)) &&
            (newSize >= old.size() || ::ftruncate(fd, static_cast<off_t>(newSize)) == 0) &&
            (!options.sync || ::fsync(fd) == 0);
  ok = ::close(fd) == 0 && ok;
  return ok;
}

struct TempFile {
  int fd = -1;
  std::string name;        // its name beside the file, once it has one
  bool anonymous = false;  // O_TMPFILE: nameless until linked
};

// The temporary file: nameless (O_TMPFILE) where the file system allows, so that a crash
// leaves nothing behind; named otherwise. Under the lock the name is fixed, so that a stale
// one from a crash is found and removed by the next write; without the lock it is unique.
TempFile MakeTemp(const std::string& dir, const std::string& base, bool locked) {
  TempFile temp;
  temp.name = dir + "/." + base.substr(0, 200) +
              (locked ? std::string(".new") : "." + std::to_string(::getpid()));
  temp.fd = ::open(dir.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
  if (temp.fd >= 0) {
    temp.anonymous = true;
    return temp;
  }
  if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) return temp;
  ::unlink(temp.name.c_str());
  temp.fd = ::open(temp.name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
  return temp;
}

// Gives a nameless temporary file its name, just before the rename.
bool LinkTemp(const TempFile& temp) {
  const std::string self = "/proc/self/fd/" + std::to_string(temp.fd);
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temp.name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
      return true;
    }
    if (errno != EEXIST || ::unlink(temp.name.c_str()) != 0) break;
  }
  // Without /proc; needs a privilege most users lack.
  return ::linkat(temp.fd, "", AT_FDCWD, temp.name.c_str(), AT_EMPTY_PATH) == 0;
}

// The old file's permission bits and, where we may, its owner; the usual mode for a new one.
bool SetMode(int fd, const FileStatus* oldSt) {
  if (oldSt == nullptr) return ::fchmod(fd, 0666 & ~CurrentUmask()) == 0;
  // Keeping the owner needs privileges we may lack; the content matters more. Owner first:
  // chown clears set-id bits, which fchmod then restores.
  [[maybe_unused]] const int chownFailed = ::fchown(fd, oldSt->owner, oldSt->group);
  return ::fchmod(fd, oldSt->mode & 07777) == 0;
}

FileStatus StatusFrom(const struct stat& st) {
  FileStatus s;
  s.volume = static_cast<std::uint64_t>(st.st_dev);
  s.index = static_cast<std::uint64_t>(st.st_ino);
  s.size = static_cast<std::uint64_t>(st.st_size);
  s.written = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  s.changed = static_cast<std::int64_t>(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
  s.mode = st.st_mode;
  s.owner = st.st_uid;
  s.group = st.st_gid;
  return s;
}

FileProbe Failed(int error, std::error_code& code) {
  code = std::error_code(error, std::generic_category());
  return ReadFailedAsMissing(error) ? FileProbe::kMissing : FileProbe::kUnreadable;
}

bool ReadWhole(const std::string& path, struct stat& st, std::unique_ptr<char[]>& data_,
               std::size_t& size_) {
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

}  // namespace

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
// the old file or the new one, never a part; a crash leaves one of them.
bool ReplaceFile(const std::string& path, std::string_view old, const Pieces& content,
                 const FileStatus* oldSt, const ReplaceOptions& options) {
  const std::string dir = DirectoryOf(path);
  TempFile temp = MakeTemp(dir, path.substr(path.rfind('/') + 1), options.locked);
  if (temp.fd < 0) {
    if (oldSt != nullptr && (errno == EACCES || errno == EPERM)) {
      return RewriteInPlace(path, old, content, options);
    }
    return false;
  }
  bool ok = SetMode(temp.fd, oldSt) && WritePieces(temp.fd, content) &&
            (!options.sync || ::fsync(temp.fd) == 0);
  bool named = !temp.anonymous;
  if (ok && temp.anonymous) ok = named = LinkTemp(temp);
  ok = ::close(temp.fd) == 0 && ok;
  ok = ok && ::rename(temp.name.c_str(), path.c_str()) == 0;
  if (!ok) {
    if (named) ::unlink(temp.name.c_str());
    return false;
  }
  if (options.sync) SyncDirectory(dir);
  return true;
}

bool ReadFailedAsMissing(int error) {
  return error == ENOENT || error == ENOTDIR || error == EISDIR || error == ENAMETOOLONG ||
         error == ELOOP;
}

}  // namespace morlane::platform::posix

namespace morlane::platform::profile {

using posix::DirectoryOf;
using posix::FollowSymlinks;
using posix::ReadFailedAsMissing;

std::string SystemPath(const std::string& corePath) {
  return FollowSymlinks(posix::ToFileSystemPath(corePath));
}

bool MayWriteThrough(const std::string& corePath) {
  return posix::MayFollowLinks(posix::ToFileSystemPath(corePath));
}

FileProbe StatusOf(const std::string& path, FileStatus& status, std::error_code& error) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return posix::Failed(errno, error);
  status = posix::StatusFrom(st);
  return FileProbe::kPresent;
}

FileProbe FileBytes::Read(const std::string& path, FileStatus& status, std::error_code& error) {
  struct stat st {};
  if (!posix::ReadWhole(path, st, data_, size_)) return posix::Failed(errno, error);
  status = posix::StatusFrom(st);
  return FileProbe::kPresent;
}

// The counterpart of the Windows read-only attribute: a file without any write bit is not
// replaced, also for root; nor is a file the running user may not write.
bool MayReplace(const std::string& path, const FileStatus& status) {
  return (status.mode & 0222) != 0 && ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

bool ReplaceContent(const std::string& path, std::string_view old, const Pieces& content,
                    const FileStatus* oldStatus, const ReplaceOptions& options) {
  return posix::ReplaceFile(path, old, content, oldStatus, options);
}

// An flock on the directory of the file.
WriterLock::WriterLock(const std::string& path) {
  const std::string dir = DirectoryOf(path);
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  handle_ = fd;
  // Writers hold it for one read-modify-write only; one that takes longer is stuck.
  for (int waited = 0; waited < 10000; waited += 2) {
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      held_ = true;
      return;
    }
    if (errno != EWOULDBLOCK && errno != EINTR) return;
    ::usleep(2000);
  }
  busy_ = true;
}

WriterLock::~WriterLock() {
  if (handle_ != kNone) ::close(static_cast<int>(handle_));  // releases the lock
}

}  // namespace morlane::platform::profile
