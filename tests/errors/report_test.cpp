#include "errors/report.h"

#include <gtest/gtest.h>

#include "runctx/session.h"
#include "support/fakes.h"

namespace morlane {
namespace {

using platform::Buttons;
using platform::Choice;
using platform::Icon;
using testing::FileExistsOnDisk;
using testing::ReadFile;

// A project tree in a temporary directory: <tmp>/plant/Config holds the program.
class ReportTest : public ::testing::Test, protected testing::FakeSession {
 protected:
  ReportTest() {
    testing::WriteFile(dir / "plant/Config/.keep", "");
    process.applicationDirectory = dir / "plant/Config";
    process.servicePackLog = dir / "HalvoServicePack.log";
  }
  std::string ProjectLog() { return dir / "plant/M4Tcfglog.txt"; }

  testing::TempDir dir;
};

TEST_F(ReportTest, InteractiveReportLogsALineAndAsksResumeWithYesAsDefault) {
  dialogs.answers = {Choice::Yes};
  EXPECT_EQ(ErrorSub(session, -2147, "Src", "Something broke", "GetCFGPath"), ErrorAnswer::Resume);

  EXPECT_EQ(ReadFile(ProjectLog()),
            "Fehler in Morlane / Src / GetCFGPath (Nr. -2147) :Something broke\r\n");
  ASSERT_EQ(dialogs.shown.size(), 1u);
  const auto& box = dialogs.shown[0];
  EXPECT_EQ(box.text, "Unexpected error!\n\rSomething broke\n\rError logged to \n\r" +
                          ProjectLog() + "\n\rResume?");
  EXPECT_EQ(box.title, "Unexpected error");
  EXPECT_EQ(box.buttons, Buttons::YesNo);
  EXPECT_EQ(box.icon, Icon::Critical);
  EXPECT_EQ(box.defaultButton, Choice::Yes);
  EXPECT_FALSE(FileExistsOnDisk(process.servicePackLog));

  dialogs.answers = {Choice::No};
  EXPECT_EQ(ErrorSub(session, 5, "", "Second", "X"), ErrorAnswer::Abort);
  // Two reports leave two entries in order; an empty source leaves two blanks between slashes.
  EXPECT_EQ(ReadFile(ProjectLog()),
            "Fehler in Morlane / Src / GetCFGPath (Nr. -2147) :Something broke\r\n"
            "Fehler in Morlane /  / X (Nr. 5) :Second\r\n");
}

TEST_F(ReportTest, NoReportIsFatal) {
  // Every report asks whether to resume, whatever the failure.
  dialogs.answers = {Choice::No};
  EXPECT_EQ(ErrorSub(session, 1, "S", "D", "R"), ErrorAnswer::Abort);
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].title, "Unexpected error");
  EXPECT_EQ(dialogs.shown[0].buttons, Buttons::YesNo);
  EXPECT_NE(dialogs.shown[0].text.find("Resume?"), std::string::npos);
}

TEST_F(ReportTest, SilentReportGoesToBothLogsAndResumes) {
  session.SilentMode = true;
  EXPECT_EQ(ErrorSub(session, 53, "Morlane_Config", "File not found", "SaveIni"),
            ErrorAnswer::Resume);
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_EQ(ReadFile(ProjectLog()),
            "Fehler in Morlane / Morlane_Config / SaveIni (Nr. 53) :File not found\r\n");
  EXPECT_EQ(ReadFile(process.servicePackLog),
            "! Fault Morlane_Config: Unexpected error!\n\rFile not found\n\rError logged to \n\r" +
                ProjectLog() + "\r\n");
}

TEST_F(ReportTest, IntegratedModeLogsToTheLogfileNamedOnTheCommandLine) {
  session.IntegratedMode = true;
  const std::string named = dir / "Host Logs/cfg.txt";
  testing::WriteFile(named, "old\r\n");
  process.commandLine = "/EXTERNAL=M4TCFG /LOGFILE=" + named;
  EXPECT_EQ(WriteErrorLog(session, "line"), "Error logged to \n\r" + named);
  EXPECT_EQ(ReadFile(named), "old\r\nline\r\n");
  EXPECT_FALSE(FileExistsOnDisk(ProjectLog()));
}

