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

TEST_F(IniTest, MissingValuesReadEmptyMinusOneOrFalseAndAreReportedOnlyWhenAsked) {
  const std::string missing = p.Path("parameter/none.ini");
  EXPECT_EQ(LoadIniString(s, "Project", "X", missing, false), "");
  EXPECT_EQ(LoadIniInteger(s, "Project", "X", missing, false), -1);
  EXPECT_FALSE(LoadIniBoolean(s, "Project", "X", missing, false));
  EXPECT_TRUE(p.dialogs.shown.empty());

  p.dialogs.answers = {Choice::Ok, Choice::Ok, Choice::Ok};
  LoadIniString(s, "Project", "X", missing, true);
  LoadIniInteger(s, "Project", "X", missing, true);
  LoadIniBoolean(s, "Project", "X", missing, true);
  ASSERT_EQ(p.dialogs.shown.size(), 3u);
  for (const auto& box : p.dialogs.shown) {
    EXPECT_EQ(box.text, "File '" + missing + "' or Section [Project] or Entry 'X' not found");
    EXPECT_EQ(box.title, "Morlane_Config");
  }
}

// A file that exists but cannot be read is not a missing file: each reader reports it as a
// file access error naming the file, and then goes on as if it were missing.
TEST_F(IniTest, UnreadableFileIsReportedAsAccessError) {
  p.Write("parameter/test.ini", "[Project]\r\nX=TRUE\r\n");
  p.profile.unreadable = {Ini()};
  p.dialogs.answers = {Choice::Yes, Choice::Yes, Choice::Yes};
  EXPECT_EQ(LoadIniString(s, "Project", "X", Ini(), false), "");
  EXPECT_EQ(LoadIniInteger(s, "Project", "X", Ini(), false), 0);
  EXPECT_FALSE(LoadIniBoolean(s, "Project", "X", Ini(), false));
  ASSERT_EQ(p.dialogs.shown.size(), 3u);
  for (const auto& box : p.dialogs.shown) {
    EXPECT_NE(box.text.find("Path/File access error: " + Ini()), std::string::npos) << box.text;
  }
  EXPECT_NE(testing::ReadFile(p.ErrorLog()).find("(Nr. 75) :Path/File access error: " + Ini()),
            std::string::npos);
}

TEST_F(IniTest, EmptyValueAndStoredMinusOneCountAsMissing) {
  p.Write("parameter/test.ini", "[Project]\r\nE=\r\nM=-1\r\nZ=0\r\n");
  p.dialogs.answers = {Choice::Ok, Choice::Ok};
  EXPECT_EQ(LoadIniString(s, "Project", "E", Ini(), true), "");
  EXPECT_EQ(LoadIniInteger(s, "Project", "M", Ini(), true), -1);
  EXPECT_EQ(LoadIniInteger(s, "Project", "Z", Ini(), true), 0);
  EXPECT_EQ(p.dialogs.shown.size(), 2u);
}

TEST_F(IniTest, LongValuesAreCutTo254Characters) {
  p.Write("parameter/test.ini", "[A]\r\nlong=" + std::string(300, 'x') + "\r\n");
  EXPECT_EQ(LoadIniString(s, "a", "LONG", Ini(), false), std::string(254, 'x'));
}

TEST_F(IniTest, BooleansAreTrueOnlyForTrueInAnyCase) {
  p.Write("parameter/test.ini",
          "[B]\r\nt1=true\r\nt2=True\r\nt3=TRUE\r\nf1=FALSE\r\nf2=no\r\nf3=1\r\nf4=\r\n");
  for (const char* key : {"t1", "t2", "t3"}) {
    EXPECT_TRUE(LoadIniBoolean(s, "B", key, Ini(), false)) << key;
  }
  for (const char* key : {"f1", "f2", "f3", "f4"}) {
    EXPECT_FALSE(LoadIniBoolean(s, "B", key, Ini(), false)) << key;
  }
  // "no", "1" and the empty value are reported when asked; "FALSE" is a proper value.
  p.dialogs.answers = {Choice::Ok, Choice::Ok, Choice::Ok};
  for (const char* key : {"f1", "f2", "f3", "f4"})
    LoadIniBoolean(s, "B", key, Ini(), true);
  EXPECT_EQ(p.dialogs.shown.size(), 3u);
}

