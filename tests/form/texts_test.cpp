#include "form/texts.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "form/controls.h"
#include "l10n/language.h"
#include "support/project.h"

namespace morlane {
namespace {

using form::Control;

const std::string kFirstStart1031 =
    "[Language]\r\nLanguage=1031\r\n[1031]\r\n"
    "Caption_CommandOK_=\r\nHelp1=0\r\nTTT_CommandOK_=0\r\n"
    "Caption_CommandCancel_=\r\nHelp2=0\r\nTTT_CommandCancel_=0\r\n"
    "TTT_MainFrame_=0\r\nTTT_FrameServiceCounter_=0\r\n"
    "TTT_ComboOrder5_=0\r\nTTT_ComboOrder4_=0\r\nTTT_ComboOrder3_=0\r\nTTT_ComboOrder2_=0\r\n"
    "TTT_ComboOrder1_=0\r\n"
    "Caption_Label1_NoTTT=Maschine 1\r\nHelp11=0\r\nCaption_Label2_NoTTT=Maschine 2\r\n"
    "Caption_Label3_NoTTT=Maschine 3\r\nCaption_Label4_NoTTT=Maschine 4\r\n"
    "Caption_Label5_NoTTT=Maschine 5\r\n"
    "Caption_LabelServiceCounter_NoTTT=Reihenfolge Servicez\xe4hler\r\n"
    "Caption_CommandQuest_=\r\nTTT_CommandQuest_=0\r\n"
    "Caption_Header_=Reject - Konfiguration Servicez\xe4hler\r\nTTT_Header_=0\r\n";

class TextsTest : public ::testing::Test {
 protected:
  std::string LanguageFile() { return p.Path("Config/Morlane_Config.ini"); }
  std::string Read() { return testing::ReadFile(LanguageFile()); }
  const Control& Named(const std::string& name, std::optional<int> index = {}) {
    for (const auto& c : controls) {
      if (c.name == name && (c.id.index == 0 ? std::nullopt : std::optional(c.id.index)) == index)
        return c;
    }
    throw std::logic_error("no control " + name);
  }

