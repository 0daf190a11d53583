#include "platform/win32/profile_win32.h"

#include <windows.h>

#include <string>

namespace morlane::platform::win32 {

std::string_view DefaultWithoutTrailingBlanks(std::string_view defaultValue) {
  // Windows removes them itself, but Wine keeps the first blank of an all-blank default, so
  // every missing value would read as " " there.
  const auto last = defaultValue.find_last_not_of(' ');
  return defaultValue.substr(0, last == std::string_view::npos ? 0 : last + 1);
}

std::uint32_t Win32ProfileService::GetString(std::string_view section, std::string_view key,
                                             std::string_view defaultValue, char* buffer,
                                             std::uint32_t size, const std::string& path) {
  const std::string s(section), k(key), d(DefaultWithoutTrailingBlanks(defaultValue));
  return ::GetPrivateProfileStringA(s.c_str(), k.c_str(), d.c_str(), buffer, size, path.c_str());
}

std::uint32_t Win32ProfileService::GetInt(std::string_view section, std::string_view key,
                                          std::int32_t defaultValue, const std::string& path) {
  const std::string s(section), k(key);
  return ::GetPrivateProfileIntA(s.c_str(), k.c_str(), defaultValue, path.c_str());
}

int Win32ProfileService::WriteString(std::string_view section, std::string_view key,
                                     std::string_view value, const std::string& path) {
  const std::string s(section), k(key), v(value);
  return ::WritePrivateProfileStringA(s.c_str(), k.c_str(), v.c_str(), path.c_str()) != 0 ? 1 : 0;
}

}  // namespace morlane::platform::win32
