#include "platform/posix/process_posix.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/posix/core_text.h"
#include "platform/posix/path_case.h"
#include "platform/process.h"
#include "platform/profile/codepage.h"
#include "support/fakes.h"

namespace morlane::platform::posix {
namespace {

using morlane::testing::ReadFile;
using morlane::testing::TempDir;
using morlane::testing::WriteFile;

TEST(PosixProcess, ExecutablePathSplitsIntoDirectoryAndBaseName) {
  std::string dir, base;
  SplitExecutablePath("/opt/plant/Config/Morlane_Config", dir, base);
  EXPECT_EQ(dir, "/opt/plant/Config");
  EXPECT_EQ(base, "Morlane_Config");
  SplitExecutablePath("/Morlane_Config.bin", dir, base);
  EXPECT_EQ(dir, "/");
  EXPECT_EQ(base, "Morlane_Config");
  SplitExecutablePath("/a/v1.2/prog.x.y", dir, base);
  EXPECT_EQ(dir, "/a/v1.2");
  EXPECT_EQ(base, "prog.x");
}

TEST(PosixProcess, CommandLineIsTheArgumentsJoinedByOneBlank) {
  char prog[] = "/x/Morlane_Config";
  char a1[] = "/EXTERNAL=M4TCFG";
  char a2[] = "/LOGFILE=/tmp/a b.txt";
  char* argv[] = {prog, a1, a2, nullptr};
  SystemProcessServices process(3, argv);
  EXPECT_EQ(process.CommandLine(), "/EXTERNAL=M4TCFG /LOGFILE=/tmp/a b.txt");
  // The directory comes from the running executable, not from argv[0].
  EXPECT_NE(process.ApplicationDirectory(), "/x");
  EXPECT_EQ(process.ProgramVersion().major, 1);
}

TEST(PosixProcess, TextCrossesIntoTheCoreAsWindows1252) {
  char prog[] = "p";
  char a1[] = "/LOGFILE=/tmp/Z\xc3\xbcrich/log.txt";
  char* argv[] = {prog, a1, nullptr};
  SystemProcessServices process(2, argv);
  EXPECT_EQ(process.CommandLine(), "/LOGFILE=/tmp/Z\xfcrich/log.txt");

  // A path of the core names the UTF-8 file on disk, and files created get UTF-8 names.
  TempDir dir;
  WriteFile(dir / "Z\xc3\xbcrich/Program.ini", "x");
  EXPECT_TRUE(process.FileExists(dir / "z\xfcrich/program.ini"));
  EXPECT_TRUE(process.AppendToFile(dir / "Z\xfcrich/M\xe4rz.log", "a\r\n"));
  EXPECT_EQ(ReadFile(dir / "Z\xc3\xbcrich/M\xc3\xa4rz.log"), "a\r\n");
}

TEST(PosixProcess, FileExistsMeansANormalFileWhateverTheCase) {
  TempDir dir;
  WriteFile(dir / "Parameter/Program.ini", "[Project]\r\n");
  char prog[] = "p";
  char* argv[] = {prog, nullptr};
  SystemProcessServices process(1, argv);
  EXPECT_TRUE(process.FileExists(dir / "Parameter/Program.ini"));
  EXPECT_TRUE(process.FileExists(dir / "parameter/program.ini"));
  EXPECT_FALSE(process.FileExists(dir / "parameter"));
  EXPECT_FALSE(process.FileExists(dir / "parameter/missing.ini"));
  EXPECT_FALSE(process.FileExists(""));
}

TEST(PosixProcess, AppendCreatesExtendsAndFailsWithoutADirectory) {
  TempDir dir;
  char prog[] = "p";
  char* argv[] = {prog, nullptr};
  SystemProcessServices process(1, argv);
  EXPECT_TRUE(process.AppendToFile(dir / "log.txt", "a\r\n"));
  EXPECT_TRUE(process.AppendToFile(dir / "LOG.TXT", "b\n\r\r\n"));
  EXPECT_EQ(ReadFile(dir / "log.txt"), "a\r\nb\n\r\r\n");
  EXPECT_FALSE(process.AppendToFile(dir / "missing/log.txt", "x"));
  EXPECT_FALSE(process.AppendToFile(dir / "log.txt/below", "x"));
}

// Logs never block and never break the run: only regular files are appended to (a FIFO or a
// device is refused at once, with or without a reader), "/dev/stderr" only when named so, and a
// closed stderr pipe makes a failed write instead of killing the process with SIGPIPE.
TEST(PosixProcess, AppendOnlyToRegularFilesAndNeverBlocks) {
  TempDir dir;
  char prog[] = "p";
  char* argv[] = {prog, nullptr};
  SystemProcessServices process(1, argv);
  ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0666), 0);
  EXPECT_FALSE(process.AppendToFile(dir / "fifo", "x\r\n"));
  const int reader = ::open((dir / "fifo").c_str(), O_RDONLY | O_NONBLOCK);
  EXPECT_FALSE(process.AppendToFile(dir / "fifo", "x\r\n"));
  char byte;
  EXPECT_LE(::read(reader, &byte, 1), 0) << "nothing may reach the FIFO";
  ::close(reader);
  EXPECT_FALSE(process.AppendToFile("/dev/null", "x\r\n"));
  EXPECT_FALSE(process.AppendToFile(dir.path(), "x\r\n"));

