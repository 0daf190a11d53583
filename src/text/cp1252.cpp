#include "text/cp1252.h"

namespace morlane::text {

char UpperChar1252(char c) {
  const auto u = static_cast<unsigned char>(c);
  if (u >= 'a' && u <= 'z') return static_cast<char>(u - 0x20);
  if (u >= 0xE0 && u <= 0xFE && u != 0xF7) return static_cast<char>(u - 0x20);
  switch (u) {
    case 0x9A:
      return static_cast<char>(0x8A);  // š -> Š
    case 0x9C:
      return static_cast<char>(0x8C);  // œ -> Œ
    case 0x9E:
      return static_cast<char>(0x8E);  // ž -> Ž
    case 0xFF:
      return static_cast<char>(0x9F);  // ÿ -> Ÿ
    default:
      return c;
  }
}

std::string UpperCase1252(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    c = UpperChar1252(c);
  return out;
}

std::string TrimBlanks(std::string_view s) {
  const auto first = s.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const auto last = s.find_last_not_of(' ');
  return std::string(s.substr(first, last - first + 1));
}

std::string EscapeLineBreaks(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (const char c : s) {
    if (c == '\r')
      out += "<CR>";
    else if (c == '\n')
      out += "<LF>";
    else
      out += c;
  }
  return out;
}

}  // namespace morlane::text
