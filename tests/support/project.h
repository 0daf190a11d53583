// A project tree in a temporary directory with the program in <tmp>/plant/Config, and a
// session whose services are fakes except for the INI files, which are real.
#pragma once

#include <filesystem>
#include <memory>
#include <set>
#include <string>

#include "platform/profile.h"
#include "runctx/session.h"
#include "support/fakes.h"

namespace morlane::testing {

// The program's INI engine over the file primitives of the platform the tests run on.
std::unique_ptr<platform::ProfileService> MakeNativeProfileService();

// Passes everything to another profile service, except writes to the listed paths, which fail
// (busy: throw as the engine does when another run holds the file's lock too long), and reads
// of the unreadable ones, which throw as the engine does for a file that exists but cannot be
// read.
class FailingWrites : public platform::ProfileService {
 public:
  explicit FailingWrites(platform::ProfileService& inner) : inner_(inner) {}
  std::set<std::string> failing;
  std::set<std::string> unreadable;
  std::set<std::string> busy;
  int writes = 0;

  std::uint32_t GetString(std::string_view s, std::string_view k, std::string_view d, char* b,
                          std::uint32_t n, const std::string& p) override {
    ThrowIfUnreadable(p);
    return inner_.GetString(s, k, d, b, n, p);
  }
  std::uint32_t GetInt(std::string_view s, std::string_view k, std::int32_t d,
                       const std::string& p) override {
    ThrowIfUnreadable(p);
    return inner_.GetInt(s, k, d, p);
  }
  int WriteString(std::string_view s, std::string_view k, std::string_view v,
                  const std::string& p) override {
    ++writes;
    if (busy.count(p) != 0) {
      throw std::filesystem::filesystem_error(
          "in use", p, std::make_error_code(std::errc::device_or_resource_busy));
    }
    return failing.count(p) != 0 ? 0 : inner_.WriteString(s, k, v, p);
  }

 private:
  void ThrowIfUnreadable(const std::string& p) const {
    if (unreadable.count(p) != 0) {
      throw std::filesystem::filesystem_error("cannot read", p,
                                              std::make_error_code(std::errc::permission_denied));
    }
  }
  platform::ProfileService& inner_;
};

class Project {
 public:
  Project();

  std::string Path(const std::string& relative) const { return dir / ("plant/" + relative); }
  void Write(const std::string& relative, const std::string& bytes) const {
    WriteFile(Path(relative), bytes);
  }
  std::string Read(const std::string& relative) const { return ReadFile(Path(relative)); }

  std::string ConfigurationIni() const { return Path("parameter/m4tconfiguration.ini"); }
  std::string ProgramIni() const { return Path("parameter/Program.ini"); }
  std::string CfgFile() const { return Path("Morlane/Morlane.cfg"); }
  std::string ErrorLog() const { return Path("M4Tcfglog.txt"); }
  std::string ServicePackLog() const { return ReadFile(process.servicePackLog); }

  TempDir dir;
  FakeProcess process;
  ScriptedDialogs dialogs;
  std::unique_ptr<platform::ProfileService> native;
  FailingWrites profile;
  Session session;
};

}  // namespace morlane::testing
