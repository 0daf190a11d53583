// The language of the captions, tool tips and help texts.
#pragma once

#include <string>

namespace morlane {

class Session;

// application directory + separator + executable base name + ".ini"
std::string LanguageFilePath(Session& session);

// [Language] Language of the language file; "1031" (written there) when it is empty or missing.
std::string GetLanguage(Session& session);

}  // namespace morlane
