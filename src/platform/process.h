// Process services: what the program needs from the operating system besides INI files and
// dialogs. Text is handed over as bytes in the ANSI code page (Windows-1252 on POSIX).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace morlane::platform {

// How paths are spelled: the separator, what a project directory looks like, and whether a
// path may be upper-cased for display.
enum class PathStyle { Windows, Posix };

struct Version {
  std::uint16_t major = 0;
  std::uint16_t minor = 0;
  std::uint16_t revision = 0;
};

// How a run ends.
enum class ExitStatus : int {
  Stored = 0,        // the order was stored, or a cancel was confirmed
  NotStored = 1,     // ended by a failure; nothing (more) stored
  NoDisplay = 2,     // an interactive start without a usable display
  PartlyStored = 3,  // ended by a failure after a store had written part of its values
};

// Test doubles of EndProcess throw this instead of ending the test process. The error pattern
// never catches it, so it unwinds straight to the test like a real end of the process would
// stop everything.
struct ProcessEnded {
  ExitStatus status;
};

class ProcessServices {
 public:
  virtual ~ProcessServices() = default;

  // The argument part of the command line, without the program's own path.
  virtual std::string CommandLine() const = 0;
  // Directory of the running executable, no trailing separator except at a root.
  virtual std::string ApplicationDirectory() const = 0;
  // File name of the running executable without directory and extension.
  virtual std::string ExecutableBaseName() const = 0;
  virtual Version ProgramVersion() const = 0;
  // "name=value" entries in the order the process received them.
  virtual std::vector<std::string> EnvironmentEntries() const = 0;
  // True when the path names a normal file (not a directory). File names ignore case.
  virtual bool FileExists(const std::string& path) const = 0;
  // Changes whenever the file's content may have changed (identity, size, modification time);
  // empty when there is no such file. Tells whether a write changed what is on disk.
  virtual std::string FileVersion(const std::string& path) const = 0;
  // Opens the file for appending (creating it), writes the bytes, closes it. False on failure.
  virtual bool AppendToFile(const std::string& path, const std::string& bytes) = 0;
  // Last-resort diagnostics channel (stderr) for text no log could take.
  virtual void WriteDiagnostic(const std::string& text) = 0;
  // Ends the process at once: no further events, nothing stored.
  [[noreturn]] virtual void EndProcess(ExitStatus status) = 0;
  virtual PathStyle Style() const = 0;
  // The fixed log for faults of silent runs.
  virtual std::string ServicePackLogPath() const = 0;
  // Why no file of the project can be found from where the program is, or empty: on Windows a
  // program folder whose name the system's ANSI code page cannot represent.
  virtual std::string UnusableLocation() const { return {}; }
};

// The process services of the system the program runs on. Declared once; each system's own
// .cpp (posix/process_posix.cpp, win32/process_win32.cpp) implements it, chosen by CMake.
class SystemProcessServices final : public ProcessServices {
 public:
  // Windows reads its whole command line itself and does not look at argc and argv.
  SystemProcessServices(int argc, char** argv);

  std::string CommandLine() const override { return commandLine_; }
  std::string ApplicationDirectory() const override { return applicationDirectory_; }
  std::string ExecutableBaseName() const override { return baseName_; }
  Version ProgramVersion() const override;
  std::vector<std::string> EnvironmentEntries() const override;
  bool FileExists(const std::string& path) const override;
  std::string FileVersion(const std::string& path) const override;
  bool AppendToFile(const std::string& path, const std::string& bytes) override;
  void WriteDiagnostic(const std::string& text) override;
  [[noreturn]] void EndProcess(ExitStatus status) override;
  PathStyle Style() const override;
  std::string ServicePackLogPath() const override;
  std::string UnusableLocation() const override { return unusableLocation_; }

 private:
  std::string commandLine_;
  std::string applicationDirectory_;
  std::string baseName_;
  std::string unusableLocation_;
};

}  // namespace morlane::platform
