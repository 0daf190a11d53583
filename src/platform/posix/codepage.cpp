#include "platform/profile/codepage.h"
#include "platform/posix/core_text.h"

#include <iconv.h>

#include <cerrno>

#include "platform/posix/bytes.h"
#include "text/code_point_mark.h"

namespace morlane::platform {

namespace {

// The bytes of the UTF-8 sequence at `in` (at most `left`), for skipping one that has no 1252
// form, is broken, or is cut off at the end.
std::size_t SequenceLength(const char* in, std::size_t left) {
  const auto lead = static_cast<unsigned char>(*in);
  std::size_t length = 1;
  if (lead >= 0xC2 && lead <= 0xDF)
    length = 2;
  else if (lead >= 0xE0 && lead <= 0xEF)
    length = 3;
  else if (lead >= 0xF0 && lead <= 0xF4)
    length = 4;
  for (std::size_t i = 1; i < length && i < left; ++i) {
    if ((static_cast<unsigned char>(in[i]) & 0xC0) != 0x80) return i;
  }
  return length > left ? left : length;
}

// The five C1 controls that stand for the bytes 1252 leaves undefined come back as those bytes,
// as Windows converts them, so such bytes survive a trip through a UTF-8 file. 0: none at `in`.
unsigned char UndefinedByte(const char* in, std::size_t left) {
  if (static_cast<unsigned char>(*in) != 0xC2 || left < 2) return 0;
  const auto c1 = static_cast<unsigned char>(in[1]);
  return (c1 == 0x81 || c1 == 0x8D || c1 == 0x8F || c1 == 0x90 || c1 == 0x9D) ? c1 : 0;
}

}  // namespace

std::string Utf8ToCp1252(std::string_view utf8) {
  if (IsAscii(utf8)) return std::string(utf8);
  std::string out;
  iconv_t cd = ::iconv_open("WINDOWS-1252", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    for (const char c : utf8)
      out += (static_cast<unsigned char>(c) < 0x80) ? c : '?';
    return out;
  }
  std::string input(utf8);
  char* in = input.data();
  std::size_t inLeft = input.size();
  char buffer[256];
  while (inLeft > 0) {
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t rc = ::iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
    if (rc != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
    // EILSEQ: a character without a 1252 form, or a broken sequence; EINVAL: a cut-off
    // sequence at the end: one "?" for the whole UTF-8 sequence, unless it stands for an
    // undefined byte.
    const unsigned char undefined = UndefinedByte(in, inLeft);
    out += undefined != 0 ? static_cast<char>(undefined) : '?';
    const std::size_t skip = undefined != 0 ? 2 : SequenceLength(in, inLeft);
    in += skip;
    inLeft -= skip;
  }
  ::iconv_close(cd);
  return out;
}

namespace {

// A whole text through iconv; false at the first byte it rejects.
bool Convert(const char* to, const char* from, std::string_view text, std::string& out) {
  out.clear();
  iconv_t cd = ::iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  std::string input(text);
  char* in = input.data();
  std::size_t inLeft = input.size();
  char buffer[4096];
  bool ok = true;
  while (inLeft > 0 && ok) {
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t rc = ::iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
    ok = rc != static_cast<std::size_t>(-1) || errno == E2BIG;
  }
  ::iconv_close(cd);
  return ok;
}

}  // namespace

bool Utf16ToUtf8(std::string_view utf16, bool bigEndian, std::string& out) {
  return Convert("UTF-8", bigEndian ? "UTF-16BE" : "UTF-16LE", utf16, out);
}

bool Utf8ToUtf16(std::string_view utf8, bool bigEndian, std::string& out) {
  return Convert(bigEndian ? "UTF-16BE" : "UTF-16LE", "UTF-8", utf8, out);
}

std::string Cp1252ToUtf8(std::string_view cp1252) {
  if (IsAscii(cp1252)) return std::string(cp1252);
  std::string out;
  out.reserve(cp1252.size() + cp1252.size() / 8);
  iconv_t cd = ::iconv_open("UTF-8", "WINDOWS-1252");
  std::string input(cp1252);
  char* in = input.data();
  std::size_t inLeft = input.size();
  char buffer[256];
  while (inLeft > 0) {
    const auto byte = static_cast<unsigned char>(*in);
    if (byte < 0x80) {
      // ASCII needs no converter; this also keeps the text when iconv is unavailable.
      out += *in++;
      --inLeft;
      continue;
    }
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    std::size_t rc = static_cast<std::size_t>(-1);
    if (cd != reinterpret_cast<iconv_t>(-1)) {
      std::size_t one = 1;  // one byte at a time: a rejected byte must not cost its neighbours
      rc = ::iconv(cd, &in, &one, &outPtr, &outLeft);
      if (rc != static_cast<std::size_t>(-1)) --inLeft;
    }
    if (rc == static_cast<std::size_t>(-1)) {
      // A byte without a 1252 character (or no converter): the C1 control of the same number.
      outPtr = buffer;
      *outPtr++ = static_cast<char>(0xC0 | (byte >> 6));
      *outPtr++ = static_cast<char>(0x80 | (byte & 0x3F));
      ++in;
      --inLeft;
    }
    out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
  }
  if (cd != reinterpret_cast<iconv_t>(-1)) ::iconv_close(cd);
  return out;
}

}  // namespace morlane::platform

namespace morlane::platform::posix {
namespace {

// The length of the well-formed UTF-8 sequence at the start of text (no overlong form, no
// surrogate, nothing above U+10FFFF); 0 when there is none.
std::size_t WellFormedLength(std::string_view text, char32_t& codePoint) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  std::size_t length = 0;
  char32_t min = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, min = 0x80, codePoint = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, min = 0x800, codePoint = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, min = 0x10000, codePoint = lead & 0x07;
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    codePoint = (codePoint << 6) | (byte(i) & 0x3F);
  }
  const bool surrogate = codePoint >= 0xD800 && codePoint <= 0xDFFF;
  return codePoint < min || codePoint > 0x10FFFF || surrogate ? 0 : length;
}

void AppendUtf8(char32_t c, std::string& out) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

std::string Utf8ToCoreText(std::string_view native) {
  std::string out;
  out.reserve(native.size());
  for (std::size_t i = 0; i < native.size();) {
    const std::string_view rest = native.substr(i);
    const auto lead = static_cast<unsigned char>(rest.front());
    if (lead < 0x80) {
      // A "<" that would read back as a mark is itself marked.
      out += lead == '<' && text::ReadCodePointMark(rest) ? text::WriteCodePointMark('<')
                                                          : std::string(1, rest.front());
      ++i;
      continue;
    }
    char32_t codePoint = 0;
    const std::size_t length = WellFormedLength(rest, codePoint);
    if (length == 0) {
      out += text::WriteCodePointMark(text::kRawByteMarkBase + lead);
      ++i;
      continue;
    }
    const std::string byte = Utf8ToCp1252(rest.substr(0, length));
    out += byte.size() == 1 && byte != "?" ? byte : text::WriteCodePointMark(codePoint);
    i += length;
  }
  return out;
}

std::string CoreTextToUtf8(std::string_view core) {
  std::string out;
  out.reserve(core.size() + core.size() / 8);
  std::size_t plain = 0;  // start of the text not converted yet
  for (std::size_t i = 0; i < core.size(); ++i) {
    if (core[i] != '<') continue;
    const auto mark = text::ReadCodePointMark(core.substr(i));
    if (!mark) continue;
    out += Cp1252ToUtf8(core.substr(plain, i - plain));
    const char32_t c = mark->codePoint;
    if (text::IsRawByteMark(c)) {
      out += static_cast<char>(c - text::kRawByteMarkBase);
    } else {
      AppendUtf8(c, out);
    }
    i += mark->length - 1;
    plain = i + 1;
  }
  out += Cp1252ToUtf8(core.substr(plain));
  return out;
}

}  // namespace morlane::platform::posix
