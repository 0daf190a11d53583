#include "platform/posix/profile_file.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "platform/posix/codepage.h"

namespace morlane::platform::posix {
namespace {

constexpr std::string_view kUtf16Le = "\xFF\xFE";
constexpr std::string_view kUtf16Be = "\xFE\xFF";

bool SameVersion(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
         a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec &&
         a.st_ctim.tv_sec == b.st_ctim.tv_sec && a.st_ctim.tv_nsec == b.st_ctim.tv_nsec;
}

[[noreturn]] void ThrowUnreadable(const std::string& path, int error) {
  throw std::filesystem::filesystem_error("cannot read", path,
                                          std::error_code(error, std::generic_category()));
}

}  // namespace

ProfileFile::ProfileFile(FileBytes bytes, const struct stat& st)
    : bytes_(std::move(bytes)), st_(st) {
  const std::string_view head = bytes_.view().substr(0, 2);
  utf16_ = head == kUtf16Le || head == kUtf16Be;
  if (!utf16_) return;
  bigEndian_ = head == kUtf16Be;
  std::string utf8;
  exact_ = Utf16ToUtf8(bytes_.view().substr(2), bigEndian_, utf8);
  converted_.assign(kUtf8Bom).append(utf8);
}

bool ProfileFile::EncodeEdit(const IniEdit& edit, Pieces& content, std::string& storage) const {
  if (utf16_) return EncodeText(ApplyEdit(text(), edit), content, storage);
  // The unchanged parts are not copied: a large file is written from where it was read.
  const std::string_view old = bytes();
  storage = edit.text;
  content = {old.substr(0, edit.begin), storage, old.substr(edit.end)};
  return true;
}

bool ProfileFile::EncodeText(std::string text, Pieces& content, std::string& storage) const {
  content.clear();
  if (!utf16_) {
    storage = std::move(text);
  } else {
    std::string utf16;
    const std::string_view body = std::string_view(text).substr(kUtf8Bom.size());
    if (!exact_ || !Utf8ToUtf16(body, bigEndian_, utf16)) return false;
    storage.assign(bigEndian_ ? kUtf16Be : kUtf16Le).append(utf16);
  }
  content = {storage};
  return true;
}

std::string_view ProfileFile::Blank() const {
  if (!utf16_) return " ";
  return bigEndian_ ? std::string_view("\0 ", 2) : std::string_view(" \0", 2);
}

const ProfileFile* ProfileFiles::Current(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    if (ReadFailedAsMissing(errno)) {
      files_.erase(path);
      return nullptr;
    }
    ThrowUnreadable(path, errno);
  }
  const auto it = files_.find(path);
  if (it != files_.end() && SameVersion(it->second.status(), st)) return &it->second;
  files_.erase(path);
  FileBytes bytes;
  if (!bytes.Read(path, st)) {
    if (ReadFailedAsMissing(errno)) return nullptr;
    ThrowUnreadable(path, errno);
  }
  return &files_.try_emplace(path, std::move(bytes), st).first->second;
}

}  // namespace morlane::platform::posix
