#include "form/program.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "form/form.h"
#include "support/project.h"

namespace morlane {
namespace {

using platform::Choice;
using platform::ExitStatus;

// A GUI that records what it was asked to do.
class RecordingGui : public platform::GuiModule {
 public:
  std::vector<std::string> messages;
  int windows = 0;
  bool unusable = false;  // nothing can be shown after all (no interactive desktop)
  std::string windowFailure;
  Choice ShowMessage(const platform::MessageRequest& request) override {
    if (unusable) throw platform::GuiUnavailable{"no interactive desktop"};
    messages.push_back(request.text);
    return request.defaultButton;
  }
  platform::ExitStatus RunWindow(form::FormEvents&) override {
    if (unusable) throw platform::GuiUnavailable{"no interactive desktop"};
    ++windows;
    return windowFailure.empty() ? ExitStatus::Stored : ExitStatus::NotStored;
  }
  std::string WindowFailure() const override { return windowFailure; }
};

class FakeProvider : public platform::GuiProvider {
 public:
  bool display = false;
  bool loadable = true;
  int loads = 0;
  RecordingGui gui;
  bool DisplayAvailable() const override { return display; }
  std::string NoDisplayReason() const override {
    return "no display available (DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM are unset)";
  }
  platform::GuiModule* Gui() override {
    ++loads;
    return loadable ? &gui : nullptr;
  }
};

// The real program's wiring over a temporary project: lazy dialogs in front of a fake GUI.
class ProgramTest : public ::testing::Test {
 protected:
  ProgramTest() {
    dialogs.Attach(session);
    p.Write("parameter/Program.ini",
            "[Project]\r\nNumberOfMachines=2\r\nOrderOfServiceCounter1=1\r\n"
            "OrderOfServiceCounter2=2\r\n");
    p.Write("Morlane/Morlane.cfg", "[Project]\r\nForMachine1=true\r\nForMachine2=true\r\n");
  }
  ExitStatus Run() {
    form::frm_Morlane_Exe form(session);
    ExitStatus status{};
    const auto ended = testing::ExitOf([&] { status = RunProgram(session, form, provider); });
    return ended.value_or(status);
  }