TEST_F(ReportTest, UnwritableLogsFallBackAndNameTheFileThatGotTheLine) {
  session.IntegratedMode = true;
  // No LOGFILE given: the project's log takes the line.
  EXPECT_EQ(WriteErrorLog(session, "a"), "Error logged to \n\r" + ProjectLog());
  // A LOGFILE in a missing directory, or below a regular file: the project's log again.
  process.commandLine = "/LOGFILE=" + (dir / "missing/log.txt");
  EXPECT_EQ(WriteErrorLog(session, "b"), "Error logged to \n\r" + ProjectLog());
  testing::WriteFile(dir / "file", "x");
  process.commandLine = "/LOGFILE=" + (dir / "file/log.txt");
  EXPECT_EQ(WriteErrorLog(session, "c"), "Error logged to \n\r" + ProjectLog());
  EXPECT_EQ(ReadFile(ProjectLog()), "a\r\nb\r\nc\r\n");

  // Neither writable: the line reaches stderr and the report still reaches the user.
  process.applicationDirectory = dir / "file/Config";
  dialogs.answers = {Choice::Yes};
  EXPECT_EQ(ErrorSub(session, 9, "S", "D", "R"), ErrorAnswer::Resume);
  EXPECT_EQ(process.diagnostics, "Fehler in Morlane / S / R (Nr. 9) :D\n");
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_NE(dialogs.shown[0].text.find("(stderr)"), std::string::npos);
}

// A line break in a folder name is shown as <CR>/<LF>: it cannot forge a log line of its own.
TEST_F(ReportTest, LineBreaksInPathsCannotStartALogLine) {
  process.memoryFiles = true;  // Windows names cannot hold line breaks; POSIX names can
  process.applicationDirectory = "/pl\r\nant/Config";
  session.SilentMode = true;
  ErrorSub(session, 75, "S", "D", "R");
  EXPECT_EQ(process.files[process.servicePackLog],
            "! Fault Morlane_Config: Unexpected error!\n\rD\n\rError logged to \n\r"
            "/pl<CR><LF>ant/M4Tcfglog.txt\r\n");
  EXPECT_EQ(process.files["/pl\r\nant/M4Tcfglog.txt"], "Fehler in Morlane / S / R (Nr. 75) :D\r\n");
}

TEST_F(ReportTest, UnwritableServicePackLogGoesToStderr) {
  session.SilentMode = true;
  process.servicePackLog = dir / "missing/HalvoServicePack.log";
  WriteServicePackLog(session, "text");
  EXPECT_EQ(process.diagnostics, "! Fault Morlane_Config: text\n");
}

TEST_F(ReportTest, ReportFaultShowsABoxOrWritesTheServicePackLogWhenSilent) {
  dialogs.answers = {Choice::Ok};
  ReportFault(session, "File not found: \n\r/x.cfg");
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].title, "Morlane_Config");
  EXPECT_EQ(dialogs.shown[0].icon, Icon::Critical);
  EXPECT_EQ(dialogs.shown[0].buttons, Buttons::Ok);

  session.SilentMode = true;
  ReportFault(session, "one");
  ReportFault(session, "two");
  EXPECT_EQ(ReadFile(process.servicePackLog),
            "! Fault Morlane_Config: one\r\n! Fault Morlane_Config: two\r\n");
  EXPECT_EQ(dialogs.shown.size(), 1u);
}

TEST_F(ReportTest, TheLoggedToTextCanBeHandedToReportFault) {
  dialogs.answers = {Choice::Ok};
  ReportFault(session, WriteErrorLog(session, "x"));
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text, "Error logged to \n\r" + ProjectLog());
}

TEST_F(ReportTest, FailuresInsideAReportDoNotRecurse) {
  // The component name cannot be had and the LOGFILE keyword ends the command line: both
  // fail inside the report. Each is reported once, and the first report still completes.
  process.baseName = "Short";
  session.IntegratedMode = true;
  process.commandLine = "/EXTERNAL=M4TCFG /LOGFILE";
  dialogs.answers = {Choice::Yes, Choice::Yes, Choice::Yes};
  EXPECT_EQ(ErrorSub(session, 13, "S", "Type mismatch", "R"), ErrorAnswer::Resume);
  EXPECT_EQ(dialogs.shown.size(), 3u);
  EXPECT_EQ(ReadFile(ProjectLog()),
            "Fehler in  / Short / GetOCXName (Nr. 5) :Invalid procedure call or argument\r\n"
            "Fehler in  / Short / ReadCommand (Nr. 5) :Invalid procedure call or argument\r\n"
            "Fehler in  / S / R (Nr. 13) :Type mismatch\r\n");
  EXPECT_EQ(session.reportDepth, 0);
}

}  // namespace
}  // namespace morlane
