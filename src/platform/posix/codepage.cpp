#include "platform/posix/codepage.h"

#include <iconv.h>

#include <cerrno>

namespace morlane::platform::posix {

std::string Utf8ToCp1252(std::string_view utf8) {
  std::string out;
  iconv_t cd = ::iconv_open("WINDOWS-1252", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) {
    for (const char c : utf8) out += (static_cast<unsigned char>(c) < 0x80) ? c : '?';
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
    if (rc != static_cast<std::size_t>(-1)) continue;
    if (errno == E2BIG) continue;
    // EILSEQ: a character without a 1252 form, or a broken sequence; EINVAL: a cut-off
    // sequence at the end. Skip the whole UTF-8 sequence and write one "?".
    out += '?';
    const auto lead = static_cast<unsigned char>(*in);
    std::size_t skip = 1;
    if (lead >= 0xC2 && lead <= 0xDF) skip = 2;
    else if (lead >= 0xE0 && lead <= 0xEF) skip = 3;
    else if (lead >= 0xF0 && lead <= 0xF4) skip = 4;
    for (std::size_t i = 1; i < skip && i < inLeft; ++i) {
      if ((static_cast<unsigned char>(in[i]) & 0xC0) != 0x80) {
        skip = i;
        break;
      }
    }
    if (skip > inLeft) skip = inLeft;
    in += skip;
    inLeft -= skip;
  }
  ::iconv_close(cd);
  return out;
}

}  // namespace morlane::platform::posix
