// A run-time failure as the error reports show it: number and description (the source is the
// executable's base name).
#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace morlane {

namespace errnum {
inline constexpr std::int32_t kInvalidProcedureCall = 5;
inline constexpr std::int32_t kOverflow = 6;
inline constexpr std::int32_t kOutOfMemory = 7;
inline constexpr std::int32_t kSubscriptOutOfRange = 9;
inline constexpr std::int32_t kTypeMismatch = 13;
inline constexpr std::int32_t kPathFileAccess = 75;
}  // namespace errnum

class Failure : public std::exception {
 public:
  Failure(std::int32_t number, std::string description)
      : number(number), description(std::move(description)) {}

  const char* what() const noexcept override { return description.c_str(); }

  static Failure InvalidArgument() {
    return {errnum::kInvalidProcedureCall, "Invalid procedure call or argument"};
  }
  static Failure Overflow() { return {errnum::kOverflow, "Overflow"}; }
  static Failure SubscriptOutOfRange() {
    return {errnum::kSubscriptOutOfRange, "Subscript out of range"};
  }
  static Failure TypeMismatch() { return {errnum::kTypeMismatch, "Type mismatch"}; }
  static Failure PathFileAccess() { return {errnum::kPathFileAccess, "Path/File access error"}; }

  std::int32_t number;
  std::string description;
};

// Turns whatever a step threw into a Failure (standard exceptions get the usual numbers).
Failure ToFailure(std::exception_ptr error);

}  // namespace morlane
