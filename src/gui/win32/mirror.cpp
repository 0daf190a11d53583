// Mirroring the model: every Sync() brings the window's controls up to what the form stores.
#include "gui/win32/form_window.h"

#include <algorithm>

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
      if (s.backColor != c.backColor) {
        s.backColor = c.backColor;
        ::InvalidateRect(s.hwnd, nullptr, TRUE);
      }
      if (s.caption != c.caption) {
        s.caption = c.caption;
        ::SetWindowTextA(s.hwnd, c.caption.c_str());
      }
      break;
    case Kind::CommandButton:
      MirrorButton(n);
      [[fallthrough]];
    case Kind::Frame:
      // Drawn by the window from the model: drawn again when what it shows has changed.
      if (s.caption != c.caption || s.backColor != c.backColor) {
        s.caption = c.caption;
        s.backColor = c.backColor;
        ::InvalidateRect(s.hwnd, nullptr, FALSE);
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
    s.items = c.items;
    ::SendMessageA(s.hwnd, CB_RESETCONTENT, 0, 0);
    for (const std::string& item : c.items) {
      ::SendMessageA(s.hwnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
  }
  // An equal text is left alone with its cursor.
  if (newItems || WindowText(s.hwnd) != c.text) {
    // The list's selection follows the text, so the arrow keys move on from there.
    WPARAM found = static_cast<WPARAM>(-1);
    for (std::size_t k = 0; k < c.items.size(); ++k) {
      if (c.items[k] == c.text) {
        found = k;
        break;
      }
    }
    ::SendMessageA(s.hwnd, CB_SETCURSEL, found, 0);
    ::SetWindowTextA(s.hwnd, c.text.c_str());
    FitCombo(n);
  }
}

// The whole text of a position must be readable: the box grows to the right, within its
// frame, where the designed width is too narrow for its text; its list is as wide as the
// widest entry.
void FormWindow::FitCombo(std::size_t n) {
  const Control& c = events_.Controls()[n];
  Shown& s = shown_[n];
  const HDC dc = ::GetDC(s.hwnd);
  const HGDIOBJ old =
      ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(s.hwnd, WM_GETFONT, 0, 0)));
  auto widthOf = [dc](const std::string& text) {
    SIZE size{};
    ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return static_cast<int>(size.cx);
  };
  int widestEntry = 0;
  for (const std::string& item : c.items) {
    widestEntry = std::max(widestEntry, widthOf(item));
  }
  const int widestText = std::max(widestEntry, widthOf(c.text));
  ::SelectObject(dc, old);
  ::ReleaseDC(s.hwnd, dc);

  const int arrow = ::GetSystemMetrics(SM_CXVSCROLL);
  const int edges = 2 * ::GetSystemMetrics(SM_CXEDGE) + 2 * kComboTextMargin + 4;
  int width = std::max(s.designWidth, widestText + arrow + edges);
  RECT box{}, container{};
  ::GetWindowRect(s.hwnd, &box);
  const HWND parent = ::GetParent(s.hwnd);
  ::GetClientRect(parent, &container);
  ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&box), 2);
  width =
      std::min(width, std::max(s.designWidth, static_cast<int>(container.right - box.left) - 4));
  if (width != box.right - box.left) {
    ::SetWindowPos(s.hwnd, nullptr, 0, 0, width, box.bottom - box.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  const int listWidth = widestEntry + arrow + edges;
  ::SendMessageA(s.hwnd, CB_SETDROPPEDWIDTH, static_cast<WPARAM>(std::max(width, listWidth)), 0);
}

void FormWindow::ReadComboText(std::size_t n) {
  const Shown& s = shown_[n];
  const std::string text = WindowText(s.hwnd);
  if (text != events_.Controls()[n].text) events_.Edited(n, text);
}

}  // namespace morlane::gui::win32
