#include "form/form.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "support/project.h"

namespace morlane::form {
namespace {

using platform::Choice;
using platform::ExitStatus;
using platform::Icon;
using Strings = std::vector<std::string>;

constexpr std::optional<ExitStatus> kStillOpen;

const std::string kProgramIni =
    "[Project]\r\nNumberOfMachines=3\r\nOrderOfServiceCounter1=1\r\nOrderOfServiceCounter3=7\r\n"
    "[Machine1]\r\nMachineName=Filler\r\n[Machine2]\r\nMachineName=Labeler\r\n"
    "[Machine3]\r\nMachineName=Cartoner\r\n";
const std::string kCfg = "[Project]\r\nForMachine1=true\r\nForMachine3=TRUE\r\n";

class FormTest : public ::testing::Test {
 protected:
  FormTest() {
    p.Write("parameter/Program.ini", kProgramIni);
    p.Write("Morlane/Morlane.cfg", kCfg);
    p.process.environment = {"USER=ab"};
  }

  // Each answers the exit status when it ended the process, else kStillOpen.
  std::optional<ExitStatus> Load() {
    return testing::ExitOf([&] { form.Form_Load(); });
  }
  std::optional<ExitStatus> Ok() {
    return testing::ExitOf([&] { form.CommandOK_Click(); });
  }
  std::optional<ExitStatus> Cancel() {
    return testing::ExitOf([&] { form.CommandCancel_Click(); });
  }

  std::string Stamped(const std::string& mode = "Standalone") {
    return kCfg + "[Info]\r\nS_Prog=1.0.0 - " + mode + "\r\nS_Editor=6667\r\n";
  }

