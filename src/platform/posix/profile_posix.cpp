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
#include "platform/posix/link_owner.h"
#include "platform/posix/path_case.h"
#include "platform/posix/profile_file.h"
#include "platform/profile.h"

namespace morlane::platform {
namespace {

std::uint32_t CopyOut(std::string_view text, char* buffer, std::uint32_t size) {
  const std::size_t n = std::min<std::size_t>(text.size(), size - 1);
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
  return static_cast<std::uint32_t>(n);
}

// The counterpart of the Windows read-only attribute: a file without any write bit is not
// replaced, also for root; nor is a file the running user may not write.
bool MayReplace(const std::string& path, const struct stat& st) {
  return (st.st_mode & 0222) != 0 && ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0;
}

// A value to store: section, key, value.
struct Entry {
  std::string_view section, key, value;
};

// What writing the entries in turn makes of a text: one edit per entry that changes it, each
// to the text the previous ones made; text is the result when there is more than one.
struct WritePlan {
  std::vector<posix::IniEdit> edits;
  std::string text;
  bool refused = false;  // an entry the services refuse (the others are still written)
};

WritePlan PlanWrites(std::string_view text, const std::vector<Entry>& entries) {
  WritePlan plan;
  for (const Entry& e : entries) {
    const std::string_view now = plan.edits.empty() ? text : std::string_view(plan.text);
    posix::IniWritePlan one = posix::IniDocument(now).PlanWrite(e.section, e.key, e.value);
    plan.refused = plan.refused || one.kind == posix::IniWriteKind::kRefused;
    if (one.kind != posix::IniWriteKind::kEdit) continue;
    // A single edit is written from the old bytes; only several need the text in between.
    if (entries.size() > 1) plan.text = posix::ApplyEdit(now, one.edit);
    plan.edits.push_back(std::move(one.edit));
  }
  return plan;
}

}  // namespace

struct NativeProfileService::State {
  ProfileOptions options;
  posix::ProfileFiles files;

  // The file at the core's path as on disk now, nullptr when missing. A file that exists but
  // cannot be read is a failure of the call (the caller reports it), not a missing file.
  const posix::ProfileFile* Current(const std::string& path, const std::string& target) {
    try {
      return files.Current(target);
    } catch (const std::filesystem::filesystem_error& e) {
      throw std::filesystem::filesystem_error(e.what(), path, e.code());  // the name shown
    }
  }

  // True when the file already holds every entry: answered without the writers' lock, as
  // most writes of a run change nothing.
  bool Holds(const std::string& target, const std::vector<Entry>& entries) {
    try {
      const posix::ProfileFile* file = files.Current(target);
      if (file == nullptr) return false;
      const WritePlan plan = PlanWrites(file->text(), entries);
      return plan.edits.empty() && !plan.refused;
    } catch (const std::filesystem::filesystem_error&) {
      return false;
    }
  }

  int Store(const std::vector<Entry>& entries, const std::string& path,
            const ProfileOptions& options) {
    if (path.empty()) return 0;
    const std::string native = posix::ToFileSystemPath(path);
    const std::string target = posix::FollowSymlinks(native);
    if (Holds(target, entries)) return 1;
    if (!posix::MayFollowLinks(native)) return 0;  // nothing through another user's link
    // Read, edit and replace under the writers' lock, so that no other run's update is lost.
    const posix::DirectoryLock lock(target);
    if (!lock.held() && !lock.unlockable()) return 0;
    const posix::ProfileFile* file = nullptr;
    try {
      file = files.Current(target);
    } catch (const std::filesystem::filesystem_error&) {
      return 0;  // a file that cannot be read cannot be edited
    }
    // A missing file is made; a missing directory (found when the temporary file cannot be
    // made) and a read-only file are a failed write.
    if (file != nullptr && !MayReplace(target, file->status())) return 0;
    const WritePlan plan = PlanWrites(file != nullptr ? file->text() : "", entries);
    if (plan.edits.empty()) return plan.refused ? 0 : 1;
    posix::Pieces content;
    std::string storage;
    const bool single = plan.edits.size() == 1;
    if (file == nullptr) {
      content = {single ? plan.edits.front().text : plan.text};
    } else if (!(single ? file->EncodeEdit(plan.edits.front(), content, storage)
                        : file->EncodeText(plan.text, content, storage))) {
      return 0;
    }
    const posix::ReplaceOptions replace{options.syncToDisk, lock.held(),
                                        file != nullptr ? file->Blank() : " "};
    const bool ok = posix::ReplaceFile(target, file != nullptr ? file->bytes() : "", content,
                                       file != nullptr ? &file->status() : nullptr, replace);
    files.Forget(target);
    return ok && !plan.refused ? 1 : 0;
  }
};

NativeProfileService::NativeProfileService(ProfileOptions options)
    : state_(std::make_unique<State>()) {
  state_->options = options;
}

NativeProfileService::~NativeProfileService() = default;

std::uint32_t NativeProfileService::GetString(std::string_view section, std::string_view key,
                                              std::string_view defaultValue, char* buffer,
                                              std::uint32_t size, const std::string& path) {
  if (size == 0) return 0;
  if (const auto* file = state_->Current(path, posix::ToFileSystemPath(path))) {
    const posix::IniDocument document(file->text());
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
  if (const auto* file = state_->Current(path, posix::ToFileSystemPath(path))) {
    // Digits, sign and "0x" are ASCII: the UTF-8 of a file with a byte order mark reads alike.
    // Windows reads the text into 30 characters first: only the first 29 count.
    if (const auto raw = posix::IniDocument(file->text()).RawValue(section, key)) {
      if (const auto number = posix::ParseProfileInt(raw->substr(0, 29))) return *number;
    }
  }
  return static_cast<std::uint32_t>(defaultValue);
}

int NativeProfileService::WriteString(std::string_view section, std::string_view key,
                                      std::string_view value, const std::string& path) {
  return state_->Store({{section, key, value}}, path, state_->options);
}

int NativeProfileService::WriteStrings(const ProfileEntries& entries, const std::string& path) {
  std::vector<Entry> views;
  for (const ProfileEntry& e : entries)
    views.push_back({e.section, e.key, e.value});
  return state_->Store(views, path, state_->options);
}

}  // namespace morlane::platform
