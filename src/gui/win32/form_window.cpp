#include "gui/win32/form_window.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>

#include "gui/win32/resources.h"

namespace morlane::gui::win32 {
namespace {

using form::Control;
using form::Kind;
using form::Picture;
using form::Rgb;

constexpr char kWindowClass[] = "MorlaneConfigForm";
constexpr char kFrameClass[] = "MorlaneConfigFrame";
constexpr int kFirstId = 1000;               // control n has the id kFirstId + n
constexpr UINT kReadComboText = WM_APP + 1;  // wParam: the combo's position
constexpr UINT_PTR kToolTipTimer = 1;
constexpr UINT kToolTipDelayMs = 250;  // well before anyone's pointer rests on a control
constexpr int kListRows = 8;           // rows of an open drop-down list
constexpr int kComboTextMargin = 2;    // pixels left and right of a combo's text

COLORREF ToColorRef(Rgb rgb) {
  return RGB(rgb.red, rgb.green, rgb.blue);
}

int IconOf(Picture picture) {
  switch (picture) {
    case Picture::CheckMark:
      return kIconCheckMark;
    case Picture::Cross:
      return kIconCross;
    case Picture::QuestionArrow:
      return kIconQuestionArrow;
    case Picture::None:
      break;
  }
  return 0;
}

std::string WindowText(HWND hwnd) {
  std::string text(static_cast<std::size_t>(::GetWindowTextLengthA(hwnd)) + 1, '\0');
  text.resize(
      static_cast<std::size_t>(::GetWindowTextA(hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

std::string ListEntry(HWND combo, WPARAM index) {
  const LRESULT length = ::SendMessageA(combo, CB_GETLBTEXTLEN, index, 0);
  if (length == CB_ERR) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const LRESULT got =
      ::SendMessageA(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
  text.resize(got == CB_ERR ? 0 : static_cast<std::size_t>(got));
  return text;
}

FormWindow* FromHandle(HWND hwnd) {
  return reinterpret_cast<FormWindow*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

}  // namespace

FormWindow::FormWindow(form::FormEvents& form) : events_(form) {}

FormWindow::~FormWindow() {
  events_.SetHost(nullptr);
  // A window that closed itself is gone already.
  if (window_ != nullptr && ::IsWindow(window_)) {
    ::SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    ::DestroyWindow(window_);
  }
  if (toolTips_ != nullptr) ::DestroyWindow(toolTips_);
  for (const Shown& s : shown_) {
    if (s.icon != nullptr) ::DestroyIcon(s.icon);
  }
  for (const auto& [key, font] : fonts_) {
    ::DeleteObject(font);
  }
  for (const auto& [colour, brush] : brushes_) {
    ::DeleteObject(brush);
  }
}

bool FormWindow::RegisterClasses(HINSTANCE instance) {
  static const bool registered = [instance] {
    WNDCLASSEXA form{};
    form.cbSize = sizeof form;
    form.lpfnWndProc = &FormWindow::WindowProc;
    form.hInstance = instance;
    form.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    form.lpszClassName = kWindowClass;
    WNDCLASSEXA frame = form;
    frame.lpfnWndProc = &FormWindow::FrameProc;
    frame.lpszClassName = kFrameClass;
    return ::RegisterClassExA(&form) != 0 && ::RegisterClassExA(&frame) != 0;
  }();
  return registered;
}

int FormWindow::Pixels(int twips) const {
  return ::MulDiv(twips, dpi_, 1440);
}

bool FormWindow::Create() {
  instance_ = ::GetModuleHandleA(nullptr);
  if (!RegisterClasses(instance_)) return false;
  const HDC screen = ::GetDC(nullptr);
  dpi_ = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);

  // A fixed layout: no resizing border, no maximise box.
  constexpr DWORD kStyle =
      WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
  RECT frame{0, 0, Pixels(form::kClientWidth), Pixels(form::kClientHeight)};
  ::AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  RECT desktop{0, 0, width, height};
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &desktop, 0);
  const int x = desktop.left + std::max<int>(0, (desktop.right - desktop.left - width) / 2);
  const int y = desktop.top + std::max<int>(0, (desktop.bottom - desktop.top - height) / 2);
  caption_ = events_.Caption();
  window_ = ::CreateWindowExA(0, kWindowClass, caption_.c_str(), kStyle, x, y, width, height,
                              nullptr, nullptr, instance_, this);
  if (window_ == nullptr) return false;

  Build();
  events_.SetHost(this);
  Sync();
  return true;
}

void FormWindow::Build() {
  const auto& controls = events_.Controls();
  shown_.resize(controls.size());
  for (std::size_t n = 0; n < controls.size(); ++n) {
    HWND parent = window_;
    for (std::size_t k = 0; k < n; ++k) {
      if (!controls[n].container.empty() && controls[k].name == controls[n].container &&
          !controls[k].index) {
        parent = shown_[k].hwnd;
      }
    }
    shown_[n].hwnd = CreateControl(n, parent);
  }
  built_ = true;
}

// The common controls are loaded for the tool tips a moment after the window has shown: the
// window need not wait for them, and no one points at a control that early.
void FormWindow::AddToolTips() {
  if (toolTips_ != nullptr) return;
  const HMODULE common = ::LoadLibraryA("comctl32.dll");
  if (common == nullptr) return;
  using InitFunction = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  // Through void (*)(), which converts to any function pointer without a warning.
  const auto init = reinterpret_cast<InitFunction>(
      reinterpret_cast<void (*)()>(::GetProcAddress(common, "InitCommonControlsEx")));
  const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_WIN95_CLASSES};
  if (init == nullptr || !init(&classes)) return;
  toolTips_ =
      ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr,
                        WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, window_, nullptr, instance_, nullptr);
  if (toolTips_ == nullptr) return;
  // A width limit makes the tool tip break its text at the line breaks it contains.
  ::SendMessageA(toolTips_, TTM_SETMAXTIPWIDTH, 0, Pixels(9000));
  // Every control asks for its tip when it is due, so a tip follows the model by itself.
  for (const Shown& s : shown_) {
    for (HWND tool : {s.hwnd, s.edit}) {
      if (tool == nullptr) continue;
      TOOLINFOA info{};
      info.cbSize = sizeof info;
      info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
      info.hwnd = window_;
      info.uId = reinterpret_cast<UINT_PTR>(tool);
      info.lpszText = LPSTR_TEXTCALLBACKA;
      ::SendMessageA(toolTips_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info));
    }
  }
}

HWND FormWindow::CreateControl(std::size_t n, HWND parent) {
  const Control& c = events_.Controls()[n];
  Shown& s = shown_[n];
  const auto id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstId + n));
  const int x = Pixels(c.left), y = Pixels(c.top), w = Pixels(c.width), h = Pixels(c.height);
  s.designWidth = w;
  const DWORD common = WS_CHILD | WS_VISIBLE | (c.enabled ? 0 : WS_DISABLED);
  HWND hwnd = nullptr;
  switch (c.kind) {
    case Kind::CommandButton: {
      // Drawn by the window: the face takes the control's colour (the help button turns green).
      hwnd = ::CreateWindowExA(0, "BUTTON", "", common | WS_TABSTOP | BS_OWNERDRAW, x, y, w, h,
                               parent, id, instance_, nullptr);
      if (const int icon = IconOf(c.picture)) {
        // The picture at its own size, as drawn.
        s.icon = static_cast<HICON>(
            ::LoadImageA(instance_, MAKEINTRESOURCEA(icon), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR));
        ICONINFO info{};
        if (s.icon != nullptr && ::GetIconInfo(s.icon, &info)) {
          BITMAP bitmap{};
          ::GetObjectA(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof bitmap,
                       &bitmap);
          s.iconSize = {bitmap.bmWidth,
                        info.hbmColor != nullptr ? bitmap.bmHeight : bitmap.bmHeight / 2};
          if (info.hbmColor != nullptr) ::DeleteObject(info.hbmColor);
          if (info.hbmMask != nullptr) ::DeleteObject(info.hbmMask);
        }
      }
      break;
    }
    case Kind::Frame:
      hwnd = ::CreateWindowExA(0, kFrameClass, "", common | WS_CLIPSIBLINGS, x, y, w, h, parent, id,
                               instance_, nullptr);
      if (hwnd != nullptr)
        ::SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
      break;
    case Kind::ComboBox: {
      // The window height of a combo box includes its drop-down list.
      hwnd = ::CreateWindowExA(0, "COMBOBOX", "",
                               common | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, x,
                               y, w, h * (kListRows + 1), parent, id, instance_, nullptr);
      if (hwnd == nullptr) break;
      COMBOBOXINFO info{};
      info.cbSize = sizeof info;
      if (::GetComboBoxInfo(hwnd, &info)) s.edit = info.hwndItem;
      break;
    }
    case Kind::Label:
      hwnd = ::CreateWindowExA(0, "STATIC", c.caption.c_str(),
                               common | SS_LEFT | SS_NOTIFY | SS_NOPREFIX, x, y, w, h, parent, id,
                               instance_, nullptr);
      break;
  }
  if (hwnd == nullptr) return nullptr;
  // What the first paint shows; Mirror() compares with it.
  s.caption = c.caption;
  s.backColor = c.backColor;
  HFONT font = FontOf(c.font);
  ::SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  if (c.kind == Kind::ComboBox) {
    // The box takes the height its font needs, as the designed height was worked out from;
    // little margin beside the text, so that a short position fits the narrow box.
    if (s.edit != nullptr) {
      ::SendMessageA(s.edit, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN,
                     MAKELPARAM(kComboTextMargin, kComboTextMargin));
    }
  }
  return hwnd;
}

