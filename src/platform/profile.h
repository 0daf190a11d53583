// Private-profile (INI file) services, shaped after the narrow-character Windows services. Both
// builds provide them with one engine of their own (platform/profile/).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace morlane::platform {

// Values to store, in the order they are written.
struct ProfileEntry {
  std::string section;
  std::string key;
  std::string value;
};
using ProfileEntries = std::vector<ProfileEntry>;

class ProfileService {
 public:
  virtual ~ProfileService() = default;

  // Copies the value (or the default, trailing blanks removed) into buffer, cut to size - 1
  // characters and NUL-terminated; returns the number of characters copied.
  virtual std::uint32_t GetString(std::string_view section, std::string_view key,
                                  std::string_view defaultValue, char* buffer, std::uint32_t size,
                                  const std::string& path) = 0;
  // The value read as an integer, or the default when the key is missing or empty.
  virtual std::uint32_t GetInt(std::string_view section, std::string_view key,
                               std::int32_t defaultValue, const std::string& path) = 0;
  // Stores the value, creating file, section and key as needed. Non-zero on success.
  virtual int WriteString(std::string_view section, std::string_view key, std::string_view value,
                          const std::string& path) = 0;
  // Stores several values: the file ends as after writing them one by one, in order. Non-zero
  // when all were stored. A backend may replace the file once for all of them.
  virtual int WriteStrings(const ProfileEntries& entries, const std::string& path) {
    bool all = true;
    for (const ProfileEntry& e : entries)
      all = WriteString(e.section, e.key, e.value, path) != 0 && all;
    return all ? 1 : 0;
  }
};

struct ProfileOptions {
  // Flush the new file (and its directory) to disk before a write returns. Off only to measure
  // what durability costs.
  bool syncToDisk = true;
};

// The services of the program on the system it runs on: the engine of platform/profile/ over
// that system's file primitives.
class NativeProfileService final : public ProfileService {
 public:
  explicit NativeProfileService(ProfileOptions options = {});
  ~NativeProfileService() override;
  NativeProfileService(const NativeProfileService&) = delete;
  NativeProfileService& operator=(const NativeProfileService&) = delete;

  std::uint32_t GetString(std::string_view section, std::string_view key,
                          std::string_view defaultValue, char* buffer, std::uint32_t size,
                          const std::string& path) override;
  std::uint32_t GetInt(std::string_view section, std::string_view key, std::int32_t defaultValue,
                       const std::string& path) override;
  int WriteString(std::string_view section, std::string_view key, std::string_view value,
                  const std::string& path) override;
  int WriteStrings(const ProfileEntries& entries, const std::string& path) override;

 private:
  struct State;  // what the backend keeps between calls, its options among it
  std::unique_ptr<State> state_;
};

}  // namespace morlane::platform
