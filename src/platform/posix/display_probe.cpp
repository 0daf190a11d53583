#include "platform/posix/display_probe.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <string_view>
#include <vector>

namespace morlane::platform::posix {
namespace {

std::vector<std::string> SplitPlatforms(const std::string& list) {
  std::vector<std::string> names;
  std::size_t from = 0;
  while (from <= list.size()) {
    std::size_t end = list.find(';', from);
    if (end == std::string::npos) end = list.size();
    // "xcb:option=value": the name is what comes before the options.
    std::string name = list.substr(from, end - from);
    name = name.substr(0, name.find(':'));
    if (!name.empty()) names.push_back(name);
    from = end + 1;
  }
  return names;
}

bool Contains(std::string text, std::string_view part) {
  for (auto& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text.find(part) != std::string::npos;
}

// The platforms Qt tries, in its order: QT_QPA_PLATFORM when set; else X, and before it
// Wayland in a Wayland session that is not GNOME's (where Qt keeps to X by default).
std::vector<std::string> PlatformsTried(const DisplayEnvironment& env) {
  const std::string chosen = env.get("QT_QPA_PLATFORM");
  if (!chosen.empty()) return SplitPlatforms(chosen);
  const bool gnome = Contains(env.get("XDG_CURRENT_DESKTOP"), "gnome") ||
                     Contains(env.get("XDG_SESSION_DESKTOP"), "gnome");
  if (env.get("XDG_SESSION_TYPE") == "wayland" && !gnome) return {"wayland", "xcb"};
  return {"xcb"};
}

}  // namespace

DisplayCheck CheckDisplay(const DisplayEnvironment& env) {
  const std::string x = env.get("DISPLAY");
  const std::string wayland = env.get("WAYLAND_DISPLAY");
  if (x.empty() && wayland.empty() && env.get("QT_QPA_PLATFORM").empty()) {
    return {false, "no display available (DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM are unset)"};
  }
  std::string refused;
  const auto tell = [&](const std::string& what) {
    refused += (refused.empty() ? "" : "; ") + what;
  };
  for (const std::string& platform : PlatformsTried(env)) {
    if (platform == "xcb") {
      if (x.empty()) {
        tell("DISPLAY is unset");
      } else if (env.connectX(x)) {
        return {true, {}};
      } else {
        tell("no connection to the X display \"" + x + "\"");
      }
    } else if (platform.rfind("wayland", 0) == 0) {
      // An unset WAYLAND_DISPLAY means "wayland-0" to the client library.
      const std::string name = wayland.empty() ? "wayland-0" : wayland;
      if (env.connectWayland(name)) return {true, {}};
      tell("no connection to the Wayland display \"" + name + "\"");
    } else {
      // offscreen, vnc, eglfs, ...: a choice of whoever set QT_QPA_PLATFORM, not checked here.
      return {true, {}};
    }
  }
  return {false, "no usable display (" + refused + ")"};
}

namespace {

std::string GetEnv(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

// A function of a client library that is loaded for the check and unloaded after it.
class Library {
 public:
  explicit Library(const char* file) : handle_(::dlopen(file, RTLD_NOW | RTLD_LOCAL)) {}
  ~Library() {
    if (handle_ != nullptr) ::dlclose(handle_);
  }
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;
  template <typename F>
  F* Get(const char* symbol) const {
    return handle_ != nullptr ? reinterpret_cast<F*>(::dlsym(handle_, symbol)) : nullptr;
  }

 private:
  void* handle_;
};

// The client libraries print the server's reason for a refusal on stderr; the program says it
// in its own one line instead. Only one thread runs while the check is made.
class QuietStderr {
 public:
  QuietStderr() : saved_(::dup(STDERR_FILENO)) {
    const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (null >= 0) {
      ::dup2(null, STDERR_FILENO);
      ::close(null);
    }
  }
  ~QuietStderr() {
    if (saved_ < 0) return;
    ::dup2(saved_, STDERR_FILENO);
    ::close(saved_);
  }
  QuietStderr(const QuietStderr&) = delete;
  QuietStderr& operator=(const QuietStderr&) = delete;

 private:
  int saved_;
};

bool ConnectX(const std::string& display) {
  // libxcb's connection, as Qt's X platform makes it (it reads XAUTHORITY the same way).
  using Connect = void*(const char*, int*);
  using HasError = int(void*);
  using Disconnect = void(void*);
  const Library xcb("libxcb.so.1");
  auto* connect = xcb.Get<Connect>("xcb_connect");
  auto* hasError = xcb.Get<HasError>("xcb_connection_has_error");
  auto* disconnect = xcb.Get<Disconnect>("xcb_disconnect");
  if (connect == nullptr || hasError == nullptr || disconnect == nullptr) return false;
  const QuietStderr quiet;
  void* connection = connect(display.c_str(), nullptr);
  const bool ok = connection != nullptr && hasError(connection) == 0;
  if (connection != nullptr) disconnect(connection);
  return ok;
}

bool ConnectWayland(const std::string& display) {
  using Connect = void*(const char*);
  using Disconnect = void(void*);
  const Library client("libwayland-client.so.0");
  auto* connect = client.Get<Connect>("wl_display_connect");
  auto* disconnect = client.Get<Disconnect>("wl_display_disconnect");
  if (connect == nullptr || disconnect == nullptr) return false;
  const QuietStderr quiet;
  void* connection = connect(display.c_str());
  if (connection == nullptr) return false;
  disconnect(connection);
  return true;
}

}  // namespace

DisplayEnvironment SystemDisplayEnvironment() {
  return {GetEnv, ConnectX, ConnectWayland};
}

}  // namespace morlane::platform::posix
