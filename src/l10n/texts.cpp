#include "l10n/texts.h"

#include "config/ini.h"
#include "errors/failure.h"
#include "l10n/language.h"
#include "platform/process.h"
#include "runctx/session.h"
#include "text/cp1252.h"

namespace morlane {
namespace {

bool HasText(const std::string& value) {
  return !value.empty() && value != "0";
}

bool IsIndexed(const std::vector<form::Control>& controls, std::size_t p) {
  for (std::size_t q = 0; q < controls.size(); ++q) {
    if (q != p && controls[q].name == controls[p].name) return true;
  }
  return false;
}

// The texts of one control; the keys the language file lacks are added to missing.
void LoadControlTexts(Session& session, const std::string& language, form::Control& c, bool indexed,
                      platform::ProfileEntries& missing) {
  if (indexed && !c.index) throw Failure::InvalidArgument();  // an array without an index
  const std::string index = indexed ? std::to_string(*c.index) : std::string();
  const std::string keyPart = c.name + index + "_" + c.tag;
  const std::string kind = text::UpperCase1252(form::KindName(c.kind));

  if (kind == "LABEL" || kind == "COMMANDBUTTON" || kind == "CHECKBOX") {
    const std::string key = "Caption_" + keyPart;
    const std::string caption = LoadIniString(session, language, key, LanguageFilePath(session));
    if (HasText(caption)) {
      c.caption = caption;
    } else {
      missing.push_back({language, key, language != "1031" ? std::string("0") : c.caption});
    }

    if (c.helpId != 0) {
      if (c.helpId < 1 || c.helpId > 100) throw Failure::SubscriptOutOfRange();
      const std::string helpKey = "Help" + std::to_string(c.helpId);
      const std::string help = LoadIniString(session, language, helpKey, LanguageFilePath(session));
      session.HelpTexts[static_cast<std::size_t>(c.helpId)] = help;
      if (!HasText(help)) missing.push_back({language, helpKey, "0"});
    }
  }

  if (text::UpperCase1252(c.tag).find("NOTTT") != std::string::npos) return;
  const std::string key = "TTT_" + keyPart;
  const std::string toolTip = LoadIniString(session, language, key, LanguageFilePath(session));
  if (HasText(toolTip)) {
    c.toolTip = toolTip;
  } else {
    missing.push_back({language, key, "0"});
  }
}

}  // namespace

void LoadToolTipTexts(Session& session, std::vector<form::Control>& controls) {
  // The keys the file lacks (the language id too) are added at the end in one go: on a first
  // start that is one replacement of the file (and one fsync) instead of one per key, with the
  // same bytes.
  platform::ProfileEntries missing;
  const std::string language = GetLanguage(session, &missing);
  const std::size_t count = controls.size();
  for (std::size_t p = 0; p < count; ++p) {
    const bool indexed = IsIndexed(controls, p);
    try {
      LoadControlTexts(session, language, controls[p], indexed, missing);
    } catch (const platform::ProcessEnded&) {
      throw;
    } catch (...) {
      // A control that fails keeps what it got so far; the pass goes on with the next one.
    }
  }
  if (!missing.empty()) SaveIniStrings(session, missing, LanguageFilePath(session));
}

}  // namespace morlane
