#include "form/controls.h"

namespace morlane::form {

std::string KindName(Kind kind) {
  switch (kind) {
    case Kind::CommandButton:
      return "CommandButton";
    case Kind::Frame:
      return "Frame";
    case Kind::ComboBox:
      return "ComboBox";
    case Kind::Label:
      return "Label";
  }
  return "Unknown";
}

namespace {

Control Make(std::string name, std::optional<int> index, Kind kind, std::string container, int left,
             int top, int width, int height, int tabIndex, int helpId, std::string tag = {},
             Font font = {}, std::string caption = {}) {
  Control c;
  c.name = std::move(name);
  c.index = index;
  c.kind = kind;
  c.container = std::move(container);
  c.left = left;
  c.top = top;
  c.width = width;
  c.height = height;
  c.tabIndex = tabIndex;
  c.helpId = helpId;
  c.tag = std::move(tag);
  c.font = std::move(font);
  c.caption = std::move(caption);
  // Everything is light grey but the combo boxes, which keep the platform's window colours.
  if (kind != Kind::ComboBox) c.backColor = kLightGrey;
  return c;
}

}  // namespace

std::vector<Control> CreateControls() {
  const Font rowFont{"MS Sans Serif", 12, true};
  const Font headerFont{"MS Sans Serif", 13.5, true};
  const std::string frame = "FrameServiceCounter";
  std::vector<Control> c;

  c.push_back(Make("CommandOK", {}, Kind::CommandButton, "", 8400, 7680, 1695, 855, 15, 1));
  c.back().picture = Picture::CheckMark;
  c.back().spokenName = "OK";
  c.back().enabled = false;
  c.push_back(Make("CommandCancel", {}, Kind::CommandButton, "", 10170, 7680, 1695, 855, 14, 2));
  c.back().picture = Picture::Cross;
  c.back().spokenName = "Abbrechen";
  c.push_back(Make("MainFrame", {}, Kind::Frame, "", 0, 360, 11880, 7260, 1, 0));
  c.push_back(Make(frame, {}, Kind::Frame, "MainFrame", 90, 120, 4470, 4815, 2, 11));
  for (int i = 5; i >= 1; --i) {
    c.push_back(Make("ComboOrder", i, Kind::ComboBox, frame, 2115, 810 + 840 * (i - 1), 495, 420,
                     2 + i, 11, "", rowFont));
  }
  for (int i = 1; i <= 5; ++i) {
    c.push_back(Make("Label", i, Kind::Label, frame, 120, 690 + 840 * (i - 1), 1575, 615, 14 - i,
                     11, "NoTTT", rowFont, "Maschine " + std::to_string(i)));
  }
  c.push_back(Make("LabelServiceCounter", {}, Kind::Label, frame, 120, 150, 3615, 375, 8, 11,
                   "NoTTT", rowFont, "Reihenfolge Servicez\xe4hler"));
  c.push_back(Make("CommandQuest", {}, Kind::CommandButton, "", 7350, 7680, 975, 855, 0, 0));
  c.back().picture = Picture::QuestionArrow;
  c.back().spokenName = "Hilfe";
  c.back().pressed = false;  // pressed in while help mode is on
  c.push_back(Make("Header", {}, Kind::Label, "", 30, 0, 7245, 360, 16, 0, "", headerFont,
                   "Reject - Konfiguration Servicez\xe4hler"));
  return c;
}

}  // namespace morlane::form
