#include "form/controls.h"

// The layout names only what differs from a control's defaults; the fields it leaves out keep
// them, on purpose.
#if defined(__GNUC__)
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#endif

namespace morlane::form {

namespace {

const Font kRowFont{"MS Sans Serif", 12, true};
const Font kHeaderFont{"MS Sans Serif", 13.5, true};

// The rows are 840 twips apart.
int RowTop(int first, int i) {
  return first + 840 * (i - 1);
}

Control ComboOrder(int i) {
  return {.id = {Name::ComboOrder, i},
          .name = "ComboOrder",
          .kind = Kind::ComboBox,
          .container = Name::FrameServiceCounter,
          .left = 2115,
          .top = RowTop(810, i),
          .width = 495,
          .height = 420,
          .tabIndex = 2 + i,
          .helpId = 11,
          .font = kRowFont};
}

Control Label(int i) {
  return {.id = {Name::Label, i},
          .name = "Label",
          .kind = Kind::Label,
          .container = Name::FrameServiceCounter,
          .left = 120,
          .top = RowTop(690, i),
          .width = 1575,
          .height = 615,
          .tabIndex = 14 - i,
          .helpId = 11,
          .tag = "NoTTT",
          .font = kRowFont,
          .caption = "Maschine " + std::to_string(i)};
}

}  // namespace

std::vector<Control> CreateControls() {
  // In creation order; places in twips within the container.
  // clang-format off
  std::vector<Control> c = {
    {.id = {Name::CommandOK},     .name = "CommandOK",     .kind = Kind::CommandButton, .left = 8400,  .top = 7680, .width = 1695,  .height = 855,  .tabIndex = 15, .helpId = 1, .picture = Picture::CheckMark, .spokenName = "OK", .enabled = false},
    {.id = {Name::CommandCancel}, .name = "CommandCancel", .kind = Kind::CommandButton, .left = 10170, .top = 7680, .width = 1695,  .height = 855,  .tabIndex = 14, .helpId = 2, .picture = Picture::Cross, .spokenName = "Abbrechen"},
    {.id = {Name::MainFrame},     .name = "MainFrame",     .kind = Kind::Frame,         .left = 0,     .top = 360,  .width = 11880, .height = 7260, .tabIndex = 1},
    {.id = {Name::FrameServiceCounter}, .name = "FrameServiceCounter", .kind = Kind::Frame, .container = Name::MainFrame, .left = 90, .top = 120, .width = 4470, .height = 4815, .tabIndex = 2, .helpId = 11},
    ComboOrder(5), ComboOrder(4), ComboOrder(3), ComboOrder(2), ComboOrder(1),
    Label(1), Label(2), Label(3), Label(4), Label(5),
    {.id = {Name::LabelServiceCounter}, .name = "LabelServiceCounter", .kind = Kind::Label, .container = Name::FrameServiceCounter, .left = 120, .top = 150, .width = 3615, .height = 375, .tabIndex = 8, .helpId = 11, .tag = "NoTTT", .font = kRowFont, .caption = "Reihenfolge Servicez\xe4hler"},
    {.id = {Name::CommandQuest},  .name = "CommandQuest",  .kind = Kind::CommandButton, .left = 7350,  .top = 7680, .width = 975,   .height = 855,  .tabIndex = 0,  .picture = Picture::QuestionArrow, .spokenName = "Hilfe", .pressed = false},
    {.id = {Name::Header},        .name = "Header",        .kind = Kind::Label,         .left = 30,    .top = 0,    .width = 7245,  .height = 360,  .tabIndex = 16, .font = kHeaderFont, .caption = "Reject - Konfiguration Servicez\xe4hler"},
  };
  // clang-format on

  // Everything is light grey but the combo boxes, which keep the platform's window colours.
  for (Control& control : c) {
    if (control.kind != Kind::ComboBox) control.backColor = kLightGrey;
  }
  return c;
}

}  // namespace morlane::form
