// Mirroring the model: every Sync() brings the window's controls up to what the form stores.
#include "gui/win32/form_window.h"

#include "gui/win32/form_window_internal.h"

namespace morlane::gui::win32 {

using form::Control;
using form::Kind;

void FormWindow::Sync() {
  if (window_ == nullptr) return;
  mirroring_ = true;
  if (events_.Caption() != caption_) {
    caption_ = events_.Caption();
    ::SetWindowTextA(window_, caption_.c_str());
  }
  for (std::size_t n = 0; n < shown_.size(); ++n) {
    Mirror(n);
  }
  mirroring_ = false;

  const bool busy = events_.BusyCursor();
  if (busy != busy_) {
    busy_ = busy;
    POINT at{};
    ::GetCursorPos(&at);
    const HWND under = ::WindowFromPoint(at);
    if (under == window_ || ::IsChild(window_, under)) {
      ::SetCursor(::LoadCursorA(nullptr, busy ? IDC_WAIT : IDC_ARROW));
    }
  }
}

void FormWindow::Mirror(std::size_t n) {
  const Control& c = events_.Controls()[n];
  Shown& s = shown_[n];
  if (s.hwnd == nullptr) return;
  if ((::IsWindowEnabled(s.hwnd) != FALSE) != c.enabled) ::EnableWindow(s.hwnd, c.enabled);
  switch (c.kind) {
    case Kind::Label:
      if (s.caption != c.caption) {
        s.caption = c.caption;
        ::SetWindowTextA(s.hwnd, c.caption.c_str());
        const form::Box box = FitLabel(n);
        ::SetWindowPos(s.hwnd, nullptr, box.left, box.top, box.width, box.height,
                       SWP_NOZORDER | SWP_NOACTIVATE);
      }
      if (s.backColor != c.backColor) {
        s.backColor = c.backColor;
        ::InvalidateRect(s.hwnd, nullptr, TRUE);
      }
      break;
    case Kind::CommandButton:
      MirrorButton(n);
      [[fallthrough]];
    case Kind::Frame:
      // Drawn by the window from the model: drawn again when what it shows has changed (a
      // frame's colour is its background, filled when erased).
      if (s.caption != c.caption || s.backColor != c.backColor) {
        s.caption = c.caption;
        s.backColor = c.backColor;
        ::InvalidateRect(s.hwnd, nullptr, c.kind == Kind::Frame);
      }
      break;
    case Kind::ComboBox:
      MirrorCombo(n);
      break;
  }
}

void FormWindow::MirrorCombo(std::size_t n) {
  const Control& c = events_.Controls()[n];
  Shown& s = shown_[n];
  const bool newItems = s.items != c.items;
  if (newItems) {
    // A box made a moment ago has nothing to clear.
    if (!s.items.empty()) ::SendMessageA(s.hwnd, CB_RESETCONTENT, 0, 0);
    s.items = c.items;
    for (const std::string& item : c.items) {
      ::SendMessageA(s.hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
  }
  // An equal text is left alone with its cursor.
  if (newItems || WindowText(s.hwnd) != c.text) {
    // The list's selection follows the text, so the arrow keys move on from there.
    const auto selected = form::ListSelection(c);
    ::SendMessageA(s.hwnd, CB_SETCURSEL, selected ? *selected : static_cast<WPARAM>(-1), 0);
    // Choosing an entry puts its text, the same, in the edit field: set only where it did not.
    if (WindowText(s.hwnd) != c.text) ::SetWindowTextA(s.hwnd, c.text.c_str());
  }
  if (newItems) FitList(n);
}

void FormWindow::ReadComboText(std::size_t n) {
  const Shown& s = shown_[n];
  const std::string text = WindowText(s.hwnd);
  if (text != events_.Controls()[n].text) events_.Edited(n, text);
}

}  // namespace morlane::gui::win32
