#include "errors/routine.h"

#include "errors/report.h"
#include "runctx/session.h"

namespace morlane {

void Routine::Report(std::exception_ptr error) {
  const Failure failure = ToFailure(error);
  const std::string source =
      failure.source.empty() ? session_.process.ExecutableBaseName() : failure.source;
  if (ErrorSub(session_, failure.number, source, failure.description, name_) ==
      ErrorAnswer::Abort) {
    EndProgram(session_, platform::ExitStatus::NotStored);
  }
}

}  // namespace morlane
