// The error pattern. Every routine that follows it opens a Routine with its name and runs its
// steps through it. A step that fails is reported through ErrorSub; on resume the routine goes
// on with its next step, on abort the process ends (EndProgram).
//
//   Routine r(session, "GetCFGPath");
//   r.Step([&] { path = Build(); });            // on failure: reported, path keeps its value
//   if (r.Test([&] { return Exists(path); })) { ... }   // a failing test runs the branch
#pragma once

#include <exception>
#include <string>
#include <utility>

#include "errors/failure.h"

namespace morlane {

class Session;

class Routine {
 public:
  Routine(Session& session, std::string name) : session_(session), name_(std::move(name)) {}
  Routine(const Routine&) = delete;
  Routine& operator=(const Routine&) = delete;

  // Every failure is a standard exception (a Failure among them); what is none is no failure of
  // a step and passes.

  // Runs one step. True when it completed; false when it failed and the user resumed.
  template <class F>
  bool Step(F&& step) {
    try {
      std::forward<F>(step)();
      return true;
    } catch (const std::exception&) {
      Report(std::current_exception());
      return false;
    }
  }

  // Evaluates the test of a branch. A test that fails counts as passed.
  template <class F>
  bool Test(F&& test) {
    try {
      return static_cast<bool>(std::forward<F>(test)());
    } catch (const std::exception&) {
      Report(std::current_exception());
      return true;
    }
  }

 private:
  // Reports the failure of a step or test. Returns on resume; ends the process on abort.
  void Report(std::exception_ptr error);

  Session& session_;
  std::string name_;
};

}  // namespace morlane
