#include "config/ini.h"

#include <gtest/gtest.h>

#include "support/project.h"

namespace morlane {
namespace {

using platform::Choice;

class IniTest : public ::testing::Test {
 protected:
  IniTest() { p.Write("parameter/.keep", ""); }
  std::string Ini() { return p.Path("parameter/test.ini"); }
  testing::Project p;
  Session& s = p.session;
};

TEST_F(IniTest, MissingValuesReadEmptyMinusOneOrFalseWithoutAReport) {
  const std::string missing = p.Path("parameter/none.ini");
  EXPECT_EQ(LoadIniString(s, "Project", "X", missing), "");
  EXPECT_EQ(LoadIniInteger(s, "Project", "X", missing), -1);
  EXPECT_FALSE(LoadIniBoolean(s, "Project", "X", missing));
  EXPECT_TRUE(p.dialogs.shown.empty());
  EXPECT_FALSE(testing::FileExistsOnDisk(p.ErrorLog()));
}

// A file that exists but cannot be read is not a missing file: each reader reports it as a
// file access error naming the file, and then goes on as if it were missing.
// Once per run and file, not once per value read from it.
TEST_F(IniTest, UnreadableFileIsReportedOnceAsAccessError) {
  p.Write("parameter/test.ini", "[Project]\r\nX=TRUE\r\n");
  p.profile.unreadable = {Ini()};
  p.dialogs.answers = {Choice::Yes};
  EXPECT_EQ(LoadIniString(s, "Project", "X", Ini()), "");
  EXPECT_EQ(LoadIniInteger(s, "Project", "X", Ini()), 0);
  EXPECT_FALSE(LoadIniBoolean(s, "Project", "X", Ini()));
  ASSERT_EQ(p.dialogs.shown.size(), 1u);
  for (const auto& box : p.dialogs.shown) {
    EXPECT_NE(box.text.find("Path/File access error: " + Ini()), std::string::npos) << box.text;
  }
  EXPECT_NE(testing::ReadFile(p.ErrorLog()).find("(Nr. 75) :Path/File access error: " + Ini()),
            std::string::npos);
}

TEST_F(IniTest, EmptyValueAndStoredMinusOneReadAsMissing) {
  p.Write("parameter/test.ini", "[Project]\r\nE=\r\nM=-1\r\nZ=0\r\n");
  EXPECT_EQ(LoadIniString(s, "Project", "E", Ini()), "");
  EXPECT_EQ(LoadIniInteger(s, "Project", "M", Ini()), -1);
  EXPECT_EQ(LoadIniInteger(s, "Project", "Z", Ini()), 0);
  EXPECT_TRUE(p.dialogs.shown.empty());
}

TEST_F(IniTest, LongValuesAreCutTo254Characters) {
  p.Write("parameter/test.ini", "[A]\r\nlong=" + std::string(300, 'x') + "\r\n");
  EXPECT_EQ(LoadIniString(s, "a", "LONG", Ini()), std::string(254, 'x'));
}

TEST_F(IniTest, BooleansAreTrueOnlyForTrueInAnyCase) {
  p.Write("parameter/test.ini",
          "[B]\r\nt1=true\r\nt2=True\r\nt3=TRUE\r\nf1=FALSE\r\nf2=no\r\nf3=1\r\nf4=\r\n");
  for (const char* key : {"t1", "t2", "t3"}) {
    EXPECT_TRUE(LoadIniBoolean(s, "B", key, Ini())) << key;
  }
  for (const char* key : {"f1", "f2", "f3", "f4"}) {
    EXPECT_FALSE(LoadIniBoolean(s, "B", key, Ini())) << key;
  }
  EXPECT_TRUE(p.dialogs.shown.empty());  // "no", "1" and the empty value are no failure
}

TEST_F(IniTest, IntegersOutside16BitsAreAnOverflowThatResumesWithZero) {
  p.Write("parameter/test.ini", "[I]\r\nbig=32768\r\nlow=-32769\r\nmin=-32768\r\nmax=32767\r\n");
  EXPECT_EQ(LoadIniInteger(s, "I", "min", Ini()), -32768);
  EXPECT_EQ(LoadIniInteger(s, "I", "max", Ini()), 32767);
  p.dialogs.answers = {Choice::Yes, Choice::Yes};
  EXPECT_EQ(LoadIniInteger(s, "I", "big", Ini()), 0);
  EXPECT_EQ(LoadIniInteger(s, "I", "low", Ini()), 0);
  ASSERT_EQ(p.dialogs.shown.size(), 2u);  // the overflow only
  EXPECT_EQ(p.dialogs.shown[0].title, "Unexpected error");
  EXPECT_EQ(testing::ReadFile(p.ErrorLog()),
            "Fehler in Morlane / Morlane_Config / LoadIniInteger (Nr. 6) :Overflow\r\n"
            "Fehler in Morlane / Morlane_Config / LoadIniInteger (Nr. 6) :Overflow\r\n");
}

TEST_F(IniTest, SaveIniWritesTheTextOfEachType) {
  EXPECT_EQ(SaveIni(s, true, "S", "b", Ini()), SaveResult::Saved);
  EXPECT_EQ(SaveIni(s, std::int32_t{7}, "S", "i", Ini()), SaveResult::Saved);
  EXPECT_EQ(SaveIni(s, std::int16_t{-3}, "S", "n", Ini()), SaveResult::Saved);
  EXPECT_EQ(SaveIni(s, std::uint8_t{255}, "S", "y", Ini()), SaveResult::Saved);
  EXPECT_EQ(SaveIni(s, 2.5, "S", "d", Ini()), SaveResult::Saved);
  EXPECT_EQ(SaveIni(s, 0.1f, "S", "f", Ini()), SaveResult::Saved);
  EXPECT_EQ(SaveIni(s, std::string("  padded  "), "S", "s", Ini()), SaveResult::Saved);
  EXPECT_EQ(SaveIni(s, false, "S", "b", Ini()), SaveResult::Saved);
  EXPECT_EQ(testing::ReadFile(Ini()),
            "[S]\r\nb=false\r\ni=7\r\nn=-3\r\ny=255\r\nd=2.5\r\nf=0.1\r\ns=  padded  \r\n");
  EXPECT_TRUE(p.dialogs.shown.empty());
}

TEST_F(IniTest, SaveIniReportsAnUnsupportedTypeAndWritesNothing) {
  p.dialogs.answers = {Choice::Ok};
  EXPECT_EQ(SaveIni(s, UnsupportedValue{}, "S", "k", Ini()), SaveResult::Failed);
  ASSERT_EQ(p.dialogs.shown.size(), 1u);
  EXPECT_EQ(p.dialogs.shown[0].text, "Ini Save:  wrong data type");
  EXPECT_FALSE(testing::FileExistsOnDisk(Ini()));
}

TEST_F(IniTest, FailedWritesAnswerZeroWithoutAReport) {
  EXPECT_EQ(SaveIni(s, std::string("v"), "S", "k", p.Path("missing/dir/x.ini")),
            SaveResult::Failed);
  p.Write("regular", "x");
  EXPECT_EQ(SaveIni(s, std::string("v"), "S", "k", p.Path("regular/x.ini")), SaveResult::Failed);
  EXPECT_EQ(SaveIni(s, std::string("v"), "S", "k", ""), SaveResult::Failed);
  EXPECT_TRUE(p.dialogs.shown.empty());
}

}  // namespace
}  // namespace morlane
