// Cost of one pointer event, through the room's handlers on a 1920 x 1080 window, for the stamp
// floating under the pointer (plain and magnified), each toy at its largest size in random colours
// (the cog in its four-way mirror) and the floating preview of a 40-character text at 80 pixels
// (plain and magnified).
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "scene/scene.h"
#include "scene/scene_routing.h"
#include "toolbox.h"
#include "tools/stamps.h"
#include "tools/text.h"

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
    std::printf("%-52s n=%5u  p50 %.3f ms  p99 %.3f ms  max %.3f ms  mean %.3f ms\n", what, unsigned(ms.size()),
                at(0.50), at(0.99), ms.back(), sum / ms.size());
}

// A path over the canvas: a circle with a little zig-zag, a few pixels per event.
POINT PathPoint(int i)
{
    const SceneLayout& L = scene.layout;
    int cx = (L.canvas.left + L.canvas.right) / 2, cy = (L.canvas.top + L.canvas.bottom) / 2;
    double a = i * 0.02;
    return {cx + int(300 * std::cos(a)) + (i % 7) * 2, cy + int(300 * std::sin(a) * 0.8) + (i % 5) * 2};
}

void Zoom(int on)
{
    const SceneLayout& L = scene.layout;
    scene.zoomed = on;
    scene.scroll = on ? ScenePoint{L.canvasWidth / 4, L.canvasHeight / 4} : ScenePoint{0, 0};
    scene_ComposeCanvasView();
    scene_ShowAll();
}

// Moves with no button down while a stamp floats.
void FloatingStamp(int window, const char* what, int zoomed)
{
    Zoom(zoomed);
    scene.currentObject = 15;
    scene.objects[15].active = 1;
    std::vector<double> ms;
    for (int i = 1; i <= 3000; ++i) {
        POINT p = PathPoint(i);
        double start = Now();
        scene_MoveHandler(window, p.x, p.y);
        ms.push_back(Now() - start);
    }
    scene.objects[15].active = 0;
    Report(what, ms);
}

// A press and then a drag of moves with the button down.
void ToyDrag(int window, int object, int size, int mode, const char* what, int events)
{
    Zoom(0);
    scene.currentObject = object;
    scene.objects[object].size = size;
    scene.objects[object].mode = mode;
    std::vector<double> ms;
    SendMouse(MOUSEEVENTF_LEFTDOWN);
    POINT p = PathPoint(0);
    double start = Now();
    scene_PressHandler(window, p.x, p.y);
    ms.push_back(Now() - start);
    for (int i = 1; i < events; ++i) {
        p = PathPoint(i);
        start = Now();
        scene_MoveHandler(window, p.x, p.y);
        ms.push_back(Now() - start);
    }
    scene_ReleaseHandler(window, p.x, p.y);
    SendMouse(MOUSEEVENTF_LEFTUP);
    Report(what, ms);
}

void TextPreview(int window, const char* what, int zoomed)
{
    Zoom(zoomed);
    routing.textPending = 1;
    std::vector<double> ms;
    for (int i = 1; i <= 1500; ++i) {
        POINT p = PathPoint(i);
        double start = Now();
        scene_MoveHandler(window, p.x, p.y);
        ms.push_back(Now() - start);
    }
    routing.textPending = 0;
    Report(what, ms);
}

}  // namespace

int main()
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    tb_SetInstance(instance, SW_SHOWNORMAL);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = BenchProc;
    wc.hInstance = instance;
    wc.lpszClassName = "StampsToysTextBench";
    RegisterClassA(&wc);
    tb_SetClassName("StampsToysTextBench");
    tb_InitToolbox();
    tb_SetSoundPreference(0);
    RECT r = {0, 0, 1920, 1080};
    int window = tb_OpenWindow(&r, "Tintwell", instance);
    if (window < 0) return 1;
    SetWindowPos(tb_GetWindowHandle(window), nullptr, 0, 0, 1920, 1080, SWP_NOZORDER);
    scene_Startup(window);
    scene_ResetRouting();
    std::printf("window %dx%d, canvas %dx%d\n", scene.layout.width, scene.layout.height, scene.layout.canvasWidth,
                scene.layout.canvasHeight);

    // The first stamp of Volume 3 as the current stamp.
    RECT sr = {0, 0, 0, 0}, mr = {0, 0, 0, 0};
    int sheet = tb_CreateBitmap(&sr, 1005, 24), sheetMask = tb_CreateBitmap(&mr, 1006, 8);
    stamps_TakeStamp(sheet, sheetMask, 0);
    tb_DisposeBitmap(sheet);
    tb_DisposeBitmap(sheetMask);
    FloatingStamp(window, "floating stamp, move", 0);
    FloatingStamp(window, "floating stamp, move, magnified", 1);

    scene.currentGroup = 4;
    ToyDrag(window, 25, 64, 1, "ball 64, random colours, press/drag", 2000);
    ToyDrag(window, 26, 24, 2, "cog 24, four-way mirror, press/drag", 2000);
    ToyDrag(window, 27, 64, 1, "wand 64, random colours, press/drag", 2000);
    ToyDrag(window, 28, 64, 1, "needle and thread 64, random colours, press/drag", 2000);
    ToyDrag(window, 29, 120, 1, "paintball gun 120, random colours, press/drag", 1000);

    TextSettings s = text_Settings();
    std::strcpy(s.text, "Forty characters of text float on by me!");
    s.sizeIndex = 4;
    text_SetSettings(&s);
    TextPreview(window, "text preview, 40 characters at 80 px, move", 0);
    TextPreview(window, "text preview, 40 characters at 80 px, magnified", 1);

    stamps_DisposeStamp();
    scene_Shutdown();
    tb_DisposeOfWindow(window);
    return 0;
}
