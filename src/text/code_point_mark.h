// A character that Windows-1252 lacks, kept in the core's text as a mark "<U+XXXX>" (four to
// six upper-case hex digits): a POSIX path may hold any character, and the core keeps text in
// that code page. The mark reads well in a log and converts back without loss where the text
// leaves the core (file names, the window). A byte that is no UTF-8 is kept as <U+DC80> to
// <U+DCFF> (the byte plus 0xDC00), and a "<" that would read as a mark is written <U+003C>.
// Header only: the window module, which links no core, reads marks too.
#pragma once

#include <cstddef>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace morlane::text {

struct CodePointMark {
  char32_t codePoint = 0;
  std::size_t length = 0;  // bytes of the mark
};

// The first byte of a byte that is no UTF-8, as its mark's code point.
inline constexpr char32_t kRawByteMarkBase = 0xDC00;
inline constexpr bool IsRawByteMark(char32_t c) {
  return c >= kRawByteMarkBase + 0x80 && c <= kRawByteMarkBase + 0xFF;
}

// The mark at the start of text, if there is one.
inline std::optional<CodePointMark> ReadCodePointMark(std::string_view text) {
  if (text.substr(0, 3) != "<U+") return std::nullopt;
  char32_t value = 0;
  std::size_t digits = 0;
  for (std::size_t i = 3; i < text.size() && digits <= 6; ++i, ++digits) {
    const char c = text[i];
    if (c == '>') break;
    const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
    if (digit < 0) return std::nullopt;
    value = value * 16 + static_cast<char32_t>(digit);
  }
  if (digits < 4 || digits > 6 || 3 + digits >= text.size() || text[3 + digits] != '>') {
    return std::nullopt;
  }
  if (value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF && !IsRawByteMark(value))) {
    return std::nullopt;
  }
  return CodePointMark{value, 4 + digits};
}

inline std::string WriteCodePointMark(char32_t codePoint) {
  char mark[16];
  std::snprintf(mark, sizeof mark, "<U+%04X>", static_cast<unsigned>(codePoint));
  return mark;
}

}  // namespace morlane::text
