// A private X server for the window tests, what a user sees on it, and a user's mouse and
// keyboard. Every wait and every external command has a time limit.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "support/fakes.h"

struct _XDisplay;  // Xlib's Display, kept out of the tests: its macros clash with everything

namespace morlane::e2e {

// Polls `condition` every 10 ms until it holds or the limit has passed; says whether it held.
template <typename Condition>
bool WaitUntil(Condition condition, int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

// The full path of an installed program found through PATH; empty when there is none.
std::string FindTool(const std::string& name);

struct ToolResult {
  int status = -1;  // exit status; -1 when it did not end normally
  bool timedOut = false;
  std::string output;  // stdout and stderr
};
// Runs a command (argv[0] a full path) with DISPLAY set, and `environment` added; kills it after
// the limit.
ToolResult RunTool(const std::vector<std::string>& argv, const std::string& display, int timeoutMs,
                   const std::vector<std::string>& environment = {});

// Xvfb on a free display number with a screen of 1366 x 768, as a small laptop has, for the life
// of the object; killed with the test process too.
class VirtualScreen {
 public:
  // `arguments` are passed on to Xvfb ("-dpi", "120"). A refusing server admits only a cookie
  // that no client has, as a desktop's server refuses a program run through sudo.
  explicit VirtualScreen(std::vector<std::string> arguments = {}, bool refusing = false);
  ~VirtualScreen();
  VirtualScreen(const VirtualScreen&) = delete;
  VirtualScreen& operator=(const VirtualScreen&) = delete;

  const std::string& display() const { return display_; }  // ":N"; empty when it did not start
  const std::string& error() const { return error_; }

 private:
  testing::TempDir dir_;
  pid_t pid_ = -1;
  std::string display_;
  std::string error_;
};

// A private session bus with the accessibility bus on it, as a desktop session has them, for
// the life of the object; what it started is gone with it.
class AccessibilityBus {
 public:
  AccessibilityBus(const std::string& display, const std::string& runtimeDir);
  ~AccessibilityBus();
  AccessibilityBus(const AccessibilityBus&) = delete;
  AccessibilityBus& operator=(const AccessibilityBus&) = delete;

  const std::string& error() const { return error_; }  // empty when it runs
  // For a program that shows itself to a screen reader, and for the reader.
  std::vector<std::string> Environment() const;

 private:
  std::string address_;
  std::string error_;
  std::string runtimeDir_;
  pid_t daemon_ = -1;
  pid_t launcher_ = -1;
};

struct Rect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

struct Rgb {
  int red = 0;
  int green = 0;
  int blue = 0;
};

using WindowId = unsigned long;

// A client connection to the server: the top-level windows as a user sees them, and what a
// window manager would do for the user (give the keyboard focus, ask a window to close).
class Desktop {
 public:
  explicit Desktop(const std::string& display);
  ~Desktop();
  Desktop(const Desktop&) = delete;
  Desktop& operator=(const Desktop&) = delete;

  bool Connected() const { return display_ != nullptr; }

  // The mapped top-level window with exactly this title, not counting drop-down lists and the
  // like (override-redirect windows); 0 when there is none.
  WindowId Find(const std::string& title);
  WindowId WaitFor(const std::string& title, int timeoutMs);
  bool Shown(WindowId window);
  bool WaitUntilGone(WindowId window, int timeoutMs);
  // A mapped override-redirect window: an open drop-down list; 0 when there is none.
  WindowId OpenPopup();
  // The titles of all mapped top-level windows, for failure messages; empty when none is.
  std::string ShownTitles();

  // Size of the window and its place on the screen.
  Rect Geometry(WindowId window);
  // How many pixels inside `area` of the window pass `test`; -1 when it cannot be read.
  int CountPixels(WindowId window, Rect area, const std::function<bool(Rgb)>& test);

  // Gives the window the keyboard focus and waits until the server reports it.
  bool Focus(WindowId window);
  // Whether the window takes part in the close protocol (WM_DELETE_WINDOW in WM_PROTOCOLS).
  bool TakesCloseRequests(WindowId window);
  // Asks the window to close, as a window manager does for its close box.
  void RequestClose(WindowId window);

 private:
  std::string Title(WindowId window);
  std::vector<WindowId> TopLevels();

  ::_XDisplay* display_ = nullptr;
};

// A user's mouse and keyboard, through xdotool (the X test extension: real input events).
class UserInput {
 public:
  explicit UserInput(std::string display) : display_(std::move(display)) {}
  // A left click at a point of the window's client area.
  bool Click(WindowId window, int x, int y);
  // Key names as X knows them: "Return", "Escape", "ctrl+a", "y".
  bool Keys(const std::vector<std::string>& keys);
  bool Type(const std::string& text);

 private:
  bool Xdotool(std::vector<std::string> args);
  std::string display_;
};

}  // namespace morlane::e2e