  testing::Project p;
  Session& s = p.session;
  frm_Morlane_Exe form{s};
};

TEST_F(FormTest, StandaloneStartFillsTheRowsFromCfgAndProgramIni) {
  ASSERT_EQ(Load(), kStillOpen);
  EXPECT_EQ(form.caption, "Erweiterte Konfiguration Config - standalone");
  EXPECT_TRUE(form.CommandOK().enabled);
  EXPECT_TRUE(form.CommandCancel().enabled);

  EXPECT_EQ(form.Label(1).caption, "Maschine 1  (Filler)");
  EXPECT_TRUE(form.Label(1).enabled);
  EXPECT_EQ(form.ComboOrder(1).items, (Strings{"0", "1", "2", "3"}));
  EXPECT_EQ(form.ComboOrder(1).text, "1");
  EXPECT_TRUE(form.ComboOrder(1).enabled);
  // A stored position outside the list is shown as stored.
  EXPECT_EQ(form.ComboOrder(3).text, "7");
  // Machine 2 has no service counter; machines 4 and 5 do not exist.
  for (int n : {2, 4, 5}) {
    EXPECT_EQ(form.Label(n).caption, "Maschine " + std::to_string(n) + "  ( none )");
    EXPECT_FALSE(form.Label(n).enabled);
    EXPECT_EQ(form.ComboOrder(n).text, "-");
    EXPECT_FALSE(form.ComboOrder(n).enabled);
    EXPECT_TRUE(form.ComboOrder(n).items.empty());
  }
  EXPECT_TRUE(p.dialogs.shown.empty());
}

TEST_F(FormTest, OkStoresTheValidRowsAndTheStampThenEnds) {
  Load();
  form.ComboOrder(1).text = "2";
  EXPECT_EQ(Ok(), ExitStatus::Stored);
  EXPECT_EQ(p.Read("parameter/Program.ini"),
            "[Project]\r\nNumberOfMachines=3\r\nOrderOfServiceCounter1=2\r\n"
            "OrderOfServiceCounter3=7\r\n[Machine1]\r\nMachineName=Filler\r\n[Machine2]\r\n"
            "MachineName=Labeler\r\n[Machine3]\r\nMachineName=Cartoner\r\n");
  EXPECT_EQ(p.Read("Morlane/Morlane.cfg"), Stamped());
  EXPECT_FALSE(form.CommandOK().enabled);
  EXPECT_TRUE(p.dialogs.shown.empty());
}

TEST_F(FormTest, SilentStartStoresAndEndsWithoutTheWindow) {
  p.process.commandLine = "/EXTERNAL=SILENT";
  EXPECT_EQ(Load(), ExitStatus::Stored);
  EXPECT_NE(p.Read("parameter/Program.ini").find("OrderOfServiceCounter1=1\r\n"),
            std::string::npos);
  EXPECT_EQ(p.Read("Morlane/Morlane.cfg"), Stamped());
  EXPECT_TRUE(p.dialogs.shown.empty());
}

TEST_F(FormTest, SilentStartWithADuplicateShowsTheMessageAndKeepsTheWindow) {
  p.process.commandLine = "/EXTERNAL=SILENT";
  p.Write("parameter/Program.ini",
          "[Project]\r\nNumberOfMachines=3\r\nOrderOfServiceCounter1=1\r\nOrderOfServiceCounter3="
          "1\r\n");
  p.dialogs.answers = {Choice::Ok};
  EXPECT_EQ(Load(), kStillOpen);
  EXPECT_EQ(p.dialogs.Texts(), Strings{"Mehrfachnennungen nicht erlaubt!"});
  EXPECT_EQ(form.caption, "Erweiterte Konfiguration Config - standalone");
  EXPECT_TRUE(form.CommandOK().enabled);
  EXPECT_TRUE(form.CommandCancel().enabled);
  EXPECT_EQ(p.Read("Morlane/Morlane.cfg"), kCfg);
  // The close box of that window ends without asking.
  bool cancel = false;
  form.Form_QueryUnload(cancel, 0);
  EXPECT_FALSE(cancel);
  EXPECT_EQ(p.dialogs.shown.size(), 1u);
}

TEST_F(FormTest, DuplicatesAreRefusedByValueAndNothingIsWritten) {
  Load();
  const std::string before = p.Read("parameter/Program.ini");
  // The focus goes where the fault is: the box that is no whole number, or the first box of
  // a position given twice.
  struct FocusHost : FormHost {
    std::vector<std::size_t> focused;
    void FocusControl(std::size_t n) override { focused.push_back(n); }
  } host;
  form.SetHost(&host);
  const struct {
    const char* row1;
    const char* row3;
    const char* message;
    int focusRow;
  } refused[] = {{"1", "1", "Mehrfachnennungen nicht erlaubt!", 1},
                 {"2", "02", "Mehrfachnennungen nicht erlaubt!", 1},
                 {"-1", "-1", "Mehrfachnennungen nicht erlaubt!", 1},
                 {"abc", "1", "Nur ganze Zahlen erlaubt!", 1},
                 {"", "1", "Nur ganze Zahlen erlaubt!", 1},
                 {"1", "40000", "Nur ganze Zahlen erlaubt!", 3},
                 {"3", "x", "Nur ganze Zahlen erlaubt!", 3},
                 {"1.5", "2", "Nur ganze Zahlen erlaubt!", 1}};
  for (const auto& c : refused) {
    host.focused.clear();
    p.dialogs.shown.clear();
    p.dialogs.answers = {Choice::Ok};
    form.ComboOrder(1).text = c.row1;
    form.ComboOrder(3).text = c.row3;
    EXPECT_EQ(Ok(), kStillOpen) << c.row1 << " " << c.row3;
    ASSERT_EQ(p.dialogs.shown.size(), 1u);
    EXPECT_EQ(p.dialogs.shown[0].text, c.message);
    EXPECT_EQ(p.dialogs.shown[0].icon, Icon::Warning);
    EXPECT_EQ(p.dialogs.shown[0].title, "");  // the application's title
    // The window stays for correction, with the texts as typed.
    EXPECT_TRUE(form.CommandOK().enabled);
    EXPECT_TRUE(form.CommandCancel().enabled);
    EXPECT_FALSE(form.busyCursor);
    EXPECT_EQ(form.ComboOrder(1).text, c.row1);
    EXPECT_EQ(form.ComboOrder(3).text, c.row3);
    ASSERT_EQ(host.focused.size(), 1u);
    EXPECT_EQ(&form.controls[host.focused[0]], &form.ComboOrder(c.focusRow)) << c.row1 << c.row3;
  }
  form.SetHost(nullptr);
  EXPECT_EQ(p.Read("parameter/Program.ini"), before);
  EXPECT_EQ(p.Read("Morlane/Morlane.cfg"), kCfg);
}

TEST_F(FormTest, ZerosMayRepeatAndTextsAreWrittenAsTyped) {
  Load();
  form.ComboOrder(1).text = "0";
  form.ComboOrder(3).text = "00";
  EXPECT_EQ(Ok(), ExitStatus::Stored);
  const std::string ini = p.Read("parameter/Program.ini");
  EXPECT_NE(ini.find("OrderOfServiceCounter1=0\r\nOrderOfServiceCounter3=00\r\n"),
            std::string::npos);
}

TEST_F(FormTest, NoMachinesStoresOnlyTheStamp) {
  p.Write("parameter/Program.ini", "[Project]\r\n");
  Load();
  for (int n = 1; n <= 5; ++n)
    EXPECT_EQ(form.ComboOrder(n).text, "-");
  EXPECT_EQ(Ok(), ExitStatus::Stored);
  EXPECT_EQ(p.Read("parameter/Program.ini"), "[Project]\r\n");
  EXPECT_EQ(p.Read("Morlane/Morlane.cfg"), Stamped());
}

TEST_F(FormTest, MachinesAboveFiveGetNoRowAndNoFailure) {
  std::string ini = "[Project]\r\nNumberOfMachines=7\r\n";
  for (int n = 1; n <= 7; ++n)
    ini += "OrderOfServiceCounter" + std::to_string(n) + "=0\r\n";
  p.Write("parameter/Program.ini", ini);
  std::string cfg = "[Project]\r\n";
  for (int n = 1; n <= 7; ++n)
    cfg += "ForMachine" + std::to_string(n) + "=true\r\n";
  p.Write("Morlane/Morlane.cfg", cfg);
  Load();
  EXPECT_EQ(form.ComboOrder(5).items.size(), 8u);  // "0" to "7"
  form.ComboOrder(5).text = "5";
  EXPECT_EQ(Ok(), ExitStatus::Stored);
  EXPECT_TRUE(p.dialogs.shown.empty());
  EXPECT_NE(p.Read("parameter/Program.ini")
                .find("OrderOfServiceCounter5=5\r\n"
                      "OrderOfServiceCounter6=0\r\n"),
            std::string::npos);
}

TEST_F(FormTest, IntegratedStartReadsTheWorkingCopyAndWritesTheProject) {
  p.process.commandLine = "/EXTERNAL=M4TCFG /LOGFILE=" + p.Path("host.log");
  p.Write("parameter/m4tconfiguration.ini",
          "[Common]\r\nSaveAndRestore=" + p.Path("work") +
              "\r\nNameM1=Packer\r\nNameM2=Pack\r\nNameM3=Filler\r\nNameM4=-\r\n");
  p.Write("work/parameter/program.ini",
          "[Project]\r\nOrderOfServiceCounter1=3\r\nOrderOfServiceCounter2=2\r\n");
  p.Write("parameter/Program.ini", "[Project]\r\n");
  p.Write("Morlane/Morlane.cfg", "[Project]\r\nValidMachines=Packer2\r\n");
  Load();
  EXPECT_EQ(form.caption, "Erweiterte Konfiguration Config - integriert");
  // "Packer2" names neither Packer nor Pack as such, but both are contained in it.
  EXPECT_EQ(form.Label(1).caption, "Maschine 1  (Packer)");
  EXPECT_EQ(form.Label(2).caption, "Maschine 2  (Pack)");
  EXPECT_EQ(form.Label(3).caption, "Maschine 3  ( none )");
  EXPECT_EQ(form.ComboOrder(1).text, "3");
  EXPECT_EQ(form.ComboOrder(2).text, "2");
  EXPECT_EQ(Ok(), ExitStatus::Stored);
  EXPECT_EQ(p.Read("parameter/Program.ini"),
            "[Project]\r\nOrderOfServiceCounter1=3\r\nOrderOfServiceCounter2=2\r\n");
  EXPECT_EQ(p.Read("work/parameter/program.ini"),
            "[Project]\r\nOrderOfServiceCounter1=3\r\nOrderOfServiceCounter2=2\r\n");
  EXPECT_NE(p.Read("Morlane/Morlane.cfg").find("S_Prog=1.0.0 - Integrated\r\n"), std::string::npos);

  // ALL in any case makes every machine valid.
  p.Write("Morlane/Morlane.cfg", "[Project]\r\nValidMachines=all\r\n");
  frm_Morlane_Exe again(s);
  again.Form_Load();
  EXPECT_TRUE(again.ComboOrder(3).enabled);
}

TEST_F(FormTest, AStoreThatCannotBeWrittenIsReportedAndNeverClaimed) {
  Load();
  // No program ini to write to: reported naming the file, the window stays, no stamp.
  std::remove(p.ProgramIni().c_str());
  p.dialogs.answers = {Choice::Yes};
  EXPECT_EQ(Ok(), kStillOpen);
  ASSERT_EQ(p.dialogs.shown.size(), 1u);  // once, not once per row
  EXPECT_NE(p.dialogs.shown[0].text.find("Path/File access error: " + p.ProgramIni()),
            std::string::npos);
  EXPECT_TRUE(form.CommandOK().enabled);
  EXPECT_EQ(p.Read("Morlane/Morlane.cfg"), kCfg);

  // A stamp that cannot be written keeps the window open too.
  p.Write("parameter/Program.ini", kProgramIni);
  p.profile.failing = {p.CfgFile()};
  p.dialogs.shown.clear();
  p.dialogs.answers = {Choice::Yes, Choice::Yes};
  EXPECT_EQ(Ok(), kStillOpen);
  EXPECT_EQ(p.dialogs.shown.size(), 2u);  // S_Prog and S_Editor
  EXPECT_TRUE(form.CommandCancel().enabled);
}

TEST_F(FormTest, SilentStoreThatFailsKeepsTheWindowAndLogs) {
  p.process.commandLine = "/EXTERNAL=SILENT";
  p.profile.failing = {p.ProgramIni()};
  EXPECT_EQ(Load(), kStillOpen);
  EXPECT_TRUE(p.dialogs.shown.empty());
  EXPECT_NE(p.ServicePackLog().find("Path/File access error: " + p.ProgramIni()),
            std::string::npos);
  EXPECT_EQ(p.Read("Morlane/Morlane.cfg"), kCfg);
}

TEST_F(FormTest, CancelAskedNoKeepsEditsYesLogsAndEnds) {
  Load();
  form.ComboOrder(1).text = "3";
  p.dialogs.answers = {Choice::No};
  EXPECT_EQ(Cancel(), kStillOpen);
  EXPECT_EQ(form.ComboOrder(1).text, "3");
  ASSERT_EQ(p.dialogs.shown.size(), 1u);
  const auto& box = p.dialogs.shown[0];
  EXPECT_EQ(box.text, "Cancel edits?\n\rRemark:\n\rUntil now no changes have been taken over ");
  EXPECT_EQ(box.title, "Cancel?");
  EXPECT_EQ(box.icon, Icon::Warning);
  EXPECT_EQ(box.defaultButton, Choice::No);
  EXPECT_FALSE(testing::FileExistsOnDisk(p.ErrorLog()));

  p.dialogs.answers = {Choice::Yes};
  EXPECT_EQ(Cancel(), ExitStatus::Stored);
  EXPECT_EQ(testing::ReadFile(p.ErrorLog()),
            "Konfigurations-EXE wurde abgebrochen:     Morlane\r\n");
  EXPECT_FALSE(testing::FileExistsOnDisk(p.process.servicePackLog));
  EXPECT_EQ(p.Read("parameter/Program.ini"), kProgramIni);
}

TEST_F(FormTest, IntegratedCancelQuestionSaysHowToConfigureAgain) {
  p.process.commandLine = "/EXTERNAL=M4TCFG";
  Load();
  bool cancel = false;
  p.dialogs.answers = {Choice::No};
  form.Form_QueryUnload(cancel, 0);
  EXPECT_TRUE(cancel);
  EXPECT_EQ(p.dialogs.shown.at(0).text,
            "Cancel edits?\n\rRemark:\n\rUntil now no changes have been taken over \n\r"
            "\"Morlane\" has to be configured again in \"standalone-mode\" via \n\r\"" +
                p.Path("Config") + "/Morlane_Config\"");
}

TEST_F(FormTest, SilentCancelLogsTheQuestionInsteadOfAsking) {
  p.process.commandLine = "/EXTERNAL=SILENT";
  s.SilentMode = true;
  bool cancel = false;
  form.Form_QueryUnload(cancel, 0);
  EXPECT_FALSE(cancel);
  EXPECT_EQ(p.ServicePackLog(),
            "! Fault Morlane_Config: Cancel edits?\n\rRemark:\n\r"
            "Until now no changes have been taken over \r\n");
  EXPECT_FALSE(testing::FileExistsOnDisk(p.ErrorLog()));
}

TEST_F(FormTest, HelpModeGuardsOkAndCancelButNotTheCloseBox) {
  Load();
  s.HelpTexts[1] = "Store<crlf>and end";
  s.HelpTexts[2] = "Discard";
  form.CommandQuest_Click();
  EXPECT_TRUE(s.HelpMode);
  EXPECT_EQ(form.CommandQuest().backColor, kPureGreen);
  EXPECT_EQ(form.CommandQuest().pressed, true);  // the state a screen reader tells
  p.dialogs.answers = {Choice::Ok, Choice::Ok, Choice::No};
  EXPECT_EQ(Ok(), kStillOpen);
  EXPECT_EQ(Cancel(), kStillOpen);
  bool cancel = false;
  form.Form_QueryUnload(cancel, 0);
  EXPECT_TRUE(cancel);
  ASSERT_EQ(p.dialogs.shown.size(), 3u);
  EXPECT_EQ(p.dialogs.shown[0].text, "Store\r\nand end");
  EXPECT_EQ(p.dialogs.shown[0].title, "Info:");
  EXPECT_EQ(p.dialogs.shown[0].icon, Icon::Information);
  EXPECT_EQ(p.dialogs.shown[1].text, "Discard");
  EXPECT_EQ(p.dialogs.shown[2].title, "Cancel?");
  EXPECT_EQ(p.Read("Morlane/Morlane.cfg"), kCfg);

  form.CommandQuest_Click();
  EXPECT_FALSE(s.HelpMode);
  EXPECT_EQ(form.CommandQuest().backColor, kLightGrey);
  EXPECT_EQ(form.CommandQuest().pressed, false);
  EXPECT_EQ(Ok(), ExitStatus::Stored);
}

TEST_F(FormTest, FailingCancelConfirmationKeepsTheWindowOnCloseAndEndsOnCancel) {
  Load();
  // The question box itself fails; the user resumes the report.
  p.dialogs.failures = 1;
  p.dialogs.answers = {Choice::Yes};
  bool cancel = false;
  form.Form_QueryUnload(cancel, 0);
  EXPECT_TRUE(cancel);
  EXPECT_EQ(p.dialogs.shown.at(0).title, "Unexpected error");

  p.dialogs.failures = 1;
  p.dialogs.answers = {Choice::Yes};
  EXPECT_EQ(Cancel(), ExitStatus::Stored);
}

TEST_F(FormTest, MissingCfgFileEndsTheStart) {
  std::remove(p.CfgFile().c_str());
  p.dialogs.answers = {Choice::Ok};
  EXPECT_EQ(Load(), ExitStatus::NotStored);
  EXPECT_EQ(p.dialogs.Texts(), Strings{"File not found: \n\r" + p.CfgFile()});
}

TEST_F(FormTest, ActivationEnablesOkAndResizeChangesNothing) {
  form.Form_Activate();
  EXPECT_TRUE(form.CommandOK().enabled);
  const auto before = form.controls;
  form.Form_Resize();
  EXPECT_EQ(form.controls.size(), before.size());
  EXPECT_EQ(form.Label(1).top, before[9].top);
}

}  // namespace
}  // namespace morlane::form
