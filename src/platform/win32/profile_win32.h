// The private-profile services of Windows itself, passed through.
#pragma once

#include <string_view>

#include "platform/profile.h"

namespace morlane::platform::win32 {

class Win32ProfileService final : public ProfileService {
 public:
  std::uint32_t GetString(std::string_view section, std::string_view key,
                          std::string_view defaultValue, char* buffer, std::uint32_t size,
                          const std::string& path) override;
  std::uint32_t GetInt(std::string_view section, std::string_view key, std::int32_t defaultValue,
                       const std::string& path) override;
  int WriteString(std::string_view section, std::string_view key, std::string_view value,
                  const std::string& path) override;
};

// The default as it is handed to Windows: without its trailing blanks.
std::string_view DefaultWithoutTrailingBlanks(std::string_view defaultValue);

}  // namespace morlane::platform::win32
