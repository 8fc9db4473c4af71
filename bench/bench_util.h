// What the room's benchmarks share: the clock, the window over the whole screen the benchmark runs
// on with the room started on it, the copy bounds of that screen, the pointer's path over the
// canvas and the line of figures printed for a series of timings.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "scene/scene.h"
#include "scene/scene_routing.h"
#include "toolbox.h"

// Milliseconds on the performance counter.
inline double bench_Now()
{
    static LARGE_INTEGER frequency = {};
    if (!frequency.QuadPart) QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

// One line for a series of figures: its name in a column of nameWidth characters, the count in
// countWidth digits, then the median, the 99th percentile, the largest and the mean, in unit.
inline void bench_Report(const char* what, std::vector<double> ms, int nameWidth, int countWidth = 5,
                         const char* unit = "ms")
{
    if (ms.empty()) {
        std::printf("%-*s n=%*u\n", nameWidth, what, countWidth, 0u);
        return;
    }
    std::sort(ms.begin(), ms.end());
    auto at = [&](double q) { return ms[std::min(ms.size() - 1, size_t(q * ms.size()))]; };
    double sum = 0;
    for (double v : ms) sum += v;
    std::printf("%-*s n=%*u  p50 %.3f %s  p99 %.3f %s  max %.3f %s  mean %.3f %s\n", nameWidth, what, countWidth,
                unsigned(ms.size()), at(0.50), unit, at(0.99), unit, ms.back(), unit, sum / ms.size(), unit);
    std::fflush(stdout);
}

// Whether the primary button is down, as the pointer messages the program handles would say: the
// program reads the buttons from each message's key flags, never by asking the system. Under Wine
// asking the system (GetAsyncKeyState) also puts what was drawn onto the X screen, every 50 ms, which
// would land inside a handler here but lands between messages in the program. Other keys are asked
// of the system, as the program asks.
inline bool& bench_ButtonDown()
{
    static bool down = false;
    return down;
}

inline int bench_ReadInput(int virtualKey)
{
    if (virtualKey == VK_LBUTTON || virtualKey == VK_RBUTTON)
        return bench_ButtonDown() && virtualKey == (GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON);
    return (GetAsyncKeyState(virtualKey) & 0xFF00) != 0;
}

// The primary button pressed or released for the whole session, as tb_IsMouseDown sees it.
inline void bench_SendMouse(DWORD flags)
{
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    SendInput(1, &in, sizeof in);
    if (flags & MOUSEEVENTF_LEFTDOWN) bench_ButtonDown() = true;
    if (flags & MOUSEEVENTF_LEFTUP) bench_ButtonDown() = false;
}

inline LRESULT CALLBACK bench_WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// The size of the screen the benchmark runs on: the program's window covers it whole.
inline SIZE bench_Screen()
{
    return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

// What the program's loop does between two events: a look at the queue, which finds it empty. Wine
// puts what was drawn onto the X screen there (a program that never looks puts it there in the
// middle of a drawing call once 50 ms have passed, which would land in a timed event now and then).
inline void bench_Idle()
{
    MSG m;
    PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE);
    // The program's idle ticks between two events bring the spare copy of the picture up to date.
    while (scene_CatchUpSpare()) {
    }
}

// The toolbox started with the sounds off and the program's window opened under a window class of
// the benchmark's own, over the whole screen unless a size is asked for: the window's index, or -1
// when it cannot be opened.
inline int bench_OpenWindow(const char* className, int width = 0, int height = 0)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    tb_SetInstance(instance, SW_SHOWNORMAL);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = bench_WindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = className;
    RegisterClassA(&wc);
    tb_SetClassName(className);
    tb_InitToolbox();
    tb_SetInputReader(bench_ReadInput);
    tb_SetSoundPreference(0);
    SIZE screen = bench_Screen();
    if (width > 0 && height > 0) screen = {width, height};
    RECT r = {0, 0, screen.cx, screen.cy};
    int window = tb_OpenWindow(&r, "Tintwell", instance);
    if (window < 0) return -1;
    SetWindowPos(tb_GetWindowHandle(window), nullptr, 0, 0, screen.cx, screen.cy, SWP_NOZORDER);
    return window;
}

// The room started on the window and its pointer routing reset: how long the start-up took.
inline double bench_StartScene(int window)
{
    double start = bench_Now();
    scene_Startup(window);
    double ms = bench_Now() - start;
    scene_ResetRouting();
    return ms;
}

inline void bench_PrintLayout()
{
    const SceneLayout& L = scene.layout;
    std::printf("window %dx%d, canvas %dx%d\n", L.width, L.height, L.canvasWidth, L.canvasHeight);
}