HFONT FormWindow::FontOf(const form::Font& font) {
  if (font.family.empty()) return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  const std::string key =
      font.family + "/" + std::to_string(font.points) + (font.bold ? "/bold" : "");
  if (const auto known = fonts_.find(key); known != fonts_.end()) return known->second;
  const int height = -static_cast<int>(std::lround(font.points * dpi_ / 72.0));
  HFONT created = ::CreateFontA(height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE,
                                FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, font.family.c_str());
  if (created == nullptr) created = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  fonts_[key] = created;
  return created;
}

HBRUSH FormWindow::Brush(Rgb colour) {
  const COLORREF value = ToColorRef(colour);
  HBRUSH& brush = brushes_[value];
  if (brush == nullptr) brush = ::CreateSolidBrush(value);
  return brush;
}

std::optional<std::size_t> FormWindow::PositionOf(HWND hwnd) const {
  for (std::size_t n = 0; n < shown_.size(); ++n) {
    if (hwnd != nullptr && (shown_[n].hwnd == hwnd || shown_[n].edit == hwnd)) return n;
  }
  return std::nullopt;
}

bool FormWindow::TakesFocus(std::size_t n) const {
  const Control& c = events_.Controls()[n];
  return (c.kind == Kind::CommandButton || c.kind == Kind::ComboBox) && c.enabled &&
         shown_[n].hwnd != nullptr;
}

