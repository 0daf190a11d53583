// Whole-file reads, the writers' lock, and crash-safe replacement of a file's content.
#pragma once

#include <sys/stat.h>

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace morlane::platform::posix {

// A whole file in memory.
class FileBytes {
 public:
  std::string_view view() const { return {data_.get(), size_}; }

  // false: the file is missing (errno ENOENT), not a regular file (EISDIR) or cannot be read
  // (another errno).
  bool Read(const std::string& path, struct stat& st);

 private:
  std::unique_ptr<char[]> data_;
  std::size_t size_ = 0;
};

// True when errno after a failed FileBytes::Read means "no such file" rather than "a file
// that cannot be read".
bool ReadFailedAsMissing(int error);

// An exclusive advisory lock (flock) on the directory of path, which every writer of this
// program takes around its read-modify-write, so that concurrent runs lose no update.
// Waits up to a few seconds for another writer; held() is false when the lock could not be
// taken (the directory cannot be opened, or another writer holds it too long).
class DirectoryLock {
 public:
  explicit DirectoryLock(const std::string& path);
  ~DirectoryLock();
  DirectoryLock(const DirectoryLock&) = delete;
  DirectoryLock& operator=(const DirectoryLock&) = delete;
  bool held() const { return held_; }
  // The directory could not be opened at all: nobody can lock it, so writing unlocked is all
  // that is left.
  bool unlockable() const { return fd_ < 0; }

 private:
  int fd_ = -1;
  bool held_ = false;
};

// The new content of a file as pieces written one after another, so that a large file is
// written without being copied first.
using Pieces = std::vector<std::string_view>;

struct ReplaceOptions {
  bool sync = true;  // fsync the file and its directory
  // Held by the caller: a fixed temporary name may be used (and a stale one removed).
  bool locked = false;
  // The file's blank in its encoding, used to pad an in-place rewrite (see atomic_file.cpp).
  std::string_view blank = " ";
};

// Gives path the content. old is the current content, oldSt its status (nullptr: a new file).
bool ReplaceFile(const std::string& path, std::string_view old, const Pieces& content,
                 const struct stat* oldSt, const ReplaceOptions& options);

// A symbolic link is followed to the file it names, so that a write replaces that file and
// keeps the link.
std::string FollowSymlinks(std::string path);

}  // namespace morlane::platform::posix
