// Starts a command and prints the milliseconds from its exec to the moment
// one of its top-level windows becomes viewable (mapped, and so is the window
// manager's frame around it). Override-redirect windows (tray icons, menus,
// tooltips) do not count. The command is then asked to end.
//   startprobe [--timeout SECONDS] -- command [args...]
// Exit status 0 with the time on standard output, 1 on timeout or when the
// command ended first.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

double nowMs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
}

// Windows come and go while we look at them.
int ignoreErrors(Display*, XErrorEvent*) {
  return 0;
}

long windowPid(Display* dpy, Window w, Atom pidAtom) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  long pid = -1;
  if (XGetWindowProperty(dpy, w, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after,
                         &data) == Success &&
      data && format == 32 && count == 1)
    pid = static_cast<long>(*reinterpret_cast<unsigned long*>(data));
  if (data) XFree(data);
  return pid;
}

bool viewable(Display* dpy, Window w) {
  XWindowAttributes a{};
  return XGetWindowAttributes(dpy, w, &a) && a.map_state == IsViewable;
}

void stop(pid_t child) {
  kill(child, SIGTERM);
  for (int i = 0; i < 100; ++i) {
    if (waitpid(child, nullptr, WNOHANG) == child) return;
    usleep(50000);
  }
  kill(child, SIGKILL);
  waitpid(child, nullptr, 0);
}

}  // namespace

int main(int argc, char** argv) {
  double timeoutMs = 30000;
  int first = 1;
  for (; first < argc; ++first) {
    if (!std::strcmp(argv[first], "--timeout") && first + 1 < argc)
      timeoutMs = std::atof(argv[++first]) * 1000;
    else if (!std::strcmp(argv[first], "--")) {
      ++first;
      break;
    } else
      break;
  }
  if (first >= argc) {
    std::fprintf(stderr, "usage: startprobe [--timeout SECONDS] -- command [args...]\n");
    return 2;
  }

  Display* dpy = XOpenDisplay(nullptr);
  if (!dpy) {
    std::fprintf(stderr, "startprobe: cannot open the display\n");
    return 2;
  }
  XSetErrorHandler(ignoreErrors);
  Window root = DefaultRootWindow(dpy);
  Atom pidAtom = XInternAtom(dpy, "_NET_WM_PID", False);
  // Every new top-level window, and the frames the window manager maps.
  XSelectInput(dpy, root, SubstructureNotifyMask);
  XSync(dpy, False);

  double start = nowMs();
  pid_t child = fork();
  if (child == 0) {
    close(ConnectionNumber(dpy));
    execvp(argv[first], argv + first);
    std::perror("startprobe: exec");
    _exit(127);
  }

  std::vector<Window> candidates;
  auto found = [&] {
    return std::any_of(candidates.begin(), candidates.end(), [&](Window w) {
      return windowPid(dpy, w, pidAtom) == child && viewable(dpy, w);
    });
  };
  double elapsed = -1;
  while (elapsed < 0) {
    if (nowMs() - start > timeoutMs) break;
    if (waitpid(child, nullptr, WNOHANG) == child) {
      std::fprintf(stderr, "startprobe: the command ended before showing a window\n");
      return 1;
    }
    if (!XPending(dpy)) {
      pollfd pfd{ConnectionNumber(dpy), POLLIN, 0};
      poll(&pfd, 1, 50);
      continue;
    }
    XEvent ev;
    XNextEvent(dpy, &ev);
    switch (ev.type) {
      case CreateNotify:
        if (ev.xcreatewindow.parent == root && !ev.xcreatewindow.override_redirect) {
          // Its own map, after the window manager reparents it, is only
          // reported to those who listen on the window itself.
          XSelectInput(dpy, ev.xcreatewindow.window, StructureNotifyMask);
          candidates.push_back(ev.xcreatewindow.window);
          if (found()) elapsed = nowMs() - start;
        }
        break;
      case DestroyNotify:
        std::erase(candidates, ev.xdestroywindow.window);
        break;
      case MapNotify:
        if (found()) elapsed = nowMs() - start;
        break;
      default:
        break;
    }
  }
  XCloseDisplay(dpy);
  stop(child);
  if (elapsed < 0) {
    std::fprintf(stderr, "startprobe: no window within %.0f s\n", timeoutMs / 1000);
    return 1;
  }
  std::printf("%.1f\n", elapsed);
  return 0;
}
