// The behaviour table run against the program's engine, and against Windows' own
// private-profile services (under Wine: Wine's), the reference for the file format.
#include <windows.h>

#include <string>

#include "platform/conformance/profile_conformance.h"
#include "platform/profile.h"

namespace morlane::testing {
namespace {

class SystemProfileService final : public platform::ProfileService {
 public:
  std::uint32_t GetString(std::string_view section, std::string_view key,
                          std::string_view defaultValue, char* buffer, std::uint32_t size,
                          const std::string& path) override {
    const std::string s(section), k(key), d(WithoutTrailingBlanks(defaultValue));
    return ::GetPrivateProfileStringA(s.c_str(), k.c_str(), d.c_str(), buffer, size, path.c_str());
  }
  std::uint32_t GetInt(std::string_view section, std::string_view key, std::int32_t defaultValue,
                       const std::string& path) override {
    const std::string s(section), k(key);
    return ::GetPrivateProfileIntA(s.c_str(), k.c_str(), defaultValue, path.c_str());
  }
  int WriteString(std::string_view section, std::string_view key, std::string_view value,
                  const std::string& path) override {
    const std::string s(section), k(key), v(value);
    return ::WritePrivateProfileStringA(s.c_str(), k.c_str(), v.c_str(), path.c_str()) != 0 ? 1 : 0;
  }

 private:
  // Windows removes them itself, but Wine keeps the first blank of an all-blank default; the
  // table compares the rest of the behaviour.
  static std::string_view WithoutTrailingBlanks(std::string_view text) {
    const auto last = text.find_last_not_of(' ');
    return text.substr(0, last == std::string_view::npos ? 0 : last + 1);
  }
};

}  // namespace

std::vector<ProfileBackend> ProfileBackendsUnderTest() {
  return {{"engine", [] { return std::make_unique<platform::NativeProfileService>(); }},
          {"wine", [] { return std::make_unique<SystemProfileService>(); }}};
}

}  // namespace morlane::testing
