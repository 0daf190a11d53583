// File names and arguments as the core's text: the POSIX side may hand the program any bytes,
// the core speaks Windows-1252, and nothing may be lost on the way there and back.
#pragma once

#include <string>
#include <string_view>

namespace morlane::platform::posix {

// A file name or argument (UTF-8, or any bytes) as the core's text, without loss: a character
// 1252 has is its byte, any other character or byte a code point mark (text/code_point_mark.h).
std::string Utf8ToCoreText(std::string_view native);

// The core's text as the file system spells it: Windows-1252 as UTF-8 (as Cp1252ToUtf8), each
// code point mark as its character or byte. The inverse of Utf8ToCoreText.
std::string CoreTextToUtf8(std::string_view core);

}  // namespace morlane::platform::posix
