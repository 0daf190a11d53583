// The INI files of the private-profile engine as read from disk: each file's bytes, the text
// the INI document reads from them, and a cache that keeps a file only while it is unchanged.
#pragma once

#include <map>
#include <string>
#include <string_view>

#include "platform/profile/file_primitives.h"
#include "platform/profile/ini_document.h"

namespace morlane::platform::profile {

// One file as read. A file with a UTF-16 byte order mark (LE or BE) is read as UTF-8 text
// with the UTF-8 mark and written back as UTF-16 with its own mark.
class ProfileFile {
 public:
  ProfileFile(FileBytes bytes, const FileStatus& st);

  std::string_view bytes() const { return bytes_.view(); }
  const FileStatus& status() const { return st_; }
  // What IniDocument reads: the bytes themselves, or the UTF-16 text as UTF-8.
  std::string_view text() const { return utf16_ ? std::string_view(converted_) : bytes(); }

  // The file's new bytes for an edit of text(), or for a new text, as pieces in content
  // (storage holds what the pieces point into). False when the file cannot be written back as
  // it was read (broken UTF-16).
  bool EncodeEdit(const IniEdit& edit, Pieces& content, std::string& storage) const;
  bool EncodeText(std::string text, Pieces& content, std::string& storage) const;
  // A blank in the file's encoding.
  std::string_view Blank() const;

 private:
  FileBytes bytes_;
  FileStatus st_;
  bool utf16_ = false;
  bool bigEndian_ = false;
  bool exact_ = true;  // the UTF-16 converted without loss
  std::string converted_;
};

// The files read so far, each kept only while its identity, size and times are unchanged: one
// look at the file's status per call tells whether it must be read again.
class ProfileFiles {
 public:
  // The file at path (a SystemPath) as on disk now; nullptr when it is missing or not a
  // regular file. Throws std::filesystem::filesystem_error when it exists but cannot be read.
  const ProfileFile* Current(const std::string& path);
  // Forgets the file (after this process has written it).
  void Forget(const std::string& path) { files_.erase(path); }

 private:
  std::map<std::string, ProfileFile> files_;
};

}  // namespace morlane::platform::profile
