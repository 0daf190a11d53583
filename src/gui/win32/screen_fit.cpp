// The whole window on the work area at any DPI: the designed layout (twips at the window's DPI)
// where it fits, scaled down where it does not; laid out again when the window moves to a
// screen of another DPI.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>

#include "form/view_rules.h"
#include "gui/win32/form_window.h"
#include "gui/win32/form_window_internal.h"

namespace morlane::gui::win32 {
namespace {

int CALLBACK FaceFound(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) {
  *reinterpret_cast<bool*>(found) = true;
  return 0;
}

bool Installed(const std::string& face) {
  LOGFONTA wanted{};
  wanted.lfCharSet = DEFAULT_CHARSET;
  face.copy(wanted.lfFaceName, LF_FACESIZE - 1);
  bool found = false;
  const HDC screen = ::GetDC(nullptr);
  ::EnumFontFamiliesExA(screen, &wanted, FaceFound, reinterpret_cast<LPARAM>(&found), 0);
  ::ReleaseDC(nullptr, screen);
  return found;
}

std::string Upper(std::string text) {
  for (char& c : text)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

int WindowDpi(HWND window) {
  // Looked up, not imported: Windows before 10 (1607) lacks it, and the program must start there.
  using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
  static const auto getDpi = reinterpret_cast<GetDpiForWindowFunction>(reinterpret_cast<void (*)()>(
      ::GetProcAddress(::GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
  return getDpi != nullptr ? static_cast<int>(getDpi(window)) : 0;
}

std::string InstalledFace(const std::string& designed) {
  static std::map<std::string, std::string> chosen;
  if (const auto known = chosen.find(designed); known != chosen.end()) return known->second;
  std::string face = designed;
  if (!Installed(designed) && Upper(designed) == "MS SANS SERIF") {
    for (const char* fallback : {"Microsoft Sans Serif", "Tahoma"}) {
      if (Installed(fallback)) {
        face = fallback;
        break;
      }
    }
  }
  chosen[designed] = face;
  return face;
}

double FormWindow::FitScale(const RECT& workArea) const {
  RECT frame{0, 0, 0, 0};
  ::AdjustWindowRectEx(&frame, kWindowStyle, FALSE, 0);
  const double width = form::kClientWidth * dpi_ / 1440.0;
  const double height = form::kClientHeight * dpi_ / 1440.0;
  const double fit =
      std::min((workArea.right - workArea.left - (frame.right - frame.left)) / width,
               (workArea.bottom - workArea.top - (frame.bottom - frame.top)) / height);
  // A screen too small for any layout gets the smallest one rather than none.
  return std::clamp(fit, 0.25, 1.0);
}

SIZE FormWindow::WindowSize() const {
  RECT frame{0, 0, Pixels(form::kClientWidth), Pixels(form::kClientHeight)};
  ::AdjustWindowRectEx(&frame, kWindowStyle, FALSE, 0);
  return {frame.right - frame.left, frame.bottom - frame.top};
}

// After a change of DPI (WM_DPICHANGED): every control at its place and in its font for the
// new DPI, the window at the place Windows suggests, within that screen's work area.
void FormWindow::Relayout(const RECT& suggested) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  ::GetMonitorInfoA(::MonitorFromRect(&suggested, MONITOR_DEFAULTTONEAREST), &monitor);
  scale_ = FitScale(monitor.rcWork);
  layoutDpi_ = static_cast<int>(std::lround(dpi_ * scale_));
  auto oldFonts = std::move(fonts_);
  fonts_.clear();
  const auto& controls = events_.Controls();
  for (std::size_t n = 0; n < shown_.size(); ++n) {
    const form::Control& c = controls[n];
    Shown& s = shown_[n];
    if (s.hwnd == nullptr) continue;
    ::SendMessageA(s.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(c.font)), TRUE);
    // As made: at the size the form's rules fit its text to.
    const bool combo = c.kind == form::Kind::ComboBox;
    const form::Box box =
        c.kind == form::Kind::Label ? FitLabel(n) : form::DesignedBox(controls, n, layoutDpi_);
    ::SetWindowPos(s.hwnd, nullptr, box.left, box.top, combo ? ComboWidth(n) : box.width,
                   box.height * (combo ? kListRows + 1 : 1), SWP_NOZORDER | SWP_NOACTIVATE);
    if (combo) FitList(n);
    if (s.icon != nullptr) {
      ::DestroyIcon(s.icon);
      s.icon = LoadPicture(c.picture, s.iconSize);
    }
  }
  for (const auto& [key, font] : oldFonts) {
    ::DeleteObject(font);
  }
  const SIZE size = WindowSize();
  const RECT& work = monitor.rcWork;
  const int x =
      std::clamp<int>(suggested.left, work.left, std::max<int>(work.left, work.right - size.cx));
  const int y =
      std::clamp<int>(suggested.top, work.top, std::max<int>(work.top, work.bottom - size.cy));
  ::SetWindowPos(window_, nullptr, x, y, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
  ::InvalidateRect(window_, nullptr, TRUE);
}

}  // namespace morlane::gui::win32
