// What the recovery copy costs the child: on a 3840 x 2160 window (a canvas of 3674 x 2048, 22 MB
// of picture) the pointer rests for two seconds, the copy starts, and then the pointer moves,
// presses and drags the pencil while the copy is being written. Each event goes through the
// program's own message loop and window procedure, posted by a second thread at a mouse's pace
// (the drag at 125 moves a second); its time runs from the moment it was posted to the end of its
// handling, so that a slice of the copy the event had to wait for counts. The same events with the
// copy switched off, in rounds taken in turn in the same run, are the yardstick: the copy should
// add less than 0.1 ms to their p99.
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <vector>

#include "bench_util.h"
#include "pictures/recovery.h"
#include "shell/shell.h"

namespace {

const int kColumn = 52;
const int kRounds = 6;          // of each kind, taken in turn
const int kHovers = 20;         // pointer moves without a button before the press
const int kDrags = 120;         // moves of the drag
const int kHoverPacing = 4;     // ms between two moves without a button
const int kDragPacing = 8;      // ms between two moves of the drag: a mouse reporting 125 times a second
const int kMaxEvents = kRounds * 2 * (kHovers + kDrags + 8);

HWND g_hwnd;
DWORD g_mainThread;
WNDPROC g_shellProc;
std::atomic<int> g_posted{0};
double g_postedAt[kMaxEvents];

// What each handled event took, and whether a slice of the copy was in progress when it came.
struct Series {
    std::vector<double> all, whileWriting, hovers, presses, drags, pressesAndDrags;
};
Series g_on, g_off;
Series* g_series = nullptr;
std::vector<double> g_slices;  // idle ticks that wrote a slice
// The idle ticks of the copy by their step, and the events' wait for the loop apart from their handling.
const char* const kSteps[] = {"the name", "the picture's file opened", "a slice",
                              "the last slice and the file put in place"};
std::vector<double> g_steps[4];
std::vector<double> g_dropOnly, g_waitOn, g_handleOn, g_waitOff, g_handleOff, g_dropPress;

// Events carry their number above the key flags, which the window procedure gets alone.
LRESULT CALLBACK BenchProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const bool pointer = message == WM_MOUSEMOVE || message == WM_LBUTTONDOWN || message == WM_LBUTTONUP;
    if (!pointer || (wParam >> 16) == 0) return CallWindowProcA(g_shellProc, hwnd, message, wParam, lParam);
    const int number = int(wParam >> 16) - 1;
    const bool writing = recovery.writing != 0;
    const double entry = bench_Now();
    if (g_series == &g_on && writing && message == WM_LBUTTONDOWN) {
        recovery_NoteInput(1);
        g_dropOnly.push_back(bench_Now() - entry);
    }
    LRESULT result = CallWindowProcA(g_shellProc, hwnd, message, wParam & 0xFFFF, lParam);
    GdiFlush();
    const double ms = bench_Now() - g_postedAt[number];
    if (g_series) {
        const bool on = g_series == &g_on;
        (on ? g_waitOn : g_waitOff).push_back(entry - g_postedAt[number]);
        (on ? g_handleOn : g_handleOff).push_back(bench_Now() - entry);
        if (on && writing && message == WM_LBUTTONDOWN) g_dropPress.push_back(bench_Now() - entry);
        g_series->all.push_back(ms);
        if (writing) g_series->whileWriting.push_back(ms);
        const bool held = (wParam & MK_LBUTTON) != 0;
        if (message == WM_MOUSEMOVE) (held ? g_series->drags : g_series->hovers).push_back(ms);
        if (message == WM_LBUTTONDOWN) g_series->presses.push_back(ms);
        if (held || message == WM_LBUTTONDOWN) g_series->pressesAndDrags.push_back(ms);
    }
    return result;
}

void TimedIdle(void)
{
    const bool writing = recovery.writing != 0, opened = recovery.opened != 0;
    const double start = bench_Now();
    shell_IdleTick();
    const double ms = bench_Now() - start;
    if (writing || recovery.writing) g_slices.push_back(ms);
    int step = -1;
    if (!writing && recovery.writing) step = 0;
    else if (writing && !opened) step = 1;
    else if (writing && opened) step = recovery.writing ? 2 : 3;
    if (step >= 0) g_steps[step].push_back(ms);
}

