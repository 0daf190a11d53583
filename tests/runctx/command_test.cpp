#include "runctx/command.h"

#include <gtest/gtest.h>

#include "errors/failure.h"
#include "runctx/session.h"
#include "support/fakes.h"

namespace morlane {
namespace {

using platform::Choice;
using platform::PathStyle;

struct CommandLineCase {
  const char* line;
  bool integrated;
  bool silent;
  const char* logfile;
};

class StartModeTest : public ::testing::TestWithParam<CommandLineCase>,
                      protected testing::FakeSession {};

TEST_P(StartModeTest, FlagsAndLogfileFollowTheKeywords) {
  const CommandLineCase& c = GetParam();
  process.style = PathStyle::Windows;
  process.commandLine = c.line;

  const bool result = GetStartModeIntegrated(session);
  EXPECT_EQ(result, c.integrated);
  EXPECT_EQ(session.IntegratedMode, c.integrated);
  EXPECT_EQ(session.SilentMode, c.silent);
  EXPECT_EQ(GetPathLogfile(session), c.logfile);
  EXPECT_TRUE(dialogs.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(
    WindowsCommandLines, StartModeTest,
    ::testing::Values(CommandLineCase{"", false, false, ""},
                      CommandLineCase{"/EXTERNAL=M4TCFG", true, false, ""},
                      CommandLineCase{"/external=m4tcfg", true, false, ""},
                      CommandLineCase{"/EXTERNAL:M4TCFG", true, false, ""},
                      CommandLineCase{"/EXTERNAL=SILENT", false, true, ""},
                      CommandLineCase{"/EXTERNAL=M4TCFG /LOGFILE=d:\\logs\\cfg.txt", true, false,
                                      "D:\\LOGS\\CFG.TXT"},
                      CommandLineCase{"/EXTERNAL=M4TCFGX", false, false, ""},
                      CommandLineCase{"/EXTERNAL= M4TCFG", true, false, ""},
                      CommandLineCase{"/EXTERNAL = M4TCFG", false, false, ""},
                      CommandLineCase{"/EXTERNAL=", false, false, ""},
                      CommandLineCase{"/EXTERNAL=x", false, false, ""},
                      CommandLineCase{"  /EXTERNAL=silent  ", false, true, ""},
                      // A keyword written after "/" wins over an earlier occurrence inside a path.
                      CommandLineCase{"/LOGFILE=c:\\external\\log.txt /EXTERNAL=M4TCFG", true,
                                      false, "C:\\EXTERNAL\\LOG.TXT"},
                      // Without any "/"-led occurrence the first plain one counts.
                      CommandLineCase{"EXTERNAL=SILENT", false, true, ""}));

class ReadCommand : public ::testing::Test, protected testing::FakeSession {};

TEST_F(ReadCommand, KeywordAtTheVeryEndIsReportedAndReadsEmpty) {
  process.memoryFiles = true;
  process.style = PathStyle::Windows;
  process.applicationDirectory = "C:\\Plant\\Config";
  process.commandLine = "/EXTERNAL";
  dialogs.answers = {Choice::Yes, Choice::Yes};

  EXPECT_FALSE(GetStartModeIntegrated(session));
  EXPECT_FALSE(session.IntegratedMode);
  EXPECT_FALSE(session.SilentMode);
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(process.files["C:\\Plant\\M4Tcfglog.txt"],
            "Fehler in Morlane / Morlane_Config / ReadCommand (Nr. 5) :Invalid procedure call "
            "or argument\r\n");

  // Every call reads the command line anew and reports again.
  GetStartModeIntegrated(session);
  EXPECT_EQ(dialogs.shown.size(), 2u);
}

TEST_F(ReadCommand, PosixLogfileKeepsCaseAndEndsBeforeBlankSlash) {
  const struct {
    const char* line;
    const char* logfile;
    bool integrated;
  } cases[] = {
      {"/EXTERNAL=M4TCFG /LOGFILE=/var/Log/Cfg.txt", "/var/Log/Cfg.txt", true},
      {"/LOGFILE=/srv/plant/log.txt /EXTERNAL=M4TCFG", "/srv/plant/log.txt", true},
      {"/LOGFILE= /tmp/a b.txt  ", "/tmp/a b.txt", false},
      // "/EXTERNAL" inside a path is not the keyword when a real one follows a blank.
      {"/LOGFILE=/srv/external/log.txt /EXTERNAL=M4TCFG", "/srv/external/log.txt", true},
  };
  for (const auto& c : cases) {
    process.commandLine = c.line;
    EXPECT_EQ(GetPathLogfile(session), c.logfile) << c.line;
    EXPECT_EQ(GetStartModeIntegrated(session), c.integrated) << c.line;
  }
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(ReadCommand, WordValuesAreUpperCasedAndCutAtTheFirstSlashOnBothStyles) {
  for (const auto style : {PathStyle::Windows, PathStyle::Posix}) {
    EXPECT_EQ(KeywordValue("/external=silent/x", "EXTERNAL", ValueRule::Word, style), "SILENT");
    EXPECT_EQ(KeywordValue("/EXTERNAL= a b /LOGFILE=c", "external", ValueRule::Word, style), "A B");
    EXPECT_EQ(KeywordValue("/LOGFILE=x", "EXTERNAL", ValueRule::Word, style), "");
    EXPECT_THROW(KeywordValue("/LOGFILE", "LOGFILE", ValueRule::Path, style), Failure);
  }
}

}  // namespace
}  // namespace morlane
