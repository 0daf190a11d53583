// Process services through Win32.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/process.h"

namespace morlane::platform::win32 {

class Win32ProcessServices : public ProcessServices {
 public:
  Win32ProcessServices();

  std::string CommandLine() const override { return commandLine_; }
  std::string ApplicationDirectory() const override { return applicationDirectory_; }
  std::string ExecutableBaseName() const override { return baseName_; }
  Version ProgramVersion() const override;
  std::vector<std::string> EnvironmentEntries() const override;
  bool FileExists(const std::string& path) const override;
  bool AppendToFile(const std::string& path, const std::string& bytes) override;
  void WriteDiagnostic(const std::string& text) override;
  [[noreturn]] void EndProcess(int exitStatus) override;
  PathStyle Style() const override { return PathStyle::Windows; }
  std::string ServicePackLogPath() const override { return "C:\\HalvoServicePack.log"; }

 private:
  std::string commandLine_;
  std::string applicationDirectory_;
  std::string baseName_;
};

// The arguments of a whole command line: the program's path (up to the closing quote when it
// starts with one, else up to the first blank) and the blanks after it are skipped; the rest
// is kept as it is.
std::string CommandLineArguments(std::string_view commandLine);

// Splits the path of a module into its directory (no trailing backslash except at a drive root
// such as "D:\") and its base name (without the last extension).
void SplitModulePath(const std::string& modulePath, std::string& directory, std::string& baseName);

// The entries of an environment block (strings ending in NUL, an empty one last), in order,
// without those starting with "=": Windows keeps each drive's current directory there
// ("=C:=C:\Plant"), and they are no variables.
std::vector<std::string> EnvironmentBlockEntries(const char* block);

}  // namespace morlane::platform::win32
