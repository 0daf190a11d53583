// Holds a file open without any sharing, as another program on a plant PC may, while it runs a
// program to the end: file_holder FILE PROGRAM [ARGUMENTS]. Answers the program's exit status;
// 100 when the file cannot be held or the program not started.
#include <windows.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: file_holder FILE PROGRAM [ARGUMENTS]\n");
    return 100;
  }
  const HANDLE held = ::CreateFileA(argv[1], GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (held == INVALID_HANDLE_VALUE) {
    std::fprintf(stderr, "file_holder: cannot hold %s (error %lu)\n", argv[1], ::GetLastError());
    return 100;
  }
  // The program reads its own command line as it stands: only its path is quoted.
  std::string commandLine = std::string("\"") + argv[2] + "\"";
  for (int i = 3; i < argc; ++i)
    commandLine += std::string(" ") + argv[i];
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
    std::fprintf(stderr, "file_holder: cannot start %s (error %lu)\n", argv[2], ::GetLastError());
    return 100;
  }
  ::WaitForSingleObject(process.hProcess, INFINITE);
  DWORD status = 100;
  ::GetExitCodeProcess(process.hProcess, &status);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  ::CloseHandle(held);
  return static_cast<int>(status);
}
