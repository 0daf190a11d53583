// A bare Win32 window: the program's client size (11880 x 8595 twips at the system DPI), its
// grey background and window style, no controls. The least a Win32 program pays to show its
// window under the same Wine.
//   bare_win32_window [--text] [--combo]
//     --text   also one line of text (the first font costs Wine a font set-up)
//     --combo  also one drop-down combo box of the common controls' era
#include <windows.h>

#include <cstring>

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
  bool text = false, combo = false;
  for (int i = 1; i < argc; ++i) {
    text = text || std::strcmp(argv[i], "--text") == 0;
    combo = combo || std::strcmp(argv[i], "--combo") == 0;
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
  const char* title = combo  ? "Bare Win32 combo window"
                      : text ? "Bare Win32 text window"
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
  ::ShowWindow(hwnd, SW_SHOWNORMAL);
  ::UpdateWindow(hwnd);
  MSG message;
  while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
  }
  return 0;
}
