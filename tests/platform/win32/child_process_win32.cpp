#include <windows.h>

#include "platform/conformance/child_process.h"

namespace morlane::testing {
namespace {

// A path of the build tree as the program is given it: cross-built, a POSIX path, which Wine
// shows on drive Z:.
std::string ProgramPath(std::string path) {
  if (path.empty() || path[0] != '/') return path;
  for (char& c : path)
    c = c == '/' ? '\\' : c;
  return "Z:" + path;
}

std::string Quoted(const std::string& arg) {
  return "\"" + arg + "\"";
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& args) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE readEnd = nullptr, writeEnd = nullptr;
  if (!::CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return;
  ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
  output_ = reinterpret_cast<std::intptr_t>(readEnd);
  std::string commandLine = Quoted(ProgramPath(args.at(0)));
  for (std::size_t i = 1; i < args.size(); ++i)
    commandLine += " " + Quoted(args[i]);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = writeEnd;
  startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
  startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION info{};
  const std::string program = ProgramPath(args.at(0));
  if (::CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                       nullptr, &startup, &info)) {
    ::CloseHandle(info.hThread);
    process_ = reinterpret_cast<std::intptr_t>(info.hProcess);
  }
  ::CloseHandle(writeEnd);
}

ChildProcess::~ChildProcess() {
  if (started() && !waited_) {
    Kill();
    Wait();
  }
  if (started()) ::CloseHandle(reinterpret_cast<HANDLE>(process_));
  if (output_ != kNone) ::CloseHandle(reinterpret_cast<HANDLE>(output_));
}

bool ChildProcess::ReadReady() {
  char byte = 0;
  DWORD n = 0;
  return ::ReadFile(reinterpret_cast<HANDLE>(output_), &byte, 1, &n, nullptr) && n == 1;
}

void ChildProcess::Kill() {
  if (::TerminateProcess(reinterpret_cast<HANDLE>(process_), 137)) killed_ = true;
}

int ChildProcess::Wait() {
  const HANDLE process = reinterpret_cast<HANDLE>(process_);
  ::WaitForSingleObject(process, INFINITE);
  waited_ = true;
  DWORD status = 0;
  ::GetExitCodeProcess(process, &status);
  return killed_ ? -1 : static_cast<int>(status);
}

}  // namespace morlane::testing
