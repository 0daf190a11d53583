#include "runner.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <utility>

#include "config/editinfo.h"

namespace morlane::e2e {

namespace fs = std::filesystem;

namespace {

#ifdef MORLANE_UNDER_WINE
std::string WineSetting(const char* name) {
  const char* value = std::getenv(name);
  return std::string(name) + "=" + (value != nullptr ? value : "");
}
#endif

}  // namespace

std::string ServicePackLogFile(const ProjectTree& project) {
  if (!kUnderWine) return project.dir / "HalvoServicePack.log";
  const char* prefix = std::getenv("WINEPREFIX");
  return std::string(prefix != nullptr ? prefix : "") + "/drive_c/HalvoServicePack.log";
}

std::string EditorEncoded() {
  if (!kUnderWine) return kEditorEncoded;
  const char* prefix = std::getenv("WINEPREFIX");
  return EncodeEditor(prefix != nullptr ? prefix : "");
}

ProjectTree::ProjectTree(std::string project, std::string programFolder)
    : project_(std::move(project)), programFolder_(std::move(programFolder)) {
  fs::create_directories(Path(programFolder_));
  fs::copy_file(MORLANE_PROGRAM, Path(ProgramFile()));
#ifdef MORLANE_GUI_MODULE
  fs::copy_file(MORLANE_GUI_MODULE, Path(programFolder_ + "/libmorlane_gui.so"));
#endif
}

std::string ProjectTree::ProgramFile() const {
  return programFolder_ + (kUnderWine ? "/Morlane_Config.exe" : "/Morlane_Config");
}

std::string ProjectTree::ProgramPath(const std::string& relative) const {
  if (!kUnderWine) return Path(relative);
  std::string path = "Z:" + Path(relative);
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

std::string ProjectTree::Read(const std::string& relative) const {
  const fs::path path = Path(relative);
  std::error_code ec;
  if (kUnderWine && !fs::exists(path, ec)) {
    const auto lower = [](std::string text) {
      for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      return text;
    };
    for (const auto& entry : fs::directory_iterator(path.parent_path(), ec)) {
      if (lower(entry.path().filename().string()) == lower(path.filename().string())) {
        return testing::ReadFile(entry.path().string());
      }
    }
  }
  return testing::ReadFile(path.string());
}

void ProjectTree::CopyFrom(const std::string& source) const {
  fs::copy(source, Path(""), fs::copy_options::recursive | fs::copy_options::overwrite_existing);
}

Outcome ProjectTree::Run(const std::vector<std::string>& args,
                         const std::vector<std::string>& environment, int timeoutMs) const {
  return RunningProgram(Spawn({}, args, environment), StderrFile()).Wait(timeoutMs);
}

Outcome ProjectTree::RunWrapped(const std::vector<std::string>& wrapper,
                                const std::vector<std::string>& args, int timeoutMs) const {
  return RunningProgram(Spawn(wrapper, args, {}), StderrFile()).Wait(timeoutMs);
}

std::unique_ptr<RunningProgram> ProjectTree::Start(
    const std::vector<std::string>& args, const std::vector<std::string>& environment) const {
  return std::make_unique<RunningProgram>(Spawn({}, args, environment), StderrFile());
}

pid_t ProjectTree::Spawn(const std::vector<std::string>& wrapper,
                         const std::vector<std::string>& args,
                         const std::vector<std::string>& environment) const {
  const std::string program = Path(ProgramFile());
  const std::string errFile = StderrFile();
  std::vector<std::string> env = {kEditorEntry, "PATH=/usr/bin:/bin", "LC_ALL=C.UTF-8",
                                  "HOME=" + dir.path()};
  env.insert(env.end(), environment.begin(), environment.end());
  std::vector<std::string> command = wrapper;
#ifdef MORLANE_UNDER_WINE
  // The prefix and its server are the driver's (scripts/test-windows makes them).
  command.insert(command.begin(), MORLANE_UNDER_WINE);
  for (const char* name : {"WINEPREFIX", "WINEDEBUG", "WINEDLLOVERRIDES"}) {
    env.push_back(WineSetting(name));
  }
#endif

  std::vector<char*> argv;
  for (const auto& w : command)
    argv.push_back(const_cast<char*>(w.c_str()));
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const auto& a : args)
    argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  std::vector<char*> envp;
  for (auto& e : env)
    envp.push_back(e.data());
  envp.push_back(nullptr);

  const pid_t parent = ::getpid();
  const pid_t pid = ::fork();
  if (pid == 0) {
    // A test killed from outside (a CTest timeout) takes the program with it.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != parent) ::_exit(125);
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
  return pid;
}

RunningProgram::~RunningProgram() {
  if (pid_ > 0 && !reaped_) {
    ::kill(-pid_, SIGKILL);
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, &wstatus_, 0);
  }
}

bool RunningProgram::Running() {
  if (pid_ <= 0 || reaped_) return false;
  if (::waitpid(pid_, &wstatus_, WNOHANG) == pid_) reaped_ = true;
  return !reaped_;
}

Outcome RunningProgram::Wait(int timeoutMs) {
  Outcome outcome;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (Running()) {
    if (std::chrono::steady_clock::now() > deadline) {
      ::kill(-pid_, SIGKILL);
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, &wstatus_, 0);
      reaped_ = true;
      outcome.timedOut = true;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  if (reaped_ && !outcome.timedOut && WIFEXITED(wstatus_)) outcome.status = WEXITSTATUS(wstatus_);
  outcome.stderrText = testing::ReadFile(stderrFile_);
  return outcome;
}

ServicePackLogWatcher::ServicePackLogWatcher(const ProjectTree& project)
    : file_(ServicePackLogFile(project)) {
  std::error_code ec;
  const auto size = fs::file_size(file_, ec);
  start_ = ec ? 0 : static_cast<std::size_t>(size);
}

std::string ServicePackLogWatcher::Appended() const {
  const std::string all = testing::ReadFile(file_);
  return all.size() > start_ ? all.substr(start_) : std::string();
}

}  // namespace morlane::e2e
