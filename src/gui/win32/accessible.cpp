// What a screen reader and a user with high-contrast colours need of the window: the controls'
// own texts as Windows names controls by them, the help button's pressed state, the
// focus put where the form says, and the system's colours in high-contrast mode.
#include "gui/win32/form_window.h"

#include "form/accessible.h"
#include "gui/win32/form_window_internal.h"

namespace morlane::gui::win32 {

// A picture button's window text is its name (the face draws only the model's caption); the
// help button is pressed in while help mode is on, which Windows reports as its state.
void FormWindow::MirrorButton(std::size_t n) {
  const auto& controls = events_.Controls();
  const Shown& s = shown_[n];
  const std::string name = form::AccessibleName(controls, n);
  if (WindowText(s.hwnd) != name) ::SetWindowTextA(s.hwnd, name.c_str());
  if (const auto& pressed = controls[n].pressed) {
    const bool shown = (::SendMessageA(s.hwnd, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
    if (shown != *pressed) ::SendMessageA(s.hwnd, BM_SETSTATE, *pressed, 0);
  }
}

void FormWindow::FocusControl(std::size_t n) {
  if (n >= shown_.size() || shown_[n].hwnd == nullptr || !::IsWindowEnabled(shown_[n].hwnd)) return;
  // Also where the focus goes back to once the window is active again after a message box.
  savedFocus_ = shown_[n].hwnd;
  restoring_ = true;
  ::SetFocus(shown_[n].hwnd);
  restoring_ = false;
  if (shown_[n].edit != nullptr) ::SendMessageA(shown_[n].edit, EM_SETSEL, 0, -1);
}

void FormWindow::ReadColourScheme() {
  HIGHCONTRASTA contrast{};
  contrast.cbSize = sizeof contrast;
  highContrast_ = ::SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
                  (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

// The designed grey, or in high-contrast mode the system's face colour; help mode's green
// stays green.
COLORREF FormWindow::FaceColour(form::Rgb colour) const {
  if (highContrast_ && colour == form::kLightGrey) return ::GetSysColor(COLOR_BTNFACE);
  return ToColorRef(colour);
}

// Black on the grey, whatever the system's text colour; the system's in high-contrast mode.
COLORREF FormWindow::TextColour() const {
  return highContrast_ ? ::GetSysColor(COLOR_BTNTEXT) : RGB(0, 0, 0);
}

}  // namespace morlane::gui::win32
