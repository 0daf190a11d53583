// The real program without any display: silent runs store and end by themselves.
#include <gtest/gtest.h>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>

#include "runner.h"

namespace morlane::e2e {
namespace {

const std::string kCfg =
    "[Project]\r\nForMachine1=true\r\nForMachine2=false\r\nForMachine3=TRUE\r\n";

class SilentRun : public ::testing::Test {
 protected:
  SilentRun() {
    p.Write("parameter/Program.ini",
            "; plant 7\r\n[Project]\r\nNumberOfMachines=3\r\nOrderOfServiceCounter1=2\r\n"
            "OrderOfServiceCounter3=1\r\n\r\n[Machine1]\r\nMachineName=Filler\r\n");
    p.Write("Morlane/Morlane.cfg", kCfg);
  }
  std::string Stamp() {
    return std::string("[Info]\r\nS_Prog=1.0.0 - Standalone\r\nS_Editor=") + kEditorEncoded +
           "\r\n";
  }

  ProjectTree p;
  ServicePackLogWatcher servicePackLog{p};
};

TEST_F(SilentRun, StoresThePositionsAndTheStampAndEndsWithZero) {
  const Outcome run = p.Run({"/EXTERNAL=SILENT"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.stderrText, "");
  // Written back unchanged, every other byte kept.
  EXPECT_EQ(p.Read("parameter/Program.ini"),
            "; plant 7\r\n[Project]\r\nNumberOfMachines=3\r\nOrderOfServiceCounter1=2\r\n"
            "OrderOfServiceCounter3=1\r\n\r\n[Machine1]\r\nMachineName=Filler\r\n");
  EXPECT_EQ(p.Read("Morlane/Morlane.cfg"), kCfg + Stamp());
  EXPECT_NE(p.Read("Config/Morlane_Config.ini").find("[Language]\r\nLanguage=1031\r\n[1031]\r\n"),
            std::string::npos);
  EXPECT_EQ(servicePackLog.Appended(), "");
  EXPECT_EQ(p.Read("M4Tcfglog.txt"), "");
}

TEST_F(SilentRun, BundledSampleProjectStores) {
  p.CopyFrom(MORLANE_SAMPLE_PROJECT);
  const std::string before = p.Read("parameter/Program.ini");
  EXPECT_EQ(p.Run({"/EXTERNAL=SILENT"}).status, 0);
  EXPECT_EQ(p.Read("parameter/Program.ini"), before);  // the same positions again
  EXPECT_NE(p.Read("Morlane/Morlane.cfg").find("S_Prog=1.0.0 - Standalone\r\n"), std::string::npos);
}

TEST_F(SilentRun, MissingCfgFileIsLoggedAndNothingIsWritten) {
  std::remove(p.Path("Morlane/Morlane.cfg").c_str());
  const std::string before = p.Read("parameter/Program.ini");
  EXPECT_EQ(p.Run({"/EXTERNAL=SILENT"}).status, 1);
  EXPECT_EQ(servicePackLog.Appended(), "! Fault Morlane_Config: File not found: \n\r" +
                                           p.Path("Morlane/Morlane.cfg") + "\r\n");
  EXPECT_EQ(p.Read("parameter/Program.ini"), before);
  EXPECT_FALSE(testing::FileExistsOnDisk(p.Path("Morlane/Morlane.cfg")));
}

// Stored, but not what the file held: the end does not claim a clean store.
TEST_F(SilentRun, OverflowingPositionIsLoggedAndResumedWithZero) {
  p.Write("parameter/Program.ini",
          "[Project]\r\nNumberOfMachines=1\r\nOrderOfServiceCounter1=40000\r\n");
  EXPECT_EQ(p.Run({"/EXTERNAL=SILENT"}).status, 3);
  EXPECT_EQ(p.Read("M4Tcfglog.txt"),
            "Fehler in Morlane / Morlane_Config / LoadIniInteger (Nr. 6) :Overflow\r\n");
  EXPECT_EQ(servicePackLog.Appended(),
            "! Fault Morlane_Config: Unexpected error!\n\rOverflow\n\rError logged to \n\r" +
                p.Path("M4Tcfglog.txt") +
                "\r\n! Fault Morlane_Config: Partly stored (see the errors above)\r\n");
  EXPECT_EQ(p.Read("parameter/Program.ini"),
            "[Project]\r\nNumberOfMachines=1\r\nOrderOfServiceCounter1=0\r\n");
}

// A read-only program ini: the position that was there already changed nothing, the other one
// could not be written. Nothing on disk changed, so nothing was stored.
TEST_F(SilentRun, ReadOnlyProgramIniWhereNothingChangedEndsAsNothingStored) {
  const std::string ini =
      "[Project]\r\nNumberOfMachines=3\r\nOrderOfServiceCounter1=2\r\nOrderOfServiceCounter3="
      "40000\r\n";
  p.Write("parameter/Program.ini", ini);
  ::chmod(p.Path("parameter/Program.ini").c_str(), 0444);
  EXPECT_EQ(p.Run({"/EXTERNAL=SILENT"}).status, 1);
  EXPECT_EQ(p.Read("parameter/Program.ini"), ini);
  EXPECT_EQ(p.Read("Morlane/Morlane.cfg"), kCfg);
  const std::string log = servicePackLog.Appended();
  EXPECT_NE(log.find("Path/File access error: " + p.Path("parameter/Program.ini")),
            std::string::npos);
  EXPECT_NE(log.find("! Fault Morlane_Config: Nothing stored: the window is needed"),
            std::string::npos)
      << log;
}

TEST_F(SilentRun, MachinesAboveFiveAreNeitherCheckedNorWritten) {
  std::string ini = "[Project]\r\nNumberOfMachines=7\r\n";
  std::string cfg = "[Project]\r\n";
  for (int n = 1; n <= 7; ++n) {
    ini += "OrderOfServiceCounter" + std::to_string(n) + "=" + std::to_string(n % 6) + "\r\n";
    cfg += "ForMachine" + std::to_string(n) + "=true\r\n";
  }
  p.Write("parameter/Program.ini", ini);
  p.Write("Morlane/Morlane.cfg", cfg);
  EXPECT_EQ(p.Run({"/EXTERNAL=SILENT"}).status, 0);
  EXPECT_EQ(p.Read("parameter/Program.ini"), ini);
  EXPECT_EQ(p.Read("Morlane/Morlane.cfg"), cfg + Stamp());
  EXPECT_EQ(servicePackLog.Appended(), "");
}

TEST_F(SilentRun, WithoutProgramIniThereAreNoMachinesAndOnlyTheStamp) {
  std::remove(p.Path("parameter/Program.ini").c_str());
  EXPECT_EQ(p.Run({"/EXTERNAL=SILENT"}).status, 0);
  EXPECT_FALSE(testing::FileExistsOnDisk(p.Path("parameter/Program.ini")));
  EXPECT_EQ(p.Read("Morlane/Morlane.cfg"), kCfg + Stamp());
}

// Folder names in UTF-8 with characters Windows-1252 lacks: the program finds and writes its
// files there, and a log line marks what the log's code page cannot hold.
TEST(SilentRunUnderAnyName, StoresAndStampsAndLogsThePathReadably) {
  if (kUnderWine) GTEST_SKIP() << "the Windows program takes paths in the ANSI code page";
  const std::string name =
      "Zak\xc5\x82"
      "ad \xc5\x82\xc3\xb3"
      "d\xc5\xba";
  ProjectTree p(name, name);
  const std::string ini = "[Project]\r\nNumberOfMachines=1\r\nOrderOfServiceCounter1=1\r\n";
  p.Write("parameter/Program.ini", ini);
  p.Write("Morlane/Morlane.cfg", kCfg);
  const ServicePackLogWatcher log{p};
  EXPECT_EQ(p.Run({"/EXTERNAL=SILENT"}).status, 0);
  EXPECT_EQ(p.Read("parameter/Program.ini"), ini);
  EXPECT_EQ(p.Read("Morlane/Morlane.cfg"),
            kCfg + "[Info]\r\nS_Prog=1.0.0 - Standalone\r\nS_Editor=" + kEditorEncoded + "\r\n");
  EXPECT_NE(p.Read(name + "/Morlane_Config.ini").find("[Language]"), std::string::npos);

  std::remove(p.Path("Morlane/Morlane.cfg").c_str());
  EXPECT_EQ(p.Run({"/EXTERNAL=SILENT"}).status, 1);
  EXPECT_EQ(log.Appended(), "! Fault Morlane_Config: File not found: \n\r" + p.dir.path() +
                                "/Zak<U+0142>ad <U+0142>\xf3"
                                "d<U+017A>/Morlane/Morlane.cfg\r\n");
}

// Run as root in a project that another user may write: links to the files the program writes
// are followed only where the running user made them, or the folder's owner made them to files
// of his own.
TEST(SilentRunAsRoot, FollowsOnlyLinksOfTheRunningUserOrTheFolderOwnerToHisOwnFiles) {
  if (kUnderWine || ::geteuid() != 0) GTEST_SKIP() << "needs root to own files as another user";
  const struct passwd* nobody = ::getpwnam("nobody");
  ASSERT_NE(nobody, nullptr);
  const std::map<std::string, std::string> targets = {
      {"parameter/Program.ini", "[Project]\r\nNumberOfMachines=1\r\nOrderOfServiceCounter1=02\r\n"},
      {"Morlane/Morlane.cfg", kCfg},
      {"Config/Morlane_Config.ini", "[Language]\r\nLanguage=1031\r\n"},
      {"M4Tcfglog.txt", "victim log\r\n"}};
  const struct {
    uid_t folders, links, targets;
    int status;
  } cases[] = {
      // nobody may write the folders, but owns none
      {0, nobody->pw_uid, nobody->pw_uid, 1},
      // the folders' owner points at files of another user
      {nobody->pw_uid, nobody->pw_uid, 0, 1},
      // the project's owner's own links to his own files
      {nobody->pw_uid, nobody->pw_uid, nobody->pw_uid, 0},
      // the running user's links
      {nobody->pw_uid, 0, 0, 0},
  };
  for (const auto& c : cases) {
    ProjectTree p;
    for (const char* folder : {"", "parameter", "Morlane", "Config"}) {
      std::filesystem::create_directories(p.Path(folder));
      ASSERT_EQ(::chown(p.Path(folder).c_str(), c.folders, 0), 0);
      ::chmod(p.Path(folder).c_str(), 0777);
    }
    for (const auto& [file, bytes] : targets) {
      const std::string target =
          p.dir / ("victim-" + std::filesystem::path(file).filename().string());
      testing::WriteFile(target, bytes);
      ASSERT_EQ(::chown(target.c_str(), c.targets, 0), 0);
      std::filesystem::create_symlink(target, p.Path(file));
      ASSERT_EQ(::lchown(p.Path(file).c_str(), c.links, 0), 0);
    }
    const Outcome run = p.Run({"/EXTERNAL=SILENT"});
    EXPECT_EQ(run.status, c.status) << run.stderrText;
    // The error log's line, refused by its link, falls back to stderr.
    EXPECT_EQ(run.stderrText.find("Fehler in Morlane") != std::string::npos, c.status != 0)
        << run.stderrText;
    for (const auto& [file, bytes] : targets) {
      EXPECT_TRUE(std::filesystem::is_symlink(p.Path(file))) << file;
      const std::string now = p.Read(file);
      if (c.status != 0) {
        EXPECT_EQ(now, bytes) << file;
      } else if (file == "parameter/Program.ini") {
        EXPECT_EQ(now, "[Project]\r\nNumberOfMachines=1\r\nOrderOfServiceCounter1=2\r\n");
      } else if (file == "Morlane/Morlane.cfg") {
        EXPECT_EQ(now, kCfg + "[Info]\r\nS_Prog=1.0.0 - Standalone\r\nS_Editor=" + kEditorEncoded +
                           "\r\n");
      } else if (file == "Config/Morlane_Config.ini") {
        EXPECT_EQ(now.rfind("[Language]\r\nLanguage=1031\r\n[1031]\r\n", 0), 0u) << now;
      } else {
        EXPECT_EQ(now, bytes) << file;  // nothing to log
      }
    }
  }
}

// A display that is set but cannot be used ends the same way as none, never in Qt's abort.
// (A server that refuses the connection is a window case: it needs an X server.)
constexpr const char* kNoServer = "DISPLAY=:4917";  // no X server listens there

TEST_F(SilentRun, DuplicateWithoutDisplayLogsTheMessageAndStoresNothing) {
  p.Write("parameter/Program.ini",
          "[Project]\r\nNumberOfMachines=3\r\nOrderOfServiceCounter1=1\r\nOrderOfServiceCounter3="
          "1\r\n");
  for (const auto& environment :
       {std::vector<std::string>{}, std::vector<std::string>{kNoServer}}) {
    const ServicePackLogWatcher log{p};
    const Outcome run = p.Run({"/EXTERNAL=SILENT"}, environment);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.stderrText, "");
    EXPECT_EQ(log.Appended(), "! Fault Morlane_Config: Mehrfachnennungen nicht erlaubt!\r\n");
  }
  EXPECT_EQ(p.Read("Morlane/Morlane.cfg"), kCfg);
}

TEST_F(SilentRun, InteractiveStartWithoutDisplaySaysSoAndStoresNothing) {
  const struct {
    std::vector<std::string> environment;
    std::string line;
  } displays[] = {
      {{}, "no display available (DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM are unset)"},
      {{kNoServer}, "no usable display (no connection to the X display \":4917\")"},
      // Outside a Wayland session Qt uses X only.
      {{"WAYLAND_DISPLAY=wayland-4917"}, "no usable display (DISPLAY is unset)"},
      {{"WAYLAND_DISPLAY=wayland-4917", "XDG_SESSION_TYPE=wayland"},
       "no usable display (no connection to the Wayland display \"wayland-4917\"; DISPLAY is "
       "unset)"},
  };
  for (const auto& display : displays) {
    for (const auto& args :
         {std::vector<std::string>{}, std::vector<std::string>{"/EXTERNAL=M4TCFG"}}) {
      const Outcome run = p.Run(args, display.environment);
      EXPECT_EQ(run.status, 2) << display.line;
      EXPECT_EQ(run.stderrText, "Morlane_Config: " + display.line + "; nothing was stored\n");
    }
  }
  EXPECT_EQ(p.Read("Morlane/Morlane.cfg"), kCfg);
  EXPECT_FALSE(testing::FileExistsOnDisk(p.Path("M4Tcfglog.txt")));
  EXPECT_EQ(servicePackLog.Appended(), "");
}

// --help and --version alone are answered on stdout without a display, before anything is
// read or written; with anything else on the line the words keep their start-mode meaning.
TEST_F(SilentRun, HelpAndVersionAloneAnswerAndTouchNothing) {
  // Every path of the project tree with its bytes.
  const auto snapshot = [&] {
    std::string all;
    const std::string root = p.Path("");
    for (const auto& e : std::filesystem::recursive_directory_iterator(root)) {
      const std::string path = e.path().string();
      all += path + "\n" + (e.is_regular_file() ? p.Read(path.substr(root.size())) : "");
    }
    return all;
  };
  const std::string before = snapshot();
  const std::vector<std::string> stdoutToStderr = {"/bin/sh", "-c", "exec \"$@\" >&2", "sh"};
  const struct {
    std::string arg;
    std::string printedFirst;
  } answered[] = {{"--help", "Usage: Morlane_Config [/EXTERNAL=M4TCFG"},
                  {"--version", "Morlane_Config 1.0.0\n"}};
  for (const auto& c : answered) {
    const Outcome run = p.RunWrapped(stdoutToStderr, {c.arg}, 20000);
    EXPECT_EQ(run.status, 0) << c.arg;
    EXPECT_EQ(run.stderrText.rfind(c.printedFirst, 0), 0u) << run.stderrText;
  }
  EXPECT_EQ(snapshot(), before);
  EXPECT_EQ(servicePackLog.Appended(), "");

  EXPECT_EQ(p.Run({"-h"}).status, 2);  // an interactive start without a display, as before
  EXPECT_EQ(p.Run({"--version", "/EXTERNAL=SILENT"}).status, 0);
  EXPECT_EQ(p.Read("Morlane/Morlane.cfg"), kCfg + Stamp());
}

}  // namespace
}  // namespace morlane::e2e

namespace morlane::e2e {
namespace {

TEST(MemoryCheck, SilentRunUnderValgrindReportsNothing) {
#ifdef MORLANE_SANITIZED_BUILD
  GTEST_SKIP() << "valgrind cannot run a program built with AddressSanitizer";
#endif
  if (!testing::FileExistsOnDisk("/usr/bin/valgrind")) GTEST_SKIP() << "valgrind is not installed";
  ProjectTree p;
  p.CopyFrom(MORLANE_SAMPLE_PROJECT);
  const Outcome run = p.RunWrapped({"/usr/bin/valgrind", "--error-exitcode=99", "--leak-check=full",
                                    "--errors-for-leak-kinds=definite", "-q"},
                                   {"/EXTERNAL=SILENT"}, 120000);
  EXPECT_EQ(run.status, 0) << run.stderrText;
  EXPECT_EQ(run.stderrText, "");
  EXPECT_NE(p.Read("Morlane/Morlane.cfg").find("[Info]"), std::string::npos);
}

}  // namespace
}  // namespace morlane::e2e