void Post(UINT message, WPARAM keys, int x, int y)
{
    const int number = g_posted++;
    g_postedAt[number] = bench_Now();
    PostMessageA(g_hwnd, message, keys | (WPARAM(number + 1) << 16), MAKELPARAM(x, y));
}

// One round, from the input thread: a dot that changes the picture, the pause, then the events.
void Round(bool copyOn)
{
    POINT p = bench_PathPoint(0);
    Post(WM_LBUTTONDOWN, MK_LBUTTON, p.x, p.y);
    Post(WM_LBUTTONUP, 0, p.x, p.y);
    // The pause; with the copy on, the events come as soon as the copy has begun.
    Sleep(1990);
    for (int i = 0; i < 100 && (copyOn ? !recovery.writing : i < 20); ++i) Sleep(1);
    for (int i = 1; i <= kHovers; ++i, Sleep(kHoverPacing)) {
        p = bench_PathPoint(i * 3);
        Post(WM_MOUSEMOVE, 0, p.x, p.y);
    }
    Post(WM_LBUTTONDOWN, MK_LBUTTON, p.x, p.y);
    for (int i = 1; i <= kDrags; ++i) {
        Sleep(kDragPacing);
        p = bench_PathPoint(kHovers * 3 + i);
        Post(WM_MOUSEMOVE, MK_LBUTTON, p.x, p.y);
    }
    Post(WM_LBUTTONUP, 0, p.x, p.y);
    Sleep(100);
}

volatile int g_roundKind;  // the kind of the round the input thread is in: 1 on, 0 off
bool g_bothOff = false;    // the copy off in the "on" rounds too: how far the yardstick differs from itself

DWORD WINAPI InputThread(void*)
{
    for (int r = 0; r < 2 * kRounds; ++r) {
        const bool on = r % 2 == 0;
        g_roundKind = on;
        Round(on);
    }
    PostThreadMessageA(g_mainThread, WM_QUIT, 0, 0);
    return 0;
}

// The main thread's idle tick: follows the rounds of the input thread.
void Idle(void)
{
    const bool on = g_roundKind != 0;
    recovery.enabled = on && !g_bothOff;
    g_series = on ? &g_on : &g_off;
    TimedIdle();
}

void Report(const char* kind, Series& s)
{
    std::string name = std::string(kind);
    bench_Report((name + ": every event").c_str(), s.all, kColumn);
    bench_Report((name + ": press and drag").c_str(), s.pressesAndDrags, kColumn);
    bench_Report((name + ": press (the undo copy of the picture)").c_str(), s.presses, kColumn);
    bench_Report((name + ": drag").c_str(), s.drags, kColumn);
    bench_Report((name + ": pointer moves without a button").c_str(), s.hovers, kColumn);
}

double P99(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[std::min(v.size() - 1, size_t(0.99 * v.size()))];
}

}  // namespace

