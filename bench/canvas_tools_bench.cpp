// Cost of one pointer event of every canvas tool at its largest size on a 1920 x 1080 window,
// the routing's refresh included: the brush, the effect brushes, the spray can, the eraser, the
// bump patterns, the ruler and the templates dragged across the whole canvas, the scissors'
// marquee and floating 300 x 300 piece, the dropper; and the jar's fill of the whole canvas.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "scene/scene.h"
#include "scene/scene_routing.h"
#include "toolbox.h"
#include "tools/brush.h"
#include "tools/dropper_scissors.h"

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
    std::printf("%-46s n=%5u  p50 %.3f ms  p99 %.3f ms  max %.3f ms  mean %.3f ms\n", what, unsigned(ms.size()),
                at(0.50), at(0.99), ms.back(), sum / ms.size());
    std::fflush(stdout);
}

int g_window = -1;

// A picture with something on it: stripes of colour, so the effects have work to do.
void Stripes(void)
{
    const SceneLayout& L = scene.layout;
    for (int x = 0; x < L.canvasWidth; x += 40) {
        RECT r = {x, 0, x + 20, L.canvasHeight};
        tb_SetForeColor(scene.canvasBitmap, (x * 97) % 65025, (x * 31) % 65025, 40000);
        tb_PaintRect(scene.canvasBitmap, &r);
    }
    scene_ShowAll();
}

void White(void)
{
    tb_SetForeColor(scene.canvasBitmap, 65025, 65025, 65025);
    tb_PaintRect(scene.canvasBitmap, &scene.layout.picture);
    scene_ShowAll();
}

// A freehand stroke of n moves (circles and zig-zags, 3 to 12 pixels apart) with the button held.
std::vector<double> Freehand(int object, int size, int n)
{
    scene.currentObject = object;
    scene.currentGroup = scene.objects[object].group;
    scene.objects[object].size = size;
    const SceneLayout& L = scene.layout;
    int cx = (L.canvas.left + L.canvas.right) / 2, cy = (L.canvas.top + L.canvas.bottom) / 2;
    std::vector<double> moves;
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    scene_PressHandler(g_window, cx + 300, cy);
    for (int i = 1; i <= n; ++i) {
        double a = i * 0.02;
        int x = cx + int(300 * std::cos(a)) + (i % 7) * 2, y = cy + int(300 * std::sin(a) * 0.8) + (i % 5) * 2;
        double start = Now();
        scene_MoveHandler(g_window, x, y);
        moves.push_back(Now() - start);
    }
    scene_ReleaseHandler(g_window, cx, cy);
    SendMouse(MOUSEEVENTF_LEFTUP);
    GdiFlush();
    return moves;
}

// The rubber band's end point swept over the whole canvas and back.
std::vector<double> Sweep(int object, int size, int mode, std::vector<double>* release)
{
    scene.currentObject = object;
    scene.currentGroup = 0;
    scene.objects[object].size = size;
    scene.objects[object].mode = mode;
    const RECT& c = scene.layout.canvas;
    std::vector<double> moves;
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    scene_PressHandler(g_window, c.left + 20, c.top + 20);
    for (int i = 1; i <= 600; ++i) {
        double t = (i % 300) / 300.0;
        if ((i / 300) % 2) t = 1 - t;
        int x = c.left + 20 + int(t * (c.right - c.left - 40)), y = c.top + 20 + int(t * (c.bottom - c.top - 40));
        double start = Now();
        scene_MoveHandler(g_window, x, y);
        moves.push_back(Now() - start);
    }
    // The figure across the whole canvas: its release refreshes all of it.
    scene_MoveHandler(g_window, c.right - 20, c.bottom - 20);
    double start = Now();
    scene_ReleaseHandler(g_window, c.right - 20, c.bottom - 20);
    GdiFlush();
    if (release) release->push_back(Now() - start);
    SendMouse(MOUSEEVENTF_LEFTUP);
    return moves;
}

}  // namespace

