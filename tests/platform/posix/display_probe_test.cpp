#include "platform/posix/display_probe.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace morlane::platform::posix {
namespace {

struct Case {
  const char* what;
  std::map<std::string, std::string> variables;
  std::set<std::string> servers;  // the displays that accept a connection
  bool usable;
  const char* problem;
};

// What Qt would try, and whether the display it needs answers: Qt aborts the process when none
// of the platforms it tries can start.
TEST(PosixDisplayProbe, UsableOnlyWhenAPlatformThatQtTriesCanConnect) {
  const Case cases[] = {
      {"nothing set",
       {},
       {},
       false,
       "no display available (DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM are unset)"},
      {"X answers", {{"DISPLAY", ":0"}}, {":0"}, true, ""},
      {"no X server there",
       {{"DISPLAY", ":99"}},
       {},
       false,
       "no usable display (no connection to the X display \":99\")"},
      // Without a Wayland session Qt uses X only, so a working Wayland display does not help.
      {"Wayland alone",
       {{"WAYLAND_DISPLAY", "wayland-1"}},
       {"wayland-1"},
       false,
       "no usable display (DISPLAY is unset)"},
      {"Wayland session",
       {{"WAYLAND_DISPLAY", "wayland-1"}, {"XDG_SESSION_TYPE", "wayland"}},
       {"wayland-1"},
       true,
       ""},
      {"Wayland session falls back to X",
       {{"WAYLAND_DISPLAY", "w"}, {"XDG_SESSION_TYPE", "wayland"}, {"DISPLAY", ":1"}},
       {":1"},
       true,
       ""},
      {"Wayland session, neither answers",
       {{"WAYLAND_DISPLAY", "w"}, {"XDG_SESSION_TYPE", "wayland"}, {"DISPLAY", ":1"}},
       {},
       false,
       "no usable display (no connection to the Wayland display \"w\"; no connection to the X "
       "display \":1\")"},
      // Qt keeps to X on GNOME unless told otherwise.
      {"GNOME on Wayland",
       {{"WAYLAND_DISPLAY", "w"},
        {"XDG_SESSION_TYPE", "wayland"},
        {"XDG_CURRENT_DESKTOP", "ubuntu:GNOME"}},
       {"w"},
       false,
       "no usable display (DISPLAY is unset)"},
      {"chosen Wayland, default name", {{"QT_QPA_PLATFORM", "wayland"}}, {"wayland-0"}, true, ""},
      {"chosen X with options, refused",
       {{"QT_QPA_PLATFORM", "xcb:nograb"}, {"DISPLAY", ":2"}},
       {},
       false,
       "no usable display (no connection to the X display \":2\")"},
      {"chosen list, second answers",
       {{"QT_QPA_PLATFORM", "wayland;xcb"}, {"DISPLAY", ":2"}},
       {":2"},
       true,
       ""},
      {"offscreen needs no server", {{"QT_QPA_PLATFORM", "offscreen"}}, {}, true, ""},
  };
  for (const Case& c : cases) {
    const auto connect = [&](const std::string& display) { return c.servers.count(display) != 0; };
    const DisplayEnvironment environment{[&](const char* name) {
                                           const auto found = c.variables.find(name);
                                           return found == c.variables.end() ? std::string()
                                                                             : found->second;
                                         },
                                         connect, connect};
    const DisplayCheck check = CheckDisplay(environment);
    EXPECT_EQ(check.usable, c.usable) << c.what;
    EXPECT_EQ(check.problem, c.problem) << c.what;
  }
}

}  // namespace
}  // namespace morlane::platform::posix
