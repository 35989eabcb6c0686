// SPDX-License-Identifier: GPL-3.0-or-later
// Starts a program on the current X display and prints how long it took
// from the spawn until its first top-level window was mapped, then its
// resident memory one second later:  map_wait PROGRAM [ARGS...]
// prints "map_ms=<milliseconds> rss_kb=<kilobytes>".

#include <X11/Xlib.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>

extern char** environ;

namespace {

long ResidentKilobytes(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fputs("usage: map_wait PROGRAM [ARGS...]\n", stderr);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fputs("map_wait: cannot open the display\n", stderr);
        return 1;
    }
    // Without a window manager a top-level window is a child of the root:
    // its MapNotify arrives through the root's substructure events.
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[1], nullptr, nullptr, argv + 1, environ) != 0) {
        std::perror("map_wait: posix_spawn");
        return 1;
    }
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify && !event.xmap.override_redirect) {
            break;
        }
    }
    const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;

    std::this_thread::sleep_for(std::chrono::seconds(1));
    const long rss = ResidentKilobytes(pid);
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    XCloseDisplay(display);
    std::printf("map_ms=%.2f rss_kb=%ld\n", elapsed.count(), rss);
    return 0;
}
