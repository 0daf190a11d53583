// Random command lines and keywords: a value is found or not, never anything malformed.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "errors/failure.h"
#include "runctx/command.h"

using morlane::Failure;
using morlane::KeywordValue;
using morlane::ValueRule;
using morlane::platform::PathStyle;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t split = data[0] % 12;
  const std::string rest(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::string keyword = rest.substr(0, std::min(split, rest.size()));
  const std::string line = rest.substr(keyword.size());

  for (const PathStyle style : {PathStyle::Windows, PathStyle::Posix}) {
    for (const ValueRule rule : {ValueRule::Word, ValueRule::Path}) {
      std::string value;
      try {
        value = KeywordValue(line, keyword, rule, style);
      } catch (const Failure& f) {
        // Only a keyword that ends the line fails, and as an invalid argument.
        if (f.number != 5) std::abort();
        continue;
      }
      if (!value.empty() && (value.front() == ' ' || value.back() == ' ')) std::abort();
      if (value.size() > line.size()) std::abort();
      const bool posixPath = rule == ValueRule::Path && style == PathStyle::Posix;
      if (posixPath) {
        if (value.find(" /") != std::string::npos) std::abort();
      } else {
        if (value.find('/') != std::string::npos) std::abort();
        for (const char c : value) {
          if (c >= 'a' && c <= 'z') std::abort();
        }
      }
    }
  }
  return 0;
}
