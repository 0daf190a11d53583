// The bytes of one INI file as the private-profile services see them: value lookup and the
// edit a write makes. Works on memory only (no file access, no state between calls), so it
// can be fuzzed and reused; profile_engine.cpp adds the file handling.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace morlane::platform::profile {

inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// The new bytes of a file: old[0, begin) + text + old[end, size). Kept apart from the old
// bytes so that a large file is written without being copied.
struct IniEdit {
  std::size_t begin = 0;
  std::size_t end = 0;
  std::string text;
};

enum class IniWriteKind {
  kRefused,    // the input would corrupt the file (line breaks, NUL, "=" in the key, ...)
  kUnchanged,  // the file already holds the value: nothing to write
  kEdit,       // apply `edit`
};

struct IniWritePlan {
  IniWriteKind kind = IniWriteKind::kRefused;
  IniEdit edit;
};

class IniDocument {
 public:
  // The view must outlive the document.
  explicit IniDocument(std::string_view bytes);

  // True when the file starts with the UTF-8 byte order mark: its text is UTF-8 in the file
  // and Windows-1252 outside.
  bool utf8() const { return utf8_; }

  // The stored value of key in section as the file holds it: cut at a NUL, blanks and tabs
  // removed at both ends, then one pair of matching outer quotes. A view into the bytes (still
  // UTF-8 in a utf8() file: convert with Utf8ToCp1252); nullopt when the section or key is
  // missing.
  std::optional<std::string_view> RawValue(std::string_view section, std::string_view key) const;

  // What writing value to key in section does to the file. section, key and value are
  // Windows-1252; names are trimmed of blanks and tabs, the value is written as given.
  IniWritePlan PlanWrite(std::string_view section, std::string_view key,
                         std::string_view value) const;

 private:
  struct Location;
  Location Locate(std::string_view section, std::string_view key) const;
  bool NameEquals(std::string_view inFile, std::string_view wanted) const;
  std::string Encode(std::string_view cp1252) const;
  std::string_view LineEnd() const;

  std::string_view bytes_;
  std::size_t bodyStart_ = 0;  // after the byte order mark
  bool utf8_ = false;
};

// True when the services refuse to write this: a section, key or value with CR, LF or NUL,
// a key with "=", a key or section empty after trimming, a key starting with "[".
bool IsUnsafeWrite(std::string_view section, std::string_view key, std::string_view value);

// A processed value read as the integer service reads it: optional blanks, optional sign,
// decimal digits or "0x" and hex digits, up to the first other character, wrapped to 32 bits.
// nullopt for the empty value (the caller's default applies).
std::optional<std::uint32_t> ParseProfileInt(std::string_view value);

// The new bytes an edit makes of old.
std::string ApplyEdit(std::string_view old, const IniEdit& edit);

}  // namespace morlane::platform::profile
