/* Start-up timing from outside the program: watches the X screen the program draws on.
 *
 *   xprobe floor CMD [ARGS...]
 *       runs CMD and prints "exit_ms T": launch to exit.
 *   xprobe splash X Y W H CMD [ARGS...]
 *       runs CMD and grabs the whole root window again and again (about every 2-4 ms):
 *       - "splash_ms T": launch to the first grab whose rectangle X,Y,W,H shows what it shows once
 *         it has stayed unchanged, not of one colour, for 800 ms (the splash picture, whole);
 *       - then it clicks the middle of that rectangle (XTest) and prints "ready_ms T": the click
 *         to the last change of the whole screen before it stays unchanged for 1500 ms (the
 *         room, drawn completely);
 *       - "centre RRGGBB" and "corner RRGGBB": the screen's centre and the pixel (5, 5) then;
 *       - finally it ends CMD (SIGTERM, then SIGKILL) and waits for it.
 * Exit status 0 when every figure was found, 1 otherwise ("timeout ..." says which).
 */
#define _POSIX_C_SOURCE 200809L
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <fcntl.h>
#include <signal.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double now_ms(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

static pid_t launch(char** argv)
{
    pid_t pid = fork();
    if (pid == 0) {
        int null = open("/dev/null", O_RDWR);
        if (null >= 0) {
            dup2(null, 0);
            dup2(null, 1);
            dup2(null, 2);
        }
        execvp(argv[0], argv);
        _exit(127);
    }
    return pid;
}

static void sleep_ms(double ms)
{
    struct timespec t = {(time_t)(ms / 1000), (long)((ms - (time_t)(ms / 1000) * 1000) * 1e6)};
    nanosleep(&t, NULL);
}

/* FNV-1a over a rectangle of the grab; *uniform is set when every pixel is the same. */
static uint64_t hash_rect(XImage* img, int x, int y, int w, int h, int* uniform)
{
    uint64_t hash = 1469598103934665603ull;
    unsigned long first = XGetPixel(img, x, y);
    *uniform = 1;
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) {
            unsigned long p = XGetPixel(img, i, j);
            if (p != first) *uniform = 0;
            hash = (hash ^ (p & 0xffffff)) * 1099511628211ull;
        }
    return hash;
}

static int child_done(pid_t pid)
{
    int status;
    return waitpid(pid, &status, WNOHANG) == pid;
}

static void end_child(pid_t pid)
{
    if (child_done(pid)) return;
    kill(pid, SIGTERM);
    for (int i = 0; i < 100; ++i) {
        if (child_done(pid)) return;
        sleep_ms(20);
    }
    kill(pid, SIGKILL);
    waitpid(pid, NULL, 0);
}

int main(int argc, char** argv)
{
    if (argc >= 3 && strcmp(argv[1], "floor") == 0) {
        double t0 = now_ms();
        pid_t pid = launch(argv + 2);
        int status;
        waitpid(pid, &status, 0);
        printf("exit_ms %.1f\n", now_ms() - t0);
        return 0;
    }
    if (argc < 8 || strcmp(argv[1], "splash") != 0) {
        fprintf(stderr, "usage: xprobe floor CMD... | xprobe splash X Y W H CMD...\n");
        return 2;
    }
    int sx = atoi(argv[2]), sy = atoi(argv[3]), sw = atoi(argv[4]), sh = atoi(argv[5]);
    Display* d = XOpenDisplay(NULL);
    if (!d) {
        fprintf(stderr, "xprobe: no display\n");
        return 2;
    }
    Window root = DefaultRootWindow(d);
    int W = DisplayWidth(d, DefaultScreen(d)), H = DisplayHeight(d, DefaultScreen(d));

    double t0 = now_ms();
    pid_t pid = launch(argv + 6);

    /* The splash: its rectangle's content, first seen and then steady. */
    uint64_t last = 0;
    double lastChange = 0, firstSeen = -1;
    int found = 0;
    uint64_t seenHashes[4096];
    double seenAt[4096];
    int seen = 0;
    while (now_ms() - t0 < 60000) {
        XImage* img = XGetImage(d, root, sx, sy, sw, sh, AllPlanes, ZPixmap);
        double t = now_ms() - t0;
        if (!img) continue;
        int uniform;
        uint64_t h = hash_rect(img, 0, 0, sw, sh, &uniform);
        XDestroyImage(img);
        if (h != last || seen == 0) {
            last = h;
            lastChange = t;
            int known = 0;
            for (int i = 0; i < seen; ++i)
                if (seenHashes[i] == h) known = 1;
            if (!known && seen < 4096) {
                seenHashes[seen] = h;
                seenAt[seen++] = t;
            }
        }
        if (!uniform && t - lastChange >= 800) {
            for (int i = 0; i < seen; ++i)
                if (seenHashes[i] == h) firstSeen = seenAt[i];
            found = 1;
            break;
        }
        if (child_done(pid)) break;
    }
    if (!found) {
        printf("timeout splash\n");
        end_child(pid);
        return 1;
    }
    printf("splash_ms %.1f\n", firstSeen);

    /* The click on the splash, then the screen until it settles. */
    XTestFakeMotionEvent(d, DefaultScreen(d), sx + sw / 2, sy + sh / 2, 0);
    XSync(d, False);
    sleep_ms(50);
    XTestFakeButtonEvent(d, 1, True, 0);
    XSync(d, False);
    double tc = now_ms();
    XTestFakeButtonEvent(d, 1, False, 0);
    XSync(d, False);
    last = 0;
    lastChange = -1;
    found = 0;
    unsigned long centre = 0, corner = 0;
    while (now_ms() - tc < 30000) {
        XImage* img = XGetImage(d, root, 0, 0, W, H, AllPlanes, ZPixmap);
        double t = now_ms() - tc;
        if (!img) continue;
        int uniform;
        uint64_t h = hash_rect(img, 0, 0, W, H, &uniform);
        if (h != last || lastChange < 0) {
            last = h;
            lastChange = t;
            centre = XGetPixel(img, W / 2, H / 2);
            corner = XGetPixel(img, 5, 5);
        }
        XDestroyImage(img);
        if (lastChange >= 0 && t - lastChange >= 1500) {
            found = 1;
            break;
        }
    }
    if (!found) {
        printf("timeout ready\n");
        end_child(pid);
        return 1;
    }
    printf("ready_ms %.1f\n", lastChange);
    printf("centre %06lx\ncorner %06lx\n", centre & 0xffffff, corner & 0xffffff);
    end_child(pid);
    XCloseDisplay(d);
    return 0;
}
