// Whole-file reads and crash-safe replacement of a file's content.
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

  // false: the file is missing (errno ENOENT) or cannot be read (another errno).
  bool Read(const std::string& path, struct stat& st);

 private:
  std::unique_ptr<char[]> data_;
  std::size_t size_ = 0;
};

// The new content of a file as pieces written one after another, so that a large file is
// written without being copied first.
using Pieces = std::vector<std::string_view>;

// Gives path the content. old is the current content, oldSt its status (nullptr: a new file).
// See atomic_file.cpp for what a crash can leave.
bool ReplaceFile(const std::string& path, std::string_view old, const Pieces& content,
                 const struct stat* oldSt, bool sync);

// A symbolic link is followed to the file it names, so that a write replaces that file and
// keeps the link.
std::string FollowSymlinks(std::string path);

}  // namespace morlane::platform::posix
