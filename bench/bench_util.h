// What the room's benchmarks share: the clock, the 1920 x 1080 window with the room started on it,
// the pointer's path over the canvas and the line of figures printed for a series of timings.
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

// One line for a series of timings: its name in a column of nameWidth characters, the count in
// countWidth digits, then the median, the 99th percentile, the slowest and the mean.
inline void bench_Report(const char* what, std::vector<double> ms, int nameWidth, int countWidth = 5)
{
    if (ms.empty()) {
        std::printf("%-*s n=%*u\n", nameWidth, what, countWidth, 0u);
        return;
    }
    std::sort(ms.begin(), ms.end());
    auto at = [&](double q) { return ms[std::min(ms.size() - 1, size_t(q * ms.size()))]; };
    double sum = 0;
    for (double v : ms) sum += v;
    std::printf("%-*s n=%*u  p50 %.3f ms  p99 %.3f ms  max %.3f ms  mean %.3f ms\n", nameWidth, what, countWidth,
                unsigned(ms.size()), at(0.50), at(0.99), ms.back(), sum / ms.size());
    std::fflush(stdout);
}

// The primary button pressed or released for the whole session, as tb_IsMouseDown sees it.
inline void bench_SendMouse(DWORD flags)
{
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    SendInput(1, &in, sizeof in);
}

inline LRESULT CALLBACK bench_WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// The toolbox started with the sounds off and the program's window (1920 x 1080 unless asked
// otherwise) opened under a window class of the benchmark's own: the window's index, or -1 when it
// cannot be opened.
inline int bench_OpenWindow(const char* className, int width = 1920, int height = 1080)
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
    tb_SetSoundPreference(0);
    RECT r = {0, 0, width, height};
    int window = tb_OpenWindow(&r, "Tintwell", instance);
    if (window < 0) return -1;
    SetWindowPos(tb_GetWindowHandle(window), nullptr, 0, 0, width, height, SWP_NOZORDER);
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

inline void bench_Close(int window)
{
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
