// What the private-profile engine needs from the file system: whole-file reads, a file's
// identity and version, the writers' lock, and crash-safe replacement of a file's content.
// Declared once; each system implements them in its own folder (posix/atomic_file.cpp,
// win32/atomic_file_win32.cpp). Paths are the names SystemPath gives.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace morlane::platform::profile {

// What the engine knows of a file on disk. A parsed file is kept only while the same file
// (volume, index; on Windows left 0, the creation time telling files apart) has the same size
// and times.
struct FileStatus {
  std::uint64_t volume = 0;  // device / volume serial number
  std::uint64_t index = 0;   // inode / file index
  std::uint64_t size = 0;
  std::int64_t written = 0;  // last write, in the system's finest unit
  std::int64_t changed = 0;  // last status change (POSIX), creation (Windows)
  std::uint32_t mode = 0;    // POSIX permission bits and type; Windows file attributes
  std::uint32_t owner = 0;   // POSIX owner and group, kept by a replacement
  std::uint32_t group = 0;

  bool SameVersion(const FileStatus& o) const {
    return volume == o.volume && index == o.index && size == o.size && written == o.written &&
           changed == o.changed;
  }
};

// The name under which the engine keeps and asks for the file at a path of the core (which
// keeps text in the ANSI code page). POSIX: as the file system spells it, links followed.
std::string SystemPath(const std::string& corePath);

// False when the way to the file at a path of the core leads through a link that the program
// must not follow for this user: a privileged run never writes where another user points it.
bool MayWriteThrough(const std::string& corePath);

enum class FileProbe {
  kPresent,
  kMissing,     // no such file, or not a regular file
  kUnreadable,  // it exists but cannot be read (no right, held without read sharing)
};

// The status of the file now, as cheaply as the system allows (one call per engine call).
FileProbe StatusOf(const std::string& path, FileStatus& status, std::error_code& error);

// A whole file in memory.
class FileBytes {
 public:
  std::string_view view() const { return {data_.get(), size_}; }
  // Reads the file; status is the one of the file that was read.
  FileProbe Read(const std::string& path, FileStatus& status, std::error_code& error);

 private:
  std::unique_ptr<char[]> data_;
  std::size_t size_ = 0;
};

// The counterpart of a read-only file: false when the file must not be replaced (no write bit
// or the read-only attribute, or the running user may not write it).
bool MayReplace(const std::string& path, const FileStatus& status);

// An exclusive lock that every writer of this program (every process, every build) takes
// around its read-modify-write of a file, so that concurrent runs lose no update. Waits a few
// seconds for another writer; held() is false when the lock could not be taken.
class WriterLock {
 public:
  explicit WriterLock(const std::string& path);
  ~WriterLock();
  WriterLock(const WriterLock&) = delete;
  WriterLock& operator=(const WriterLock&) = delete;
  bool held() const { return held_; }
  // Another writer kept it for longer than the wait.
  bool busy() const { return busy_; }
  // Nobody can lock here (the folder cannot be opened or takes no file): writing unlocked is
  // all that is left.
  bool unlockable() const { return handle_ == kNone && !busy_; }

 private:
  static constexpr std::intptr_t kNone = -1;
  std::intptr_t handle_ = kNone;  // the system's descriptor or handle
  bool held_ = false;
  bool busy_ = false;
};

// The new content of a file as pieces written one after another, so that a large file is
// written without being copied first.
using Pieces = std::vector<std::string_view>;

struct ReplaceOptions {
  bool sync = true;  // flush the file (and, where the system needs it, its folder)
  // Held by the caller: a fixed temporary name may be used (and a stale one removed).
  bool locked = false;
  // The file's blank in its encoding, used to pad an in-place rewrite.
  std::string_view blank = " ";
};

// Gives path the content: a reader sees the old file or the new one, and a crash leaves one of
// them, except in the in-place fallback (a folder that takes no new file, a file another
// program holds without letting it be replaced), which rewrites only the changed tail. old is
// the current content, oldStatus its status (nullptr: a new file).
bool ReplaceContent(const std::string& path, std::string_view old, const Pieces& content,
                    const FileStatus* oldStatus, const ReplaceOptions& options);

// For the in-place rewrite of both systems: the content's size, how many leading bytes it
// shares with old, and its bytes from `from` on padded with blanks up to minSize (a shorter
// content is padded in the same write that brings it, and cut afterwards: a crash between the
// two leaves the new content followed by blanks, which reads as the new content).
std::size_t TotalSize(const Pieces& pieces);
std::size_t CommonPrefix(std::string_view old, const Pieces& content);
std::string TailFrom(const Pieces& content, std::size_t from, std::size_t minSize,
                     std::string_view blank);

}  // namespace morlane::platform::profile
