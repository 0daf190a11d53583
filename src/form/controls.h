// The controls of the window as data: the model runs the handlers on them, the views mirror
// them, and the language texts are loaded onto them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace morlane::form {

enum class Kind { CommandButton, Frame, ComboBox, Label };

enum class Picture { None, CheckMark, Cross, QuestionArrow };

// One row per machine: Label and ComboOrder have an element for each.
inline constexpr int kRows = 5;

// Which control: the name, and for the two control arrays the element (1 to kRows).
enum class Name : std::uint8_t {
  CommandOK,
  CommandCancel,
  MainFrame,
  FrameServiceCounter,
  ComboOrder,
  Label,
  LabelServiceCounter,
  CommandQuest,
  Header,
};

struct ControlId {
  Name name = Name::Header;
  int index = 0;  // element of a control array (1 to kRows); 0: not an array
  friend bool operator==(const ControlId&, const ControlId&) = default;
};

// Whether the controls of this name are a control array.
constexpr bool IsArray(Name name) {
  return name == Name::ComboOrder || name == Name::Label;
}

struct Rgb {
  std::uint8_t red, green, blue;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kLightGrey{192, 192, 192};
inline constexpr Rgb kPureGreen{0, 255, 0};

struct Font {
  std::string family;  // empty: the default dialog font
  double points = 0;
  bool bold = false;
};

struct Control {
  // Fixed at creation.
  ControlId id;
  std::string name;  // as the language file keys the control's texts
  Kind kind = Kind::Label;
  std::optional<Name> container;                 // the holding control; none: the window
  int left = 0, top = 0, width = 0, height = 0;  // twips within the container's client area
  int tabIndex = 0;
  int helpId = 0;  // WhatsThisHelpID
  std::string tag;
  Font font;
  Picture picture = Picture::None;
  // What a screen reader calls a button that shows only its picture.
  std::string spokenName;

  // Changed at run time. Texts are Windows-1252 bytes.
  std::string caption;
  std::string toolTip;
  bool enabled = true;
  std::string text;                // combo boxes: the edit text
  std::vector<std::string> items;  // combo boxes: the list entries
  std::optional<Rgb> backColor;    // none: the platform's default (the combo boxes)
  // A button that stays pressed in while its mode is on; none: a plain push button.
  std::optional<bool> pressed;
};

// Every control of the window in creation order.
std::vector<Control> CreateControls();

// Client area of the window, in twips.
inline constexpr int kClientWidth = 11880;
inline constexpr int kClientHeight = 8595;
inline constexpr int kTwipsPerPixel = 15;

}  // namespace morlane::form