  testing::Project p;
  FakeProvider provider;
  LazyDialogs dialogs{provider};
  Session session{p.process, dialogs, p.profile};
};

TEST_F(ProgramTest, SilentStoreNeverStartsTheGui) {
  p.process.commandLine = "/EXTERNAL=SILENT";
  EXPECT_EQ(Run(), ExitStatus::Stored);
  EXPECT_EQ(provider.loads, 0);
  EXPECT_NE(p.Read("Morlane/Morlane.cfg").find("[Info]"), std::string::npos);
}

TEST_F(ProgramTest, SilentDuplicateWithoutDisplayLogsTheMessageAndStoresNothing) {
  p.process.commandLine = "/EXTERNAL=SILENT";
  p.Write("parameter/Program.ini",
          "[Project]\r\nNumberOfMachines=2\r\nOrderOfServiceCounter1=1\r\n"
          "OrderOfServiceCounter2=1\r\n");
  EXPECT_EQ(Run(), ExitStatus::NotStored);
  EXPECT_EQ(provider.loads, 0);
  EXPECT_EQ(p.ServicePackLog(), "! Fault Morlane_Config: Mehrfachnennungen nicht erlaubt!\r\n");
  EXPECT_EQ(p.Read("Morlane/Morlane.cfg").find("[Info]"), std::string::npos);
}

TEST_F(ProgramTest, SilentFailedStoreWithoutDisplayEndsNotStored) {
  p.process.commandLine = "/EXTERNAL=SILENT";
  p.profile.failing = {p.ProgramIni()};
  EXPECT_EQ(Run(), ExitStatus::NotStored);
  const std::string log = p.ServicePackLog();
  EXPECT_NE(log.find("Path/File access error"), std::string::npos);
  EXPECT_NE(log.find("no display is available"), std::string::npos);
}

// A position written anew ("02" becomes "2") when the stamp fails: the end says "partly
// stored". Positions that were on disk already change nothing: "nothing stored".
TEST_F(ProgramTest, SilentStoreWhoseStampFailsEndsByWhatIsOnDisk) {
  p.process.commandLine = "/EXTERNAL=SILENT";
  p.profile.failing = {p.CfgFile()};
  EXPECT_EQ(Run(), ExitStatus::NotStored);
  EXPECT_NE(p.ServicePackLog().find("Nothing stored: the window is needed"), std::string::npos);

  p.Write("parameter/Program.ini",
          "[Project]\r\nNumberOfMachines=2\r\nOrderOfServiceCounter1=02\r\n"
          "OrderOfServiceCounter2=1\r\n");
  std::filesystem::remove(p.process.servicePackLog);
  session.partlyStored = false;
  EXPECT_EQ(Run(), ExitStatus::PartlyStored);
  const std::string log = p.ServicePackLog();
  EXPECT_NE(log.find("Path/File access error: " + p.CfgFile()), std::string::npos);
  EXPECT_NE(log.find("Partly stored (see the errors above): the window is needed, but no "
                     "display is available"),
            std::string::npos);
  EXPECT_EQ(log.find("Nothing stored"), std::string::npos);
}

// A program ini that exists but cannot be read: one report, the stamp as ever, and an end that
// says whether the stamp changed the cfg file.
TEST_F(ProgramTest, SilentRunWithAnUnreadableProgramIniNeverEndsAsStored) {
  p.process.commandLine = "/EXTERNAL=SILENT";
  p.profile.unreadable = {p.ProgramIni()};
  for (const ExitStatus expected : {ExitStatus::PartlyStored, ExitStatus::NotStored}) {
    std::filesystem::remove(p.process.servicePackLog);
    session.partlyStored = false;
    session.unreadableFiles.clear();
    EXPECT_EQ(Run(), expected);
    const std::string log = p.ServicePackLog();
    EXPECT_EQ(log.find("Path/File access error: " + p.ProgramIni()),
              log.rfind("Path/File access error: " + p.ProgramIni()));
    EXPECT_NE(log.find(expected == ExitStatus::PartlyStored
                           ? "! Fault Morlane_Config: Partly stored (see the errors above)\r\n"
                           : "! Fault Morlane_Config: Nothing stored (see the errors above)\r\n"),
              std::string::npos)
        << log;
    EXPECT_NE(p.Read("Morlane/Morlane.cfg").find("[Info]"), std::string::npos);
  }
}

TEST_F(ProgramTest, InteractiveStartWithoutDisplaySaysSoOnStderr) {
  EXPECT_EQ(Run(), ExitStatus::NoDisplay);
  EXPECT_EQ(p.process.diagnostics,
            "Morlane_Config: no display available (DISPLAY, WAYLAND_DISPLAY and "
            "QT_QPA_PLATFORM are unset); nothing was stored\n");
  EXPECT_EQ(provider.loads, 0);
  EXPECT_FALSE(testing::FileExistsOnDisk(p.process.servicePackLog));
}

TEST_F(ProgramTest, WindowModuleThatCannotBeStartedEndsWithoutStoring) {
  provider.display = true;
  provider.loadable = false;
  EXPECT_EQ(Run(), ExitStatus::NoDisplay);
  EXPECT_EQ(p.process.diagnostics,
            "Morlane_Config: the window cannot be started; nothing was stored\n");

  p.process.commandLine = "/EXTERNAL=SILENT";
  p.Write("parameter/Program.ini",
          "[Project]\r\nNumberOfMachines=2\r\nOrderOfServiceCounter1=1\r\n"
          "OrderOfServiceCounter2=1\r\n");
  EXPECT_EQ(Run(), ExitStatus::NotStored);
  EXPECT_EQ(p.ServicePackLog(), "! Fault Morlane_Config: Mehrfachnennungen nicht erlaubt!\r\n");
}

// A GUI that turns out unable to show anything: every box's text reaches the service-pack log,
// and the run ends as without a display.
TEST_F(ProgramTest, BoxesThatCannotBeShownAreLoggedAndEndTheRunAsWithoutDisplay) {
  provider.display = true;
  provider.gui.unusable = true;
  EXPECT_EQ(Run(), ExitStatus::NoDisplay);  // the window
  EXPECT_EQ(p.process.diagnostics, "Morlane_Config: no interactive desktop; nothing was stored\n");
  EXPECT_FALSE(testing::FileExistsOnDisk(p.process.servicePackLog));

  std::filesystem::remove(p.CfgFile());  // a box before the window
  EXPECT_EQ(Run(), ExitStatus::NoDisplay);
  EXPECT_EQ(p.ServicePackLog(),
            "! Fault Morlane_Config: File not found: \n\r" + p.CfgFile() + "\r\n");

  std::filesystem::remove(p.process.servicePackLog);
  p.Write("Morlane/Morlane.cfg", "[Project]\r\nForMachine1=true\r\nForMachine2=true\r\n");
  p.Write("parameter/Program.ini",
          "[Project]\r\nNumberOfMachines=2\r\nOrderOfServiceCounter1=1\r\n"
          "OrderOfServiceCounter2=1\r\n");
  p.process.commandLine = "/EXTERNAL=SILENT";  // a silent run that needs a box
  EXPECT_EQ(Run(), ExitStatus::NotStored);
  EXPECT_EQ(p.ServicePackLog(), "! Fault Morlane_Config: Mehrfachnennungen nicht erlaubt!\r\n");
}

TEST_F(ProgramTest, WithADisplayTheWindowRunsAndMessagesGoToTheGui) {
  provider.display = true;
  EXPECT_EQ(Run(), ExitStatus::Stored);
  EXPECT_EQ(provider.gui.windows, 1);

  p.process.commandLine = "/EXTERNAL=SILENT";
  p.Write("parameter/Program.ini",
          "[Project]\r\nNumberOfMachines=2\r\nOrderOfServiceCounter1=1\r\n"
          "OrderOfServiceCounter2=1\r\n");
  EXPECT_EQ(Run(), ExitStatus::Stored);
  EXPECT_EQ(provider.gui.messages, std::vector<std::string>{"Mehrfachnennungen nicht erlaubt!"});
  EXPECT_EQ(provider.gui.windows, 2);

  // A window that cannot be made says why, in a box or (silent) in the service-pack log.
  provider.gui.windowFailure = "Not enough memory (8)";
  provider.gui.messages.clear();
  p.process.commandLine = "";
  EXPECT_EQ(Run(), ExitStatus::NotStored);
  EXPECT_EQ(provider.gui.messages,
            std::vector<std::string>{"The window cannot be created: Not enough memory (8)"});
  EXPECT_EQ(p.ServicePackLog(), "");
  p.process.commandLine = "/EXTERNAL=SILENT";
  EXPECT_EQ(Run(), ExitStatus::NotStored);
  EXPECT_EQ(p.ServicePackLog(),
            "! Fault Morlane_Config: The window cannot be created: Not enough memory (8)\r\n");
}

}  // namespace
}  // namespace morlane
