// New's four clearing animations on a 1920 x 1080 window: each one's total duration against the
// sum of its frame periods (what it would take if every frame's drawing fitted in its period),
// with the slowest frame's drawing time.
#include <windows.h>

#include <cstdio>

#include "pictures/preferences.h"
#include "scene/scene.h"
#include "scene/scene_routing.h"
#include "shell/shell.h"
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

// A picture with detail in every part, so that every copy moves real pixels.
void Stripes(void)
{
    const SceneLayout& L = scene.layout;
    for (int x = 0; x < L.canvasWidth; x += 16) {
        RECT r = {x, 0, x + 16, L.canvasHeight};
        tb_SetForeColor(scene.canvasBitmap, (x * 37) % 65025, (x * 91) % 65025, (x * 13) % 65025);
        tb_PaintRect(scene.canvasBitmap, &r);
    }
}

struct Expected {
    const char* name;
    int type;
};

}  // namespace

int main()
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    tb_SetInstance(instance, SW_SHOWNORMAL);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = BenchProc;
    wc.hInstance = instance;
    wc.lpszClassName = "ClearingBench";
    RegisterClassA(&wc);
    tb_SetClassName("ClearingBench");
    tb_InitToolbox();
    tb_SetSoundPreference(0);
    RECT r = {0, 0, 1920, 1080};
    int window = tb_OpenWindow(&r, "Tintwell", instance);
    if (window < 0) return 1;
    SetWindowPos(tb_GetWindowHandle(window), nullptr, 0, 0, 1920, 1080, SWP_NOZORDER);
    scene_Startup(window);
    scene_ResetRouting();
    const SceneLayout& L = scene.layout;
    const int cw = L.canvasWidth, ch = L.canvasHeight;
    std::printf("window %dx%d, canvas %dx%d\n", L.width, L.height, cw, ch);

    const Expected runs[] = {{"curtain", SHELL_CURTAIN}, {"melt", SHELL_MELT}, {"shrink", SHELL_SHRINK},
                             {"slide", SHELL_SLIDE}};
    for (const Expected& run : runs) {
        for (int round = 0; round < 3; ++round) {
            Stripes();
            scene_ShowAll();
            double start = Now();
            shell_RunClearing(run.type);
            double total = Now() - start;
            const ShellClearingStats& s = shellClearingStats;
            std::printf("%-8s frames %3d  periods sum %6.0f ms  total %7.1f ms  (%+6.1f ms)  slowest frame's "
                        "drawing %3lu ms of %lu ms, frames over their period %d, before the first %lu ms, after the last %lu ms\n",
                        run.name, s.frames, double(s.periodSum), total, total - s.periodSum, (unsigned long)s.slowestWork,
                        (unsigned long)s.period, s.late, (unsigned long)s.setup, (unsigned long)s.finish);
        }
    }
    scene_Shutdown();
    tb_DisposeOfWindow(window);
    return 0;
}
