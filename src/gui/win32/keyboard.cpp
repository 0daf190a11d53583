// The keyboard handling of a dialog and the order in which the focus moves.
#include "gui/win32/form_window.h"

#include "gui/win32/form_window_internal.h"

namespace morlane::gui::win32 {

using form::Control;
using form::Kind;

void FormWindow::FocusFirst() {
  const auto first = form::FirstFocus(events_.Controls());
  if (first && *first < shown_.size()) ::SetFocus(shown_[*first].hwnd);
}

void FormWindow::MoveFocus(bool forward) {
  const auto to = form::NextFocus(events_.Controls(), PositionOf(::GetFocus()), forward);
  if (!to || *to >= shown_.size()) return;
  const std::size_t next = *to;
  ::SetFocus(shown_[next].hwnd);
  // A combo's text is selected when the keyboard brings the focus, as in a dialog.
  if (shown_[next].edit != nullptr) ::SendMessageA(shown_[next].edit, EM_SETSEL, 0, -1);
}

bool FormWindow::PreTranslate(const MSG& message) {
  if (message.message != WM_KEYDOWN || window_ == nullptr) return false;
  if (message.hwnd != window_ && !::IsChild(window_, message.hwnd)) return false;
  const auto n = PositionOf(message.hwnd);
  const bool combo = n && events_.Controls()[*n].kind == Kind::ComboBox;
  const bool listOpen = combo && ::SendMessageA(shown_[*n].hwnd, CB_GETDROPPEDSTATE, 0, 0) != FALSE;
  switch (message.wParam) {
    case VK_TAB:
      if (::GetKeyState(VK_CONTROL) < 0 || ::GetKeyState(VK_MENU) < 0) return false;
      MoveFocus(::GetKeyState(VK_SHIFT) >= 0);
      return true;
    case VK_RETURN:
      // Enter presses the button that has the focus; no button is the default.
      if (listOpen) return false;
      if (n && events_.Controls()[*n].kind == Kind::CommandButton &&
          events_.Controls()[*n].enabled) {
        handlers_.Clicked(*n);
      }
      return true;
    case VK_ESCAPE:
      // No cancel button either: Escape only closes an open list.
      return !listOpen;
    case 'A':
      // Ctrl+A selects a position's whole text, as in the edit fields of current Windows.
      if (!combo || ::GetKeyState(VK_CONTROL) >= 0 || shown_[*n].edit == nullptr) return false;
      ::SendMessageA(shown_[*n].edit, EM_SETSEL, 0, -1);
      return true;
    default:
      return false;
  }
}

}  // namespace morlane::gui::win32
