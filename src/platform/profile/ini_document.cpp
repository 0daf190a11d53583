#include "platform/profile/ini_document.h"

#include <cstring>

#include "platform/profile/bytes.h"
#include "platform/profile/codepage.h"

namespace morlane::platform::profile {
namespace {

bool IsBlankChar(char c) {
  return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlankChar(s.front()))
    s.remove_prefix(1);
  while (!s.empty() && IsBlankChar(s.back()))
    s.remove_suffix(1);
  return s;
}

bool IsBlankLine(std::string_view s) {
  for (const char c : s) {
    if (!IsBlankChar(c)) return false;
  }
  return true;
}

std::size_t Find(const char* p, std::size_t size, std::size_t from, char c) {
  if (from >= size) return size;
  const void* hit = std::memchr(p + from, c, size - from);
  return hit == nullptr ? size : static_cast<std::size_t>(static_cast<const char*>(hit) - p);
}

// A value as the services hand it out, still in the file's encoding.
std::string_view ProcessValue(std::string_view raw) {
  const std::size_t nul = raw.find('\0');
  if (nul != std::string_view::npos) raw = raw.substr(0, nul);
  raw = Trim(raw);
  if (raw.size() >= 2 && (raw.front() == '"' || raw.front() == '\'') && raw.back() == raw.front()) {
    raw = raw.substr(1, raw.size() - 2);
  }
  return raw;
}

// The name of a header line ("[name]", blanks around; text after the last "]" ignored).
bool HeaderName(std::string_view line, std::string_view& name) {
  std::size_t open = 0;
  while (open < line.size() && IsBlankChar(line[open]))
    ++open;
  if (open == line.size() || line[open] != '[') return false;
  const std::size_t close = line.rfind(']');
  if (close == std::string_view::npos || close < open) return false;
  name = Trim(line.substr(open + 1, close - open - 1));
  return true;
}

struct Line {
  std::size_t begin;       // first byte
  std::size_t contentEnd;  // the line end (CR, LF, CRLF) or the end of the file
  std::size_t next;        // first byte of the following line
};

// Splits lines at LF, CRLF and CR. Remembers where the next CR and LF are, so that a file
// using only one of them is not searched to its end for the other on every line.
class LineScanner {
 public:
  LineScanner(std::string_view bytes, std::size_t start)
      : p_(bytes.data()),
        size_(bytes.size()),
        lf_(Find(p_, size_, start, '\n')),
        cr_(Find(p_, size_, start, '\r')) {}

  // The line starting at pos.
  Line At(std::size_t pos) {
    if (lf_ < pos) lf_ = Find(p_, size_, pos, '\n');
    if (cr_ < pos) cr_ = Find(p_, size_, pos, '\r');
    const std::size_t end = lf_ < cr_ ? lf_ : cr_;
    if (end >= size_) return {pos, size_, size_};
    const bool crlf = p_[end] == '\r' && end + 1 < size_ && p_[end + 1] == '\n';
    return {pos, end, end + (crlf ? 2 : 1)};
  }

 private:
  const char* p_;
  std::size_t size_;
  std::size_t lf_;
  std::size_t cr_;
};

// The start of the next line at or after pos (a line start) whose first non-blank byte is
// "[", or size. Jumps from "[" to "[" so that the sections before the wanted one cost a
// memchr, not a line-by-line walk.
std::size_t NextBracketLine(const char* p, std::size_t start, std::size_t size, std::size_t pos) {
  while (pos < size) {
    const std::size_t bracket = Find(p, size, pos, '[');
    if (bracket == size) return size;
    std::size_t lineStart = bracket;
    while (lineStart > start && IsBlankChar(p[lineStart - 1]))
      --lineStart;
    if (lineStart == start || p[lineStart - 1] == '\n' || p[lineStart - 1] == '\r') {
      return lineStart;
    }
    pos = bracket + 1;
  }
  return size;
}

}  // namespace

struct IniDocument::Location {
  bool sectionFound = false;
  bool keyFound = false;
  // The key's line: its content [lineBegin, contentEnd), the key as spelled in the file and
  // the text after the first "=".
  std::size_t lineBegin = 0;
  std::size_t contentEnd = 0;
  std::string_view fileKey;
  std::string_view rawValue;
  // Section found, key missing: where a new key line goes (after the section's last
  // non-blank line), and whether that line lacks its line end (the end of the file).
  std::size_t insertAt = 0;
  bool needsLineEnd = false;
};

IniDocument::IniDocument(std::string_view bytes) : bytes_(bytes) {
  utf8_ = bytes_.substr(0, kUtf8Bom.size()) == kUtf8Bom;
  bodyStart_ = utf8_ ? kUtf8Bom.size() : 0;
}

bool IniDocument::NameEquals(std::string_view inFile, std::string_view wanted) const {
  if (!utf8_ || IsAscii(inFile)) return EqualsIgnoringAsciiCase(inFile, wanted);
  return EqualsIgnoringAsciiCase(Utf8ToCp1252(inFile), wanted);
}

std::string IniDocument::Encode(std::string_view cp1252) const {
  if (!utf8_ || IsAscii(cp1252)) return std::string(cp1252);
  return Cp1252ToUtf8(cp1252);
}

std::string_view IniDocument::LineEnd() const {
  const char* p = bytes_.data();
  const std::size_t size = bytes_.size();
  const std::size_t lf = Find(p, size, bodyStart_, '\n');
  const std::size_t cr = Find(p, lf, bodyStart_, '\r');
  if (cr < lf) return (cr + 1 < size && p[cr + 1] == '\n') ? "\r\n" : "\r";
  if (lf < size) return "\n";
  return "\r\n";
}

