// How the window behaves whatever toolkit shows it: focus and tab order, containers, a list's
// selection, what a handler's message box takes, and how the position boxes and the row labels
// fit their text. Both views apply these rules; a view only creates, mirrors and forwards.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "form/controls.h"
#include "form/events.h"

namespace morlane::form {

using Controls = std::vector<Control>;

// ---- Places ----------------------------------------------------------------------------------

// `twips` in pixels at `dpi` dots per inch (15 twips a pixel at 96).
int Pixels(int twips, int dpi);

// A rectangle in pixels within the client area of a control's container.
struct Box {
  int left = 0, top = 0, width = 0, height = 0;
  int Right() const { return left + width; }
  int Bottom() const { return top + height; }
  friend bool operator==(const Box&, const Box&) = default;
};

// The control of this id; none when the window has none.
std::optional<std::size_t> PositionOf(const Controls& controls, ControlId id);
// Control n's container; none: the window.
std::optional<std::size_t> ContainerOf(const Controls& controls, std::size_t n);
// Control n as designed, in pixels at dpi.
Box DesignedBox(const Controls& controls, std::size_t n, int dpi);
// The most control n may take without covering another: grown to the right and downward up to
// the inside of its container, and a gap short of any control beside or below it.
Box Room(const Controls& controls, std::size_t n, int dpi);

// ---- Focus -----------------------------------------------------------------------------------

// Buttons and combo boxes take the keyboard focus; labels and frames never do.
bool TakesFocus(Kind kind);
// The controls that take the focus, in tab order, enabled or not.
std::vector<std::size_t> TabOrder(const Controls& controls);
// The control that has the focus when the window opens: the first enabled one in tab order.
std::optional<std::size_t> FirstFocus(const Controls& controls);
// Where Tab (forward) or Shift+Tab moves the focus from control `from` (none, or a control
// outside the cycle: from the window), passing disabled controls and wrapping around.
std::optional<std::size_t> NextFocus(const Controls& controls, std::optional<std::size_t> from,
                                     bool forward);

// ---- Position boxes --------------------------------------------------------------------------

// The list entry a combo box's text selects, so that the arrow keys move on from there: the
// first entry equal to the text; none when no entry is.
std::optional<std::size_t> ListSelection(const Control& combo);

// The width in pixels of a text, as the view's font draws it (text in Windows-1252).
using TextWidth = std::function<int(std::string_view)>;

// The widest text of any 16-bit position in a font: a sign and five of the widest digit.
int WidestPosition(const TextWidth& width);
// Position box n's width in pixels when its text field is `missing` pixels too narrow for the
// widest position: grown to the right by that much, within its room, never below its design.
int PositionBoxWidth(const Controls& controls, std::size_t n, int dpi, int missing);

// ---- Labels ----------------------------------------------------------------------------------

struct LabelFit {
  std::vector<std::string> lines;  // to draw, top down
  Box box;                         // where the label is drawn
  bool cut = false;                // the caption did not fit whole: the last line ends in "…"
};

// Label n's caption broken at blanks into lines (never after an opening parenthesis). Where the
// designed box is too small, the label first grows to the right and then downward into its
// room; only a caption that still does not fit ends in "…" (a word wider than the room too).
LabelFit FitLabel(const Controls& controls, std::size_t n, int dpi, const TextWidth& width,
                  int lineHeight);
// The tool tip a control shows: its own, or the whole caption of a cut label.
std::string ShownToolTip(const Control& control, bool cut);

// ---- Events ----------------------------------------------------------------------------------

// Runs the form's handlers for a view, and tells what the user does apart from what a running
// handler's message box causes (the activation taken away and given back, the focus returning).
class ViewEvents {
 public:
  explicit ViewEvents(FormEvents& form) : form_(form) {}

  bool HandlerRunning() const { return running_ > 0; }
  // A modal message box has taken the window (it was blocked or deactivated).
  void BoxShown() { ++boxes_; }

  void Clicked(std::size_t n);
  // The focus reached control n by the user's doing; byClick: a mouse press brought it.
  // Answers whether a message box shown for it (help mode) took that click, so that the
  // control must not act on it as well (a combo's list stays closed).
  bool Focused(std::size_t n, bool byClick);
  // The user activated the window; an activation while a handler runs is its box's doing.
  void Activated();
  // Answers whether the window may close.
  bool CloseRequested();
  void Resized();

 private:
  template <typename Handler>
  void Run(Handler handler);

  FormEvents& form_;
  int running_ = 0;
  int boxes_ = 0;
};

}  // namespace morlane::form
