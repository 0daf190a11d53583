// The language of the captions, tool tips and help texts.
#pragma once

#include <string>

#include "platform/profile.h"

namespace morlane {

class Session;

// application directory + separator + executable base name + ".ini"
std::string LanguageFilePath(Session& session);

// [Language] Language of the language file; "1031" (written there) when it is empty or missing.
// With deferred, the default is added there for the caller to write with the rest.
std::string GetLanguage(Session& session, platform::ProfileEntries* deferred = nullptr);

}  // namespace morlane
