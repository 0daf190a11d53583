#include "text/path.h"

#include <gtest/gtest.h>

namespace morlane::text {
namespace {

using platform::PathStyle;

TEST(Path, JoinTurnsBackslashesIntoTheNativeSeparator) {
  EXPECT_EQ(JoinPath(PathStyle::Posix, "", "parameter\\m4tconfiguration.ini"),
            "/parameter/m4tconfiguration.ini");
  EXPECT_EQ(JoinPath(PathStyle::Windows, "D:", "parameter\\Program.ini"),
            "D:\\parameter\\Program.ini");
}

TEST(Path, PathsAreUpperCasedForDisplayOnlyOnWindows) {
  EXPECT_EQ(PathForDisplay(PathStyle::Windows, "c:\\plant\\m\xe4t.txt"), "C:\\PLANT\\M\xc4T.TXT");
  EXPECT_EQ(PathForDisplay(PathStyle::Posix, "/opt/plant/m.txt"), "/opt/plant/m.txt");
}

}  // namespace
}  // namespace morlane::text
