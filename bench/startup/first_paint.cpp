// Starts a program and reports how long it takes until its window shows a given colour at a
// given point, as the X server sees it: the first paint, observed from outside.
//   first_paint <title part> <x> <y> <red> <green> <blue> -- <program> [arguments]
// Prints the time in microseconds on stdout, then ends the program (SIGTERM). Fails after 20 s.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// Windows come and go while we look; their errors are no failure of ours.
int IgnoreErrors(Display*, XErrorEvent*) {
  return 0;
}

bool HasTitle(Display* display, Window window, const char* part) {
  char* name = nullptr;
  if (XFetchName(display, window, &name) == 0 || name == nullptr) return false;
  const bool found = std::strstr(name, part) != nullptr;
  XFree(name);
  return found;
}

// The first window below `under` (two levels: a window manager may reparent) with the title.
Window FindWindow(Display* display, Window under, const char* part, int depth = 0) {
  Window root = 0, parent = 0, *children = nullptr;
  unsigned int count = 0;
  if (XQueryTree(display, under, &root, &parent, &children, &count) == 0) return 0;
  Window found = 0;
  for (unsigned int i = 0; i < count && found == 0; ++i) {
    if (HasTitle(display, children[i], part)) {
      found = children[i];
    } else if (depth < 1) {
      found = FindWindow(display, children[i], part, depth + 1);
    }
  }
  if (children != nullptr) XFree(children);
  return found;
}

bool ShowsColour(Display* display, Window window, int x, int y, unsigned long rgb) {
  XWindowAttributes attributes;
  if (XGetWindowAttributes(display, window, &attributes) == 0) return false;
  if (attributes.map_state != IsViewable || x >= attributes.width || y >= attributes.height) {
    return false;
  }
  XImage* image = XGetImage(display, window, x, y, 1, 1, AllPlanes, ZPixmap);
  if (image == nullptr) return false;
  const unsigned long pixel = XGetPixel(image, 0, 0);
  const Visual* visual = attributes.visual;
  const auto channel = [&](unsigned long mask) {
    unsigned long value = pixel & mask;
    while (mask != 0 && (mask & 1) == 0) {
      mask >>= 1;
      value >>= 1;
    }
    return value;
  };
  const unsigned long shown = (channel(visual->red_mask) << 16) |
                              (channel(visual->green_mask) << 8) | channel(visual->blue_mask);
  XDestroyImage(image);
  return shown == rgb;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 9 || std::strcmp(argv[7], "--") != 0) {
    std::fprintf(stderr, "usage: %s <title part> <x> <y> <red> <green> <blue> -- <program> ...\n",
                 argv[0]);
    return 2;
  }
  const char* title = argv[1];
  const int x = std::atoi(argv[2]);
  const int y = std::atoi(argv[3]);
  const unsigned long rgb = (std::strtoul(argv[4], nullptr, 10) << 16) |
                            (std::strtoul(argv[5], nullptr, 10) << 8) |
                            std::strtoul(argv[6], nullptr, 10);
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::fprintf(stderr, "first_paint: no X display\n");
    return 2;
  }
  XSetErrorHandler(IgnoreErrors);

  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child == 0) {
    execv(argv[8], argv + 8);
    _exit(127);
  }

  int result = 1;
  Window window = 0;
  for (;;) {
    const auto elapsed = std::chrono::steady_clock::now() - start;
    if (elapsed > std::chrono::seconds(20)) {
      std::fprintf(stderr, "first_paint: no window \"%s\" painted within 20 s\n", title);
      break;
    }
    if (window == 0) window = FindWindow(display, DefaultRootWindow(display), title);
    if (window != 0 && ShowsColour(display, window, x, y, rgb)) {
      std::printf("%lld\n",
                  static_cast<long long>(
                      std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count()));
      result = 0;
      break;
    }
    int status = 0;
    if (waitpid(child, &status, WNOHANG) == child) {
      std::fprintf(stderr, "first_paint: %s ended before its first paint\n", argv[8]);
      return 1;
    }
    usleep(1000);
  }
  kill(child, SIGTERM);
  waitpid(child, nullptr, 0);
  XCloseDisplay(display);
  return result;
}
