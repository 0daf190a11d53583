#include <windows.h>

#include <string>

#include "platform/profile.h"

namespace morlane::platform {
namespace {

// Windows removes them itself, but Wine keeps the first blank of an all-blank default, so
// every missing value would read as " " there.
std::string_view DefaultWithoutTrailingBlanks(std::string_view defaultValue) {
  const auto last = defaultValue.find_last_not_of(' ');
  return defaultValue.substr(0, last == std::string_view::npos ? 0 : last + 1);
}

}  // namespace

// Windows keeps nothing of ours between calls, and decides itself when a write is durable.
struct NativeProfileService::State {};

NativeProfileService::NativeProfileService(ProfileOptions) : state_(std::make_unique<State>()) {}

NativeProfileService::~NativeProfileService() = default;

std::uint32_t NativeProfileService::GetString(std::string_view section, std::string_view key,
                                              std::string_view defaultValue, char* buffer,
                                              std::uint32_t size, const std::string& path) {
  const std::string s(section), k(key), d(DefaultWithoutTrailingBlanks(defaultValue));
  return ::GetPrivateProfileStringA(s.c_str(), k.c_str(), d.c_str(), buffer, size, path.c_str());
}

std::uint32_t NativeProfileService::GetInt(std::string_view section, std::string_view key,
                                           std::int32_t defaultValue, const std::string& path) {
  const std::string s(section), k(key);
  return ::GetPrivateProfileIntA(s.c_str(), k.c_str(), defaultValue, path.c_str());
}

int NativeProfileService::WriteString(std::string_view section, std::string_view key,
                                      std::string_view value, const std::string& path) {
  const std::string s(section), k(key), v(value);
  return ::WritePrivateProfileStringA(s.c_str(), k.c_str(), v.c_str(), path.c_str()) != 0 ? 1 : 0;
}

int NativeProfileService::WriteStrings(const ProfileEntries& entries, const std::string& path) {
  return ProfileService::WriteStrings(entries, path);
}

}  // namespace morlane::platform
