// The engine's code pages through Windows' own conversions; the ANSI code page is the
// system's (Windows-1252 on the plants' PCs).
#include <windows.h>

#include <string>
#include <string_view>

#include "platform/profile/codepage.h"

namespace morlane::platform {
namespace {

// Bytes in a code page to UTF-16; false when a byte sequence is invalid (out then holds the
// text with U+FFFD in its place).
bool ToWide(UINT codePage, std::string_view in, std::wstring& out) {
  out.clear();
  if (in.empty()) return true;
  const int size = static_cast<int>(in.size());
  int n = ::MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, in.data(), size, nullptr, 0);
  const bool valid = n > 0;
  const DWORD flags = valid ? MB_ERR_INVALID_CHARS : 0;
  if (!valid) n = ::MultiByteToWideChar(codePage, 0, in.data(), size, nullptr, 0);
  out.resize(static_cast<std::size_t>(n > 0 ? n : 0));
  if (n > 0) ::MultiByteToWideChar(codePage, flags, in.data(), size, out.data(), n);
  return valid;
}

// UTF-16 to a code page; characters it lacks (and broken surrogates) become "?".
std::string FromWide(UINT codePage, std::wstring_view in) {
  if (in.empty()) return {};
  const int size = static_cast<int>(in.size());
  const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
  const char* fallback = codePage == CP_UTF8 ? nullptr : "?";
  const int n =
      ::WideCharToMultiByte(codePage, flags, in.data(), size, nullptr, 0, fallback, nullptr);
  std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) {
    ::WideCharToMultiByte(codePage, flags, in.data(), size, out.data(), n, fallback, nullptr);
  }
  return out;
}

// UTF-16 bytes in either order to code units and back.
std::wstring Units(std::string_view bytes, bool bigEndian) {
  std::wstring units(bytes.size() / 2, L'\0');
  for (std::size_t i = 0; i < units.size(); ++i) {
    const auto hi = static_cast<unsigned char>(bytes[2 * i + (bigEndian ? 0 : 1)]);
    const auto lo = static_cast<unsigned char>(bytes[2 * i + (bigEndian ? 1 : 0)]);
    units[i] = static_cast<wchar_t>(hi << 8 | lo);
  }
  return units;
}

std::string Bytes(std::wstring_view units, bool bigEndian) {
  std::string bytes;
  bytes.reserve(units.size() * 2);
  for (const wchar_t unit : units) {
    const char hi = static_cast<char>((unit >> 8) & 0xFF), lo = static_cast<char>(unit & 0xFF);
    bytes += bigEndian ? hi : lo;
    bytes += bigEndian ? lo : hi;
  }
  return bytes;
}

// True when every surrogate is one of a pair.
bool WellFormed(std::wstring_view units) {
  for (std::size_t i = 0; i < units.size(); ++i) {
    const wchar_t u = units[i];
    if (u >= 0xD800 && u <= 0xDBFF) {
      if (i + 1 == units.size() || units[i + 1] < 0xDC00 || units[i + 1] > 0xDFFF) return false;
      ++i;
    } else if (u >= 0xDC00 && u <= 0xDFFF) {
      return false;
    }
  }
  return true;
}

}  // namespace

std::string Utf8ToCp1252(std::string_view utf8) {
  std::wstring wide;
  ToWide(CP_UTF8, utf8, wide);
  return FromWide(CP_ACP, wide);
}

std::string Cp1252ToUtf8(std::string_view cp1252) {
  std::wstring wide;
  ToWide(CP_ACP, cp1252, wide);
  return FromWide(CP_UTF8, wide);
}

bool Utf16ToUtf8(std::string_view utf16, bool bigEndian, std::string& out) {
  const std::wstring units = Units(utf16, bigEndian);
  out = FromWide(CP_UTF8, units);
  return utf16.size() % 2 == 0 && WellFormed(units);
}

bool Utf8ToUtf16(std::string_view utf8, bool bigEndian, std::string& out) {
  std::wstring wide;
  const bool valid = ToWide(CP_UTF8, utf8, wide);
  out = Bytes(wide, bigEndian);
  return valid;
}

}  // namespace morlane::platform