  testing::Project p;
  Session& s = p.session;
  std::vector<Control> controls = form::CreateControls();
};

TEST_F(TextsTest, FirstStartUnder1031WritesEveryKeyInTheOrderOfTheControls) {
  LoadToolTipTexts(s, controls);
  EXPECT_EQ(Read(), kFirstStart1031);
  EXPECT_EQ(Named("Label", 2).caption, "Maschine 2");
  EXPECT_EQ(Named("CommandOK").caption, "");
  EXPECT_EQ(Named("ComboOrder", 1).toolTip, "");
  EXPECT_EQ(s.HelpTexts[1], "");
  EXPECT_TRUE(p.dialogs.shown.empty());

  // A second start reads everything back and leaves the file alone, time stamp included.
  namespace fs = std::filesystem;
  // Whole seconds: every file system keeps them exactly.
  const auto old = std::chrono::floor<std::chrono::seconds>(fs::file_time_type::clock::now() -
                                                            std::chrono::hours(24 * 3650));
  fs::last_write_time(LanguageFile(), old);
  std::vector<Control> again = form::CreateControls();
  LoadToolTipTexts(s, again);
  EXPECT_EQ(Read(), kFirstStart1031);
  EXPECT_TRUE(fs::last_write_time(LanguageFile()) == old);
  EXPECT_EQ(s.HelpTexts[11], "0");  // the placeholder is stored as read
}

TEST_F(TextsTest, AnotherLanguageGetsPlaceholdersAndKeepsTheDesignTexts) {
  p.Write("Config/Morlane_Config.ini", "[Language]\r\nLanguage=1033\r\n");
  LoadToolTipTexts(s, controls);
  std::string expected = kFirstStart1031;
  expected.replace(expected.find("1031"), 4, "1033");
  expected.replace(expected.find("[1031]"), 6, "[1033]");
  for (auto at = expected.find("=", expected.find("[1033]")); at != std::string::npos;
       at = expected.find("=", at + 1)) {
    const auto end = expected.find("\r\n", at);
    expected.replace(at + 1, end - at - 1, "0");
  }
  EXPECT_EQ(Read(), expected);
  EXPECT_EQ(Named("Header").caption, "Reject - Konfiguration Servicez\xe4hler");
}

// The language file that ships (the package's template, the Windows zip's file) helps out of
// the box in both its languages: a start finds every key it would add, so it writes nothing,
// and every caption with a design text and every help text in use is a real text, not "0".
TEST_F(TextsTest, ShippedLanguageFileIsCompleteInGermanAndEnglish) {
  const std::string shipped = testing::ReadFile(MORLANE_SHIPPED_LANGUAGE_FILE);
  ASSERT_EQ(shipped.rfind("[Language]\r\nLanguage=1031\r\n", 0), 0u);
  for (const std::string language : {"1031", "1033"}) {
    SCOPED_TRACE(language);
    std::string file = shipped;
    file.replace(file.find("1031"), 4, language);
    p.Write("Config/Morlane_Config.ini", file);
    std::vector<Control> loaded = form::CreateControls();
    // A caption the language leaves to the design text keeps this mark.
    for (Control& c : loaded) {
      if (!c.caption.empty()) c.caption = "\x01";
    }
    s.HelpTexts.fill("");
    LoadToolTipTexts(s, loaded);
    EXPECT_EQ(Read(), file);
    for (const Control& c : loaded) {
      const std::string name = c.name + (c.id.index != 0 ? std::to_string(c.id.index) : "");
      EXPECT_NE(c.caption, "\x01") << name;
      if (c.helpId != 0) {
        const std::string& help = s.HelpTexts[static_cast<std::size_t>(c.helpId)];
        EXPECT_TRUE(help != "" && help != "0") << name << ": Help" << c.helpId;
      }
    }
  }
}

TEST_F(TextsTest, PartlyFilledSectionKeepsItsTextsAndGetsTheRestAppended) {
  p.Write("Config/Morlane_Config.ini",
          "; translated by hand\n[Language]\nLanguage=1031\n\n[1031]\nCaption_Header_=Kopf\n"
          "TTT_ComboOrder3_=Position <b>3</b>\nHelp11=Zeile<CRLF>zwei\n"
          "Caption_Label2_NoTTT=0\n\n[1033]\nCaption_Header_=Head\n");
  LoadToolTipTexts(s, controls);
  EXPECT_EQ(Named("Header").caption, "Kopf");
  EXPECT_EQ(Named("ComboOrder", 3).toolTip, "Position <b>3</b>");
  EXPECT_EQ(Named("Label", 2).caption, "Maschine 2");
  EXPECT_EQ(s.HelpTexts[11], "Zeile<CRLF>zwei");

  const std::string file = Read();
  // Existing lines untouched and in place; the "0" caption replaced by the design caption;
  // the missing keys after the last line of the section, in this file's own line ends.
  const std::string kept =
      "; translated by hand\n[Language]\nLanguage=1031\n\n[1031]\nCaption_Header_=Kopf\n"
      "TTT_ComboOrder3_=Position <b>3</b>\nHelp11=Zeile<CRLF>zwei\n";
  EXPECT_EQ(file.substr(0, kept.size()), kept);
  EXPECT_NE(file.find("Caption_Label2_NoTTT=Maschine 2\nCaption_CommandOK_=\nHelp1=0\n"),
            std::string::npos);
  EXPECT_NE(file.find("TTT_Header_=0\n\n[1033]\nCaption_Header_=Head\n"), std::string::npos);
  EXPECT_EQ(file.find("TTT_ComboOrder3_=0"), std::string::npos);
  EXPECT_EQ(file.find("Caption_Header_=Reject"), std::string::npos);
}

TEST_F(TextsTest, AFailingControlIsSkippedAndThePassGoesOn) {
  std::vector<Control> some;
  Control odd = form::CreateControls()[9];  // Label(1)
  odd.id = {form::Name::Header};
  odd.name = "Odd";
  odd.tag = "";
  odd.helpId = 150;
  Control array = odd;
  array.id = {form::Name::Label};  // an element of an array without an index: it cannot be keyed
  array.name = "Twin";
  Control twin = array;
  Control header = form::CreateControls().back();
  some = {odd, array, twin, header};
  p.Write("Config/Morlane_Config.ini",
          "[Language]\r\nLanguage=1031\r\n[1031]\r\nCaption_Odd_=Sonder\r\nTTT_Odd_=Tip\r\n");
  LoadToolTipTexts(s, some);
  // The help id 150 stops the control after its caption: no help text, no tool tip.
  EXPECT_EQ(some[0].caption, "Sonder");
  EXPECT_EQ(some[0].toolTip, "");
  const std::string file = Read();
  EXPECT_EQ(file.find("Help150"), std::string::npos);
  EXPECT_EQ(file.find("Twin"), std::string::npos);
  // The next control is handled normally.
  EXPECT_NE(file.find("Caption_Header_=Reject"), std::string::npos);
  EXPECT_TRUE(p.dialogs.shown.empty());
}

TEST_F(TextsTest, UnwritableLanguageFileCostsNoDialog) {
  // A directory where the language file should be: it can be neither read nor replaced.
  testing::WriteFile(LanguageFile() + "/.keep", "");
  LoadToolTipTexts(s, controls);
  EXPECT_TRUE(p.dialogs.shown.empty());
  EXPECT_EQ(Named("Header").caption, "Reject - Konfiguration Servicez\xe4hler");
}

TEST_F(TextsTest, GetLanguageWritesTheDefaultOnlyWhenNothingUsableIsStored) {
  EXPECT_EQ(GetLanguage(s), "1031");
  EXPECT_EQ(Read(), "[Language]\r\nLanguage=1031\r\n");

  p.Write("Config/Morlane_Config.ini", "[1031]\r\nHelp1=x\r\n");
  EXPECT_EQ(GetLanguage(s), "1031");
  EXPECT_EQ(Read(), "[1031]\r\nHelp1=x\r\n[Language]\r\nLanguage=1031\r\n");

  p.Write("Config/Morlane_Config.ini", "[Language]\r\nLanguage=\r\n");
  EXPECT_EQ(GetLanguage(s), "1031");
  EXPECT_EQ(Read(), "[Language]\r\nLanguage=1031\r\n");

  for (const std::string id : {"1033", "English", "01031"}) {
    p.Write("Config/Morlane_Config.ini", "[Language]\r\nLanguage=" + id + "\r\n");
    EXPECT_EQ(GetLanguage(s), id);
    EXPECT_EQ(Read(), "[Language]\r\nLanguage=" + id + "\r\n");
  }
}

}  // namespace
}  // namespace morlane
