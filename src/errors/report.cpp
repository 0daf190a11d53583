#include "errors/report.h"

#include "platform/dialog.h"
#include "runctx/command.h"
#include "runctx/locations.h"
#include "runctx/session.h"
#include "text/cp1252.h"
#include "text/path.h"

namespace morlane {
namespace {

const std::string kBreak = kMessageBreak;

// Counts one report in progress for as long as it runs.
class ReportScope {
 public:
  explicit ReportScope(Session& s) : s_(s) { ++s_.reportDepth; }
  ~ReportScope() { --s_.reportDepth; }
  ReportScope(const ReportScope&) = delete;
  ReportScope& operator=(const ReportScope&) = delete;
  bool nested() const { return s_.reportDepth > 1; }

 private:
  Session& s_;
};

// The component name without the error pattern, for reports made while another report runs.
std::string ComponentNameQuietly(Session& session) {
  const std::string base = session.process.ExecutableBaseName();
  return base.size() < 7 ? std::string() : base.substr(0, base.size() - 7);
}

// The "LOGFILE" path without the error pattern; empty where it cannot be read.
std::string LogfileQuietly(Session& session) {
  try {
    return KeywordValue(session.process.CommandLine(), "LOGFILE", ValueRule::Path,
                        session.process.Style());
  } catch (...) {
    return {};
  }
}

}  // namespace

ErrorAnswer ErrorSub(Session& session, std::int32_t number, const std::string& source,
                     const std::string& description, const std::string& routineName) {
  ReportScope scope(session);
  ++session.errorsReported;
  // A failure of GetOCXName inside a report is reported without asking GetOCXName again.
  const std::string component =
      scope.nested() ? ComponentNameQuietly(session) : GetOCXName(session);

  const std::string line = "Fehler in " + text::EscapeLineBreaks(component) + " / " +
                           text::EscapeLineBreaks(source) + " / " + routineName + " (Nr. " +
                           std::to_string(number) + ") :" + description;
  const std::string loggedTo = WriteErrorLog(session, line);
  const std::string report = "Unexpected error!" + kBreak + description + kBreak + loggedTo;

  if (session.SilentMode) {
    WriteServicePackLog(session, report);
    return ErrorAnswer::Resume;
  }
  const platform::Choice choice = session.dialogs.ShowMessage(
      {report + kBreak + "Resume?", "Unexpected error", platform::Buttons::YesNo,
       platform::Icon::Critical, platform::Choice::Yes});
  return choice == platform::Choice::Yes ? ErrorAnswer::Resume : ErrorAnswer::Abort;
}

void EndProgram(Session& session, platform::ExitStatus status) {
  // No one saw the errors of a silent run: its end must not claim a clean store.
  if (status == platform::ExitStatus::Stored && session.SilentMode && session.errorsReported > 0) {
    status = platform::ExitStatus::NotStored;
    WriteServicePackLog(session, session.partlyStored ? "Partly stored (see the errors above)"
                                                      : "Nothing stored (see the errors above)");
  }
  if (status == platform::ExitStatus::NotStored && session.partlyStored) {
    status = platform::ExitStatus::PartlyStored;
  }
  session.process.EndProcess(status);
  // Not reached. GCC does not follow [[noreturn]] through a virtual call, so say it here once.
#if defined(_MSC_VER)
  __assume(false);
#else
  __builtin_unreachable();
#endif
}

std::string WriteErrorLog(Session& session, const std::string& line) {
  auto& process = session.process;
  const std::string projectLog =
      text::JoinPath(process.Style(), ProjectDirectory(session), "M4Tcfglog.txt");
  std::string path = projectLog;
  if (session.IntegratedMode) {
    path = session.reportDepth > 1 ? LogfileQuietly(session) : GetPathLogfile(session);
  }

  // A log must never vanish: the named file, else the project's log, else stderr.
  const std::string entry = line + kLogLineEnd;
  std::string shown;
  if (!path.empty() && process.AppendToFile(path, entry)) {
    shown = text::PathForDisplay(process.Style(), path);
  } else if (path != projectLog && process.AppendToFile(projectLog, entry)) {
    shown = text::PathForDisplay(process.Style(), projectLog);
  } else {
    process.WriteDiagnostic(line + "\n");
    shown = "(stderr)";
  }

  return "Error logged to " + kBreak + shown;
}

void WriteServicePackLog(Session& session, const std::string& text) {
  auto& process = session.process;
  const std::string entry =
      "! Fault " + text::EscapeLineBreaks(process.ExecutableBaseName()) + ": " + text;
  if (!process.AppendToFile(process.ServicePackLogPath(), entry + kLogLineEnd)) {
    process.WriteDiagnostic(entry + "\n");
  }
}

void ReportFault(Session& session, const std::string& text) {
  ++session.errorsReported;
  if (session.SilentMode) {
    WriteServicePackLog(session, text);
    return;
  }
  session.dialogs.ShowMessage({text, session.process.ExecutableBaseName(), platform::Buttons::Ok,
                               platform::Icon::Critical, platform::Choice::Ok});
}

}  // namespace morlane
