// A bare Win32 window: the program's client size (11880 x 8595 twips at the system DPI), its
// grey background and window style, no controls. The least a Win32 program pays to show its
// window under the same Wine.
//   bare_win32_window [--text] [--combo] [--controls]
//     --text      also one line of text (the first font costs Wine a font set-up)
//     --combo     also one drop-down combo box
//     --controls  the program's controls instead, written the plainest way: the same kinds,
//                 count, places and texts (2 frames, 7 labels, 5 drop-down combo boxes with
//                 their lists, 3 buttons), no model, no INI files, no pictures
#include <windows.h>

#include <cstring>
#include <initializer_list>

namespace {

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    ::PostQuitMessage(0);
    return 0;
  }
  return ::DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
  bool text = false, combo = false, controls = false;
  for (int i = 1; i < argc; ++i) {
    text = text || std::strcmp(argv[i], "--text") == 0;
    combo = combo || std::strcmp(argv[i], "--combo") == 0;
    controls = controls || std::strcmp(argv[i], "--controls") == 0;
  }
  const HINSTANCE instance = ::GetModuleHandleA(nullptr);
  WNDCLASSEXA window{};
  window.cbSize = sizeof window;
  window.lpfnWndProc = WindowProc;
  window.hInstance = instance;
  window.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
  window.hbrBackground = ::CreateSolidBrush(RGB(192, 192, 192));
  window.lpszClassName = "BareWin32Window";
  if (::RegisterClassExA(&window) == 0) return 1;

  const HDC screen = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  RECT frame{0, 0, ::MulDiv(11880, dpi, 1440), ::MulDiv(8595, dpi, 1440)};
  ::AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
  // Each kind its own title, none part of another: the watcher finds a window by its title.
  const char* title = controls ? "Bare Win32 controls window"
                      : combo  ? "Bare Win32 combo window"
                      : text   ? "Bare Win32 text window"
                               : "Bare Win32 window";
  const HWND hwnd = ::CreateWindowExA(
      0, window.lpszClassName, title, kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
      frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
  if (hwnd == nullptr) return 1;
  const auto font = reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT));
  if (text) {
    const HWND label =
        ::CreateWindowExA(0, "STATIC", "Reihenfolge Servicez\xe4hler", WS_CHILD | WS_VISIBLE, 8, 8,
                          240, 24, hwnd, nullptr, instance, nullptr);
    ::SendMessageA(label, WM_SETFONT, font, FALSE);
  }
  if (combo) {
    const HWND box = ::CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, 8,
                                       40, 60, 200, hwnd, nullptr, instance, nullptr);
    ::SendMessageA(box, WM_SETFONT, font, FALSE);
    ::SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("1"));
  }
  if (controls) {
    const auto px = [dpi](int twips) { return ::MulDiv(twips, dpi, 1440); };
    const auto make = [&](const char* type, const char* caption, DWORD style, int x, int y, int w,
                          int h, HWND parent) {
      const HWND control =
          ::CreateWindowExA(0, type, caption, WS_CHILD | WS_VISIBLE | style, px(x), px(y), px(w),
                            px(h), parent, nullptr, instance, nullptr);
      ::SendMessageA(control, WM_SETFONT, font, FALSE);
      return control;
    };
    make("BUTTON", "", 0, 8400, 7680, 1695, 855, hwnd);
    make("BUTTON", "", 0, 10170, 7680, 1695, 855, hwnd);
    make("STATIC", "", SS_ETCHEDFRAME, 0, 360, 11880, 7260, hwnd);
    make("STATIC", "", SS_ETCHEDFRAME, 90, 480, 4470, 4815, hwnd);
    for (int i = 5; i >= 1; --i) {
      const HWND box = make("COMBOBOX", "", CBS_DROPDOWN | WS_VSCROLL, 2205, 1290 + 840 * (i - 1),
                            495, 420 * 9, hwnd);
      for (const char* entry : {"0", "1", "2", "3", "4", "5"}) {
        ::SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
      }
      ::SetWindowTextA(box, "1");
    }
    for (int i = 1; i <= 5; ++i) {
      const char caption[] = {
          'M', 'a', 's', 'c', 'h', 'i', 'n', 'e', ' ', static_cast<char>('0' + i), '\0'};
      make("STATIC", caption, 0, 210, 1170 + 840 * (i - 1), 1575, 615, hwnd);
    }
    make("STATIC", "Reihenfolge Servicez\xe4hler", 0, 210, 630, 3615, 375, hwnd);
    make("BUTTON", "?", 0, 7350, 7680, 975, 855, hwnd);
    make("STATIC", "Reject - Konfiguration Servicez\xe4hler", 0, 30, 0, 7245, 360, hwnd);
  }
  ::ShowWindow(hwnd, SW_SHOWNORMAL);
  ::UpdateWindow(hwnd);
  MSG message;
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  return 0;
}
