// A child program of the crash and lock tests, started, killed and waited for by the system's
// own means (child_process_<system>.cpp beside each platform's tests).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace morlane::testing {

class ChildProcess {
 public:
  // Starts the program (args[0]) with the arguments; its standard output is a pipe to us.
  explicit ChildProcess(const std::vector<std::string>& args);
  ~ChildProcess();  // kills it when it still runs
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool started() const { return process_ != kNone; }
  // Reads the one byte the child writes when it is ready; false when it ended instead.
  bool ReadReady();
  // Ends it at once, as a crash would.
  void Kill();
  // Its exit status, or -1 when it was killed.
  int Wait();

 private:
  static constexpr std::intptr_t kNone = -1;
  std::intptr_t process_ = kNone;  // pid or process handle
  std::intptr_t output_ = kNone;   // read end of its standard output
  bool killed_ = false;
  bool waited_ = false;
};

}  // namespace morlane::testing
