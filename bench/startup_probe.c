// Starts a program and reports how long it took, from exec, until its first top-level window was
// mapped (or, with --tray, until a system tray took its icon window). Waits for the X event
// itself rather than polling, so the figure is not rounded up to a polling interval.
//
//   startup_probe [--tray] [--timeout SECONDS] -- COMMAND [ARGS...]
//
// A window counts when it is at least 100 x 100 pixels, so a tray icon's own window mapped on the
// root before a host takes it is not mistaken for the program's window.
// Prints "<milliseconds> <pid>" and leaves the program running; prints "timeout <pid>" and exits
// 1 when nothing showed in time.
#define _POSIX_C_SOURCE 200809L
#include <X11/Xlib.h>

#include <errno.h>
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

static double NowMs(void) {
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

static int Usage(void) {
    fprintf(stderr, "usage: startup_probe [--tray] [--timeout SECONDS] -- COMMAND [ARGS...]\n");
    return 2;
}

int main(int argc, char** argv) {
    int tray = 0;
    double timeoutMs = 20000;
    int i = 1;
    for (; i < argc; ++i) {
        if (strcmp(argv[i], "--tray") == 0) {
            tray = 1;
        } else if (strcmp(argv[i], "--timeout") == 0 && i + 1 < argc) {
            timeoutMs = atof(argv[++i]) * 1000.0;
        } else if (strcmp(argv[i], "--") == 0) {
            ++i;
            break;
        } else {
            return Usage();
        }
    }
    if (i >= argc) return Usage();

    Display* dpy = XOpenDisplay(NULL);
    if (dpy == NULL) {
        fprintf(stderr, "startup_probe: cannot open display\n");
        return 2;
    }
    const Window root = DefaultRootWindow(dpy);
    // Map and reparent events of every child of the root reach us from here on.
    XSelectInput(dpy, root, SubstructureNotifyMask);
    XSync(dpy, False);

    const double start = NowMs();
    const pid_t pid = fork();
    if (pid < 0) {
        perror("startup_probe: fork");
        return 2;
    }
    if (pid == 0) {
        close(ConnectionNumber(dpy));
        // The program outlives the probe: on our standard output it would hold open the pipe
        // of whoever reads the probe's answer.
        dup2(STDERR_FILENO, STDOUT_FILENO);
        execvp(argv[i], argv + i);
        fprintf(stderr, "startup_probe: cannot run %s: %s\n", argv[i], strerror(errno));
        _exit(127);
    }

    struct pollfd pfd = {ConnectionNumber(dpy), POLLIN, 0};
    for (;;) {
        while (XPending(dpy) > 0) {
            XEvent ev;
            XNextEvent(dpy, &ev);
            const double at = NowMs() - start;
            // Override-redirect windows (menus, tooltips, splash helpers) are not the window.
            int shown = !tray && ev.type == MapNotify && ev.xmap.event == root &&
                        !ev.xmap.override_redirect;
            if (shown) {
                XWindowAttributes wa;
                shown = XGetWindowAttributes(dpy, ev.xmap.window, &wa) && wa.width >= 100 &&
                        wa.height >= 100;
            }
            // A tray host takes the icon's window from the root into its own.
            const int docked = tray && ev.type == ReparentNotify && ev.xreparent.parent != root;
            if (shown || docked) {
                printf("%.1f %d\n", at, (int)pid);
                return 0;
            }
        }
        const double left = timeoutMs - (NowMs() - start);
        if (left <= 0) break;
        poll(&pfd, 1, (int)left + 1);
    }
    printf("timeout %d\n", (int)pid);
    return 1;
}
