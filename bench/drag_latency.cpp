// Hand-to-screen latency of a drag: real pointer moves sent through the X
// server with XTest, each timed to the window's next XDamage report, in the
// editor and in a plain Qt window whose item follows every move, runs of
// the two interleaved. Runs on the X display in DISPLAY (tools/bench-drag
// starts an Xvfb for it).
//
// Usage: drag_latency EDITOR BASELINE [rounds] [moves]
//   rounds: how often each program drags at each pace (default 3)
//   moves:  one-pixel moves per drag (default 120)
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/select.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Target
{
    const char *name;
    const char *program;
    const char *title;
    int pressX, pressY; ///< in the window: the middle of the cover or the item
    pid_t pid = -1;
    Window window = 0;
    Damage damage = 0;
};

Window findByTitle(Display *dpy, Window root, const char *title)
{
    Window parent, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(dpy, root, &root, &parent, &children, &count))
        return 0;
    Window found = 0;
    for (unsigned i = 0; i < count && !found; ++i) {
        char *name = nullptr;
        XWindowAttributes attributes;
        if (XFetchName(dpy, children[i], &name) && name && std::strcmp(name, title) == 0 &&
            XGetWindowAttributes(dpy, children[i], &attributes) &&
            attributes.map_state == IsViewable)
            found = children[i];
        if (name)
            XFree(name);
        if (!found)
            found = findByTitle(dpy, children[i], title);
    }
    if (children)
        XFree(children);
    return found;
}

bool start(Display *dpy, Target &t)
{
    t.pid = fork();
    if (t.pid == 0) {
        execl(t.program, t.program, static_cast<char *>(nullptr));
        _exit(127);
    }
    for (int i = 0; i < 300 && !t.window; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        t.window = findByTitle(dpy, DefaultRootWindow(dpy), t.title);
    }
    if (!t.window)
        return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(500)); // first frames drawn
    t.damage = XDamageCreate(dpy, t.window, XDamageReportRawRectangles);
    return true;
}

/// Where a point of the window is on the screen.
void onScreen(Display *dpy, const Target &t, int x, int y, int *sx, int *sy)
{
    Window child;
    XTranslateCoordinates(dpy, t.window, DefaultRootWindow(dpy), x, y, sx, sy, &child);
}

/// Waits until `until` for events; returns the time of each damage report.
void collect(Display *dpy, int damageEvent, Clock::time_point until,
             std::vector<Clock::time_point> &reports)
{
    const int fd = ConnectionNumber(dpy);
    for (;;) {
        while (XPending(dpy)) {
            XEvent event;
            XNextEvent(dpy, &event);
            if (event.type == damageEvent + XDamageNotify)
                reports.push_back(Clock::now());
        }
        const auto now = Clock::now();
        if (now >= until)
            return;
        const auto left = std::chrono::duration_cast<std::chrono::microseconds>(until - now);
        timeval tv{static_cast<time_t>(left.count() / 1000000),
                   static_cast<suseconds_t>(left.count() % 1000000)};
        fd_set fds;
        FD_ZERO(&fds);
        FD_SET(fd, &fds);
        select(fd + 1, &fds, nullptr, nullptr, &tv);
    }
}

