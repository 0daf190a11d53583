#include "runner.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace morlane::e2e {

namespace fs = std::filesystem;

ProjectTree::ProjectTree() {
  fs::create_directories(Path("Config"));
  fs::copy_file(MORLANE_PROGRAM, Path("Config/Morlane_Config"));
#ifdef MORLANE_GUI_MODULE
  fs::copy_file(MORLANE_GUI_MODULE, Path("Config/libmorlane_gui.so"));
#endif
}

void ProjectTree::CopyFrom(const std::string& source) const {
  fs::copy(source, Path(""), fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}

Outcome ProjectTree::Run(const std::vector<std::string>& args, const std::string& display,
                         int timeoutMs) const {
  return Launch({}, args, display, timeoutMs);
}

Outcome ProjectTree::RunWrapped(const std::vector<std::string>& wrapper,
                                const std::vector<std::string>& args, int timeoutMs) const {
  return Launch(wrapper, args, "", timeoutMs);
}

Outcome ProjectTree::Launch(const std::vector<std::string>& wrapper,
                            const std::vector<std::string>& args, const std::string& display,
                            int timeoutMs) const {
  const std::string program = Path("Config/Morlane_Config");
  const std::string errFile = dir / "stderr.txt";
  std::vector<std::string> env = {kEditorEntry, "PATH=/usr/bin:/bin", "LC_ALL=C.UTF-8",
                                  "HOME=" + dir.path()};
  if (!display.empty()) env.push_back("DISPLAY=" + display);

  std::vector<char*> argv;
  for (const auto& w : wrapper) argv.push_back(const_cast<char*>(w.c_str()));
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  std::vector<char*> envp;
  for (auto& e : env)
    envp.push_back(e.data());
  envp.push_back(nullptr);

  const pid_t pid = ::fork();
  if (pid == 0) {
    const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (err >= 0) ::dup2(err, STDERR_FILENO);
    const int null = ::open("/dev/null", O_RDWR);
    if (null >= 0) {
      ::dup2(null, STDIN_FILENO);
      ::dup2(null, STDOUT_FILENO);
    }
    if (::chdir(dir.path().c_str()) != 0) ::_exit(126);
    ::setpgid(0, 0);
    ::execve(argv[0], argv.data(), envp.data());
    ::_exit(127);
  }

  Outcome outcome;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  int wstatus = 0;
  for (;;) {
    const pid_t done = ::waitpid(pid, &wstatus, WNOHANG);
    if (done == pid) break;
    if (std::chrono::steady_clock::now() > deadline) {
      ::kill(-pid, SIGKILL);
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &wstatus, 0);
      outcome.timedOut = true;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  if (!outcome.timedOut && WIFEXITED(wstatus)) outcome.status = WEXITSTATUS(wstatus);
  outcome.stderrText = testing::ReadFile(errFile);
  return outcome;
}

ServicePackLogWatcher::ServicePackLogWatcher() {
  std::error_code ec;
  const auto size = fs::file_size(kServicePackLog, ec);
  start_ = ec ? 0 : static_cast<std::size_t>(size);
}

std::string ServicePackLogWatcher::Appended() const {
  const std::string all = testing::ReadFile(kServicePackLog);
  return all.size() > start_ ? all.substr(start_) : std::string();
}

}  // namespace morlane::e2e
