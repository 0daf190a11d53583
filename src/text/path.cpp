#include "text/path.h"

#include "text/cp1252.h"

namespace morlane::text {

char Separator(platform::PathStyle style) {
  return style == platform::PathStyle::Windows ? '\\' : '/';
}

std::string JoinPath(platform::PathStyle style, const std::string& dir,
                     const std::string& relative) {
  const char sep = Separator(style);
  std::string path = dir;
  path += sep;
  for (const char c : relative)
    path += (c == '\\') ? sep : c;
  return path;
}

std::string PathForDisplay(platform::PathStyle style, const std::string& path) {
  // A line break in a name must not start a line of its own in a log.
  const std::string shown = EscapeLineBreaks(path);
  return style == platform::PathStyle::Windows ? UpperCase1252(shown) : shown;
}

}  // namespace morlane::text
