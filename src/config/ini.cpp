#include "config/ini.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <optional>
#include <type_traits>

#include "errors/failure.h"
#include "errors/report.h"
#include "errors/routine.h"
#include "runctx/session.h"
#include "text/cp1252.h"
#include "text/path.h"

namespace morlane {
namespace {

constexpr std::uint32_t kBufferSize = 255;
// The platform strips the trailing blanks of a default, so a missing value reads empty.
const std::string kAllBlankDefault(kBufferSize, ' ');

// A file that exists but cannot be read is reported once per run, not once per value: later
// reads of it fail without a report (nullopt), and their values keep what they were.
template <class Read>
auto ReadReportingOnce(Session& session, const std::string& path, Read&& read)
    -> std::optional<decltype(read())> {
  try {
    return read();
  } catch (const std::filesystem::filesystem_error&) {
    if (session.unreadableFiles.insert(path).second) throw;
    return std::nullopt;
  }
}

std::optional<std::string> ReadString(Session& session, const std::string& section,
                                      const std::string& key, const std::string& path) {
  return ReadReportingOnce(session, path, [&] {
    char buffer[kBufferSize + 1] = {};
    std::uint32_t n =
        session.profile.GetString(section, key, kAllBlankDefault, buffer, kBufferSize, path);
    if (n > kBufferSize - 1) n = kBufferSize - 1;
    return std::string(buffer, n);
  });
}

// Shortest decimal text that reads back as the same number, with a full stop whatever the
// locale (to_chars never looks at the locale).
template <class T>
std::string FloatText(T value) {
  if (!std::isfinite(value)) throw Failure::Overflow();
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

}  // namespace

bool IniText(const IniValue& value, std::string& text) {
  return std::visit(
      [&](const auto& v) -> bool {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, std::string>) {
          text = v;
        } else if constexpr (std::is_same_v<T, const char*>) {
          text = v != nullptr ? v : "";
        } else if constexpr (std::is_same_v<T, bool>) {
          text = v ? "true" : "false";
        } else if constexpr (std::is_same_v<T, float> || std::is_same_v<T, double>) {
          text = FloatText(v);
        } else if constexpr (std::is_same_v<T, UnsupportedValue>) {
          return false;
        } else {
          text = std::to_string(static_cast<long long>(v));
        }
        return true;
      },
      value);
}

std::string LoadIniString(Session& session, const std::string& section, const std::string& key,
                          const std::string& path) {
  Routine routine(session, "LoadIniString");
  std::string value;
  routine.Step([&] { value = ReadString(session, section, key, path).value_or(value); });
  return value;
}

std::int16_t LoadIniInteger(Session& session, const std::string& section, const std::string& key,
                            const std::string& path) {
  Routine routine(session, "LoadIniInteger");
  std::int16_t number = 0;
  // After an overflow the routine returns 0.
  routine.Step([&] {
    const auto read = ReadReportingOnce(
        session, path, [&] { return session.profile.GetInt(section, key, -1, path); });
    if (!read) return;
    const auto stored = static_cast<std::int32_t>(*read);
    if (stored < -32768 || stored > 32767) throw Failure::Overflow();
    number = static_cast<std::int16_t>(stored);
  });
  return number;
}

bool LoadIniBoolean(Session& session, const std::string& section, const std::string& key,
                    const std::string& path) {
  Routine routine(session, "LoadIniBoolean");
  std::string upper;
  routine.Step([&] {
    upper = text::UpperCase1252(ReadString(session, section, key, path).value_or(upper));
  });
  return upper == "TRUE";
}

namespace {

// A write that found the file locked by another run for too long: handed to the caller, whose
// report of the failed store then says why, once.
void RethrowInUse(const std::exception_ptr& inUse) {
  if (inUse) std::rethrow_exception(inUse);
}

}  // namespace

SaveResult SaveIni(Session& session, const IniValue& value, const std::string& section,
                   const std::string& key, const std::string& path) {
  Routine routine(session, "SaveIni");
  SaveResult result = SaveResult::Failed;
  std::string text;
  bool known = true;
  routine.Step([&] { known = IniText(value, text); });
  if (!known) {
    routine.Step([&] { ReportFault(session, "Ini Save:  wrong data type"); });
    return SaveResult::Failed;  // nothing is written for a value without text
  }
  std::exception_ptr inUse;
  routine.Step([&] {
    try {
      if (session.profile.WriteString(section, key, text, path) != 0) result = SaveResult::Saved;
    } catch (const std::filesystem::filesystem_error&) {
      inUse = std::current_exception();
    }
  });
  RethrowInUse(inUse);
  return result;
}

SaveResult SaveStoreValue(Session& session, const IniValue& value, const std::string& section,
                          const std::string& key, const std::string& path) {
  const std::string before = session.process.FileVersion(path);
  const SaveResult result = SaveIni(session, value, section, key, path);
  if (session.process.FileVersion(path) != before) session.partlyStored = true;
  return result;
}

SaveResult SaveIniStrings(Session& session, const platform::ProfileEntries& entries,
                          const std::string& path) {
  Routine routine(session, "SaveIni");
  SaveResult result = SaveResult::Failed;
  std::exception_ptr inUse;
  routine.Step([&] {
    try {
      if (session.profile.WriteStrings(entries, path) != 0) result = SaveResult::Saved;
    } catch (const std::filesystem::filesystem_error&) {
      inUse = std::current_exception();
    }
  });
  RethrowInUse(inUse);
  return result;
}

void ThrowWriteFailure(Session& session, const std::string& path) {
  throw Failure(errnum::kPathFileAccess,
                "Path/File access error: " + text::PathForDisplay(session.process.Style(), path));
}

}  // namespace morlane
