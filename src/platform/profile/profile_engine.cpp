// The private-profile services of both builds: the engine over the file primitives of the
// system (file_primitives.h).
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "platform/profile.h"
#include "platform/profile/codepage.h"
#include "platform/profile/file_primitives.h"
#include "platform/profile/ini_document.h"
#include "platform/profile/profile_file.h"

namespace morlane::platform {
namespace {

std::uint32_t CopyOut(std::string_view text, char* buffer, std::uint32_t size) {
  const std::size_t n = std::min<std::size_t>(text.size(), size - 1);
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
  return static_cast<std::uint32_t>(n);
}

// A value to store: section, key, value.
struct Entry {
  std::string_view section, key, value;
};

// What writing the entries in turn makes of a text: one edit per entry that changes it, each
// to the text the previous ones made; text is the result when there is more than one.
struct WritePlan {
  std::vector<profile::IniEdit> edits;
  std::string text;
  bool refused = false;  // an entry the services refuse (the others are still written)
};

WritePlan PlanWrites(std::string_view text, const std::vector<Entry>& entries) {
  WritePlan plan;
  for (const Entry& e : entries) {
    const std::string_view now = plan.edits.empty() ? text : std::string_view(plan.text);
    profile::IniWritePlan one = profile::IniDocument(now).PlanWrite(e.section, e.key, e.value);
    plan.refused = plan.refused || one.kind == profile::IniWriteKind::kRefused;
    if (one.kind != profile::IniWriteKind::kEdit) continue;
    // A single edit is written from the old bytes; only several need the text in between.
    if (entries.size() > 1) plan.text = profile::ApplyEdit(now, one.edit);
    plan.edits.push_back(std::move(one.edit));
  }
  return plan;
}

}  // namespace

struct NativeProfileService::State {
  ProfileOptions options;
  profile::ProfileFiles files;

  // The file at the core's path as on disk now, nullptr when missing. A file that exists but
  // cannot be read is a failure of the call (the caller reports it), not a missing file.
  const profile::ProfileFile* Current(const std::string& path) {
    try {
      return files.Current(profile::SystemPath(path));
    } catch (const std::filesystem::filesystem_error& e) {
      throw std::filesystem::filesystem_error(e.what(), path, e.code());  // the name shown
    }
  }

  // True when the file already holds every entry: answered without the writers' lock, as
  // most writes of a run change nothing.
  bool Holds(const std::string& target, const std::vector<Entry>& entries) {
    try {
      const profile::ProfileFile* file = files.Current(target);
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
    const std::string target = profile::SystemPath(path);
    if (Holds(target, entries)) return 1;
    if (!profile::MayWriteThrough(path)) return 0;  // nothing through another user's link
    // Read, edit and replace under the writers' lock, so that no other run's update is lost.
    const profile::WriterLock lock(target);
    if (lock.busy()) {
      // Another run kept the lock for longer than any store takes: the failure says why.
      throw std::filesystem::filesystem_error(
          "in use", path, std::make_error_code(std::errc::device_or_resource_busy));
    }
    if (!lock.held() && !lock.unlockable()) return 0;
    const profile::ProfileFile* file = nullptr;
    try {
      file = files.Current(target);
    } catch (const std::filesystem::filesystem_error&) {
      return 0;  // a file that cannot be read cannot be edited
    }
    // A missing file is made; a missing directory (found when the temporary file cannot be
    // made) and a read-only file are a failed write.
    if (file != nullptr && !profile::MayReplace(target, file->status())) return 0;
    const WritePlan plan = PlanWrites(file != nullptr ? file->text() : "", entries);
    if (plan.edits.empty()) return plan.refused ? 0 : 1;
    profile::Pieces content;
    std::string storage;
    const bool single = plan.edits.size() == 1;
    if (file == nullptr) {
      content = {single ? plan.edits.front().text : plan.text};
    } else if (!(single ? file->EncodeEdit(plan.edits.front(), content, storage)
                        : file->EncodeText(plan.text, content, storage))) {
      return 0;
    }
    const profile::ReplaceOptions replace{options.syncToDisk, lock.held(),
                                          file != nullptr ? file->Blank() : " "};
    const bool ok = profile::ReplaceContent(target, file != nullptr ? file->bytes() : "", content,
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
  if (const auto* file = state_->Current(path)) {
    const profile::IniDocument document(file->text());
    if (const auto raw = document.RawValue(section, key)) {
      if (!document.utf8()) return CopyOut(*raw, buffer, size);
      return CopyOut(Utf8ToCp1252(*raw), buffer, size);
    }
  }
  // Windows documents trailing blanks of the default as removed (spaces only).
  while (!defaultValue.empty() && defaultValue.back() == ' ')
    defaultValue.remove_suffix(1);
  return CopyOut(defaultValue, buffer, size);
}

std::uint32_t NativeProfileService::GetInt(std::string_view section, std::string_view key,
                                           std::int32_t defaultValue, const std::string& path) {
  if (const auto* file = state_->Current(path)) {
    // Digits, sign and "0x" are ASCII: the UTF-8 of a file with a byte order mark reads alike.
    // Windows reads the text into 30 characters first: only the first 29 count.
    if (const auto raw = profile::IniDocument(file->text()).RawValue(section, key)) {
      if (const auto number = profile::ParseProfileInt(raw->substr(0, 29))) return *number;
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
