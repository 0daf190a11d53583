// Windows-1252 text helpers for the core, which keeps all text as bytes in that code page.
#pragma once

#include <string>
#include <string_view>

namespace morlane::text {

// Upper case by Windows-1252 letters: a-z, the accented letters 0xE0-0xFE (not 0xF7),
// and the three lower-case letters of the 0x80 block and 0xFF.
char UpperChar1252(char c);
std::string UpperCase1252(std::string_view s);

// Blanks (space characters only) removed at both ends.
std::string TrimBlanks(std::string_view s);

// CR and LF inside a value (a path, a name) shown as "<CR>" and "<LF>", so that a value written
// into a log cannot start a line of its own there.
std::string EscapeLineBreaks(std::string_view s);

}  // namespace morlane::text