int main()
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    tb_SetInstance(instance, SW_SHOWNORMAL);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = BenchProc;
    wc.hInstance = instance;
    wc.lpszClassName = "CanvasToolsBench";
    RegisterClassA(&wc);
    tb_SetClassName("CanvasToolsBench");
    tb_InitToolbox();
    tb_SetSoundPreference(0);
    RECT r = {0, 0, 1920, 1080};
    g_window = tb_OpenWindow(&r, "Tintwell", instance);
    if (g_window < 0) return 1;
    SetWindowPos(tb_GetWindowHandle(g_window), nullptr, 0, 0, 1920, 1080, SWP_NOZORDER);
    scene_Startup(g_window);
    scene_ResetRouting();
    std::printf("window %dx%d, canvas %dx%d\n", scene.layout.width, scene.layout.height, scene.layout.canvasWidth,
                scene.layout.canvasHeight);
    Stripes();

    Report("brush move, size 36", Freehand(1, 36, 2000));
    {
        // The dab alone, without the routing and its refresh.
        std::vector<double> dabs;
        scene.objects[1].size = 36;
        for (int i = 0; i < 1000; ++i) {
            double start = Now();
            brush_Dab(&scene.objects[1], 100 + (i % 50) * 20, 100 + (i / 50) * 20);
            GdiFlush();
            dabs.push_back(Now() - start);
        }
        Report("brush dab alone, size 36", dabs);
        scene.objects[20].size = 40;
        dabs.clear();
        for (int i = 0; i < 1000; ++i) {
            double start = Now();
            effectBrush_Dab(&scene.objects[20], 100 + (i % 50) * 20, 100 + (i / 50) * 20);
            GdiFlush();
            dabs.push_back(Now() - start);
        }
        Report("lightbulb dab alone, size 40", dabs);
    }
    Report("eraser move, size 32", Freehand(2, 32, 2000));
    Report("spray can move, size 36", Freehand(3, 36, 2000));
    const char* effects[] = {"pocket knife", "sunglasses", "lightbulb", "rag", "crayon", "pepper", "hammer and chisel"};
    for (int i = 0; i < 7; ++i) {
        char name[80];
        std::snprintf(name, sizeof name, "%s move, size 40", effects[i]);
        Stripes();
        Report(name, Freehand(18 + i, 40, 1000));
    }
    for (int i = 9; i <= 14; ++i) {
        char name[80];
        std::snprintf(name, sizeof name, "bump pattern %d move, size 48", i);
        Report(name, Freehand(i, 48, 1000));
    }
    Report("dropper move", Freehand(7, 1, 2000));

    std::vector<double> releases;
    Report("ruler move across the canvas, size 32", Sweep(4, 32, 0, &releases));
    const char* shapes[] = {"ellipse outline", "filled ellipse", "rectangle outline", "filled rectangle"};
    for (int m = 0; m < 4; ++m) {
        char name[80];
        std::snprintf(name, sizeof name, "templates move, %s", shapes[m]);
        Report(name, Sweep(5, 32, m, &releases));
    }
    Report("ruler and templates release, whole-canvas figure", releases);

    // Scissors: the marquee over the whole canvas, then a 300 x 300 piece floating with the button up.
    scene.objects[8].mode = 0;
    scene.objects[8].size = 1;
    Report("scissors marquee move across the canvas", Sweep(8, 1, 0, nullptr));
    scene.objects[8].active = 0;
    scene.objects[8].mode = 0;
    scene.objects[8].size = 1;
    const RECT& c = scene.layout.canvas;
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    scene_PressHandler(g_window, c.left + 100, c.top + 100);
    scene_MoveHandler(g_window, c.left + 400, c.top + 400);
    SendMouse(MOUSEEVENTF_LEFTUP);
    scene_ReleaseHandler(g_window, c.left + 400, c.top + 400);
    int w = 0, h = 0;
    scissors_PieceSize(&w, &h);
    std::printf("scissors piece %dx%d, mode %d\n", w, h, scene.objects[8].mode);
    std::vector<double> floating;
    int cx = (c.left + c.right) / 2, cy = (c.top + c.bottom) / 2;
    for (int i = 1; i <= 2000; ++i) {
        double a = i * 0.02;
        int x = cx + int(500 * std::cos(a)) + (i % 7) * 2, y = cy + int(300 * std::sin(a)) + (i % 5) * 2;
        double start = Now();
        scene_MoveHandler(g_window, x, y);
        floating.push_back(Now() - start);
    }
    Report("scissors floating piece 300x300 move", floating);
    std::vector<double> stamps;
    for (int i = 0; i < 100; ++i) {
        SendMouse(MOUSEEVENTF_LEFTDOWN);
        double start = Now();
        scene_PressHandler(g_window, cx + (i % 10) * 30, cy + (i / 10) * 20);
        stamps.push_back(Now() - start);
        SendMouse(MOUSEEVENTF_LEFTUP);
        scene_ReleaseHandler(g_window, cx + (i % 10) * 30, cy + (i / 10) * 20);
    }
    Report("scissors stamp press (into the picture)", stamps);
    scene.objects[8].active = 0;
    scene.objects[8].mode = 0;

    // The jar: the whole canvas flooded, alternately with two colours.
    std::vector<double> fills, pressEvents;
    White();
    scene.currentObject = 6;
    for (int i = 0; i < 20; ++i) {
        // Blue by the fill alone, then red through the press handler: every fill covers the canvas.
        scene.objects[6].SetColor(&scene.objects[6], 0, 0, 65025);
        double start = Now();
        scene.objects[6].Press(&scene.objects[6], 300, 300);
        GdiFlush();
        fills.push_back(Now() - start);
        scene.objects[6].Release(&scene.objects[6], 300, 300);
        scene_SetCurrentColor(65025, 0, 0, 0);
        start = Now();
        scene_PressHandler(g_window, 500, 500);
        GdiFlush();
        pressEvents.push_back(Now() - start);
        scene_ReleaseHandler(g_window, 500, 500);
    }
    Report("jar full-canvas fill (the fill alone)", fills);
    std::vector<double> raw;
    for (int i = 0; i < 20; ++i) {
        tb_SetForeColor(scene.canvasBitmap, i % 2 ? 65025 : 0, 0, 0);
        double start = Now();
        tb_FloodFill(scene.canvasBitmap, 10, 10, i % 2 ? 0 : 65025, 0, 0);
        raw.push_back(Now() - start);
    }
    Report("tb_FloodFill of the whole canvas", raw);
    Report("jar press event (undo copy, fill, refresh)", pressEvents);

    // What every press and release costs in the routing itself, whatever the tool: the undo copy
    // of the whole picture at a press, the refresh of the whole canvas after a press and a release.
    std::vector<double> undo, refresh;
    for (int i = 0; i < 30; ++i) {
        double start = Now();
        scene_SaveUndo();
        GdiFlush();
        undo.push_back(Now() - start);
        start = Now();
        scene_Refresh(&scene.layout.canvas);
        GdiFlush();
        refresh.push_back(Now() - start);
    }
    Report("routing: undo copy at a press", undo);
    Report("routing: whole-canvas refresh (press, release)", refresh);

    sceneServices.disposeToolBitmaps();
    scene_Shutdown();
    tb_DisposeOfWindow(g_window);
    return 0;
}
