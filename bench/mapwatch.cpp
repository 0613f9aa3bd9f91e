// Starts a program and reports how long it took until its first top-level window
// was mapped, and its peak resident memory by then; the program is killed after.
//
//   narabin_bench_mapwatch <timeout seconds> <program> [arguments...]
//   prints: <milliseconds> <peak kB> <CPU milliseconds> <window title>
//
// The CPU time (all the program's threads, on the processor by then) moves little with the
// load other work puts on the machine, where the wall time does.
//
// The root window's SubstructureNotify is selected before the program starts, so
// no MapNotify can be missed. Without a window manager a top-level window maps
// straight away; override-redirect windows (menus, tooltips) are not top-level.
#include <xcb/xcb.h>

#include <dirent.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>

namespace
{

using Clock = std::chrono::steady_clock;

struct FreeDeleter {
    void operator()(void *p) const { std::free(p); }
};
template <typename T> using XcbReply = std::unique_ptr<T, FreeDeleter>;

// VmHWM of a live process in kB, -1 when it cannot be read.
long peakKb(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

// Time on the processor of a live process's threads so far in ms, -1 when it cannot be read.
double cpuMs(pid_t pid)
{
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    std::unique_ptr<DIR, int (*)(DIR *)> dir(opendir(tasks.c_str()), closedir);
    if (!dir)
        return -1;
    double ns = 0;
    while (const dirent *entry = readdir(dir.get())) {
        if (entry->d_name[0] == '.')
            continue;
        std::ifstream schedstat(tasks + '/' + entry->d_name + "/schedstat");
        double onCpu = 0;
        if (schedstat >> onCpu)
            ns += onCpu;
    }
    return ns / 1e6;
}

std::string windowTitle(xcb_connection_t *c, xcb_window_t w)
{
    const char name[] = "_NET_WM_NAME";
    XcbReply<xcb_intern_atom_reply_t> atom(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, sizeof name - 1, name), nullptr));
    for (xcb_atom_t property : {atom ? atom->atom : xcb_atom_t(XCB_NONE), xcb_atom_t(XCB_ATOM_WM_NAME)}) {
        if (property == XCB_NONE)
            continue;
        XcbReply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
            c, xcb_get_property(c, 0, w, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024), nullptr));
        if (reply && xcb_get_property_value_length(reply.get()) > 0)
            return std::string(static_cast<const char *>(xcb_get_property_value(reply.get())),
                               size_t(xcb_get_property_value_length(reply.get())));
    }
    return "(no title)";
}

void stop(pid_t pid)
{
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s <timeout seconds> <program> [arguments...]\n", argv[0]);
        return 2;
    }
    const auto timeout = std::chrono::milliseconds(long(std::atof(argv[1]) * 1000));

    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "mapwatch: cannot connect to the display\n");
        return 2;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    XcbReply<xcb_generic_error_t> error(
        xcb_request_check(c, xcb_change_window_attributes_checked(c, root, XCB_CW_EVENT_MASK, &mask)));
    if (error) {
        std::fprintf(stderr, "mapwatch: cannot watch the root window\n");
        return 2;
    }

    const Clock::time_point start = Clock::now();
    const pid_t pid = fork();
    if (pid < 0) {
        std::perror("mapwatch: fork");
        return 2;
    }
    if (pid == 0) {
        close(xcb_get_file_descriptor(c));
        execvp(argv[2], argv + 2);
        std::perror("mapwatch: exec");
        _exit(127);
    }

    pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
    for (;;) {
        while (xcb_generic_event_t *raw = xcb_poll_for_event(c)) {
            XcbReply<xcb_generic_event_t> event(raw);
            if ((event->response_type & 0x7f) != XCB_MAP_NOTIFY)
                continue;
            const auto *map = reinterpret_cast<const xcb_map_notify_event_t *>(event.get());
            if (map->event != root || map->override_redirect)
                continue;
            const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            const long kb = peakKb(pid);
            const double cpu = cpuMs(pid);
            const std::string title = windowTitle(c, map->window);
            stop(pid);
            std::printf("%.1f %ld %.1f %s\n", ms, kb, cpu, title.c_str());
            xcb_disconnect(c);
            return kb < 0 ? 1 : 0;
        }
        if (xcb_connection_has_error(c)) {
            std::fprintf(stderr, "mapwatch: the display connection broke\n");
            stop(pid);
            return 1;
        }
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) {
            std::fprintf(stderr, "mapwatch: %s ended (status %d) before it mapped a window\n", argv[2], status);
            return 1;
        }
        const auto left = timeout - (Clock::now() - start);
        if (left <= Clock::duration::zero()) {
            std::fprintf(stderr, "mapwatch: no window of %s after %s s\n", argv[2], argv[1]);
            stop(pid);
            return 1;
        }
        // Wake up now and then to notice a program that ended.
        poll(&fd, 1, 50);
    }
}
