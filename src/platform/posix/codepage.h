// The POSIX side speaks UTF-8; the core speaks Windows-1252.
#pragma once

#include <string>
#include <string_view>

namespace morlane::platform::posix {

// UTF-8 to Windows-1252; a character the code page lacks, or an invalid byte, becomes "?".
std::string Utf8ToCp1252(std::string_view utf8);

// Windows-1252 to UTF-8. The five bytes 1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D)
// become U+0081 and so on, as Windows' own conversion does.
std::string Cp1252ToUtf8(std::string_view cp1252);

// A file name or argument (UTF-8, or any bytes) as the core's text, without loss: a character
// 1252 has is its byte, any other character or byte a code point mark (text/code_point_mark.h).
std::string Utf8ToCoreText(std::string_view native);

// The core's text as the file system spells it: Windows-1252 as UTF-8 (as Cp1252ToUtf8), each
// code point mark as its character or byte. The inverse of Utf8ToCoreText.
std::string CoreTextToUtf8(std::string_view core);

// Between UTF-16 (little or big endian, without the byte order mark) and UTF-8. False when the
// input is not valid (an odd byte, a lone surrogate): out then holds what could be converted.
bool Utf16ToUtf8(std::string_view utf16, bool bigEndian, std::string& out);
bool Utf8ToUtf16(std::string_view utf8, bool bigEndian, std::string& out);

}  // namespace morlane::platform::posix
