// The keyboard handling of a dialog and the order in which the focus moves.
#include "gui/win32/form_window.h"

#include <algorithm>
#include <vector>

#include "gui/win32/form_window_internal.h"

namespace morlane::gui::win32 {

using form::Control;
using form::Kind;

bool FormWindow::TakesFocus(std::size_t n) const {
  const Control& c = events_.Controls()[n];
  return (c.kind == Kind::CommandButton || c.kind == Kind::ComboBox) && c.enabled &&
         shown_[n].hwnd != nullptr;
}

void FormWindow::FocusFirst() {
  std::optional<std::size_t> first;
  const auto& controls = events_.Controls();
  for (std::size_t n = 0; n < shown_.size(); ++n) {
    if (!TakesFocus(n)) continue;
    if (!first || controls[n].tabIndex < controls[*first].tabIndex) first = n;
  }
  if (first) ::SetFocus(shown_[*first].hwnd);
}

void FormWindow::MoveFocus(bool forward) {
  const auto& controls = events_.Controls();
  std::vector<std::size_t> order;
  for (std::size_t n = 0; n < shown_.size(); ++n) {
    if (TakesFocus(n)) order.push_back(n);
  }
  if (order.empty()) return;
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return controls[a].tabIndex < controls[b].tabIndex;
  });
  const auto current = PositionOf(::GetFocus());
  auto at = current ? std::find(order.begin(), order.end(), *current) : order.end();
  std::size_t next = 0;
  if (at == order.end()) {
    next = forward ? order.front() : order.back();
  } else {
    const auto k = static_cast<std::size_t>(at - order.begin());
    next = order[forward ? (k + 1) % order.size() : (k + order.size() - 1) % order.size()];
  }
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
        const std::size_t pressed = *n;
        Call([&] { events_.Clicked(pressed); });
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
