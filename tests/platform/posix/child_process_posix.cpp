#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/conformance/child_process.h"

extern char** environ;

namespace morlane::testing {

ChildProcess::ChildProcess(const std::vector<std::string>& args) {
  int output[2];
  if (::pipe2(output, O_CLOEXEC) != 0) return;
  std::vector<char*> argv;
  for (const std::string& a : args)
    argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  ::posix_spawn_file_actions_init(&actions);
  ::posix_spawn_file_actions_adddup2(&actions, output[1], 1);
  ::posix_spawn_file_actions_addclose(&actions, output[0]);
  pid_t pid = 0;
  const int spawned = ::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  ::posix_spawn_file_actions_destroy(&actions);
  ::close(output[1]);
  output_ = output[0];
  if (spawned == 0) process_ = pid;
}

ChildProcess::~ChildProcess() {
  if (started() && !waited_) {
    Kill();
    Wait();
  }
  if (output_ != kNone) ::close(static_cast<int>(output_));
}

bool ChildProcess::ReadReady() {
  char byte = 0;
  return ::read(static_cast<int>(output_), &byte, 1) == 1;
}

void ChildProcess::Kill() {
  ::kill(static_cast<pid_t>(process_), SIGKILL);
}

int ChildProcess::Wait() {
  int status = 0;
  ::waitpid(static_cast<pid_t>(process_), &status, 0);
  waited_ = true;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace morlane::testing
