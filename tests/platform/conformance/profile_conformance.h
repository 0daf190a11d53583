// Behaviour of the private-profile services as a table of cases, run against the program's
// engine in both builds, and in the Windows build (under Wine) also against the system's own
// services, the reference for the file format. Backend-neutral: only the interface,
// std::filesystem and fstream.
//
// Where a backend is known to behave otherwise, the case says so for that backend: a reason,
// and the result of each call or the file afterwards as that backend gives it. Those are
// checked like the others, so a difference that goes away or changes is noticed.
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

// What one call gives: kGet the count and the buffer's content; kGetInt the number; kWrite
// 0 or 1.
struct ProfileOutcome {
  std::uint32_t result = 0;
  std::string text;
  bool operator==(const ProfileOutcome&) const = default;
};

struct ProfileCall {
  enum class Op { kGet, kGetInt, kWrite };
  Op op = Op::kGet;
  std::string section;
  std::string key;
  std::string arg;              // kGet: the default; kWrite: the value
  std::int32_t intDefault = 0;  // kGetInt
  std::uint32_t size = 255;     // kGet: buffer size
  ProfileOutcome expected;
  // Backend name -> what that backend gives instead.
  std::map<std::string, ProfileOutcome> elsewhere = {};

  // This call's result on a backend that differs (see ProfileCase::knownDifferences).
  ProfileCall Except(const std::string& backend, std::string text) &&;  // kGet
  ProfileCall ExceptInt(const std::string& backend, std::uint32_t number) &&;
  ProfileCall ExceptWrite(const std::string& backend, bool ok) &&;
};

struct ProfileCase {
  std::string name;
  std::optional<std::string> before;  // the file's bytes; nullopt: no file
  std::vector<ProfileCall> calls;
  std::optional<std::string> after =
      std::nullopt;  // nullopt: as before, with the old modification time
  // Backend name -> why that backend behaves differently. Each such backend states what it
  // gives in ProfileCall::elsewhere or afterElsewhere.
  std::map<std::string, std::string> knownDifferences = {};
  // Backend name -> the file's bytes afterwards on that backend.
  std::map<std::string, std::string> afterElsewhere = {};
};

// Failure messages name the case instead of dumping its bytes.
inline void PrintTo(const ProfileCase& c, std::ostream* out) {
  *out << c.name;
}

struct ProfileBackend {
  std::string name;  // the key of the known differences
  std::function<std::unique_ptr<platform::ProfileService>()> make;
};

inline void PrintTo(const ProfileBackend& b, std::ostream* out) {
  *out << b.name;
}

// The backends one test program runs the table against, defined next to the platform's own
// tests.
std::vector<ProfileBackend> ProfileBackendsUnderTest();

}  // namespace morlane::testing
