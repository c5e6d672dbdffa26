// Start-up time and memory of the editor against a bare Qt window, side by
// side in one run, on the X display in DISPLAY (tools/bench-startup starts
// an Xvfb with a black root for it).
//
// Start-up: from the fork of the process to the first frame, that is, the
// first time a pixel of its mapped window is drawn (no longer the black
// root). Memory: the peak resident size (VmHWM) after start-up, and for the
// editor also after a Generate driven with xdotool.
//
// Usage: startup_bench EDITOR BARE LABEL [runs]   (LABEL: a window with one QLabel)
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Started
{
    pid_t pid = -1;
    xcb_window_t window = 0;
    double milliseconds = 0;
};

long peakKilobytes(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

bool pixelDrawn(xcb_connection_t *c, xcb_window_t window)
{
    // A pixel near the bottom-right corner: the window's background, which
    // both programs paint in the dialog grey.
    auto cookie = xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 355, 321, 1, 1, ~0u);
    xcb_get_image_reply_t *reply = xcb_get_image_reply(c, cookie, nullptr);
    if (!reply)
        return false;
    const std::uint8_t *data = xcb_get_image_data(reply);
    const int length = xcb_get_image_data_length(reply);
    bool drawn = false;
    for (int i = 0; i < length && i < 3; ++i)
        drawn |= data[i] != 0;
    std::free(reply);
    return drawn;
}

Started start(xcb_connection_t *c, xcb_window_t root, const char *program, const char *folder)
{
    Started s;
    const Clock::time_point t0 = Clock::now();
    s.pid = fork();
    if (s.pid == 0) {
        if (chdir(folder) != 0)
            _exit(127);
        execl(program, program, static_cast<char *>(nullptr));
        _exit(127);
    }
    const Clock::time_point deadline = t0 + std::chrono::seconds(30);
    while (!s.window && Clock::now() < deadline) {
        xcb_generic_event_t *event = xcb_poll_for_event(c);
        if (!event) {
            std::this_thread::sleep_for(std::chrono::microseconds(200));
            continue;
        }
        if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY) {
            auto *map = reinterpret_cast<xcb_map_notify_event_t *>(event);
            if (map->event == root && !map->override_redirect)
                s.window = map->window;
        }
        std::free(event);
    }
    while (s.window && Clock::now() < deadline && !pixelDrawn(c, s.window))
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    s.milliseconds = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
    (void)root;
    return s;
}

void stop(pid_t pid)
{
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : (v[(v.size() - 1) / 2] + v[v.size() / 2]) / 2;
}

int run(const std::string &command)
{
    return std::system(command.c_str());
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: startup_bench EDITOR BARE LABEL [runs]\n");
        return 2;
    }
    const int runs = argc > 4 ? std::atoi(argv[4]) : 10;
    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "startup_bench: no X display\n");
        return 1;
    }
    xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(c);

    char folder[] = "/tmp/startup-bench-XXXXXX";
    if (!mkdtemp(folder))
        return 1;

    std::vector<double> editorMs, bareMs, labelMs;
    std::vector<double> editorKb, bareKb, labelKb;
    for (int i = 0; i < runs; ++i) {
        for (int which = 0; which < 3; ++which) {
            const Started s = start(c, root, argv[1 + which], folder);
            if (!s.window) {
                std::fprintf(stderr, "startup_bench: %s showed no window\n", argv[1 + which]);
                return 1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            (which == 0 ? editorMs : which == 1 ? bareMs : labelMs).push_back(s.milliseconds);
            (which == 0   ? editorKb
             : which == 1 ? bareKb
                          : labelKb)
                .push_back(static_cast<double>(peakKilobytes(s.pid)));
            stop(s.pid);
        }
    }

    // Memory after a Generate: drive the editor's Save dialog and Done box.
    const Started s = start(c, root, argv[1], folder);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const std::string id = std::to_string(s.window);
    const std::string wait =
        "for i in $(seq 100); do w=$(xdotool search --onlyvisible --name '^%s$' | head -n 1); "
        "[ -n \"$w\" ] && break; sleep 0.1; done; xdotool windowfocus --sync $w; sleep 0.2; ";
    auto waitFor = [&](const char *title) {
        char buffer[512];
        std::snprintf(buffer, sizeof buffer, wait.c_str(), title);
        return std::string(buffer);
    };
    run("xdotool windowfocus --sync " + id + "; xdotool key ctrl+g"); // File > Generate...
    run(waitFor("Save As") + "xdotool type --delay 20 bench.vkp; xdotool key Return");
    run(waitFor("Jukora Patch Editor") + "xdotool key Return");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const long afterGenerate = peakKilobytes(s.pid);
    std::ifstream patch(std::string(folder) + "/bench.vkp");
    const bool generated = patch.good();
    stop(s.pid);
    run(std::string("rm -rf ") + folder);

    const double editor = median(editorMs), bare = median(bareMs), label = median(labelMs);
    std::printf("start-up to first frame, median of %d runs (interleaved):\n", runs);
    std::printf("  editor       %7.1f ms\n  bare window  %7.1f ms (editor %.2fx)\n  one QLabel   "
                "%7.1f ms (editor %.2fx; target: at most 1.15x)\n",
                editor, bare, editor / bare, label, editor / label);
    const double editorMb = median(editorKb) / 1024, bareMb = median(bareKb) / 1024;
    std::printf("peak resident size after start-up:\n");
    std::printf("  editor       %7.1f MB\n  bare window  %7.1f MB\n  difference   %7.1f MB "
                "(target: at most 10)\n",
                editorMb, bareMb, editorMb - bareMb);
    std::printf("peak resident size after a Generate%s:\n",
                generated ? "" : " (FAILED: no patch written)");
    std::printf("  editor       %7.1f MB\n  difference   %7.1f MB against the bare window\n",
                afterGenerate / 1024.0, afterGenerate / 1024.0 - bareMb);
    xcb_disconnect(c);
    return generated ? 0 : 1;
}
