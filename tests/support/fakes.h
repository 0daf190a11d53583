// Test doubles of the platform services and small file helpers.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/dialog.h"
#include "platform/process.h"
#include "platform/profile.h"
#include "runctx/session.h"

namespace morlane::testing {

// A new directory in the system's temporary directory, removed with everything in it.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& relative) const { return path_ + "/" + relative; }

 private:
  std::string path_;
};

std::string ReadFile(const std::string& path);  // empty when missing
// The path as the platform's file services find it (names ignore case, as on the plant's PCs).
std::string NativePath(const std::string& path);
bool FileExistsOnDisk(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);  // creates parent dirs
// The names in a folder, sorted: what a store left beside its file.
std::vector<std::string> FolderEntries(const std::string& dir);

// Runs code that may end the process (the fake services throw ProcessEnded); answers the exit
// status it ended with, or nothing when it returned.
std::optional<platform::ExitStatus> ExitOf(const std::function<void()>& code);

// Process services with everything set by the test. Files are real unless memoryFiles is set
// (for Windows-style paths, which name no file here): then appends land in `files`.
class FakeProcess : public platform::ProcessServices {
 public:
  std::string commandLine;
  std::string applicationDirectory = "/plant/Config";
  std::string baseName = "Morlane_Config";
  platform::Version version{1, 0, 0};
  std::vector<std::string> environment;
  platform::PathStyle style = platform::PathStyle::Posix;
  std::string servicePackLog = "/nonexistent-dir/HalvoServicePack.log";
  bool memoryFiles = false;
  std::map<std::string, std::string> files;  // memoryFiles: path -> content
  std::set<std::string> unwritable;          // appends to these paths fail
  std::string diagnostics;                   // what went to stderr

  std::string CommandLine() const override { return commandLine; }
  std::string ApplicationDirectory() const override { return applicationDirectory; }
  std::string ExecutableBaseName() const override { return baseName; }
  platform::Version ProgramVersion() const override { return version; }
  std::vector<std::string> EnvironmentEntries() const override { return environment; }
  bool FileExists(const std::string& path) const override;
  std::string FileVersion(const std::string& path) const override;
  bool AppendToFile(const std::string& path, const std::string& bytes) override;
  void WriteDiagnostic(const std::string& text) override { diagnostics += text; }
  [[noreturn]] void EndProcess(platform::ExitStatus status) override {
    throw platform::ProcessEnded{status};
  }
  platform::PathStyle Style() const override { return style; }
  std::string ServicePackLogPath() const override { return servicePackLog; }
};

// Answers message boxes from a script and records every box shown.
class ScriptedDialogs : public platform::DialogService {
 public:
  std::deque<platform::Choice> answers;         // taken front first
  std::vector<platform::MessageRequest> shown;  // every box, in order
  int failures = 0;  // this many of the next boxes fail instead of showing (a broken GUI)

  // The texts of the boxes shown, in order.
  std::vector<std::string> Texts() const;

  platform::Choice ShowMessage(const platform::MessageRequest& request) override;
};

// For tests that touch no INI file: every call fails the test.
class UnusedProfile : public platform::ProfileService {
 public:
  std::uint32_t GetString(std::string_view, std::string_view, std::string_view, char*,
                          std::uint32_t, const std::string&) override;
  std::uint32_t GetInt(std::string_view, std::string_view, std::int32_t,
                       const std::string&) override;
  int WriteString(std::string_view, std::string_view, std::string_view,
                  const std::string&) override;
};

// A session over fakes for tests that touch no INI file; test fixtures derive from it to have
// process, dialogs and session at hand.
struct FakeSession {
  FakeProcess process;
  ScriptedDialogs dialogs;
  UnusedProfile profile;
  Session session{process, dialogs, profile};
};

}  // namespace morlane::testing
