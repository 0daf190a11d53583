// The private-profile services on POSIX: every call reads the whole file (nothing is cached);
// a write replaces the file atomically, or leaves it untouched when nothing changes.
#pragma once

#include "platform/profile.h"

namespace morlane::platform::posix {

struct PosixProfileOptions {
  // fsync the new file and its directory before a write returns. Off only to measure what
  // durability costs.
  bool syncToDisk = true;
};

class PosixProfileService final : public ProfileService {
 public:
  PosixProfileService() = default;
  explicit PosixProfileService(PosixProfileOptions options) : options_(options) {}

  std::uint32_t GetString(std::string_view section, std::string_view key,
                          std::string_view defaultValue, char* buffer, std::uint32_t size,
                          const std::string& path) override;
  std::uint32_t GetInt(std::string_view section, std::string_view key, std::int32_t defaultValue,
                       const std::string& path) override;
  int WriteString(std::string_view section, std::string_view key, std::string_view value,
                  const std::string& path) override;

 private:
  PosixProfileOptions options_;
};

}  // namespace morlane::platform::posix
