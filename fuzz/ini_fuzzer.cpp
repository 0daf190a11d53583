// Random INI files and random writes: a write either is refused (unsafe input) or produces a
// file in which the written value reads back and every other key reads as before.
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/profile/codepage.h"
#include "platform/profile/ini_document.h"

using namespace morlane::platform;
using namespace morlane::platform::profile;

namespace {

// Takes a length-prefixed piece of the input.
std::string Take(std::string_view& data, std::size_t max) {
  if (data.empty()) return {};
  const std::size_t n =
      std::min<std::size_t>(static_cast<unsigned char>(data[0]) % (max + 1), data.size() - 1);
  std::string piece(data.substr(1, n));
  data.remove_prefix(1 + n);
  return piece;
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
    s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
    s.remove_suffix(1);
  return s;
}

// How a reader sees a stored value: blanks and tabs trimmed, then one matching outer quote pair.
std::string Expected(std::string_view value) {
  value = TrimBlanks(value);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value);
}

bool SameAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + 32 : c; };
    if (lower(static_cast<unsigned char>(a[i])) != lower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

// Every section and key name the file mentions, found by a scan of its own (not the parser's).
std::vector<std::pair<std::string, std::string>> Names(std::string_view bytes) {
  std::vector<std::pair<std::string, std::string>> names;
  std::string section;
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    std::size_t end = bytes.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = bytes.size();
    const std::string_view line = TrimBlanks(bytes.substr(pos, end - pos));
    const auto close = line.rfind(']');
    if (!line.empty() && line.front() == '[' && close != std::string_view::npos) {
      section = std::string(TrimBlanks(line.substr(1, close - 1)));
    } else if (const auto eq = line.find('='); eq != std::string_view::npos) {
      names.emplace_back(section, std::string(TrimBlanks(line.substr(0, eq))));
    }
    pos = end + 1;
  }
  return names;
}

std::string Read(const IniDocument& doc, std::string_view section, std::string_view key) {
  const auto raw = doc.RawValue(section, key);
  if (!raw) return "<missing>";
  return doc.utf8() ? Utf8ToCp1252(*raw) : std::string(*raw);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  std::string file = Take(input, 255) + Take(input, 255);
  for (int op = 0; op < 4 && !input.empty(); ++op) {
    const std::string section = Take(input, 12);
    const std::string key = Take(input, 12);
    const std::string value = Take(input, 24);

    const IniDocument before(file);
    (void)before.RawValue(section, key);
    const IniWritePlan plan = before.PlanWrite(section, key, value);
    if (plan.kind == IniWriteKind::kRefused) {
      if (!IsUnsafeWrite(section, key, value)) std::abort();
      continue;
    }
    if (IsUnsafeWrite(section, key, value)) std::abort();
    if (plan.kind == IniWriteKind::kUnchanged) {
      // Skipped because the value already reads as given, or the write would make no byte
      // different (then it reads as any written value does).
      const std::string now = Read(before, section, key);
      if (now != value && now != Expected(value)) std::abort();
      continue;
    }

    const std::string after = ApplyEdit(file, plan.edit);
    const IniDocument doc(after);
    // A BOM file keeps its mark, and the value went through UTF-8 and back.
    std::string expected = Expected(value);
    if (doc.utf8()) expected = Utf8ToCp1252(Cp1252ToUtf8(expected));
    if (Read(doc, section, key) != expected) std::abort();
    if (before.utf8() != doc.utf8()) std::abort();

    const std::string_view s = TrimBlanks(section);
    const std::string_view k = TrimBlanks(key);
    for (auto [otherSection, otherKey] : Names(file)) {
      if (before.utf8()) {
        otherSection = Utf8ToCp1252(otherSection);
        otherKey = Utf8ToCp1252(otherKey);
      }
      if (SameAscii(otherSection, s) && SameAscii(otherKey, k)) continue;
      if (Read(before, otherSection, otherKey) != Read(doc, otherSection, otherKey)) std::abort();
    }
    file = after;
  }
  return 0;
}
