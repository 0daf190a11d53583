// Central error reporting and the two logs.
#pragma once

#include <cstdint>
#include <string>

#include "platform/process.h"

namespace morlane {

class Session;

// What the user (or, silent, the program) chose after a failure.
enum class ErrorAnswer { Abort = 1, Resume = 2 };

// Logs the failure, asks the user whether to resume (or, silent, writes the service-pack log
// and resumes).
ErrorAnswer ErrorSub(Session& session, std::int32_t number, const std::string& source,
                     const std::string& description, const std::string& routineName);

// Ends the process at once; nothing (more) is stored and no window event runs any more. Every
// end of the program goes through here.
[[noreturn]] void EndProgram(Session& session, platform::ExitStatus status);

// Appends the line to the error log. Returns the "Error logged to" text naming the file that
// really got the line.
std::string WriteErrorLog(Session& session, const std::string& line);

// Appends "! Fault <exe>: <text>" to the service-pack log.
void WriteServicePackLog(Session& session, const std::string& text);

// Silent: to the service-pack log. Otherwise: a critical message box titled with the exe name.
void ReportFault(Session& session, const std::string& text);

// Line breaks inside composed messages: LF followed by CR.
inline constexpr const char* kMessageBreak = "\n\r";
// End of every log entry.
inline constexpr const char* kLogLineEnd = "\r\n";

}  // namespace morlane
