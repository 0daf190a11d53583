// Runs the built program as a separate process inside a temporary project tree.
#pragma once

#include <sys/types.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "support/fakes.h"

namespace morlane::e2e {

struct Outcome {
  int status = -1;  // exit status; -1 when it had to be killed
  bool timedOut = false;
  std::string stderrText;
};

// A program started in the background, for a test that works its window meanwhile. Whatever
// happens to the test, the program's process group does not outlive the handle.
class RunningProgram {
 public:
  RunningProgram(pid_t pid, std::string stderrFile)
      : pid_(pid), stderrFile_(std::move(stderrFile)) {}
  ~RunningProgram();
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  bool Running();
  // Waits for the end; kills the process group when it takes longer than the limit.
  Outcome Wait(int timeoutMs);

 private:
  pid_t pid_;
  std::string stderrFile_;
  bool reaped_ = false;
  int wstatus_ = 0;
};

class ProjectTree {
 public:
  // <tmp>/<project> with the program (and its window module) in <tmp>/<project>/<programFolder>.
  explicit ProjectTree(std::string project = "plant", std::string programFolder = "Config");

  std::string Path(const std::string& relative) const { return dir / (project_ + "/" + relative); }
  // The same place as the program names it: under Wine a Windows path on drive Z:.
  std::string ProgramPath(const std::string& relative) const;
  void Write(const std::string& relative, const std::string& bytes) const {
    testing::WriteFile(Path(relative), bytes);
  }
  // Under Wine a file is found without regard to case, as Windows finds it: the program may
  // have made it with the name spelt otherwise (an upper-cased LOGFILE path, say).
  std::string Read(const std::string& relative) const;
  // Copies a tree (e.g. the bundled sample project) over the project.
  void CopyFrom(const std::string& source) const;

  // Runs the program with the arguments; the environment starts with USERNAME=Service (the
  // stamp encodes the first entry) and has no display unless `environment` (added after the
  // usual entries) names one.
  Outcome Run(const std::vector<std::string>& args,
              const std::vector<std::string>& environment = {}, int timeoutMs = 20000) const;
  // The same, with the program started through a wrapper command (valgrind, ...).
  Outcome RunWrapped(const std::vector<std::string>& wrapper, const std::vector<std::string>& args,
                     int timeoutMs) const;
  // Starts the program and returns at once; `environment` is added after the usual entries.
  std::unique_ptr<RunningProgram> Start(const std::vector<std::string>& args,
                                        const std::vector<std::string>& environment) const;

  testing::TempDir dir;

 private:
  pid_t Spawn(const std::vector<std::string>& wrapper, const std::vector<std::string>& args,
              const std::vector<std::string>& environment) const;
  std::string StderrFile() const { return dir / "stderr.txt"; }
  // The program file in the project: the Windows program keeps its extension.
  std::string ProgramFile() const;

  std::string project_;
  std::string programFolder_;
};

// The bytes appended to the service-pack log of the project's runs while the watcher lived.
class ServicePackLogWatcher {
 public:
  explicit ServicePackLogWatcher(const ProjectTree& project);
  std::string Appended() const;

 private:
  std::string file_;
  std::size_t start_ = 0;
};

// The driver that runs the cases: the POSIX program, or (MORLANE_UNDER_WINE, the wine command)
// the Windows program under Wine.
#ifdef MORLANE_UNDER_WINE
inline constexpr bool kUnderWine = true;
#else
inline constexpr bool kUnderWine = false;
#endif

// Where the program under test writes its service-pack log: the tests' build of the program
// writes it into the project's temporary folder; under Wine it is C:\ of the driver's prefix.
std::string ServicePackLogFile(const ProjectTree& project);
// The first environment entry of every run and its encoded form in the stamp.
inline const char* kEditorEntry = "USERNAME=Service";
inline const char* kEditorEncoded = "586A777B6E686A";
// The stamp's editor as the program under test writes it: under Wine the first entry of the
// Windows environment is Wine's own, the prefix directory.
std::string EditorEncoded();

}  // namespace morlane::e2e
