// Typed access to INI files. Every call goes to the file; nothing is cached.
#pragma once

#include <cstdint>
#include <string>
#include <variant>

#include "platform/profile.h"

namespace morlane {

class Session;

// A value of a type the INI files have no text for (a date, a currency, an object, ...).
struct UnsupportedValue {};

using IniValue = std::variant<std::string, const char*, std::int16_t, std::int32_t, std::uint8_t,
                              float, double, bool, UnsupportedValue>;

// A missing file, section or key is no failure: it reads as the empty text, -1 or false.

// At most 254 characters; the empty text when the file, section or key is missing or empty.
std::string LoadIniString(Session& session, const std::string& section, const std::string& key,
                          const std::string& path);
// 16-bit; -1 when missing. A stored number outside -32768..32767 is an overflow failure.
std::int16_t LoadIniInteger(Session& session, const std::string& section, const std::string& key,
                            const std::string& path);
// True only for a stored "TRUE" in any letter case.
bool LoadIniBoolean(Session& session, const std::string& section, const std::string& key,
                    const std::string& path);

enum class SaveResult { Failed, Saved };

// Writes the value's text. A failed write is not reported here: the callers that must not claim
// a store check the result.
SaveResult SaveIni(Session& session, const IniValue& value, const std::string& section,
                   const std::string& key, const std::string& path);

// SaveIni for a value of the order's store: a write that changed the file on disk marks the
// store as partly written (Session::partlyStored), whatever it answers.
SaveResult SaveStoreValue(Session& session, const IniValue& value, const std::string& section,
                          const std::string& key, const std::string& path);

// Writes several texts as SaveIni would one by one, in one go where the platform can (one
// replacement of the file instead of one per key).
SaveResult SaveIniStrings(Session& session, const platform::ProfileEntries& entries,
                          const std::string& path);

// The text SaveIni writes for a value; false for a type without text.
bool IniText(const IniValue& value, std::string& text);

// The failure a caller raises when a store it depends on could not be written.
[[noreturn]] void ThrowWriteFailure(Session& session, const std::string& path);

}  // namespace morlane
