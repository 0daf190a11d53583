#include "config/editinfo.h"

#include <gtest/gtest.h>

#include "support/project.h"

namespace morlane {
namespace {

using platform::Choice;

TEST(EncodeEditor, EachCodePlusFiveInHexWithoutDashesAndUnderscores) {
  EXPECT_EQ(EncodeEditor("abc"), "666768");
  EXPECT_EQ(EncodeEditor("a-b_c"), "666768");
  EXPECT_EQ(EncodeEditor(" "), "25");
  EXPECT_EQ(EncodeEditor("A"), "46");
  EXPECT_EQ(EncodeEditor("\t"), "E");
  EXPECT_EQ(EncodeEditor("\xff\xfb"), "104100");  // 255 + 5 and 251 + 5: three digits
  EXPECT_EQ(EncodeEditor("-_-"), "");
}

class EditInfoTest : public ::testing::Test {
 protected:
  EditInfoTest() {
    p.Write("Morlane/Morlane.cfg", "[Project]\r\nForMachine1=true\r\n");
    p.process.environment = {"USERNAME=J\xf6rg-1", "PATH=/bin"};
    p.process.version = {2, 10, 3};
  }
  testing::Project p;
  Session& s = p.session;
};

TEST_F(EditInfoTest, StampHoldsVersionModeAndTheEncodedFirstEnvironmentValue) {
  EXPECT_TRUE(WriteEditInfo(s));
  EXPECT_EQ(p.Read("Morlane/Morlane.cfg"),
            "[Project]\r\nForMachine1=true\r\n"
            "[Info]\r\nS_Prog=2.10.3 - Standalone\r\nS_Editor=4FFB776C36\r\n");

  // A second stamp replaces both keys; integrated mode names itself.
  s.IntegratedMode = true;
  p.process.environment = {"EMPTY="};
  EXPECT_TRUE(WriteEditInfo(s));
  EXPECT_EQ(p.Read("Morlane/Morlane.cfg"),
            "[Project]\r\nForMachine1=true\r\n"
            "[Info]\r\nS_Prog=2.10.3 - Integrated\r\nS_Editor=\r\n");
}

TEST_F(EditInfoTest, EntryWithoutEqualsSignOrNoEnvironment) {
  p.process.environment = {"ab"};
  WriteEditInfo(s);
  EXPECT_NE(p.Read("Morlane/Morlane.cfg").find("S_Editor=6667\r\n"), std::string::npos);
  p.process.environment = {};
  WriteEditInfo(s);
  EXPECT_NE(p.Read("Morlane/Morlane.cfg").find("S_Editor=\r\n"), std::string::npos);
}

TEST_F(EditInfoTest, UnwritableStampIsReportedAndNeverClaimed) {
  for (const bool inUse : {false, true}) {
    SCOPED_TRACE(inUse ? "locked by another run" : "unwritable");
    p.dialogs.shown.clear();
    (inUse ? p.profile.busy : p.profile.failing) = {p.CfgFile()};
    p.dialogs.answers = {Choice::Yes, Choice::Yes};
    EXPECT_FALSE(WriteEditInfo(s));
    // Both keys are tried; each failure is reported once, naming the file (and why, when
    // another run held the file's lock for too long).
    ASSERT_EQ(p.dialogs.shown.size(), 2u);
    EXPECT_NE(p.dialogs.shown[0].text.find(
                  "Path/File access error: " + p.CfgFile() +
                  (inUse ? " (the project is in use: another run holds this file's lock)" : "")),
              std::string::npos);
    EXPECT_EQ(p.Read("Morlane/Morlane.cfg"), "[Project]\r\nForMachine1=true\r\n");
  }
}

}  // namespace
}  // namespace morlane
