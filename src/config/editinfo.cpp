#include "config/editinfo.h"

#include <cstdio>

#include "config/ini.h"
#include "config/locations.h"
#include "errors/routine.h"
#include "runctx/session.h"

namespace morlane {

std::string EncodeEditor(const std::string& editor) {
  std::string encoded;
  for (const char c : editor) {
    if (c == '-' || c == '_') continue;
    char digits[8];
    std::snprintf(digits, sizeof digits, "%X", static_cast<unsigned char>(c) + 5u);
    encoded += digits;
  }
  return encoded;
}

bool WriteEditInfo(Session& session) {
  Routine routine(session, "WriteEditInfo");
  bool progWritten = false;
  bool editorWritten = false;

  routine.Step([&] {
    const platform::Version v = session.process.ProgramVersion();
    const std::string prog = std::to_string(v.major) + "." + std::to_string(v.minor) + "." +
                             std::to_string(v.revision) +
                             (session.IntegratedMode ? " - Integrated" : " - Standalone");
    const std::string path = GetCFGPath(session);
    if (SaveStoreValue(session, prog, "Info", "S_Prog", path) == SaveResult::Failed) {
      ThrowWriteFailure(session, path);
    }
    progWritten = true;
  });

  std::string editor;
  routine.Step([&] {
    const auto entries = session.process.EnvironmentEntries();
    if (entries.empty()) return;
    const std::string& first = entries.front();
    const auto equals = first.find('=');
    editor = equals == std::string::npos ? first : first.substr(equals + 1);
  });
  routine.Step([&] {
    const std::string path = GetCFGPath(session);
    if (SaveStoreValue(session, EncodeEditor(editor), "Info", "S_Editor", path) ==
        SaveResult::Failed) {
      ThrowWriteFailure(session, path);
    }
    editorWritten = true;
  });
  return progWritten && editorWritten;
}

}  // namespace morlane
