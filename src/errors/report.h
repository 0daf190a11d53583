// Central error reporting and the two logs.
#pragma once

#include <cstdint>
#include <string>

#include "platform/process.h"

namespace morlane {

class Session;

inline constexpr int kAnswerAbort = 1;
inline constexpr int kAnswerResume = 2;

// Logs the failure, asks the user (or, silent, writes the service-pack log) and answers
// kAnswerAbort or kAnswerResume.
int ErrorSub(Session& session, std::int32_t number, const std::string& source,
             const std::string& description, const std::string& routineName, bool fatal);

// Ends the process at once; nothing (more) is stored and no window event runs any more. Every
// end of the program goes through here.
[[noreturn]] void EndProgram(Session& session, platform::ExitStatus status);

// Appends the line to the error log. Returns the "Error logged to" text naming the file that
// really got the line, or hands it to ReportFault and returns the empty text when report is set.
std::string WriteErrorLog(Session& session, const std::string& line, bool report);

// Appends "! Fault <exe>: <text>" to the service-pack log.
void WriteServicePackLog(Session& session, const std::string& text);

// Silent: to the service-pack log. Otherwise: a critical message box titled with the exe name.
void ReportFault(Session& session, const std::string& text);

// Line breaks inside composed messages: LF followed by CR.
inline constexpr const char* kMessageBreak = "\n\r";
// End of every log entry.
inline constexpr const char* kLogLineEnd = "\r\n";

}  // namespace morlane
