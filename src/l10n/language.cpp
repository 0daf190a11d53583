#include "l10n/language.h"

#include "config/ini.h"
#include "errors/routine.h"
#include "runctx/session.h"
#include "text/path.h"

namespace morlane {

std::string LanguageFilePath(Session& session) {
  auto& process = session.process;
  return process.ApplicationDirectory() + text::Separator(process.Style()) +
         process.ExecutableBaseName() + ".ini";
}

std::string GetLanguage(Session& session, platform::ProfileEntries* deferred) {
  static const std::string kDefault = "1031";
  Routine routine(session, "GetLanguage");
  std::string language;
  routine.Step([&] {
    language = LoadIniString(session, "Language", "Language", LanguageFilePath(session));
  });
  if (routine.Test([&] { return language.empty(); })) {
    if (deferred != nullptr) {
      deferred->push_back({"Language", "Language", kDefault});
      return kDefault;
    }
    routine.Step(
        [&] { SaveIni(session, kDefault, "Language", "Language", LanguageFilePath(session)); });
    return kDefault;
  }
  return language;
}

}  // namespace morlane