/// One drag at `perSecond` moves a second, one pixel a move, out to the right
/// and back; the latency of each move in ms.
std::vector<double> drag(Display *dpy, int damageEvent, const Target &t, int perSecond, int moves)
{
    int x, y;
    onScreen(dpy, t, t.pressX, t.pressY, &x, &y);
    XTestFakeMotionEvent(dpy, -1, x, y, 0);
    XTestFakeButtonEvent(dpy, 1, True, 0);
    XSync(dpy, False);
    std::vector<Clock::time_point> ignored;
    collect(dpy, damageEvent, Clock::now() + std::chrono::milliseconds(100), ignored);

    const auto interval = std::chrono::nanoseconds(1000000000 / perSecond);
    std::vector<Clock::time_point> sent;
    std::vector<Clock::time_point> reports;
    auto next = Clock::now();
    for (int i = 1; i <= moves; ++i) {
        // Out and back, so that the next drag finds the element where it was.
        XTestFakeMotionEvent(dpy, -1, x + std::min(i, moves - i), y, 0);
        XFlush(dpy);
        sent.push_back(Clock::now());
        next += interval;
        collect(dpy, damageEvent, next, reports);
    }
    collect(dpy, damageEvent, Clock::now() + std::chrono::milliseconds(100), reports);
    XTestFakeButtonEvent(dpy, 1, False, 0);
    XSync(dpy, False);
    collect(dpy, damageEvent, Clock::now() + std::chrono::milliseconds(100), ignored);

    // Each move is on the screen with the first report after it was sent.
    std::vector<double> latencies;
    for (const auto at : sent) {
        const auto report = std::upper_bound(reports.begin(), reports.end(), at);
        if (report != reports.end())
            latencies.push_back(std::chrono::duration<double, std::milli>(*report - at).count());
    }
    return latencies;
}

double percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, static_cast<std::size_t>(p * static_cast<double>(v.size())))];
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s EDITOR BASELINE [rounds] [moves]\n", argv[0]);
        return 2;
    }
    const int rounds = argc > 3 ? std::atoi(argv[3]) : 3;
    const int moves = argc > 4 ? std::atoi(argv[4]) : 120;
    Display *dpy = XOpenDisplay(nullptr);
    int damageEvent = 0, damageError = 0, opcode, xtestEvent, xtestError, major, minor;
    if (!dpy || !XDamageQueryExtension(dpy, &damageEvent, &damageError) ||
        !XQueryExtension(dpy, "XTEST", &opcode, &xtestEvent, &xtestError) ||
        !XTestQueryExtension(dpy, &xtestEvent, &xtestError, &major, &minor)) {
        std::fprintf(stderr, "drag_latency: needs an X display with XTest and Damage\n");
        return 1;
    }
    // The cover's middle: the preview's 2-pixel frame, the cover at 7, 30
    // and 150 pixels wide. The baseline's item stands on the same pixels.
    Target targets[] = {{"editor", argv[1], "Jukora v2 patch editor", 2 + 7 + 75, 2 + 30 + 75},
                        {"plain Qt", argv[2], "drag baseline", 9 + 75, 32 + 75}};
    for (Target &t : targets) {
        if (!start(dpy, t)) {
            std::fprintf(stderr, "drag_latency: %s showed no window\n", t.program);
            return 1;
        }
    }
    const int paces[] = {125, 144, 1000};
    std::vector<double> results[2][3];
    for (int round = 0; round < rounds; ++round) {
        for (int p = 0; p < 3; ++p) {
            for (int i = 0; i < 2; ++i) {
                const auto l = drag(dpy, damageEvent, targets[i], paces[p], moves);
                results[i][p].insert(results[i][p].end(), l.begin(), l.end());
            }
        }
    }
    std::printf("%-9s %6s %9s %9s %7s %9s\n", "pace/s", "", "median", "90th", "moves", "");
    for (int p = 0; p < 3; ++p) {
        for (int i = 0; i < 2; ++i) {
            std::printf("%-9d %-9s %6.2f ms %6.2f ms %7zu\n", paces[p], targets[i].name,
                        percentile(results[i][p], 0.5), percentile(results[i][p], 0.9),
                        results[i][p].size());
        }
        std::printf("%-9d ratio     %6.2fx   %6.2fx\n", paces[p],
                    percentile(results[0][p], 0.5) / percentile(results[1][p], 0.5),
                    percentile(results[0][p], 0.9) / percentile(results[1][p], 0.9));
    }
    for (Target &t : targets) {
        kill(t.pid, SIGTERM);
        waitpid(t.pid, nullptr, 0);
    }
    XCloseDisplay(dpy);
    return 0;
}