IniDocument::Location IniDocument::Locate(std::string_view section, std::string_view key) const {
  Location loc;
  const char* p = bytes_.data();
  const std::size_t size = bytes_.size();
  LineScanner scanner(bytes_, bodyStart_);
  // The lines before the first header form the section with the empty name.
  bool inSection = section.empty();
  loc.sectionFound = inSection;
  loc.insertAt = bodyStart_;
  std::size_t pos = bodyStart_;
  while (pos < size) {
    if (!inSection) {
      pos = NextBracketLine(p, bodyStart_, size, pos);
      if (pos >= size) break;
    }
    const Line line = scanner.At(pos);
    pos = line.next;
    const std::string_view content(p + line.begin, line.contentEnd - line.begin);
    std::string_view name;
    const bool header = HeaderName(content, name);
    if (header) {
      // Only the first section of a name is searched.
      if (inSection) break;
      if (!NameEquals(name, section)) continue;
      inSection = true;
      loc.sectionFound = true;
    } else if (!inSection) {
      continue;  // "[" without "]": no header
    }
    if (!IsBlankLine(content)) {
      loc.needsLineEnd = line.next == line.contentEnd;
      loc.insertAt = loc.needsLineEnd ? line.contentEnd : line.next;
    }
    if (header) continue;
    const std::size_t eq = content.find('=');
    if (eq == std::string_view::npos) continue;
    const std::string_view fileKey = Trim(content.substr(0, eq));
    if (!NameEquals(fileKey, key)) continue;
    loc.keyFound = true;
    loc.lineBegin = line.begin;
    loc.contentEnd = line.contentEnd;
    loc.fileKey = fileKey;
    loc.rawValue = content.substr(eq + 1);
    return loc;
  }
  return loc;
}

std::optional<std::string_view> IniDocument::RawValue(std::string_view section,
                                                      std::string_view key) const {
  const Location loc = Locate(Trim(section), Trim(key));
  if (!loc.keyFound) return std::nullopt;
  return ProcessValue(loc.rawValue);
}

IniWritePlan IniDocument::PlanWrite(std::string_view section, std::string_view key,
                                    std::string_view value) const {
  IniWritePlan plan;
  if (IsUnsafeWrite(section, key, value)) return plan;
  section = Trim(section);
  key = Trim(key);
  const Location loc = Locate(section, key);
  IniEdit& edit = plan.edit;
  if (loc.keyFound) {
    const std::string_view current = ProcessValue(loc.rawValue);
    if (utf8_ ? Utf8ToCp1252(current) == value : current == value) {
      plan.kind = IniWriteKind::kUnchanged;
      return plan;
    }
    edit.begin = loc.lineBegin;
    edit.end = loc.contentEnd;
    edit.text.reserve(loc.fileKey.size() + 1 + value.size());
    edit.text.append(loc.fileKey).append("=").append(Encode(value));
    const bool same = edit.text == bytes_.substr(edit.begin, edit.end - edit.begin);
    plan.kind = same ? IniWriteKind::kUnchanged : IniWriteKind::kEdit;
    return plan;
  }
  const std::string_view eol = LineEnd();
  if (loc.sectionFound) {
    edit.begin = edit.end = loc.insertAt;
    if (loc.needsLineEnd) edit.text.append(eol);
  } else {
    edit.begin = edit.end = bytes_.size();
    const std::string_view body = bytes_.substr(bodyStart_);
    if (!body.empty() && body.back() != '\n' && body.back() != '\r') edit.text.append(eol);
    edit.text.append("[").append(Encode(section)).append("]").append(eol);
  }
  edit.text.append(Encode(key)).append("=").append(Encode(value)).append(eol);
  plan.kind = IniWriteKind::kEdit;
  return plan;
}

bool IsUnsafeWrite(std::string_view section, std::string_view key, std::string_view value) {
  constexpr std::string_view kBreaks("\r\n\0", 3);
  for (const std::string_view s : {section, key, value}) {
    if (s.find_first_of(kBreaks) != std::string_view::npos) return true;
  }
  const std::string_view trimmedKey = Trim(key);
  return Trim(section).empty() || trimmedKey.empty() || key.find('=') != std::string_view::npos ||
         trimmedKey.front() == '[';
}

std::optional<std::uint32_t> ParseProfileInt(std::string_view value) {
  if (value.empty()) return std::nullopt;
  std::size_t i = 0;
  while (i < value.size() && IsBlankChar(value[i]))
    ++i;
  bool negative = false;
  if (i < value.size() && (value[i] == '+' || value[i] == '-')) negative = value[i++] == '-';
  // Unsigned arithmetic wraps to 32 bits as the Windows service does.
  std::uint32_t result = 0;
  if (i + 1 < value.size() && value[i] == '0' && value[i + 1] == 'x') {
    for (i += 2; i < value.size(); ++i) {
      const char c = value[i];
      std::uint32_t digit;
      if (c >= '0' && c <= '9')
        digit = static_cast<std::uint32_t>(c - '0');
      else if (c >= 'a' && c <= 'f')
        digit = static_cast<std::uint32_t>(c - 'a' + 10);
      else if (c >= 'A' && c <= 'F')
        digit = static_cast<std::uint32_t>(c - 'A' + 10);
      else
        break;
      result = result * 16 + digit;
    }
  } else {
    for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
      result = result * 10 + static_cast<std::uint32_t>(value[i] - '0');
    }
  }
  return negative ? 0u - result : result;
}

std::string ApplyEdit(std::string_view old, const IniEdit& edit) {
  std::string out;
  out.reserve(old.size() - (edit.end - edit.begin) + edit.text.size());
  out.append(old.substr(0, edit.begin)).append(edit.text).append(old.substr(edit.end));
  return out;
}

}  // namespace morlane::platform::profile
