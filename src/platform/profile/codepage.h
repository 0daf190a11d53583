// Code pages of the private-profile engine: the core speaks the ANSI code page (Windows-1252
// on POSIX), files with a byte order mark hold UTF-8 or UTF-16, the POSIX side speaks UTF-8.
// Each system converts with its own services (posix/codepage.cpp, win32/codepage_win32.cpp).
#pragma once

#include <string>
#include <string_view>

namespace morlane::platform {

// UTF-8 to Windows-1252; a character the code page lacks, or an invalid byte, becomes "?".
std::string Utf8ToCp1252(std::string_view utf8);

// Windows-1252 to UTF-8. The five bytes 1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D)
// become U+0081 and so on, as Windows' own conversion does.
std::string Cp1252ToUtf8(std::string_view cp1252);

// Between UTF-16 (little or big endian, without the byte order mark) and UTF-8. False when the
// input is not valid (an odd byte, a lone surrogate): out then holds what could be converted.
bool Utf16ToUtf8(std::string_view utf16, bool bigEndian, std::string& out);
bool Utf8ToUtf16(std::string_view utf8, bool bigEndian, std::string& out);

}  // namespace morlane::platform
