#include "form/help.h"

#include <gtest/gtest.h>

#include "form/form.h"
#include "support/project.h"

namespace morlane {
namespace {

using platform::Choice;

TEST(ExpandLineMarkers, MarkersInAnyCaseBecomeCrLfFromLeftToRight) {
  EXPECT_EQ(ExpandLineMarkers("first<crlf>second<CRLF>"), "first\r\nsecond\r\n");
  EXPECT_EQ(ExpandLineMarkers("<CrLf><cRlF>x"), "\r\n\r\nx");
  EXPECT_EQ(ExpandLineMarkers("No Markers <CR LF>"), "No Markers <CR LF>");
  EXPECT_EQ(ExpandLineMarkers("<<CRLF>CRLF>>"), "<\r\nCRLF>>");
  EXPECT_EQ(ExpandLineMarkers(""), "");
}

class HelpTest : public ::testing::Test {
 protected:
  HelpTest() {
    p.Write("Morlane/Morlane.cfg", "[Project]\r\n");
    s.HelpTexts[11] = "Rows<CRLF>of machines";
  }
  testing::Project p;
  Session& s = p.session;
  form::frm_Morlane_Exe form{s};
};

TEST_F(HelpTest, LabelsFrameAndCombosShowTheirTextOnlyInHelpMode) {
  form.Label_Click(3);
  form.ComboOrder_GotFocus(2);
  form.FrameServiceCounter_Click();
  EXPECT_TRUE(p.dialogs.shown.empty());

  form.CommandQuest_Click();
  p.dialogs.answers = {Choice::Ok, Choice::Ok, Choice::Ok, Choice::Ok, Choice::Ok};
  form.Label_Click(3);
  form.LabelServiceCounter_Click();
  form.FrameServiceCounter_Click();
  form.ComboOrder_Click(1);
  form.ComboOrder_GotFocus(5);
  ASSERT_EQ(p.dialogs.shown.size(), 5u);
  for (const auto& box : p.dialogs.shown) {
    EXPECT_EQ(box.text, "Rows\r\nof machines");
    EXPECT_EQ(box.title, "Info:");
    EXPECT_EQ(box.buttons, platform::Buttons::Ok);
  }
  EXPECT_TRUE(s.HelpMode);  // showing a text does not end help mode
}

TEST_F(HelpTest, HelpIdOutsideTheTableShowsAnEmptyText) {
  s.HelpMode = true;
  form::Control odd = form.Label(1);
  for (int id : {101, -1, 0}) {
    odd.helpId = id;
    p.dialogs.answers = {Choice::Ok};
    ShowHelpText(s, odd);
    EXPECT_EQ(p.dialogs.shown.back().text, "") << id;
  }
}

}  // namespace
}  // namespace morlane
