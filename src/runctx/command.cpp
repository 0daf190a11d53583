#include "runctx/command.h"

#include "errors/failure.h"
#include "errors/routine.h"
#include "runctx/session.h"
#include "text/cp1252.h"

namespace morlane {
namespace {

using text::TrimBlanks;
using text::UpperCase1252;

// Where the keyword starts in the upper-cased command line, or npos. A keyword written after
// a "/" counts before a plain occurrence inside some other value; on POSIX, where values are
// paths full of "/", a "/" that opens the line or follows a blank counts first of all.
std::size_t FindKeyword(const std::string& line, const std::string& keyword,
                        platform::PathStyle style) {
  const std::string slashed = "/" + keyword;
  if (style == platform::PathStyle::Posix) {
    for (auto at = line.find(slashed); at != std::string::npos; at = line.find(slashed, at + 1)) {
      if (at == 0 || line[at - 1] == ' ') return at + 1;
    }
  }
  if (const auto at = line.find(slashed); at != std::string::npos) return at + 1;
  return line.find(keyword);
}

}  // namespace

std::string KeywordValue(const std::string& commandLine, const std::string& keyword, ValueRule rule,
                         platform::PathStyle style) {
  const std::string upperLine = UpperCase1252(commandLine);
  const std::string upperKey = UpperCase1252(keyword);
  const std::size_t at = FindKeyword(upperLine, upperKey, style);
  if (at == std::string::npos || upperKey.empty()) return {};

  // Everything after the keyword except the one character that directly follows it.
  const std::size_t valueStart = at + upperKey.size() + 1;
  if (valueStart > commandLine.size()) throw Failure::InvalidArgument();
  std::string value = TrimBlanks(std::string_view(commandLine).substr(valueStart));

  if (rule == ValueRule::Path && style == platform::PathStyle::Posix) {
    if (const auto end = value.find(" /"); end != std::string::npos) {
      value = TrimBlanks(std::string_view(value).substr(0, end));
    }
    return value;
  }
  value = UpperCase1252(value);
  if (const auto end = value.find('/'); end != std::string::npos) {
    value = TrimBlanks(std::string_view(value).substr(0, end));
  }
  return value;
}

std::string ReadCommand(Session& session, const std::string& commandLine,
                        const std::string& keyword, ValueRule rule) {
  Routine routine(session, "ReadCommand");
  std::string value;
  routine.Step([&] { value = KeywordValue(commandLine, keyword, rule, session.process.Style()); });
  return value;
}

bool GetStartModeIntegrated(Session& session) {
  Routine routine(session, "GetStartModeIntegrated");
  bool result = false;
  std::string value;
  routine.Step([&] { value = ReadCommand(session, session.process.CommandLine(), "EXTERNAL"); });
  routine.Step([&] {
    result = UpperCase1252(value) == "M4TCFG";
    session.IntegratedMode = result;
  });
  routine.Step([&] {
    session.SilentMode = UpperCase1252(value) == "SILENT";
    if (session.SilentMode) {
      result = false;
      session.IntegratedMode = false;
    }
  });
  return result;
}

std::string GetPathLogfile(Session& session) {
  Routine routine(session, "GetPathLogfile");
  std::string path;
  routine.Step([&] {
    path = ReadCommand(session, session.process.CommandLine(), "LOGFILE", ValueRule::Path);
  });
  return path;
}

}  // namespace morlane
