// Starts a program and prints how many microseconds pass until it maps a top-level window of at least the given
// size, then ends it. Watching the X server's map events directly keeps polling delays out of the figure.
// Usage: bench_map_timer MIN_WIDTH MIN_HEIGHT PROGRAM [ARGUMENTS...]
#include <X11/Xlib.h>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

bool largeEnough(Display* display, Window window, int minWidth, int minHeight)
{
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, window, &attributes))
        return false;
    return attributes.width >= minWidth && attributes.height >= minHeight;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s MIN_WIDTH MIN_HEIGHT PROGRAM [ARGUMENTS...]\n", argv[0]);
        return 2;
    }
    const int minWidth = std::atoi(argv[1]);
    const int minHeight = std::atoi(argv[2]);
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "no X display\n");
        return 2;
    }
    // Without a window manager top-level windows are children of the root: their maps arrive as substructure events.
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const auto started = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[3], argv + 3);
        _exit(127);
    }

    long micros = -1;
    const auto deadline = started + std::chrono::seconds(30);
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    while (micros < 0 && std::chrono::steady_clock::now() < deadline) {
        if (!XPending(display)) {
            poll(&connection, 1, 100);
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify && !event.xmap.override_redirect &&
            largeEnough(display, event.xmap.window, minWidth, minHeight)) {
            micros =
                long(std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - started)
                         .count());
        }
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    XCloseDisplay(display);
    if (micros < 0) {
        std::fprintf(stderr, "no window of %dx%d mapped within 30 s\n", minWidth, minHeight);
        return 1;
    }
    std::printf("%ld\n", micros);
    return 0;
}
