// Command line keywords and the start mode.
#pragma once

#include <string>

#include "platform/process.h"

namespace morlane {

class Session;

// How a keyword's value ends. Word: before the first "/", upper-cased. Path: on POSIX, where
// paths contain "/" and are case-sensitive, before the first " /" and with its case kept;
// on Windows the same as Word.
enum class ValueRule { Word, Path };

// The keyword's value without any reporting: empty when the keyword is absent; throws a
// Failure when the keyword is the very last thing on the command line.
std::string KeywordValue(const std::string& commandLine, const std::string& keyword, ValueRule rule,
                         platform::PathStyle style);

// The value of a keyword ("EXTERNAL", "LOGFILE") on the command line; empty when absent.
// A keyword written after a "/" wins over an earlier plain occurrence inside another value.
std::string ReadCommand(Session& session, const std::string& commandLine,
                        const std::string& keyword, ValueRule rule = ValueRule::Word);

// True only for an integrated start; sets IntegratedMode and SilentMode.
bool GetStartModeIntegrated(Session& session);

// The error log named by "LOGFILE", or the empty text.
std::string GetPathLogfile(Session& session);

}  // namespace morlane