// ---- Mirroring the model ---------------------------------------------------------------------

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

void FormWindow::ProcessPendingEvents() {
  MSG message;
  while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(message.wParam));
      return;
    }
    if (PreTranslate(message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
}

template <typename Handler>
void FormWindow::Call(Handler handler) {
  ++handlersRunning_;
  handler();
  --handlersRunning_;
}

// ---- Showing and running ---------------------------------------------------------------------

void FormWindow::Open() {
  ::ShowWindow(window_, SW_SHOWNORMAL);
  ::UpdateWindow(window_);
  ::SetTimer(window_, kToolTipTimer, kToolTipDelayMs, nullptr);
  ::SetForegroundWindow(window_);
  if (::GetFocus() == nullptr) FocusFirst();
}

void FormWindow::Run() {
  MSG message;
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (PreTranslate(message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
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

// ---- Events of the window --------------------------------------------------------------------

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
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (id >= kFirstId && static_cast<std::size_t>(id - kFirstId) < shown_.size()) {
        OnCommand(static_cast<std::size_t>(id - kFirstId), HIWORD(wParam));
      }
      return 0;
    }
    case WM_TIMER:
      if (wParam != kToolTipTimer) break;
      ::KillTimer(window_, kToolTipTimer);
      AddToolTips();
      return 0;
    case kReadComboText:
      if (wParam < shown_.size()) ReadComboText(wParam);
      return 0;
    case WM_DRAWITEM:
      DrawButton(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      return OnColour(message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_ERASEBKGND: {
      RECT client{};
      ::GetClientRect(window_, &client);
      ::FillRect(reinterpret_cast<HDC>(wParam), &client, Brush(form::kLightGrey));
      return TRUE;
    }
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->code == TTN_GETDISPINFOA || header->code == TTN_GETDISPINFOW) {
        const auto n = PositionOf(reinterpret_cast<HWND>(header->idFrom));
        toolTipText_ = n ? events_.Controls()[*n].toolTip : std::string();
        if (header->code == TTN_GETDISPINFOA) {
          reinterpret_cast<NMTTDISPINFOA*>(lParam)->lpszText = toolTipText_.data();
        } else {
          // A Unicode tool tip: the same text from the ANSI code page.
          static std::wstring wide;
          wide.assign(toolTipText_.size() + 1, L'\0');
          const int length = ::MultiByteToWideChar(CP_ACP, 0, toolTipText_.c_str(), -1, wide.data(),
                                                   static_cast<int>(wide.size()));
          wide.resize(length > 0 ? static_cast<std::size_t>(length) : 1);
          reinterpret_cast<NMTTDISPINFOW*>(lParam)->lpszText = wide.data();
        }
      }
      return 0;
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        ++deactivations_;
        const HWND focus = ::GetFocus();
        if (focus != nullptr && ::IsChild(window_, focus)) savedFocus_ = focus;
        return 0;
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
      if (handlersRunning_ == 0 && built_) Call([&] { events_.Form_Activate(); });
      return 0;
    case WM_SETCURSOR:
      if (busy_) {
        ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
        return TRUE;
      }
      break;
    case WM_SIZE:
      if (built_) Call([&] { events_.Form_Resize(); });
      return 0;
    case WM_CLOSE: {
      bool cancel = false;
      Call([&] { events_.Form_QueryUnload(cancel, 0); });
      if (!cancel) ::DestroyWindow(window_);
      return 0;
    }
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return ::DefWindowProcA(window_, message, wParam, lParam);
}

void FormWindow::OnCommand(std::size_t n, int code) {
  const Control& c = events_.Controls()[n];
  switch (c.kind) {
    case Kind::CommandButton:
      if (code == BN_CLICKED) Call([&] { events_.Clicked(n); });
      break;
    case Kind::Label:
      if (code == STN_CLICKED) Call([&] { events_.Clicked(n); });
      break;
    case Kind::ComboBox:
      if (mirroring_) break;
      if (code == CBN_SELCHANGE) {
        // The edit field shows the chosen entry only after this notification: take it from
        // the list, so the model has the text its handler reads.
        const LRESULT chosen = ::SendMessageA(shown_[n].hwnd, CB_GETCURSEL, 0, 0);
        if (chosen != CB_ERR)
          events_.Edited(n, ListEntry(shown_[n].hwnd, static_cast<WPARAM>(chosen)));
        Call([&] { events_.Clicked(n); });
      } else if (code == CBN_EDITCHANGE) {
        events_.Edited(n, WindowText(shown_[n].hwnd));
      } else if (code == CBN_CLOSEUP) {
        // Whatever the closed list left in the edit field, once the combo has put it there.
        ::PostMessageA(window_, kReadComboText, n, 0);
      } else if (code == CBN_SETFOCUS && !restoring_ && handlersRunning_ == 0) {
        const int before = deactivations_;
        Call([&] { events_.Focused(n); });
        // A message box shown for a focusing click (help mode) has taken that click: the list
        // that the click goes on to open is closed again.
        if (deactivations_ != before) ::PostMessageA(shown_[n].hwnd, CB_SHOWDROPDOWN, FALSE, 0);
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
      ::SetBkColor(dc, ToColorRef(*c.backColor));
      return reinterpret_cast<LRESULT>(Brush(*c.backColor));
    }
  }
  // The combo boxes keep the platform's colours.
  return ::DefWindowProcA(window_, message, reinterpret_cast<WPARAM>(dc),
                          reinterpret_cast<LPARAM>(control));
}

void FormWindow::DrawButton(const DRAWITEMSTRUCT& item) {
  const auto n = PositionOf(item.hwndItem);
  if (!n) return;
  const Control& c = events_.Controls()[*n];
  const Shown& s = shown_[*n];
  const HDC dc = item.hDC;
  RECT r = item.rcItem;
  const bool pushed = (item.itemState & ODS_SELECTED) != 0;
  const bool focused = (item.itemState & ODS_FOCUS) != 0;
  const bool disabled = (item.itemState & ODS_DISABLED) != 0;

  ::FillRect(dc, &r, Brush(c.backColor.value_or(form::kLightGrey)));
  if (focused) {
    // The button that Enter presses has the dark outline of a dialog's default button.
    ::FrameRect(dc, &r, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    ::InflateRect(&r, -1, -1);
  }
  ::DrawEdge(dc, &r, pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);

  const int shift = pushed ? 1 : 0;
  SIZE text{};
  const HGDIOBJ oldFont = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
  if (!c.caption.empty()) {
    ::GetTextExtentPoint32A(dc, c.caption.c_str(), static_cast<int>(c.caption.size()), &text);
  }
  const int gap = (s.icon != nullptr && text.cx > 0) ? 4 : 0;
  const int contentWidth = (s.icon != nullptr ? s.iconSize.cx : 0) + gap + text.cx;
  int x = (item.rcItem.left + item.rcItem.right - contentWidth) / 2 + shift;
  if (s.icon != nullptr) {
    const int y = (item.rcItem.top + item.rcItem.bottom - s.iconSize.cy) / 2 + shift;
    if (disabled) {
      ::DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(s.icon), 0, x, y, s.iconSize.cx,
                   s.iconSize.cy, DST_ICON | DSS_DISABLED);
    } else {
      ::DrawIconEx(dc, x, y, s.icon, s.iconSize.cx, s.iconSize.cy, 0, nullptr, DI_NORMAL);
    }
    x += s.iconSize.cx + gap;
  }
  if (text.cx > 0) {
    RECT textRect{x, item.rcItem.top + shift, x + text.cx, item.rcItem.bottom + shift};
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    ::DrawTextA(dc, c.caption.c_str(), static_cast<int>(c.caption.size()), &textRect,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  }
  ::SelectObject(dc, oldFont);
  if (focused) {
    RECT focus = r;
    ::InflateRect(&focus, -4, -4);
    ::DrawFocusRect(dc, &focus);
  }
}

// ---- Frames ----------------------------------------------------------------------------------

LRESULT CALLBACK FormWindow::FrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  FormWindow* self = FromHandle(hwnd);
  if (self == nullptr) return ::DefWindowProcA(hwnd, message, wParam, lParam);
  switch (message) {
    // What the controls inside tell their parent is the window's business.
    case WM_COMMAND:
    case WM_DRAWITEM:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_NOTIFY:
      return self->OnMessage(message, wParam, lParam);
    case WM_ERASEBKGND:
      return TRUE;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      const HDC dc = ::BeginPaint(hwnd, &paint);
      RECT r{};
      ::GetClientRect(hwnd, &r);
      const auto n = self->PositionOf(hwnd);
      const auto colour = n ? self->events_.Controls()[*n].backColor : std::nullopt;
      ::FillRect(dc, &r, self->Brush(colour.value_or(form::kLightGrey)));
      // A plain box without a caption.
      ::DrawEdge(dc, &r, EDGE_ETCHED, BF_RECT);
      ::EndPaint(hwnd, &paint);
      return 0;
    }
    case WM_LBUTTONDOWN: {
      // A click on the frame's own area; one on a control inside (enabled or not) is that
      // control's business.
      const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      if (::ChildWindowFromPointEx(hwnd, at, CWP_SKIPINVISIBLE) == hwnd) {
        self->framePressed_ = self->PositionOf(hwnd);
        ::SetCapture(hwnd);
      }
      return 0;
    }
    case WM_LBUTTONUP: {
      if (!self->framePressed_) return 0;
      const std::size_t n = *self->framePressed_;
      self->framePressed_.reset();
      ::ReleaseCapture();
      const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      RECT r{};
      ::GetClientRect(hwnd, &r);
      if (::PtInRect(&r, at) && ::ChildWindowFromPointEx(hwnd, at, CWP_SKIPINVISIBLE) == hwnd) {
        self->Call([&] { self->events_.Clicked(n); });
      }
      return 0;
    }
    default:
      return ::DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

}  // namespace morlane::gui::win32
