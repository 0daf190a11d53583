#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/posix/atomic_file.h"
#include "platform/posix/codepage.h"
#include "platform/posix/ini_document.h"
#include "platform/posix/path_case.h"
#include "platform/profile.h"

namespace morlane::platform {
namespace {

using posix::FileBytes;

std::uint32_t CopyOut(std::string_view text, char* buffer, std::uint32_t size) {
  const std::size_t n = std::min<std::size_t>(text.size(), size - 1);
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
  return static_cast<std::uint32_t>(n);
}

}  // namespace

// Nothing yet: every call reads the file.
struct NativeProfileService::State {};

NativeProfileService::NativeProfileService(ProfileOptions options)
    : options_(options), state_(std::make_unique<State>()) {}

NativeProfileService::~NativeProfileService() = default;

std::uint32_t NativeProfileService::GetString(std::string_view section, std::string_view key,
                                              std::string_view defaultValue, char* buffer,
                                              std::uint32_t size, const std::string& path) {
  if (size == 0) return 0;
  FileBytes file;
  struct stat st {};
  if (file.Read(posix::ToFileSystemPath(path), st)) {
    const posix::IniDocument document(file.view());
    if (const auto raw = document.RawValue(section, key)) {
      if (!document.utf8()) return CopyOut(*raw, buffer, size);
      return CopyOut(posix::Utf8ToCp1252(*raw), buffer, size);
    }
  }
  // Windows documents trailing blanks of the default as removed (spaces only).
  while (!defaultValue.empty() && defaultValue.back() == ' ')
    defaultValue.remove_suffix(1);
  return CopyOut(defaultValue, buffer, size);
}

std::uint32_t NativeProfileService::GetInt(std::string_view section, std::string_view key,
                                           std::int32_t defaultValue, const std::string& path) {
  FileBytes file;
  struct stat st {};
  if (file.Read(posix::ToFileSystemPath(path), st)) {
    // Digits, sign and "0x" are ASCII: the UTF-8 of a file with a byte order mark reads alike.
    if (const auto raw = posix::IniDocument(file.view()).RawValue(section, key)) {
      if (const auto number = posix::ParseProfileInt(*raw)) return *number;
    }
  }
  return static_cast<std::uint32_t>(defaultValue);
}

int NativeProfileService::WriteString(std::string_view section, std::string_view key,
                                      std::string_view value, const std::string& path) {
  if (posix::IsUnsafeWrite(section, key, value)) return 0;
  if (path.empty()) return 0;
  const std::string target = posix::FollowSymlinks(posix::ToFileSystemPath(path));
  FileBytes file;
  struct stat st {};
  const bool exists = file.Read(target, st);
  // A missing file is made; a missing directory (found when the temporary file cannot be
  // made) or any other failure to read is a failed write.
  if (!exists && errno != ENOENT) return 0;
  const posix::IniWritePlan plan = posix::IniDocument(file.view()).PlanWrite(section, key, value);
  switch (plan.kind) {
    case posix::IniWriteKind::kRefused:
      return 0;
    case posix::IniWriteKind::kUnchanged:
      return 1;
    case posix::IniWriteKind::kEdit:
      break;
  }
  const posix::IniEdit& edit = plan.edit;
  const std::string_view old = file.view();
  const posix::Pieces content = {old.substr(0, edit.begin), edit.text, old.substr(edit.end)};
  return posix::ReplaceFile(target, old, content, exists ? &st : nullptr, options_.syncToDisk) ? 1
                                                                                               : 0;
}

}  // namespace morlane::platform