// recovery_bench [--both-off] [FOLDER]: the copy goes into FOLDER (a Windows path ending in a
// backslash) instead of a folder of the temporary folder: a memory disk tells the program's share
// from the disk's. --both-off leaves the copy off in both kinds of round, so that the difference
// printed at the end is the measurement's own noise on this machine at this moment.
int main(int argc, char** argv)
{
    if (argc > 1 && std::string(argv[1]) == "--both-off") {
        g_bothOff = true;
        --argc;
        ++argv;
    }
    int window = bench_OpenWindow("RecoveryBench", 3840, 2160);
    if (window < 0) return 1;
    bench_StartScene(window);
    bench_PrintLayout();
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    std::string recoveryFolder = argc > 1 ? std::string(argv[1])
                                          : std::string(folder) + std::to_string(GetCurrentProcessId()) + "_recovery\\";
    CreateDirectoryA(recoveryFolder.c_str(), nullptr);
    lstrcpynA(recovery.folder, recoveryFolder.c_str(), sizeof recovery.folder);

    // The program's own window procedure and idle tick drive the room.
    g_hwnd = tb_GetWindowHandle(window);
    g_mainThread = GetCurrentThreadId();
    shell.mainWindow = window;
    shell.started = 1;
    shellHooks.idle = Idle;
    g_shellProc = shell_WindowProc;
    SetWindowLongPtrA(g_hwnd, GWLP_WNDPROC, (LONG_PTR)BenchProc);

    // The whole copy once, with nothing else going on.
    tb_SetForeColor(scene.canvasBitmap, 40000, 20000, 0);
    RECT band = {0, 0, scene.layout.canvasWidth, 200};
    tb_PaintRect(scene.canvasBitmap, &band);
    scene.modified = 1;
    recovery_NoteInput(1);
    recovery.lastInput = tb_GetTime() - recovery.pause;
    double start = bench_Now();
    int ticks = 0;
    do {
        TimedIdle();
        ++ticks;
    } while (recovery.writing || recovery.copy == RECOVERY_DUE);
    double whole = bench_Now() - start;
    std::printf("the copy of %dx%d written in %.1f ms over %d idle ticks (%s)\n", scene.layout.canvasWidth,
                scene.layout.canvasHeight, whole, ticks, recovery.copy == RECOVERY_CURRENT ? "whole" : "failed");
    std::printf("its first idle tick (the name, the files opened) %.3f ms, its last (the file put in place) %.3f ms\n",
                g_slices.front(), g_slices.back());
    bench_Report("idle tick with a slice of the copy", g_slices, kColumn);
    // A press in the middle of the copy stops it.
    std::vector<double> drops;
    for (int k = 0; k < 10; ++k) {
        recovery_NoteInput(1);
        recovery.lastInput = tb_GetTime() - recovery.pause;
        do {
            shell_IdleTick();
        } while (!recovery.writing);
        while (recovery.writing && (!recovery.opened || recovery.written < 6000000)) shell_IdleTick();
        double at = bench_Now();
        recovery_NoteInput(1);
        drops.push_back(bench_Now() - at);
    }
    bench_Report("a copy stopped with 6 MB written", drops, kColumn);
    g_slices.clear();
    for (auto& v : g_steps) v.clear();

    HANDLE input = CreateThread(nullptr, 0, InputThread, nullptr, 0, nullptr);
    shell_MessageLoop();
    WaitForSingleObject(input, INFINITE);
    CloseHandle(input);

    std::printf("%d rounds of each, taken in turn: %d moves without a button, a press, %d drag moves, a release\n",
                kRounds, kHovers, kDrags);
    Report("copy on ", g_on);
    bench_Report("copy on : events that came while it was written", g_on.whileWriting, kColumn);
    Report("copy off", g_off);
    bench_Report("idle tick with a slice of the copy", g_slices, kColumn);
    for (int i = 0; i < 4; ++i)
        if (!g_steps[i].empty()) bench_Report((std::string("  idle tick: ") + kSteps[i]).c_str(), g_steps[i], kColumn);
    bench_Report("copy on : wait for the loop", g_waitOn, kColumn);
    bench_Report("copy on : handling", g_handleOn, kColumn);
    if (!g_dropPress.empty()) bench_Report("copy on : handling a press that stops the copy", g_dropPress, kColumn);
    if (!g_dropOnly.empty()) bench_Report("copy on : the stop alone, in such a press", g_dropOnly, kColumn);
    bench_Report("copy off: wait for the loop", g_waitOff, kColumn);
    bench_Report("copy off: handling", g_handleOff, kColumn);
    if (g_bothOff) std::printf("(--both-off: the copy was off in the rounds called \"on\" too)\n");
    std::printf("p99 of press and drag: copy on %.3f ms, off %.3f ms, difference %+.3f ms (within 0.1 ms: %s)\n",
                P99(g_on.pressesAndDrags), P99(g_off.pressesAndDrags),
                P99(g_on.pressesAndDrags) - P99(g_off.pressesAndDrags),
                P99(g_on.pressesAndDrags) - P99(g_off.pressesAndDrags) <= 0.1 ? "yes" : "no");
    std::fflush(stdout);

    SetWindowLongPtrA(g_hwnd, GWLP_WNDPROC, (LONG_PTR)bench_WindowProc);
    shell.started = 0;
    recovery.enabled = 1;
    recovery_Remove();
    RemoveDirectoryA(recoveryFolder.c_str());
    bench_Close(window);
    return 0;
}
