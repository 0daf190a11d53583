#include "platform/posix/process_posix.h"

#include "platform/process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <iostream>

#include "platform/posix/bytes.h"
#include "platform/posix/core_text.h"
#include "platform/posix/link_owner.h"
#include "platform/posix/path_case.h"
#include "platform/profile/codepage.h"

extern char** environ;

namespace morlane::platform::posix {
namespace {

std::string ReadExecutablePath(const char* argv0) {
  std::string buffer(4096, '\0');
  const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
  if (n > 0 && static_cast<std::size_t>(n) < buffer.size()) {
    buffer.resize(static_cast<std::size_t>(n));
    return buffer;
  }
  return argv0 != nullptr ? std::string(argv0) : std::string();
}

}  // namespace

void SplitExecutablePath(const std::string& exePath, std::string& directory,
                         std::string& baseName) {
  const auto slash = exePath.rfind('/');
  std::string file = slash == std::string::npos ? exePath : exePath.substr(slash + 1);
  directory = slash == std::string::npos ? std::string(".")
              : slash == 0               ? std::string("/")
                                         : exePath.substr(0, slash);
  const auto dot = file.rfind('.');
  baseName = (dot == std::string::npos || dot == 0) ? file : file.substr(0, dot);
}

}  // namespace morlane::platform::posix

namespace morlane::platform {

using posix::ReadExecutablePath;
using posix::SplitExecutablePath;
using posix::ToFileSystemPath;
using posix::Utf8ToCoreText;
using posix::WriteAll;

SystemProcessServices::SystemProcessServices(int argc, char** argv) {
  // A closed stderr pipe is then a write that fails, not the end of the run.
  ::signal(SIGPIPE, SIG_IGN);
  for (int i = 1; i < argc; ++i) {
    if (i > 1) commandLine_ += ' ';
    commandLine_ += argv[i];
  }
  // The core keeps text in Windows-1252; the file system and the arguments speak UTF-8. Paths
  // among them must reach their files: what the code page lacks is kept as a mark.
  commandLine_ = Utf8ToCoreText(commandLine_);
  SplitExecutablePath(Utf8ToCoreText(ReadExecutablePath(argc > 0 ? argv[0] : nullptr)),
                      applicationDirectory_, baseName_);
}

Version SystemProcessServices::ProgramVersion() const {
  return {MORLANE_VERSION_MAJOR, MORLANE_VERSION_MINOR, MORLANE_VERSION_PATCH};
}

std::vector<std::string> SystemProcessServices::EnvironmentEntries() const {
  std::vector<std::string> entries;
  for (char** e = environ; e != nullptr && *e != nullptr; ++e) {
    entries.push_back(Utf8ToCp1252(*e));
  }
  return entries;
}

bool SystemProcessServices::FileExists(const std::string& path) const {
  if (path.empty()) return false;
  struct stat st {};
  return ::stat(ToFileSystemPath(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string SystemProcessServices::FileVersion(const std::string& path) const {
  struct stat st {};
  if (path.empty() || ::stat(ToFileSystemPath(path).c_str(), &st) != 0) return {};
  return std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino) + ":" +
         std::to_string(st.st_size) + ":" + std::to_string(st.st_mtim.tv_sec) + "." +
         std::to_string(st.st_mtim.tv_nsec) + ":" + std::to_string(st.st_ctim.tv_sec) + "." +
         std::to_string(st.st_ctim.tv_nsec);
}

bool SystemProcessServices::AppendToFile(const std::string& path, const std::string& bytes) {
  if (path.empty()) return false;
  // A terminal or pipe only when asked for by name; it may block like any stderr.
  if (path == "/dev/stderr") return WriteAll(STDERR_FILENO, {bytes});
  // A link another user made is not followed (checked again once open: no link swapped in).
  const std::string target = ToFileSystemPath(path);
  if (!posix::MayFollowLinks(target)) return false;
  // O_NONBLOCK: a FIFO without a reader fails at once instead of hanging; only regular files
  // are appended to, so a FIFO or device never blocks a write either.
  const int fd = ::open(target.c_str(),
                        O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK | O_NOCTTY, 0666);
  if (fd < 0) return false;
  struct stat st {};
  struct stat named {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || !posix::MayFollowLinks(target) ||
      ::stat(target.c_str(), &named) != 0 || named.st_dev != st.st_dev ||
      named.st_ino != st.st_ino) {
    ::close(fd);
    return false;
  }
  const bool written = WriteAll(fd, {bytes});
  const bool closed = ::close(fd) == 0;
  return written && closed;
}

void SystemProcessServices::WriteDiagnostic(const std::string& text) {
  std::cerr.flush();
  WriteAll(STDERR_FILENO, {text});
}

void SystemProcessServices::EndProcess(ExitStatus status) {
  std::cout.flush();
  std::cerr.flush();
  std::fflush(nullptr);
  ::_exit(static_cast<int>(status));
}

PathStyle SystemProcessServices::Style() const {
  return PathStyle::Posix;
}

}  // namespace morlane::platform
