// SPDX-License-Identifier: GPL-3.0-or-later
// Starts a program on the current X display and prints how long it took
// from the spawn until its first top-level window was mapped, then its
// resident memory one second later:  map_wait PROGRAM [ARGS...]
// prints "map_ms=<milliseconds> rss_kb=<kilobytes>", or fails when the
// program ends first.

#include <X11/Xlib.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
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
    // The program's own output would mix with the figures.
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&quiet, STDOUT_FILENO, STDERR_FILENO);
    const int spawned = posix_spawn(&pid, argv[1], &quiet, nullptr, argv + 1, environ);
    posix_spawn_file_actions_destroy(&quiet);
    if (spawned != 0) {
        std::fprintf(stderr, "map_wait: %s: %s\n", argv[1], std::strerror(spawned));
        return 1;
    }
    // Waits for the map, looking every 100 ms whether the program is gone.
    for (bool mapped = false; !mapped;) {
        while (!mapped && XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            mapped = event.type == MapNotify && !event.xmap.override_redirect;
        }
        int status = 0;
        if (!mapped && waitpid(pid, &status, WNOHANG) == pid) {
            std::fprintf(stderr, "map_wait: %s ended before mapping a window (%s %d)\n", argv[1],
                         WIFEXITED(status) ? "exit status" : "signal",
                         WIFEXITED(status) ? WEXITSTATUS(status) : WTERMSIG(status));
            return 1;
        }
        pollfd connection{ConnectionNumber(display), POLLIN, 0};
        if (!mapped) poll(&connection, 1, 100);
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
