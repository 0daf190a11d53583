#include "errors/routine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <vector>

#include "runctx/session.h"
#include "support/fakes.h"

namespace morlane {
namespace {

using platform::Choice;

class RoutineTest : public ::testing::Test, protected testing::FakeSession {
 protected:
  RoutineTest() {
    process.memoryFiles = true;
    process.servicePackLog = "/spl.log";
  }
  std::vector<int> steps;
};

TEST_F(RoutineTest, ResumeGoesOnWithTheNextStepAndKeepsTheOldValue) {
  dialogs.answers = {Choice::Yes};
  Routine r(session, "Demo");
  int value = 7;
  EXPECT_TRUE(r.Step([&] { steps.push_back(1); }));
  EXPECT_FALSE(r.Step([&] {
    throw std::out_of_range("x");
    value = 8;
  }));
  EXPECT_TRUE(r.Step([&] { steps.push_back(3); }));
  EXPECT_EQ(steps, (std::vector<int>{1, 3}));
  EXPECT_EQ(value, 7);
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_NE(dialogs.shown[0].text.find("Subscript out of range"), std::string::npos);
  EXPECT_NE(process.files["/plant/M4Tcfglog.txt"].find(" / Demo (Nr. 9) :"), std::string::npos);
}

// A file service that says why a name cannot be used is quoted, naming the file.
TEST_F(RoutineTest, FileFailuresNameTheFileAndTheCause) {
  dialogs.answers = {Choice::Yes, Choice::Yes};
  Routine r(session, "Demo");
  for (const auto error : {std::errc::illegal_byte_sequence, std::errc::permission_denied}) {
    r.Step([&] {
      throw std::filesystem::filesystem_error("x", "C:\\P\\a?b.ini", std::make_error_code(error));
    });
  }
  ASSERT_EQ(dialogs.shown.size(), 2u);
  EXPECT_NE(dialogs.shown[0].text.find("Path/File access error: C:\\P\\a?b.ini (the name holds "
                                       "characters the system's code page cannot represent)"),
            std::string::npos);
  EXPECT_NE(dialogs.shown[1].text.find("Path/File access error: C:\\P\\a?b.ini\n"),
            std::string::npos);
}

TEST_F(RoutineTest, AbortEndsTheProcessWithoutRunningFurtherSteps) {
  dialogs.answers = {Choice::No};
  Routine r(session, "Demo");
  EXPECT_EQ(testing::ExitOf([&] {
              r.Step([] { throw Failure::Overflow(); });
              steps.push_back(2);
            }),
            platform::ExitStatus::NotStored);
  EXPECT_TRUE(steps.empty());
}

TEST_F(RoutineTest, FailingBranchTestRunsTheGovernedBranch) {
  dialogs.answers = {Choice::Yes};
  Routine r(session, "Demo");
  if (r.Test([]() -> bool { throw Failure::TypeMismatch(); }))
    steps.push_back(1);
  else
    steps.push_back(2);
  EXPECT_EQ(steps, (std::vector<int>{1}));
}

TEST_F(RoutineTest, FailingTestThatEndsALoopEndsItAsWhenItHeld) {
  // The loops of the routines are bounded and leave early on a test (a missing machine name):
  // a failing test counts as passed, so the loop is left, never spun.
  dialogs.answers = {Choice::Yes};
  Routine r(session, "Demo");
  for (int n = 1; n <= 5; ++n) {
    if (r.Test([&]() -> bool {
          if (n == 2) throw Failure::SubscriptOutOfRange();
          return false;
        })) {
      break;
    }
    steps.push_back(n);
  }
  EXPECT_EQ(steps, (std::vector<int>{1}));
  EXPECT_EQ(dialogs.shown.size(), 1u);
}

TEST_F(RoutineTest, SilentFailuresAreLoggedAndResumedWithoutAsking) {
  session.SilentMode = true;
  Routine r(session, "Demo");
  EXPECT_FALSE(r.Step([] { throw std::runtime_error("boom"); }));
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_NE(process.files["/spl.log"].find("! Fault Morlane_Config: Unexpected error!"),
            std::string::npos);
}

}  // namespace
}  // namespace morlane