  int pipeFds[2];
  ASSERT_EQ(::pipe(pipeFds), 0);
  ::close(pipeFds[0]);  // before the fork: the pipe never has a reader
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(pipeFds[1], STDERR_FILENO);
    SystemProcessServices child(1, argv);
    child.WriteDiagnostic("nobody reads this\n");
    ::_exit(child.AppendToFile("/dev/stderr", "x") ? 1 : 0);
  }
  ::close(pipeFds[1]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

TEST(PosixPathCase, ResolvesEachComponentAndKeepsWhatIsMissing) {
  TempDir dir;
  WriteFile(dir / "Plant/Parameter/Program.ini", "");
  EXPECT_EQ(ResolvePathCase(dir / "plant/PARAMETER/program.ini"),
            dir / "Plant/Parameter/Program.ini");
  EXPECT_EQ(ResolvePathCase(dir / "plant/parameter/New.ini"), dir / "Plant/Parameter/New.ini");
  EXPECT_EQ(ResolvePathCase(dir / "plant/none/x/Program.ini"), dir / "Plant/none/x/Program.ini");
  // An exact spelling wins over a case-insensitive one.
  WriteFile(dir / "Plant/parameter/Program.ini", "");
  EXPECT_EQ(ResolvePathCase(dir / "Plant/parameter/program.ini"),
            dir / "Plant/parameter/Program.ini");
}

TEST(PosixCodepage, Utf8BecomesWindows1252WithQuestionMarksForTheRest) {
  EXPECT_EQ(Utf8ToCp1252("USER=J\xc3\xb6rg \xe2\x82\xac"), "USER=J\xf6rg \x80");
  EXPECT_EQ(Utf8ToCp1252("a\xce\xa9"
                         "b"),
            "a?b");  // Omega is not in the code page
  EXPECT_EQ(Utf8ToCp1252("a\xff"
                         "b\xc3"),
            "a?b?");                                    // broken bytes
  EXPECT_EQ(Utf8ToCp1252("x\xe2(y\xe2\x82"), "x?(y?");  // a cut sequence: one "?" each
  // The C1 controls of the five bytes the code page leaves undefined come back as those bytes.
  EXPECT_EQ(Utf8ToCp1252("\xc2\x81\xc2\x9d\xc2\x80"), "\x81\x9d?");
}

// Any name the file system allows reaches the core and comes back unchanged: what 1252 has as
// its byte, the rest as a readable mark.
TEST(PosixCodepage, FileNamesReachTheCoreWithoutLoss) {
  const struct {
    std::string native, core;
  } names[] = {
      {"/tmp/Zak\xc5\x82"
       "ad \xc5\x82\xc3\xb3"
       "d\xc5\xba",
       "/tmp/Zak<U+0142>ad <U+0142>\xf3"
       "d<U+017A>"},
      {"\xe2\x82\xac \xf0\x9f\x98\x80", "\x80 <U+1F600>"},
      {"a\xff"
       "b\xc3",
       "a<U+DCFF>b<U+DCC3>"},                                 // no UTF-8: the bytes themselves
      {"x\xed\xa0\x80", "x<U+DCED><U+DCA0><U+DC80>"},         // an encoded surrogate is no UTF-8
      {"<U+0142> <U+12> <b>", "<U+003C>U+0142> <U+12> <b>"},  // only a "<" that reads as a mark
      {"\xc2\x81", "\x81"},
  };
  for (const auto& n : names) {
    EXPECT_EQ(Utf8ToCoreText(n.native), n.core);
    EXPECT_EQ(CoreTextToUtf8(n.core), n.native);
  }
  // A mark in a file's text names its character; a broken one is text.
  EXPECT_EQ(CoreTextToUtf8("<U+0142><U+110000><U+D800><u+0142><U+0142"),
            "\xc5\x82<U+110000><U+D800><u+0142><U+0142");
}

}  // namespace
}  // namespace morlane::platform::posix
