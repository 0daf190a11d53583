// Process services on Linux.
#pragma once

#include "platform/process.h"

namespace morlane::platform::posix {

class PosixProcessServices : public ProcessServices {
 public:
  PosixProcessServices(int argc, char** argv);

  std::string CommandLine() const override { return commandLine_; }
  std::string ApplicationDirectory() const override { return applicationDirectory_; }
  std::string ExecutableBaseName() const override { return baseName_; }
  Version ProgramVersion() const override;
  std::vector<std::string> EnvironmentEntries() const override;
  bool FileExists(const std::string& path) const override;
  bool AppendToFile(const std::string& path, const std::string& bytes) override;
  void WriteDiagnostic(const std::string& text) override;
  [[noreturn]] void EndProcess(int exitStatus) override;
  PathStyle Style() const override { return PathStyle::Posix; }
  std::string ServicePackLogPath() const override { return "/var/log/HalvoServicePack.log"; }

 private:
  std::string commandLine_;
  std::string applicationDirectory_;
  std::string baseName_;
};

// Splits the path of an executable into its directory (no trailing "/" except for the root)
// and its base name (without the last extension).
void SplitExecutablePath(const std::string& exePath, std::string& directory, std::string& baseName);

}  // namespace morlane::platform::posix
