#include "platform/win32/process_win32.h"

#include "platform/process.h"
#include "platform/win32/wide_path.h"

#include <windows.h>
#include <winver.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>

namespace morlane::platform::win32 {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

// The program's own path, read wide: the narrow service would cut it at MAX_PATH or put "?"
// for what the ANSI code page lacks.
std::wstring ModuleFileName() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return std::wstring();
    // A full buffer means the name was cut: try again with more room.
    if (n < buffer.size()) {
      buffer.resize(n);
      return buffer;
    }
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace

std::string CommandLineArguments(std::string_view commandLine) {
  std::size_t i = 0;
  if (!commandLine.empty() && commandLine[0] == '"') {
    // A quoted program path is everything up to the next quote, as the C runtime reads it.
    const auto close = commandLine.find('"', 1);
    i = close == std::string_view::npos ? commandLine.size() : close + 1;
  } else {
    while (i < commandLine.size() && !IsBlank(commandLine[i]))
      ++i;
  }
  while (i < commandLine.size() && IsBlank(commandLine[i]))
    ++i;
  return std::string(commandLine.substr(i));
}

void SplitModulePath(const std::string& modulePath, std::string& directory, std::string& baseName) {
  const auto separator = modulePath.find_last_of("\\/");
  const std::string file =
      separator == std::string::npos ? modulePath : modulePath.substr(separator + 1);
  directory = separator == std::string::npos ? std::string(".") : modulePath.substr(0, separator);
  // "D:" alone names the drive's current directory, not its root.
  if (directory.size() == 2 && directory[1] == ':') directory += '\\';
  const auto dot = file.rfind('.');
  baseName = (dot == std::string::npos || dot == 0) ? file : file.substr(0, dot);
}

std::vector<std::string> EnvironmentBlockEntries(const char* block) {
  std::vector<std::string> entries;
  for (const char* entry = block; entry != nullptr && *entry != '\0';) {
    const std::string text(entry);
    if (text[0] != '=') entries.push_back(text);
    entry += text.size() + 1;
  }
  return entries;
}

}  // namespace morlane::platform::win32

namespace morlane::platform {

using win32::CommandLineArguments;
using win32::EnvironmentBlockEntries;
using win32::ModuleFileName;
using win32::SplitModulePath;
using win32::ToAnsi;
using win32::WidePath;

namespace {

// The path as the narrow services would give it, for showing only.
std::string BestFitAnsi(const std::wstring& wide) {
  const int n = ::WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                      nullptr, 0, nullptr, nullptr);
  std::string ansi(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) {
    ::WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), ansi.data(), n,
                          nullptr, nullptr);
  }
  return ansi;
}

}  // namespace

SystemProcessServices::SystemProcessServices(int, char**) {
  const char* commandLine = ::GetCommandLineA();
  commandLine_ = CommandLineArguments(commandLine != nullptr ? commandLine : "");
  const std::wstring modulePath = ModuleFileName();
  std::optional<std::string> ansi = ToAnsi(modulePath);
  if (!ansi) {
    // Every file of the project is named from here: say why none can be, once, instead of
    // "File not found" for files that exist.
    unusableLocation_ =
        "The path of the program cannot be written in the system's code page (ANSI code page " +
        std::to_string(::GetACP()) +
        "); move the project to a folder whose name uses only characters of that code page: \n\r" +
        BestFitAnsi(modulePath);
    ansi = BestFitAnsi(modulePath);
  }
  SplitModulePath(*ansi, applicationDirectory_, baseName_);
}

// From the program's own version resource, so that the stamp says what Explorer shows; read
// directly, without the version DLL. A program without the resource has version 0.0.0.
Version SystemProcessServices::ProgramVersion() const {
  const HRSRC found = ::FindResourceA(nullptr, MAKEINTRESOURCEA(VS_VERSION_INFO),
                                      MAKEINTRESOURCEA(16));  // RT_VERSION
  const HGLOBAL loaded = found != nullptr ? ::LoadResource(nullptr, found) : nullptr;
  const auto* bytes =
      static_cast<const unsigned char*>(loaded != nullptr ? ::LockResource(loaded) : nullptr);
  if (bytes == nullptr) return {};
  const DWORD size = ::SizeofResource(nullptr, found);
  // The fixed part follows the key "VS_VERSION_INFO" at a 32-bit boundary.
  for (DWORD at = 0; at + sizeof(VS_FIXEDFILEINFO) <= size; at += 4) {
    VS_FIXEDFILEINFO info;
    std::memcpy(&info, bytes + at, sizeof info);
    if (info.dwSignature == 0xFEEF04BDu) {
      return {HIWORD(info.dwFileVersionMS), LOWORD(info.dwFileVersionMS),
              HIWORD(info.dwFileVersionLS)};
    }
  }
  return {};
}

std::vector<std::string> SystemProcessServices::EnvironmentEntries() const {
  char* block = ::GetEnvironmentStringsA();
  if (block == nullptr) return {};
  std::vector<std::string> entries = EnvironmentBlockEntries(block);
  ::FreeEnvironmentStringsA(block);
  return entries;
}

std::string SystemProcessServices::FileVersion(const std::string& path) const {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (path.empty() ||
      !::GetFileAttributesExW(WidePath(path).c_str(), GetFileExInfoStandard, &data)) {
    return {};
  }
  const auto number = [](DWORD high, DWORD low) {
    return std::to_string((static_cast<unsigned long long>(high) << 32) | low);
  };
  return number(data.nFileSizeHigh, data.nFileSizeLow) + ":" +
         number(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime) + ":" +
         number(data.ftCreationTime.dwHighDateTime, data.ftCreationTime.dwLowDateTime);
}

bool SystemProcessServices::FileExists(const std::string& path) const {
  // No wildcards: no file is named so. The attributes alone, without listing the folder.
  if (path.empty() || path.find_first_of("*?") != std::string::npos) return false;
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!::GetFileAttributesExW(WidePath(path).c_str(), GetFileExInfoStandard, &data)) return false;
  // A normal file, as a plain directory listing shows it.
  constexpr DWORD kNotNormal =
      FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  return (data.dwFileAttributes & kNotNormal) == 0;
}

bool SystemProcessServices::AppendToFile(const std::string& path, const std::string& bytes) {
  if (path.empty()) return false;
  // FILE_APPEND_DATA alone: every write lands at the end, also with other writers.
  const HANDLE file =
      ::CreateFileW(WidePath(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool written = true;
  std::size_t done = 0;
  while (written && done < bytes.size()) {
    DWORD n = 0;
    const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
    written = ::WriteFile(file, bytes.data() + done, chunk, &n, nullptr) != 0 && n > 0;
    done += n;
  }
  const bool closed = ::CloseHandle(file) != 0;
  return written && closed;
}

// The program writes through C stdio only: no C++ streams to set up at every start.
void SystemProcessServices::WriteDiagnostic(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fflush(stderr);
}

void SystemProcessServices::EndProcess(ExitStatus status) {
  std::fflush(nullptr);
  ::ExitProcess(static_cast<UINT>(status));
}

PathStyle SystemProcessServices::Style() const {
  return PathStyle::Windows;
}

}  // namespace morlane::platform
