// The form's window as a whole: making it, showing and running it, and the fonts, brushes and
// positions its parts share.
#include "gui/win32/form_window.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "form/accessible.h"
#include "gui/win32/form_window_internal.h"

namespace morlane::gui::win32 {
namespace {

// "what: the system's text (code)".
std::string SystemErrorText(const std::string& what, DWORD code) {
  char* text = nullptr;
  const DWORD length = ::FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string reason = length > 0 && text != nullptr ? std::string(text, length) : std::string();
  if (text != nullptr) ::LocalFree(text);
  while (!reason.empty() &&
         (reason.back() == '\n' || reason.back() == '\r' || reason.back() == ' '))
    reason.pop_back();
  return what + ": " + (reason.empty() ? "error" : reason) + " (" + std::to_string(code) + ")";
}

}  // namespace

using form::Rgb;

FormWindow::FormWindow(form::FormEvents& form) : events_(form) {}

FormWindow::~FormWindow() {
  events_.SetHost(nullptr);
  // A window that closed itself is gone already.
  if (window_ != nullptr && ::IsWindow(window_)) {
    ::SetWindowLongPtrA(window_, GWLP_USERDATA, 0);
    ::DestroyWindow(window_);
  }
  if (toolTips_ != nullptr) ::DestroyWindow(toolTips_);
  if (measure_ != nullptr) ::DeleteDC(measure_);
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
  return form::Pixels(twips, layoutDpi_);
}

bool FormWindow::Create() {
  instance_ = ::GetModuleHandleA(nullptr);
  if (!RegisterClasses(instance_)) {
    failure_ = SystemErrorText("the window class is refused", ::GetLastError());
    return false;
  }
  measure_ = ::CreateCompatibleDC(nullptr);
  dpi_ = ::GetDeviceCaps(measure_, LOGPIXELSY);
  ReadColourScheme();

  RECT desktop{0, 0, 0, 0};
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &desktop, 0);
  scale_ = FitScale(desktop);
  layoutDpi_ = static_cast<int>(std::lround(dpi_ * scale_));
  const SIZE size = WindowSize();
  // Centred on the work area; where it does not fit, its title bar at the top left.
  const int x = desktop.left + std::max<int>(0, (desktop.right - desktop.left - size.cx) / 2);
  const int y = desktop.top + std::max<int>(0, (desktop.bottom - desktop.top - size.cy) / 2);
  caption_ = events_.Caption();
  window_ = ::CreateWindowExA(0, kWindowClass, caption_.c_str(), kWindowStyle, x, y, size.cx,
                              size.cy, nullptr, nullptr, instance_, this);
  if (window_ == nullptr) {
    failure_ = SystemErrorText("Windows refuses to make it", ::GetLastError());
    return false;
  }

  Build();
  // Made on a screen of another DPI than the main one: laid out for that screen.
  if (const int actual = WindowDpi(window_); actual != 0 && actual != dpi_) {
    dpi_ = actual;
    RECT placed{};
    ::GetWindowRect(window_, &placed);
    Relayout(placed);
  }
  events_.SetHost(this);
  Sync();
  return true;
}

void FormWindow::Build() {
  const auto& controls = events_.Controls();
  shown_.resize(controls.size());
  std::vector<bool> made(controls.size(), false);
  const auto make = [&](std::size_t n) {
    if (made[n]) return;
    made[n] = true;
    const auto container = form::ContainerOf(controls, n);
    const HWND parent = container && made[*container] ? shown_[*container].hwnd : window_;
    shown_[n].hwnd = CreateControl(n, parent);
  };
  for (std::size_t n = 0; n < controls.size(); ++n) {
    // Windows names a combo box by the label directly before it in the control order: each row's
    // label is made just before its box (the view's own Tab handling keeps the visible order).
    if (const auto label = form::NamingLabel(controls, n);
        label && form::ContainerOf(controls, *label) == form::ContainerOf(controls, n)) {
      make(*label);
    }
    make(n);
  }
  built_ = true;
}

HFONT FormWindow::FontOf(const form::Font& font) {
  if (font.family.empty()) return static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  const std::string key =
      font.family + "/" + std::to_string(font.points) + (font.bold ? "/bold" : "");
  if (const auto known = fonts_.find(key); known != fonts_.end()) return known->second;
  // Scaled down with the layout, but never below 8 pt.
  const double points = std::min(font.points, std::max(font.points * scale_, 8.0));
  const int height = -static_cast<int>(std::lround(points * dpi_ / 72.0));
  HFONT created =
      ::CreateFontA(height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                    ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                    DEFAULT_PITCH | FF_DONTCARE, InstalledFace(font.family).c_str());
  if (created == nullptr) created = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  fonts_[key] = created;
  return created;
}

HBRUSH FormWindow::Brush(Rgb colour) {
  const COLORREF value = FaceColour(colour);
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

}  // namespace morlane::gui::win32
