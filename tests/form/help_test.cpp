#include "form/help.h"

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>

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

// A view addresses controls by position only; the model finds the handler by name and index.
TEST_F(HelpTest, ViewEventsByPositionReachTheNamedHandlers) {
  const auto at = [&](const std::string& name, std::optional<int> index = std::nullopt) {
    for (std::size_t n = 0; n < form.controls.size(); ++n) {
      if (form.controls[n].name == name && form.controls[n].id.index == index.value_or(0)) return n;
    }
    throw std::out_of_range(name);
  };
  form.Clicked(at("CommandQuest"));
  EXPECT_TRUE(s.HelpMode);
  p.dialogs.answers = {Choice::Ok, Choice::Ok, Choice::Ok};
  form.Clicked(at("Label", 3));
  form.Focused(at("ComboOrder", 2));
  form.Clicked(at("FrameServiceCounter"));
  // No handler: the header, the main frame, the focus of a button, a position past the end.
  form.Clicked(at("Header"));
  form.Clicked(at("MainFrame"));
  form.Focused(at("CommandOK"));
  form.Clicked(form.controls.size());
  EXPECT_EQ(p.dialogs.shown.size(), 3u);

  // Edits reach the text of a combo box only.
  form.Edited(at("ComboOrder", 2), "12");
  form.Edited(at("Label", 2), "x");
  EXPECT_EQ(form.ComboOrder(2).text, "12");
  EXPECT_EQ(form.Label(2).text, "");
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