TEST_F(IniTest, IntegersOutside16BitsAreAnOverflowThatResumesWithZero) {
  p.Write("parameter/test.ini", "[I]\r\nbig=32768\r\nlow=-32769\r\nmin=-32768\r\nmax=32767\r\n");
  EXPECT_EQ(LoadIniInteger(s, "I", "min", Ini(), false), -32768);
  EXPECT_EQ(LoadIniInteger(s, "I", "max", Ini(), false), 32767);
  p.dialogs.answers = {Choice::Yes, Choice::Yes};
  EXPECT_EQ(LoadIniInteger(s, "I", "big", Ini(), true), 0);
  EXPECT_EQ(LoadIniInteger(s, "I", "low", Ini(), true), 0);
  ASSERT_EQ(p.dialogs.shown.size(), 2u);  // the overflow only: nothing reported as missing
  EXPECT_EQ(p.dialogs.shown[0].title, "Unexpected error");
  EXPECT_EQ(testing::ReadFile(p.ErrorLog()),
            "Fehler in Morlane / Morlane_Config / LoadIniInteger (Nr. 6) :Overflow\r\n"
            "Fehler in Morlane / Morlane_Config / LoadIniInteger (Nr. 6) :Overflow\r\n");
}

TEST_F(IniTest, SaveIniWritesTheTextOfEachType) {
  EXPECT_EQ(SaveIni(s, true, "S", "b", Ini()), 1);
  EXPECT_EQ(SaveIni(s, std::int32_t{7}, "S", "i", Ini()), 1);
  EXPECT_EQ(SaveIni(s, std::int16_t{-3}, "S", "n", Ini()), 1);
  EXPECT_EQ(SaveIni(s, std::uint8_t{255}, "S", "y", Ini()), 1);
  EXPECT_EQ(SaveIni(s, 2.5, "S", "d", Ini()), 1);
  EXPECT_EQ(SaveIni(s, 0.1f, "S", "f", Ini()), 1);
  EXPECT_EQ(SaveIni(s, std::string("  padded  "), "S", "s", Ini()), 1);
  EXPECT_EQ(SaveIni(s, false, "S", "b", Ini()), 1);
  // Windows' service (Wine here) drops the value's leading blanks, and the trailing ones when
  // the next write rewrites the file: profile conformance case NamesTrimmedValueWrittenAsGiven.
  EXPECT_EQ(testing::ReadFile(Ini()),
            testing::ForBackend(
                "[S]\r\nb=false\r\ni=7\r\nn=-3\r\ny=255\r\nd=2.5\r\nf=0.1\r\ns=  padded  \r\n",
                "[S]\r\nb=false\r\ni=7\r\nn=-3\r\ny=255\r\nd=2.5\r\nf=0.1\r\ns=padded\r\n"));
  EXPECT_TRUE(p.dialogs.shown.empty());
}

TEST_F(IniTest, SaveIniReportsAnUnsupportedTypeAndWritesNothing) {
  p.dialogs.answers = {Choice::Ok};
  EXPECT_EQ(SaveIni(s, UnsupportedValue{}, "S", "k", Ini()), 0);
  ASSERT_EQ(p.dialogs.shown.size(), 1u);
  EXPECT_EQ(p.dialogs.shown[0].text, "Ini Save:  wrong data type");
  EXPECT_FALSE(testing::FileExistsOnDisk(Ini()));
}

TEST_F(IniTest, FailedWritesAnswerZeroWithoutAReport) {
  EXPECT_EQ(SaveIni(s, std::string("v"), "S", "k", p.Path("missing/dir/x.ini")), 0);
  p.Write("regular", "x");
  EXPECT_EQ(SaveIni(s, std::string("v"), "S", "k", p.Path("regular/x.ini")), 0);
  EXPECT_EQ(SaveIni(s, std::string("v"), "S", "k", ""), 0);
  EXPECT_TRUE(p.dialogs.shown.empty());
}

}  // namespace
}  // namespace morlane
