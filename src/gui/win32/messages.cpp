// The messages of the form's window: the controls' notifications, activation, tool tip texts
// and close requests, passed on to the form.
#include "gui/win32/form_window.h"

#include <commctrl.h>

#include "gui/win32/form_window_internal.h"

namespace morlane::gui::win32 {
namespace {

using form::Control;
using form::Kind;

std::string ListEntry(HWND combo, WPARAM index) {
  const LRESULT length = ::SendMessageA(combo, CB_GETLBTEXTLEN, index, 0);
  if (length == CB_ERR) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const LRESULT got =
      ::SendMessageA(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(got == CB_ERR ? 0 : static_cast<std::size_t>(got));
  return text;
}

// A Unicode tool tip's text: the same text from the ANSI code page, kept until it asks again.
wchar_t* Widened(const std::string& text) {
  static std::wstring wide;
  wide.assign(text.size() + 1, L'\0');
  const int length = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(),
                                           static_cast<int>(wide.size()));
  wide.resize(length > 0 ? static_cast<std::size_t>(length) : 1);
  return wide.data();
}

}  // namespace

LRESULT CALLBACK FormWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    auto* self = static_cast<FormWindow*>(create->lpCreateParams);
    ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->window_ = hwnd;
  }
  FormWindow* self = FromHandle(hwnd);
  if (self == nullptr) return ::DefWindowProcA(hwnd, message, wParam, lParam);
  return self->OnMessage(message, wParam, lParam);
}

LRESULT FormWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      DispatchCommand(wParam);
      return 0;
    case WM_TIMER:
      if (wParam != kToolTipTimer) break;
      ::KillTimer(window_, kToolTipTimer);
      AddToolTips();
      return 0;
    case kReadComboText:
      if (wParam < shown_.size()) ReadComboText(wParam);
      return 0;
    case WM_DRAWITEM:
      DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return OnColour(message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_ERASEBKGND:
      PaintBackground(reinterpret_cast<HDC>(wParam));
      return TRUE;
    case WM_NOTIFY:
      OnNotify(lParam);
      return 0;
    case WM_ACTIVATE:
      OnActivate(LOWORD(wParam) != WA_INACTIVE);
      return 0;
    case WM_SETCURSOR:
      if (!busy_) break;
      ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
      return TRUE;
    case WM_SIZE:
      if (built_) handlers_.Resized();
      return 0;
    case WM_CLOSE:
      OnClose();
      return 0;
    case kDpiChanged:
      dpi_ = HIWORD(wParam);
      Relayout(*reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE:
      // High-contrast mode switched on or off while the window is open.
      ReadColourScheme();
      ::RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
      break;
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return ::DefWindowProcA(window_, message, wParam, lParam);
}

// A notification of one of the controls, told by its id.
void FormWindow::DispatchCommand(WPARAM wParam) {
  const int id = LOWORD(wParam);
  if (id >= kFirstId && static_cast<std::size_t>(id - kFirstId) < shown_.size()) {
    OnCommand(static_cast<std::size_t>(id - kFirstId), HIWORD(wParam));
  }
}

void FormWindow::PaintBackground(HDC dc) {
  RECT client{};
  ::GetClientRect(window_, &client);
  ::FillRect(dc, &client, Brush(form::kLightGrey));
}

// The tool tips ask for the text of a control when its tip is due.
void FormWindow::OnNotify(LPARAM lParam) {
  const auto* header = reinterpret_cast<const NMHDR*>(lParam);
  if (header->code != TTN_GETDISPINFOA && header->code != TTN_GETDISPINFOW) return;
  const auto n = PositionOf(reinterpret_cast<HWND>(header->idFrom));
  toolTipText_ = n ? form::ShownToolTip(events_.Controls()[*n], shown_[*n].cut) : std::string();
  if (header->code == TTN_GETDISPINFOA) {
    reinterpret_cast<NMTTDISPINFOA*>(lParam)->lpszText = toolTipText_.data();
  } else {
    reinterpret_cast<NMTTDISPINFOW*>(lParam)->lpszText = Widened(toolTipText_);
  }
}

void FormWindow::OnActivate(bool active) {
  if (!active) {
    handlers_.BoxShown();
    const HWND focus = ::GetFocus();
    if (focus != nullptr && ::IsChild(window_, focus)) savedFocus_ = focus;
    return;
  }
  // The focus goes back where it was (after a message box, say): no new focus by the user.
  restoring_ = true;
  if (savedFocus_ != nullptr && ::IsWindow(savedFocus_) && ::IsWindowEnabled(savedFocus_)) {
    ::SetFocus(savedFocus_);
  } else {
    FocusFirst();
  }
  restoring_ = false;
  // A message box of a running handler takes the activation away and gives it back; that
  // is no activation of the window by the user.
  if (built_) handlers_.Activated();
}

void FormWindow::OnClose() {
  if (handlers_.CloseRequested()) ::DestroyWindow(window_);
}

void FormWindow::OnCommand(std::size_t n, int code) {
  const Control& c = events_.Controls()[n];
  switch (c.kind) {
    case Kind::CommandButton:
      // A quick second click is a click too, not a double click that the button swallows.
      if (code == BN_CLICKED || code == BN_DOUBLECLICKED) handlers_.Clicked(n);
      break;
    case Kind::Label:
      if (code == STN_CLICKED) handlers_.Clicked(n);
      break;
    case Kind::ComboBox:
      if (mirroring_) break;
      if (code == CBN_SELCHANGE) {
        // The edit field shows the chosen entry only after this notification: take it from
        // the list, so the model has the text its handler reads.
        const LRESULT chosen = ::SendMessageA(shown_[n].hwnd, CB_GETCURSEL, 0, 0);
        if (chosen != CB_ERR)
          events_.Edited(n, ListEntry(shown_[n].hwnd, static_cast<WPARAM>(chosen)));
        handlers_.Clicked(n);
      } else if (code == CBN_EDITCHANGE) {
        events_.Edited(n, WindowText(shown_[n].hwnd));
      } else if (code == CBN_CLOSEUP) {
        // Whatever the closed list left in the edit field, once the combo has put it there.
        ::PostMessageA(window_, kReadComboText, n, 0);
      } else if (code == CBN_SETFOCUS && !restoring_) {
        // The list that a click taken by a message box goes on to open is closed again
        // (closing a list that is not open changes nothing).
        if (handlers_.Focused(n, true)) ::PostMessageA(shown_[n].hwnd, CB_SHOWDROPDOWN, FALSE, 0);
      } else if (code == CBN_KILLFOCUS && shown_[n].edit != nullptr) {
        // A text longer than the box stays scrolled to its end otherwise; shown from its start.
        ::SendMessageA(shown_[n].edit, EM_SETSEL, 0, 0);
        ::SendMessageA(shown_[n].edit, EM_SCROLLCARET, 0, 0);
      }
      break;
    case Kind::Frame:
      break;
  }
}

LRESULT FormWindow::OnColour(UINT message, HDC dc, HWND control) {
  const auto n = PositionOf(control);
  if (n) {
    const Control& c = events_.Controls()[*n];
    if (c.backColor) {
      ::SetBkColor(dc, FaceColour(*c.backColor));
      ::SetTextColor(dc, TextColour());
      return reinterpret_cast<LRESULT>(Brush(*c.backColor));
    }
  }
  // The combo boxes keep the platform's colours.
  return ::DefWindowProcA(window_, message, reinterpret_cast<WPARAM>(dc),
                          reinterpret_cast<LPARAM>(control));
}

}  // namespace morlane::gui::win32
