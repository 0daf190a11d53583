// What the parts of the form's window share: the window classes, the control ids, the private
// messages and timers, and small helpers around the ANSI services.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

#include "form/controls.h"
#include "gui/win32/form_window.h"

namespace morlane::gui::win32 {

inline constexpr char kWindowClass[] = "MorlaneConfigForm";
inline constexpr char kFrameClass[] = "MorlaneConfigFrame";
inline constexpr int kFirstId = 1000;               // control n has the id kFirstId + n
inline constexpr UINT kReadComboText = WM_APP + 1;  // wParam: the combo's position
inline constexpr UINT kDpiChanged = 0x02E0;         // WM_DPICHANGED, for headers that lack it
inline constexpr UINT_PTR kToolTipTimer = 1;
inline constexpr UINT kToolTipDelayMs = 250;  // well before anyone's pointer rests on a control
inline constexpr int kListRows = 8;           // rows of an open drop-down list
inline constexpr int kComboTextMargin = 2;    // pixels left and right of a combo's text

// A fixed layout: no resizing border, no maximise box. Like a dialog, the window does not clip
// its controls: its grey is filled in one pass while it is shown, and the controls draw over it
// (clipping them made Windows erase every control one by one before anything showed).
inline constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

// The face to ask Windows for: the designed one where it is installed; for "MS Sans Serif",
// missing on many systems (Windows then picks a much wider face), the metric-compatible
// "Microsoft Sans Serif", then "Tahoma".
std::string InstalledFace(const std::string& designed);

// The DPI of the screen the window is on, where Windows tells it per window; 0 where not.
int WindowDpi(HWND window);

inline COLORREF ToColorRef(form::Rgb rgb) {
  return RGB(rgb.red, rgb.green, rgb.blue);
}

inline std::string WindowText(HWND hwnd) {
  std::string text(static_cast<std::size_t>(::GetWindowTextLengthA(hwnd)) + 1, '\0');
  text.resize(
      static_cast<std::size_t>(::GetWindowTextA(hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

// The form window that owns the window or frame hwnd; none before it has been attached.
inline FormWindow* FromHandle(HWND hwnd) {
  return reinterpret_cast<FormWindow*>(::GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

}  // namespace morlane::gui::win32
