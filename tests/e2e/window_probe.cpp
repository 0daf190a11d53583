// What a Windows screen reader reads of a window, by the rules Windows names controls with:
// a button's or label's own window text, and for a combo box the text of the label directly
// before it in the control order. Prints one line per button, combo box and label of the
// window with the caption given: role|name|states|, states "on" (pressed), "focused" and
// "disabled". Texts in UTF-8. Waits up to 15 s for the window.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string Utf8Text(HWND hwnd) {
  wchar_t text[512] = {};
  ::GetWindowTextW(hwnd, text, 512);
  char utf8[2048] = {};
  ::WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
  return utf8;
}

std::string ClassOf(HWND hwnd) {
  char name[64] = {};
  ::GetClassNameA(hwnd, name, sizeof name);
  return CharUpperA(name);
}

struct Probe {
  HWND focus = nullptr;
};

BOOL CALLBACK Report(HWND hwnd, LPARAM lParam) {
  const auto* probe = reinterpret_cast<const Probe*>(lParam);
  const std::string kind = ClassOf(hwnd);
  std::string role, name = Utf8Text(hwnd), states;
  if (kind == "BUTTON") {
    role = "push button";
    if (::SendMessageA(hwnd, BM_GETSTATE, 0, 0) & BST_PUSHED) states = "on";
  } else if (kind == "COMBOBOX") {
    role = "combo box";
    const HWND before = ::GetWindow(hwnd, GW_HWNDPREV);
    name = before != nullptr && ClassOf(before) == "STATIC" ? Utf8Text(before) : "";
  } else if (kind == "STATIC") {
    role = "label";
  } else {
    return TRUE;
  }
  const auto add = [&states](const char* state) {
    states += (states.empty() ? "" : ",") + std::string(state);
  };
  if (probe->focus != nullptr && (probe->focus == hwnd || ::IsChild(hwnd, probe->focus))) {
    add("focused");
  }
  if (!::IsWindowEnabled(hwnd)) add("disabled");
  std::printf("%s|%s|%s|\n", role.c_str(), name.c_str(), states.c_str());
  return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  HWND window = nullptr;
  for (int waited = 0; window == nullptr && waited < 15000; waited += 100) {
    window = ::FindWindowA(nullptr, argv[1]);
    if (window == nullptr) ::Sleep(100);
  }
  if (window == nullptr) {
    std::fprintf(stderr, "no window \"%s\"\n", argv[1]);
    return 1;
  }
  GUITHREADINFO thread{};
  thread.cbSize = sizeof thread;
  Probe probe;
  if (::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &thread)) {
    probe.focus = thread.hwndFocus;
  }
  ::EnumChildWindows(window, Report, reinterpret_cast<LPARAM>(&probe));
  return 0;
}
