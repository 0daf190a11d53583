#include "platform/win32/wide_path.h"

#include <windows.h>

namespace morlane::platform::win32 {

std::wstring FromAnsi(const std::string& ansi) {
  if (ansi.empty()) return {};
  const int n =
      ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) {
    ::MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), wide.data(), n);
  }
  return wide;
}

std::optional<std::string> ToAnsi(const std::wstring& wide) {
  if (wide.empty()) return std::string();
  BOOL lossy = FALSE;
  const int size = static_cast<int>(wide.size());
  const int n = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, nullptr, 0,
                                      nullptr, &lossy);
  if (n <= 0 || lossy) return std::nullopt;
  std::string ansi(static_cast<std::size_t>(n), '\0');
  ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), size, ansi.data(), n, nullptr,
                        &lossy);
  if (lossy) return std::nullopt;
  return ansi;
}

std::wstring WidePath(const std::string& path) {
  std::wstring wide = FromAnsi(path);
  if (wide.rfind(L"\\\\?\\", 0) == 0 || wide.empty()) return wide;
  // GetFullPathNameW also handles paths beyond MAX_PATH; the prefix then turns off the limit
  // (and the remaining name parsing) in the services that get the path.
  const DWORD n = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (n == 0) return wide;
  std::wstring full(n, L'\0');
  const DWORD written = ::GetFullPathNameW(wide.c_str(), n, full.data(), nullptr);
  if (written == 0 || written >= n) return wide;
  full.resize(written);
  if (full.rfind(L"\\\\", 0) == 0) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

}  // namespace morlane::platform::win32
