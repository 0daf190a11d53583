// Text at the GUI boundary: the core speaks Windows-1252 bytes, Qt speaks UTF-16.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace morlane::gui::qt {

// Windows-1252 bytes as Unicode.
QString FromAnsi(std::string_view bytes);

// Unicode as Windows-1252 bytes; a character the code page lacks becomes "?".
std::string ToAnsi(const QString& text);

// Text that may name a file: like FromAnsi, and each code point mark (text/code_point_mark.h)
// as its character. A byte that is no UTF-8 keeps its mark.
QString FromCoreText(std::string_view bytes);

// A message box text: like FromCoreText, and every line break (LF CR as composed messages write
// it, CR LF as help texts write it, or a lone CR or LF) becomes one "\n".
QString MessageText(std::string_view bytes);

}  // namespace morlane::gui::qt
