#include "xserver.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

extern char** environ;

namespace morlane::e2e {
namespace {

using Clock = std::chrono::steady_clock;

int MsLeft(Clock::time_point deadline) {
  const auto left =
      std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

// Reaps the child within the limit, else kills its process group and reaps it.
int Reap(pid_t pid, Clock::time_point deadline, bool& timedOut) {
  int wstatus = 0;
  for (;;) {
    if (::waitpid(pid, &wstatus, WNOHANG) == pid) break;
    if (Clock::now() > deadline) {
      ::kill(-pid, SIGKILL);
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &wstatus, 0);
      timedOut = true;
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
}

// The child's side of every helper we start: its own process group, and gone with the test.
void BecomeHelper(pid_t parent, int deathSignal) {
  ::prctl(PR_SET_PDEATHSIG, deathSignal);
  if (::getppid() != parent) ::_exit(125);
  ::setpgid(0, 0);
}

std::vector<std::string> EnvironmentWithDisplay(const std::string& display) {
  std::vector<std::string> env;
  for (char** e = environ; e != nullptr && *e != nullptr; ++e) {
    if (std::strncmp(*e, "DISPLAY=", 8) != 0 && std::strncmp(*e, "XAUTHORITY=", 11) != 0) {
      env.emplace_back(*e);
    }
  }
  env.push_back("DISPLAY=" + display);
  return env;
}

// The environment with `extra` in place of the entries of the same names.
std::vector<std::string> Merged(std::vector<std::string> env,
                                const std::vector<std::string>& extra) {
  for (const std::string& entry : extra) {
    const std::string name = entry.substr(0, entry.find('=') + 1);
    std::erase_if(env, [&](const std::string& e) { return e.rfind(name, 0) == 0; });
    env.push_back(entry);
  }
  return env;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (auto& t : texts)
    pointers.push_back(t.data());
  pointers.push_back(nullptr);
  return pointers;
}

// Windows come and go while we look at them; their errors are no failure of the test.
int IgnoreErrors(Display*, XErrorEvent*) {
  return 0;
}

}  // namespace

std::string FindTool(const std::string& name) {
  const char* path = std::getenv("PATH");
  const std::string dirs = path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin";
  std::size_t start = 0;
  while (start <= dirs.size()) {
    const std::size_t end = std::min(dirs.find(':', start), dirs.size());
    const std::string candidate = dirs.substr(start, end - start) + "/" + name;
    if (end > start && ::access(candidate.c_str(), X_OK) == 0) return candidate;
    start = end + 1;
  }
  return {};
}

ToolResult RunTool(const std::vector<std::string>& argv, const std::string& display, int timeoutMs,
                   const std::vector<std::string>& environment) {
  ToolResult result;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  int out[2];
  if (argv.empty() || ::pipe2(out, O_CLOEXEC) != 0) return result;
  std::vector<std::string> args = argv;
  std::vector<std::string> env = Merged(EnvironmentWithDisplay(display), environment);
  auto argp = Pointers(args);
  auto envp = Pointers(env);

  const pid_t parent = ::getpid();
  const pid_t pid = ::fork();
  if (pid == 0) {
    BecomeHelper(parent, SIGKILL);
    ::dup2(out[1], STDOUT_FILENO);
    ::dup2(out[1], STDERR_FILENO);
    const int null = ::open("/dev/null", O_RDONLY);
    if (null >= 0) ::dup2(null, STDIN_FILENO);
    ::execve(argp[0], argp.data(), envp.data());
    ::_exit(127);
  }
  ::close(out[1]);
  if (pid < 0) {
    ::close(out[0]);
    return result;
  }
  // Read until the tool closes its output or the time is up.
  pollfd readable{out[0], POLLIN, 0};
  char buffer[4096];
  for (;;) {
    const int left = MsLeft(deadline);
    if (left == 0 || ::poll(&readable, 1, left) <= 0) break;
    const ssize_t n = ::read(out[0], buffer, sizeof buffer);
    if (n <= 0) break;
    result.output.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(out[0]);
  result.status = Reap(pid, deadline, result.timedOut);
  return result;
}

// ---- Xvfb ------------------------------------------------------------------------------------

VirtualScreen::VirtualScreen(std::vector<std::string> arguments, bool refusing) {
  const std::string xvfb = FindTool("Xvfb");
  if (xvfb.empty()) {
    error_ = "Xvfb is not installed";
    return;
  }
  const std::string log = dir_ / "xvfb.log";
  int ready[2];
  if (::pipe2(ready, O_CLOEXEC) != 0) {
    error_ = "no pipe for Xvfb";
    return;
  }
  // Xvfb picks a free display number itself and writes it to this descriptor once it accepts
  // clients; -noreset keeps it from resetting between two test programs.
  std::vector<std::string> args = {xvfb,        "-displayfd", std::to_string(ready[1]),
                                   "-screen",   "0",          "1366x768x24",
                                   "-nolisten", "tcp",        "-noreset",
                                   "-s",        "0"};
  args.insert(args.end(), arguments.begin(), arguments.end());
  if (refusing) {
    // One entry of an Xauthority file: family "local", host, display "0", the cookie's kind and
    // its 16 bytes, each a length (two bytes, big-endian) and the bytes. The server admits
    // every cookie of its file, whatever display number it names.
    const auto field = [](const std::string& bytes) {
      return std::string{static_cast<char>(bytes.size() >> 8), static_cast<char>(bytes.size())} +
             bytes;
    };
    const std::string cookie = std::string("\x01\x00", 2) + field("localhost") + field("0") +
                               field("MIT-MAGIC-COOKIE-1") + field("0123456789abcdef");
    testing::WriteFile(dir_ / "cookie", cookie);
    args.insert(args.end(), {"-auth", dir_ / "cookie"});
  }
  auto argp = Pointers(args);
  const pid_t parent = ::getpid();
  pid_ = ::fork();
  if (pid_ == 0) {
    BecomeHelper(parent, SIGTERM);
    const int fd = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd >= 0) {
      ::dup2(fd, STDOUT_FILENO);
      ::dup2(fd, STDERR_FILENO);
    }
    ::fcntl(ready[1], F_SETFD, 0);  // the one descriptor Xvfb inherits
    ::execv(argp[0], argp.data());
    ::_exit(127);
  }
  ::close(ready[1]);
  std::string number;
  const auto deadline = Clock::now() + std::chrono::seconds(10);
  pollfd readable{ready[0], POLLIN, 0};
  while (number.find('\n') == std::string::npos) {
    const int left = MsLeft(deadline);
    if (left == 0 || ::poll(&readable, 1, left) <= 0) break;
    char c[16];
    const ssize_t n = ::read(ready[0], c, sizeof c);
    if (n <= 0) break;
    number.append(c, static_cast<std::size_t>(n));
  }
  ::close(ready[0]);
  if (pid_ < 0 || number.find('\n') == std::string::npos) {
    error_ = "Xvfb did not start within 10 s: " + testing::ReadFile(log);
    return;
  }
  display_ = ":" + number.substr(0, number.find('\n'));
}

VirtualScreen::~VirtualScreen() {
  if (pid_ <= 0) return;
  ::kill(pid_, SIGTERM);
  bool timedOut = false;
  Reap(pid_, Clock::now() + std::chrono::seconds(5), timedOut);
}

// ---- The accessibility bus -------------------------------------------------------------------

namespace {

// Starts a helper in a process group of its own with its output in `log`; `keepOpen` is the
// one descriptor it inherits besides (-1: none).
pid_t StartHelper(std::vector<std::string> args, std::vector<std::string> env,
                  const std::string& log, int keepOpen) {
  auto argp = Pointers(args);
  auto envp = Pointers(env);
  const pid_t parent = ::getpid();
  const pid_t pid = ::fork();
  if (pid == 0) {
    BecomeHelper(parent, SIGTERM);
    const int fd = ::open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (fd >= 0) {
      ::dup2(fd, STDOUT_FILENO);
      ::dup2(fd, STDERR_FILENO);
    }
    if (keepOpen >= 0) ::fcntl(keepOpen, F_SETFD, 0);
    ::execve(argp[0], argp.data(), envp.data());
    ::_exit(127);
  }
  return pid;
}

// Ends a helper's process group. The bus daemons it started become our children (we are
// their subreaper), so that none is left behind, not even as a zombie.
void EndGroup(pid_t pid) {
  if (pid <= 0) return;
  ::kill(-pid, SIGTERM);
  bool timedOut = false;
  Reap(pid, Clock::now() + std::chrono::seconds(5), timedOut);
  const auto deadline = Clock::now() + std::chrono::seconds(5);
  while (::waitpid(-pid, nullptr, WNOHANG) >= 0 && Clock::now() < deadline) {
    ::kill(-pid, SIGKILL);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

}  // namespace

AccessibilityBus::AccessibilityBus(const std::string& display, const std::string& runtimeDir)
    : runtimeDir_(runtimeDir) {
  const std::string daemon = "/usr/bin/dbus-daemon";
  const std::string launcher = "/usr/libexec/at-spi-bus-launcher";
  if (::access(daemon.c_str(), X_OK) != 0 || ::access(launcher.c_str(), X_OK) != 0) {
    error_ = "no accessibility bus (Debian packages dbus, at-spi2-core)";
    return;
  }
  ::prctl(PR_SET_CHILD_SUBREAPER, 1);
  int ready[2];
  if (::pipe2(ready, O_CLOEXEC) != 0) {
    error_ = "no pipe for dbus-daemon";
    return;
  }
  const std::string log = runtimeDir + "/bus.log";
  daemon_ = StartHelper(
      {daemon, "--session", "--nofork", "--print-address=" + std::to_string(ready[1])},
      Merged(EnvironmentWithDisplay(display), {"XDG_RUNTIME_DIR=" + runtimeDir}), log, ready[1]);
  ::close(ready[1]);
  const auto deadline = Clock::now() + std::chrono::seconds(10);
  pollfd readable{ready[0], POLLIN, 0};
  while (address_.find('\n') == std::string::npos) {
    const int left = MsLeft(deadline);
    if (left == 0 || ::poll(&readable, 1, left) <= 0) break;
    char c[256];
    const ssize_t n = ::read(ready[0], c, sizeof c);
    if (n <= 0) break;
    address_.append(c, static_cast<std::size_t>(n));
  }
  ::close(ready[0]);
  if (address_.find('\n') == std::string::npos) {
    error_ = "dbus-daemon did not start: " + testing::ReadFile(log);
    return;
  }
  address_.resize(address_.find('\n'));
  launcher_ = StartHelper({launcher, "--launch-immediately"},
                          Merged(EnvironmentWithDisplay(display), Environment()), log, -1);
}

AccessibilityBus::~AccessibilityBus() {
  EndGroup(launcher_);
  EndGroup(daemon_);
}

std::vector<std::string> AccessibilityBus::Environment() const {
  return {"DBUS_SESSION_BUS_ADDRESS=" + address_, "XDG_RUNTIME_DIR=" + runtimeDir_,
          "QT_ACCESSIBILITY=1", "QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1"};
}

// ---- What a user sees ------------------------------------------------------------------------

Desktop::Desktop(const std::string& display) {
  XSetErrorHandler(IgnoreErrors);
  if (!display.empty()) display_ = XOpenDisplay(display.c_str());
}

Desktop::~Desktop() {
  if (display_ != nullptr) XCloseDisplay(display_);
}

std::vector<WindowId> Desktop::TopLevels() {
  std::vector<WindowId> windows;
  Window root = 0, parent = 0, *children = nullptr;
  unsigned int count = 0;
  if (XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count) != 0) {
    windows.assign(children, children + count);
  }
  if (children != nullptr) XFree(children);
  return windows;
}

std::string Desktop::Title(WindowId window) {
  // Qt sets both; _NET_WM_NAME is the one in UTF-8.
  const Atom netWmName = XInternAtom(display_, "_NET_WM_NAME", False);
  const Atom utf8 = XInternAtom(display_, "UTF8_STRING", False);
  Atom type = 0;
  int format = 0;
  unsigned long items = 0, after = 0;
  unsigned char* data = nullptr;
  std::string title;
  if (XGetWindowProperty(display_, window, netWmName, 0, 1024, False, utf8, &type, &format, &items,
                         &after, &data) == Success &&
      data != nullptr && type == utf8 && format == 8) {
    title.assign(reinterpret_cast<const char*>(data), items);
  } else {
    char* name = nullptr;
    if (XFetchName(display_, window, &name) != 0 && name != nullptr) {
      title = name;
      XFree(name);
    }
  }
  if (data != nullptr) XFree(data);
  return title;
}

WindowId Desktop::Find(const std::string& title) {
  for (const WindowId w : TopLevels()) {
    XWindowAttributes a;
    if (XGetWindowAttributes(display_, w, &a) == 0) continue;
    if (a.map_state == IsViewable && !a.override_redirect && Title(w) == title) return w;
  }
  return 0;
}

WindowId Desktop::WaitFor(const std::string& title, int timeoutMs) {
  WindowId found = 0;
  WaitUntil([&] { return (found = Find(title)) != 0; }, timeoutMs);
  return found;
}

bool Desktop::Shown(WindowId window) {
  XWindowAttributes a;
  return window != 0 && XGetWindowAttributes(display_, window, &a) != 0 &&
         a.map_state == IsViewable;
}

bool Desktop::WaitUntilGone(WindowId window, int timeoutMs) {
  return WaitUntil([&] { return !Shown(window); }, timeoutMs);
}

WindowId Desktop::OpenPopup() {
  for (const WindowId w : TopLevels()) {
    XWindowAttributes a;
    if (XGetWindowAttributes(display_, w, &a) == 0) continue;
    if (a.map_state == IsViewable && a.override_redirect) return w;
  }
  return 0;
}

std::string Desktop::ShownTitles() {
  std::string titles;
  for (const WindowId w : TopLevels()) {
    XWindowAttributes a;
    if (XGetWindowAttributes(display_, w, &a) == 0 || a.map_state != IsViewable) continue;
    titles += (titles.empty() ? "\"" : ", \"") + Title(w) + "\"";
    if (a.override_redirect) titles += " (popup)";
  }
  return titles;
}

Rect Desktop::Geometry(WindowId window) {
  Rect r;
  XWindowAttributes a;
  if (XGetWindowAttributes(display_, window, &a) == 0) return r;
  Window child = 0;
  XTranslateCoordinates(display_, window, DefaultRootWindow(display_), 0, 0, &r.x, &r.y, &child);
  r.width = a.width;
  r.height = a.height;
  return r;
}

int Desktop::CountPixels(WindowId window, Rect area, const std::function<bool(Rgb)>& test) {
  XWindowAttributes a;
  if (XGetWindowAttributes(display_, window, &a) == 0 || a.map_state != IsViewable) return -1;
  if (area.x < 0 || area.y < 0 || area.width <= 0 || area.height <= 0 ||
      area.x + area.width > a.width || area.y + area.height > a.height) {
    return -1;
  }
  XImage* image = XGetImage(display_, window, area.x, area.y, static_cast<unsigned>(area.width),
                            static_cast<unsigned>(area.height), AllPlanes, ZPixmap);
  if (image == nullptr) return -1;
  const auto channel = [](unsigned long pixel, unsigned long mask) {
    if (mask == 0) return 0;
    unsigned long value = pixel & mask;
    while ((mask & 1) == 0) {
      mask >>= 1;
      value >>= 1;
    }
    return static_cast<int>(value);
  };
  int count = 0;
  for (int y = 0; y < area.height; ++y) {
    for (int x = 0; x < area.width; ++x) {
      const unsigned long pixel = XGetPixel(image, x, y);
      const Rgb rgb{channel(pixel, a.visual->red_mask), channel(pixel, a.visual->green_mask),
                    channel(pixel, a.visual->blue_mask)};
      if (test(rgb)) ++count;
    }
  }
  XDestroyImage(image);
  return count;
}

bool Desktop::Focus(WindowId window) {
  return WaitUntil(
      [&] {
        Window focus = 0;
        int revert = 0;
        XGetInputFocus(display_, &focus, &revert);
        if (focus == window) return true;
        // Fails (and is ignored) while the window is not viewable yet; then tried again.
        XSetInputFocus(display_, window, RevertToParent, CurrentTime);
        XSync(display_, False);
        return false;
      },
      2000);
}

bool Desktop::TakesCloseRequests(WindowId window) {
  const Atom deleteWindow = XInternAtom(display_, "WM_DELETE_WINDOW", False);
  Atom* protocols = nullptr;
  int count = 0;
  bool takes = false;
  if (XGetWMProtocols(display_, window, &protocols, &count) != 0) {
    for (int i = 0; i < count; ++i)
      takes = takes || protocols[i] == deleteWindow;
  }
  if (protocols != nullptr) XFree(protocols);
  return takes;
}

void Desktop::RequestClose(WindowId window) {
  // The client message of ICCCM 4.2.8.1, sent as a window manager sends it for its close box.
  XEvent event;
  std::memset(&event, 0, sizeof event);
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display_, window, False, NoEventMask, &event);
  XSync(display_, False);
}

// ---- A user's mouse and keyboard -------------------------------------------------------------

bool UserInput::Xdotool(std::vector<std::string> args) {
  static const std::string xdotool = FindTool("xdotool");
  args.insert(args.begin(), xdotool);
  const ToolResult r = RunTool(args, display_, 5000);
  return r.status == 0;
}

bool UserInput::Click(WindowId window, int x, int y) {
  return Xdotool({"mousemove", "--window", std::to_string(window), std::to_string(x),
                  std::to_string(y), "click", "1"});
}

bool UserInput::Keys(const std::vector<std::string>& keys) {
  std::vector<std::string> args = {"key", "--delay", "20"};
  args.insert(args.end(), keys.begin(), keys.end());
  return Xdotool(args);
}

bool UserInput::Type(const std::string& text) {
  return Xdotool({"type", "--delay", "20", text});
}

}  // namespace morlane::e2e
