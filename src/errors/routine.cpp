#include "errors/routine.h"

#include "errors/report.h"
#include "runctx/session.h"

namespace morlane {

void Routine::Report(std::exception_ptr error) {
  const Failure failure = ToFailure(error);
  if (ErrorSub(session_, failure.number, session_.process.ExecutableBaseName(), failure.description,
               name_) == ErrorAnswer::Abort) {
    EndProgram(session_, platform::ExitStatus::NotStored);
  }
}

}  // namespace morlane