// One copy bound: the plain copy of a rectangle of the scene bitmap to the window, thirty times.
// Each copy is followed, untimed, by the program's look at its queue; the X screen's share of that
// is printed as its own line.
inline void bench_CopyBound(int window, const char* name, const char* flush, const RECT* rect, int nameWidth)
{
    std::vector<double> copies, flushes;
    // The first copy of a size grows the toolbox's staging rows for the window once; the bound is
    // what every copy after it costs.
    tb_CopyBitmap(scene.sceneBitmap, window, rect, rect);
    GdiFlush();
    bench_Idle();
    for (int i = 0; i < 30; ++i) {
        double start = bench_Now();
        tb_CopyBitmap(scene.sceneBitmap, window, rect, rect);
        GdiFlush();
        double copied = bench_Now();
        bench_Idle();
        copies.push_back(copied - start);
        flushes.push_back(bench_Now() - copied);
    }
    bench_Report(name, copies, nameWidth);
    bench_Report(flush, flushes, nameWidth);
}

// The copy bounds of this screen, measured beside the benchmark's own figures: one plain copy of the
// canvas rectangle, and one of the whole scene bitmap, from the scene bitmap to the window. No event
// that shows the whole canvas (or the whole room) can cost less. And the least a freehand move
// shows: a 48 x 48 square of the canvas copied to the window, 2000 times along the canvas with the
// program's idle between two, as a drag's moves come; its p99 is what this machine's stalls alone
// give a move that costs almost nothing.
inline void bench_CopyBounds(int window, int nameWidth)
{
    const SceneLayout& L = scene.layout;
    const RECT whole = {0, 0, L.width, L.height};
    bench_CopyBound(window, "copy bound: canvas rectangle to the window", "copy bound: canvas rectangle, X screen flush",
                    &L.canvas, nameWidth);
    bench_CopyBound(window, "copy bound: scene bitmap to the window", "copy bound: scene bitmap, X screen flush",
                    &whole, nameWidth);
    std::vector<double> squares;
    const int span = L.canvasWidth - 48, rows = L.canvasHeight - 48;
    for (int i = 0; i < 2000 && span > 0 && rows > 0; ++i) {
        const int x = L.canvas.left + (i * 7) % span, y = L.canvas.top + (i * 3) % rows;
        const RECT square = {x, y, x + 48, y + 48};
        double start = bench_Now();
        tb_CopyBitmap(scene.sceneBitmap, window, &square, &square);
        squares.push_back(bench_Now() - start);
        bench_Idle();
    }
    bench_Report("copy bound: a 48 x 48 square, 2000 times", squares, nameWidth);
}

// Closes the room, first printing what the toolbox keeps of disposed bitmaps for the next ones.
inline void bench_Close(int window)
{
    std::printf("surfaces kept for the next bitmaps: %d, %.0f kB\n", tb_PooledSurfaces(), tb_PooledBytes() / 1024.0);
    std::fflush(stdout);
    scene_Shutdown();
    tb_DisposeOfWindow(window);
}

// A path over the canvas: a circle of 300 pixels around its middle with a little zig-zag, 3 to 12
// pixels from one point to the next.
inline POINT bench_PathPoint(int i)
{
    const SceneLayout& L = scene.layout;
    int cx = (L.canvas.left + L.canvas.right) / 2, cy = (L.canvas.top + L.canvas.bottom) / 2;
    double a = i * 0.02;
    return {cx + int(300 * std::cos(a)) + (i % 7) * 2, cy + int(300 * std::sin(a) * 0.8) + (i % 5) * 2};
}

// The time of each of the moves to the path's points 1 to n, through the room's handler.
inline std::vector<double> bench_PathMoves(int window, int n)
{
    std::vector<double> ms;
    for (int i = 1; i <= n; ++i) {
        POINT p = bench_PathPoint(i);
        double start = bench_Now();
        scene_MoveHandler(window, p.x, p.y);
        ms.push_back(bench_Now() - start);
        bench_Idle();
    }
    return ms;
}

// A drag of the current tool with the button held: pressed at the circle's start, n timed moves
// along the path, released in the middle of the canvas.
inline std::vector<double> bench_Drag(int window, int n)
{
    const SceneLayout& L = scene.layout;
    int cx = (L.canvas.left + L.canvas.right) / 2, cy = (L.canvas.top + L.canvas.bottom) / 2;
    bench_SendMouse(MOUSEEVENTF_LEFTDOWN);
    scene_PressHandler(window, cx + 300, cy);
    std::vector<double> ms = bench_PathMoves(window, n);
    scene_ReleaseHandler(window, cx, cy);
    bench_SendMouse(MOUSEEVENTF_LEFTUP);
    GdiFlush();
    return ms;
}
