#include "runctx/locations.h"

#include <gtest/gtest.h>

#include "runctx/session.h"
#include "support/fakes.h"

namespace morlane {
namespace {

using platform::Choice;
using platform::PathStyle;

TEST(ProjectDirectory, DropsTheLastComponentInBothDialects) {
  EXPECT_EQ(ProjectDirectory("C:\\Plant\\Config", PathStyle::Windows), "C:\\Plant");
  EXPECT_EQ(ProjectDirectory("C:\\Bin", PathStyle::Windows), "C:");
  EXPECT_EQ(ProjectDirectory("D:\\", PathStyle::Windows), "D:");
  EXPECT_EQ(ProjectDirectory("/opt/plant/Config", PathStyle::Posix), "/opt/plant");
  EXPECT_EQ(ProjectDirectory("/cfg", PathStyle::Posix), "");
  EXPECT_EQ(ProjectDirectory("/", PathStyle::Posix), "");
}

class NamesTest : public ::testing::Test, protected testing::FakeSession {};

TEST_F(NamesTest, FileNameOnlyIsThePartAfterTheLastSeparator) {
  process.style = PathStyle::Windows;
  EXPECT_EQ(GetFileNameOnly(session, "C:\\A\\B"), "B");
  EXPECT_EQ(GetFileNameOnly(session, "C:\\A\\B\\"), "");
  EXPECT_EQ(GetFileNameOnly(session, "B"), "B");
  process.style = PathStyle::Posix;
  EXPECT_EQ(GetFileNameOnly(session, "/opt/plant/Config"), "Config");
  EXPECT_EQ(GetFileNameOnly(session, "/"), "");
  EXPECT_EQ(GetFileNameOnly(session, "C:\\A\\B"), "C:\\A\\B");
}

TEST_F(NamesTest, ComponentNameIsTheBaseNameLessSevenCharacters) {
  EXPECT_EQ(GetOCXName(session), "Morlane");
  process.baseName = "_Config";
  EXPECT_EQ(GetOCXName(session), "");
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(NamesTest, ShortBaseNameIsReportedAndResumesWithAnEmptyName) {
  process.baseName = "Short";
  process.memoryFiles = true;
  dialogs.answers = {Choice::Yes, Choice::Yes};
  EXPECT_EQ(GetOCXName(session), "");
  // The report asks for the component name once more, which fails inside the report; that
  // failure is reported without asking again, so there are exactly two reports.
  ASSERT_EQ(dialogs.shown.size(), 2u);
  EXPECT_EQ(process.files["/plant/M4Tcfglog.txt"],
            "Fehler in  / Short / GetOCXName (Nr. 5) :Invalid procedure call or argument\r\n"
            "Fehler in  / Short / GetOCXName (Nr. 5) :Invalid procedure call or argument\r\n");
}

}  // namespace
}  // namespace morlane
