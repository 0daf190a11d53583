#include <gtest/gtest.h>

#include "config/locations.h"
#include "support/project.h"

namespace morlane {
namespace {

using platform::Choice;

class PathsTest : public ::testing::Test {
 protected:
  testing::Project p;
  Session& s = p.session;
};

TEST_F(PathsTest, ProductConfigurationIniIsFoundBesideTheProgramFolder) {
  EXPECT_EQ(GetM4TConfigurationIniPath(s), "");
  p.Write("Parameter/M4TConfiguration.INI", "[Common]\r\n");
  // File names ignore case, as on the plant's PCs.
  EXPECT_EQ(GetM4TConfigurationIniPath(s), p.ConfigurationIni());
}

TEST_F(PathsTest, ProgramIniIsReadFromTheWorkingCopyOnlyWhenIntegrated) {
  p.Write("parameter/Program.ini", "[Project]\r\n");
  p.Write("work/parameter/program.ini", "[Project]\r\n");
  const std::string workingCopy = p.Path("work/parameter/program.ini");

  EXPECT_EQ(GetProgramIniPath(s, IniAccess::Read), p.ProgramIni());
  EXPECT_EQ(GetProgramIniPath(s, IniAccess::Write), p.ProgramIni());

  s.IntegratedMode = true;
  // Without a product configuration ini the candidate is /parameter/program.ini: absent.
  EXPECT_EQ(GetProgramIniPath(s, IniAccess::Read), "");
  for (const std::string& saveAndRestore : {p.Path("work"), p.Path("work") + "/"}) {
    p.Write("parameter/m4tconfiguration.ini",
            "[Common]\r\nSaveAndRestore=" + saveAndRestore + "\r\n");
    EXPECT_EQ(GetProgramIniPath(s, IniAccess::Read), workingCopy) << saveAndRestore;
    EXPECT_EQ(GetProgramIniPath(s, IniAccess::Write), p.ProgramIni());
  }

  s.IntegratedMode = false;
  s.SilentMode = true;
  EXPECT_EQ(GetProgramIniPath(s, IniAccess::Read), p.ProgramIni());
  std::remove(p.ProgramIni().c_str());
  EXPECT_EQ(GetProgramIniPath(s, IniAccess::Write), "");
  EXPECT_TRUE(p.dialogs.shown.empty());
}

TEST_F(PathsTest, CfgFileIsNamedAfterTheComponent) {
  p.Write("Morlane/Morlane.cfg", "");
  EXPECT_EQ(GetCFGPath(s), p.CfgFile());
}

TEST_F(PathsTest, MissingCfgFileIsReportedAndEndsTheProcess) {
  p.dialogs.answers = {Choice::Ok};
  EXPECT_THROW(GetCFGPath(s), platform::ProcessEnded);
  ASSERT_EQ(p.dialogs.shown.size(), 1u);
  EXPECT_EQ(p.dialogs.shown[0].text, "File not found: \n\r" + p.CfgFile());
  EXPECT_EQ(p.dialogs.shown[0].icon, platform::Icon::Critical);
  EXPECT_FALSE(testing::FileExistsOnDisk(p.ErrorLog()));

  s.SilentMode = true;
  EXPECT_EQ(testing::ExitOf([&] { GetCFGPath(s); }), platform::ExitStatus::NotStored);
  EXPECT_EQ(p.ServicePackLog(),
            "! Fault Morlane_Config: File not found: \n\r" + p.CfgFile() + "\r\n");
  EXPECT_EQ(p.dialogs.shown.size(), 1u);
}

TEST_F(PathsTest, SevenCharacterBaseNameLooksForAnUnnamedCfgFile) {
  p.process.baseName = "_Config";
  p.dialogs.answers = {Choice::Ok};
  EXPECT_THROW(GetCFGPath(s), platform::ProcessEnded);
  EXPECT_EQ(p.dialogs.shown.at(0).text, "File not found: \n\r" + p.Path("/.cfg"));
}

}  // namespace
}  // namespace morlane
