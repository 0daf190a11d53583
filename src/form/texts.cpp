#include "form/texts.h"

#include <map>

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

// Labels and buttons have a caption in the language file (and so a help text).
bool HasCaption(form::Kind kind) {
  return kind == form::Kind::Label || kind == form::Kind::CommandButton;
}

// What one pass has read and found missing. Controls share help texts (the rows all have help
// 11): each is read once, as nothing is written before the pass ends.
struct Pass {
  std::string language;
  platform::ProfileEntries missing;
  std::map<int, std::string> helpRead;
};

// The texts of one control; the keys the language file lacks are added to pass.missing.
void LoadControlTexts(Session& session, Pass& pass, form::Control& c) {
  const std::string& language = pass.language;
  platform::ProfileEntries& missing = pass.missing;
  const bool indexed = form::IsArray(c.id.name);
  if (indexed && c.id.index == 0) throw Failure::InvalidArgument();  // an element without index
  const std::string index = indexed ? std::to_string(c.id.index) : std::string();
  const std::string keyPart = c.name + index + "_" + c.tag;

  if (HasCaption(c.kind)) {
    const std::string key = "Caption_" + keyPart;
    const std::string caption = LoadIniString(session, language, key, LanguageFilePath(session));
    if (HasText(caption)) {
      c.caption = caption;
    } else {
      missing.push_back({language, key, language != "1031" ? std::string("0") : c.caption});
    }

    if (c.helpId != 0) {
      if (c.helpId < 1 || c.helpId > 100) throw Failure::SubscriptOutOfRange();
      if (!pass.helpRead.contains(c.helpId)) {
        const std::string helpKey = "Help" + std::to_string(c.helpId);
        const std::string help =
            LoadIniString(session, language, helpKey, LanguageFilePath(session));
        pass.helpRead[c.helpId] = help;
        if (!HasText(help)) missing.push_back({language, helpKey, "0"});
      }
      session.HelpTexts[static_cast<std::size_t>(c.helpId)] = pass.helpRead[c.helpId];
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
  Pass pass;
  pass.language = GetLanguage(session, &pass.missing);
  for (form::Control& control : controls) {
    try {
      LoadControlTexts(session, pass, control);
    } catch (const std::exception&) {
      // A control that fails keeps what it got so far; the pass goes on with the next one.
    }
  }
  if (!pass.missing.empty()) SaveIniStrings(session, pass.missing, LanguageFilePath(session));
}

}  // namespace morlane
