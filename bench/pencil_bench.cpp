// Cost of one pointer move of a pencil drag at size 32 (the line into the picture and the refresh
// of the dirty rectangle on the window) and of a full composition of the room, on a 1920 x 1080
// window.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "scene/scene.h"
#include "scene/scene_routing.h"
#include "toolbox.h"

namespace {

LRESULT CALLBACK BenchProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

double Now()
{
    static LARGE_INTEGER frequency = {};
    if (!frequency.QuadPart) QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

void SendMouse(DWORD flags)
{
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    SendInput(1, &in, sizeof in);
}

void Report(const char* what, std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    auto at = [&](double q) { return ms[std::min(ms.size() - 1, size_t(q * ms.size()))]; };
    double sum = 0;
    for (double v : ms) sum += v;
    std::printf("%-44s n=%5u  p50 %.3f ms  p99 %.3f ms  max %.3f ms  mean %.3f ms\n", what, unsigned(ms.size()),
                at(0.50), at(0.99), ms.back(), sum / ms.size());
}

}  // namespace

int main()
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    tb_SetInstance(instance, SW_SHOWNORMAL);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = BenchProc;
    wc.hInstance = instance;
    wc.lpszClassName = "PencilBench";
    RegisterClassA(&wc);
    tb_SetClassName("PencilBench");
    tb_InitToolbox();
    tb_SetSoundPreference(0);
    RECT r = {0, 0, 1920, 1080};
    int window = tb_OpenWindow(&r, "Tintwell", instance);
    if (window < 0) return 1;
    SetWindowPos(tb_GetWindowHandle(window), nullptr, 0, 0, 1920, 1080, SWP_NOZORDER);

    double t0 = Now();
    scene_Startup(window);
    std::printf("scene start-up at %dx%d: %.1f ms\n", scene.layout.width, scene.layout.height, Now() - t0);
    scene_ResetRouting();
    scene.objects[0].size = 32;

    // A drag of 4000 moves: a circle and zig-zags over the canvas, 3 to 12 pixels apart.
    std::vector<double> moves;
    const SceneLayout& L = scene.layout;
    int cx = (L.canvas.left + L.canvas.right) / 2, cy = (L.canvas.top + L.canvas.bottom) / 2;
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    scene_PressHandler(window, cx + 300, cy);
    for (int i = 1; i <= 4000; ++i) {
        double a = i * 0.02;
        int x = cx + int(300 * std::cos(a)) + (i % 7) * 2, y = cy + int(300 * std::sin(a) * 0.8) + (i % 5) * 2;
        double start = Now();
        scene_MoveHandler(window, x, y);
        moves.push_back(Now() - start);
    }
    scene_ReleaseHandler(window, cx, cy);
    SendMouse(MOUSEEVENTF_LEFTUP);
    GdiFlush();
    Report("pencil drag move, size 32, with refresh", moves);

    // The same drag while zoomed: every refresh recomposes the doubled view.
    scene.zoomed = 1;
    scene.scroll = {L.canvasWidth / 4, L.canvasHeight / 4};
    std::vector<double> zoomed;
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    scene_PressHandler(window, cx, cy);
    for (int i = 1; i <= 300; ++i) {
        double start = Now();
        scene_MoveHandler(window, cx + (i % 40) * 5, cy + (i % 30) * 4);
        zoomed.push_back(Now() - start);
    }
    scene_ReleaseHandler(window, cx, cy);
    SendMouse(MOUSEEVENTF_LEFTUP);
    scene.zoomed = 0;
    Report("pencil drag move, size 32, zoomed", zoomed);

    std::vector<double> compose;
    for (int i = 0; i < 30; ++i) {
        double start = Now();
        scene_Compose(1, 1, 1);
        GdiFlush();
        compose.push_back(Now() - start);
    }
    Report("full composition (background, cans, show all)", compose);

    std::vector<double> pick;
    for (int i = 0; i < 30; ++i) {
        double start = Now();
        scene_Compose(0, 0, 0);
        pick.push_back(Now() - start);
    }
    Report("table and panel composition (tool picked)", pick);

    scene_Shutdown();
    tb_DisposeOfWindow(window);
    return 0;
}
