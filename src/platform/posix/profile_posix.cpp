#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

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

// The file's bytes for a lookup; false when it is missing. A file that exists but cannot be
// read is a failure of the call (the caller reports it), not a missing file.
bool ReadForLookup(const std::string& path, FileBytes& file) {
  struct stat st {};
  if (file.Read(posix::ToFileSystemPath(path), st)) return true;
  if (posix::ReadFailedAsMissing(errno)) return false;
  throw std::filesystem::filesystem_error("cannot read", path,
                                          std::error_code(errno, std::generic_category()));
}

// The counterpart of the Windows read-only attribute: a file without any write bit is not
// replaced, also for root; nor is a file the running user may not write.
bool MayReplace(const std::string& path, const struct stat& st) {
  return (st.st_mode & 0222) != 0 && ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
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
  if (ReadForLookup(path, file)) {
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
  if (ReadForLookup(path, file)) {
    // Digits, sign and "0x" are ASCII: the UTF-8 of a file with a byte order mark reads alike.
    if (const auto raw = posix::IniDocument(file.view()).RawValue(section, key)) {
      if (const auto number = posix::ParseProfileInt(*raw)) return *number;
    }
  }
  return static_cast<std::uint32_t>(defaultValue);
}

int NativeProfileService::WriteString(std::string_view section, std::string_view key,
                                      std::string_view value, const std::string& path) {
  if (posix::IsUnsafeWrite(section, key, value) || path.empty()) return 0;
  const std::string target = posix::FollowSymlinks(posix::ToFileSystemPath(path));
  // Read, edit and replace under the writers' lock, so that no other run's update is lost.
  const posix::DirectoryLock lock(target);
  if (!lock.held() && !lock.unlockable()) return 0;
  FileBytes file;
  struct stat st {};
  const bool exists = file.Read(target, st);
  // A missing file is made; a missing directory (found when the temporary file cannot be
  // made), a file that cannot be read and a read-only one are a failed write.
  if (!exists && errno != ENOENT) return 0;
  if (exists && !MayReplace(target, st)) return 0;
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
  const posix::ReplaceOptions options{options_.syncToDisk, lock.held()};
  return posix::ReplaceFile(target, old, content, exists ? &st : nullptr, options) ? 1 : 0;
}

}  // namespace morlane::platform
