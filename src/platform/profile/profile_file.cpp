#include "platform/profile/profile_file.h"

#include <filesystem>
#include <system_error>

#include "platform/profile/codepage.h"

namespace morlane::platform::profile {
namespace {

constexpr std::string_view kUtf16Le = "\xFF\xFE";
constexpr std::string_view kUtf16Be = "\xFE\xFF";

[[noreturn]] void ThrowUnreadable(const std::string& path, std::error_code error) {
  throw std::filesystem::filesystem_error("cannot read", path, error);
}

}  // namespace

ProfileFile::ProfileFile(FileBytes bytes, const FileStatus& st)
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
  FileStatus st;
  std::error_code error;
  FileProbe probe = StatusOf(path, st, error);
  if (probe == FileProbe::kPresent) {
    const auto it = files_.find(path);
    if (it != files_.end() && it->second.status().SameVersion(st)) return &it->second;
    FileBytes bytes;
    probe = bytes.Read(path, st, error);
    if (probe == FileProbe::kPresent) {
      files_.insert_or_assign(path, ProfileFile(std::move(bytes), st));
      return &files_.at(path);
    }
  }
  files_.erase(path);
  if (probe == FileProbe::kUnreadable) ThrowUnreadable(path, error);
  return nullptr;
}

}  // namespace morlane::platform::profile
