#include "config/machines.h"

#include <gtest/gtest.h>

#include "support/project.h"

namespace morlane {
namespace {

using Names = std::vector<std::string>;

class MachinesTest : public ::testing::Test {
 protected:
  MachinesTest() {
    p.Write("Morlane/Morlane.cfg", "[Project]\r\nValidMachines=Filler,Cartoner\r\n");
  }
  void Integrated(const std::string& common) {
    s.IntegratedMode = true;
    p.Write("parameter/m4tconfiguration.ini", "[Common]\r\n" + common);
    GetExistingMachines(s, p.ConfigurationIni());
  }
  void Standalone(const std::string& program) {
    p.Write("parameter/Program.ini", program);
    GetExistingMachines(s, "");
  }
  testing::Project p;
  Session& s = p.session;
};

TEST_F(MachinesTest, IntegratedListEndsAtTheFirstDashOrGap) {
  Integrated("NameM1=Filler\r\nNameM2=Cartoner\r\nNameM3=-\r\nNameM4=Late\r\n");
  EXPECT_EQ(s.MachineNames, (Names{"", "Filler", "Cartoner"}));
  EXPECT_EQ(s.NumberOfMachines(), 2);
}

TEST_F(MachinesTest, IntegratedListHasAtMostFiveMachines) {
  Integrated("NameM1=a\r\nNameM2=b\r\nNameM3=c\r\nNameM4=d\r\nNameM5=e\r\nNameM6=f\r\n");
  EXPECT_EQ(s.NumberOfMachines(), 5);
}

TEST_F(MachinesTest, IntegratedGapAfterTheFirstMachine) {
  Integrated("NameM1=Filler\r\nNameM3=Third\r\n");
  EXPECT_EQ(s.MachineNames, (Names{"", "Filler"}));
}

TEST_F(MachinesTest, IntegratedWithoutProductConfigurationLeavesTheListEmpty) {
  s.IntegratedMode = true;
  GetExistingMachines(s, "");
  EXPECT_TRUE(s.MachineNames.empty());
  GetExistingMachines(s, p.Path("parameter/none.ini"));
  EXPECT_TRUE(s.MachineNames.empty());
  EXPECT_EQ(s.NumberOfMachines(), 0);
}

TEST_F(MachinesTest, StandaloneHasAsManyMachinesAsTheProgramIniSays) {
  Standalone(
      "[Project]\r\nNumberOfMachines=3\r\n[Machine1]\r\nMachineName= Filler \r\n"
      "[Machine3]\r\nMachineName=Packer\r\n");
  EXPECT_EQ(s.MachineNames, (Names{"", "Filler", "", "Packer"}));
}

TEST_F(MachinesTest, StandaloneWithoutCountHasNoMachinesAndSevenMeansSeven) {
  Standalone("[Project]\r\n");
  EXPECT_TRUE(s.MachineNames.empty());
  Standalone("[Project]\r\nNumberOfMachines=0\r\n");
  EXPECT_TRUE(s.MachineNames.empty());
  // Only the machines that get a row have their names read: a huge count costs no lookups.
  Standalone("[Project]\r\nNumberOfMachines=7\r\n[Machine5]\r\nMachineName=Five\r\n"
             "[Machine6]\r\nMachineName=Six\r\n");
  EXPECT_EQ(s.NumberOfMachines(), 7);
  EXPECT_EQ(s.MachineNames, (Names{"", "", "", "", "", "Five", "", ""}));
}

TEST_F(MachinesTest, SilentReadsTheProgramIniLikeStandalone) {
  s.SilentMode = true;
  p.Write("parameter/m4tconfiguration.ini", "[Common]\r\nNameM1=FromHost\r\n");
  Standalone("[Project]\r\nNumberOfMachines=1\r\n[Machine1]\r\nMachineName=FromProgram\r\n");
  EXPECT_EQ(s.MachineNames, (Names{"", "FromProgram"}));
}

TEST_F(MachinesTest, ValidMachinesTextIsReturnedUnchanged) {
  EXPECT_EQ(GetValidMachines(s), "Filler,Cartoner");
  p.Write("Morlane/Morlane.cfg", "[Project]\r\n");
  EXPECT_EQ(GetValidMachines(s), "");
  EXPECT_TRUE(p.dialogs.shown.empty());
}

}  // namespace
}  // namespace morlane
