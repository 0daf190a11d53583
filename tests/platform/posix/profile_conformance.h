// Behaviour of the private-profile services as a table of cases, run against any backend of
// platform::ProfileService. Backend-neutral: only the interface, std::filesystem and fstream,
// so the same cases can run against the real Win32 services (MinGW build under Wine).
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/profile.h"

namespace morlane::testing {

struct ProfileCall {
  enum class Op { kGet, kGetInt, kWrite };
  Op op = Op::kGet;
  std::string section;
  std::string key;
  std::string arg;              // kGet: the default; kWrite: the value
  std::int32_t intDefault = 0;  // kGetInt
  std::uint32_t size = 255;     // kGet: buffer size
  std::uint32_t result = 0;     // kGet: the count; kGetInt: the number; kWrite: 0 or non-zero
  std::string text;             // kGet: the buffer's content
};

struct ProfileCase {
  std::string name;
  std::optional<std::string> before;  // the file's bytes; nullopt: no file
  std::vector<ProfileCall> calls;
  std::optional<std::string> after =
      std::nullopt;  // nullopt: as before, with the old modification time
  // Backend name -> why that backend behaves differently; such a case is skipped there.
  std::map<std::string, std::string> knownDifferences = {};
};

// Failure messages name the case instead of dumping its bytes.
inline void PrintTo(const ProfileCase& c, std::ostream* out) {
  *out << c.name;
}

struct ProfileBackend {
  std::string name;  // the key of ProfileCase::knownDifferences
  std::function<std::unique_ptr<platform::ProfileService>()> make;
};

// Defined once per backend, next to the backend's own tests.
ProfileBackend ProfileBackendUnderTest();

}  // namespace morlane::testing
