// Cost of one pointer move of a pencil drag at size 32 (the line into the picture and the refresh
// of the dirty rectangle on the window, plain and magnified), of a full composition of the room,
// of a group switch through the room's handlers and of a display change between the screen's size
// and 800 x 600, on a window over the whole screen, with the screen's copy bounds.
#include <cstring>
#include <vector>

#include "bench_util.h"

namespace {

const int kColumn = 44;  // the width of the series' names

}  // namespace

int main()
{
    int window = bench_OpenWindow("PencilBench");
    if (window < 0) return 1;
    double startup = bench_StartScene(window);
    std::printf("scene start-up at %dx%d: %.1f ms\n", scene.layout.width, scene.layout.height, startup);
    bench_CopyBounds(window, kColumn);
    scene.objects[0].size = 32;

    // A drag of 4000 moves: a circle and zig-zags over the canvas, 3 to 12 pixels apart.
    const SceneLayout& L = scene.layout;
    bench_Report("pencil drag move, size 32, with refresh", bench_Drag(window, 4000), kColumn);

    // The same drag while magnified: the view shows the picture's middle quarter.
    scene.zoomed = 1;
    scene.scroll = {L.canvasWidth / 4, L.canvasHeight / 4};
    scene_ShowAll();
    bench_Report("pencil drag move, size 32, magnified", bench_Drag(window, 4000), kColumn);
    scene.zoomed = 0;
    scene.scroll = {0, 0};
    scene_ShowAll();

    std::vector<double> compose;
    for (int i = 0; i < 30; ++i) {
        double start = bench_Now();
        scene_Compose(1, 1, 1);
        GdiFlush();
        compose.push_back(bench_Now() - start);
        bench_Idle();
    }
    bench_Report("full composition (background, cans, show all)", compose, kColumn);

    std::vector<double> pick;
    for (int i = 0; i < 30; ++i) {
        double start = bench_Now();
        scene_Compose(0, 0, 0);
        pick.push_back(bench_Now() - start);
        bench_Idle();
    }
    bench_Report("table and panel composition (tool picked)", pick, kColumn);

    // A group switch as the child makes it: a click on Rock, then on the Artist's Tool Box; each
    // composes the room and shows it whole.
    std::vector<double> groups;
    for (int i = 0; i < 40; ++i) {
        const RECT& button = i % 2 ? L.toolBoxButton : L.rockButton;
        int x = (button.left + button.right) / 2, y = (button.top + button.bottom) / 2;
        double start = bench_Now();
        scene_PressHandler(window, x, y);
        scene_ReleaseHandler(window, x, y);
        GdiFlush();
        groups.push_back(bench_Now() - start);
        bench_Idle();
    }
    bench_Report("group switch (Rock / Tool Box click)", groups, kColumn);

    // The display changing between the screen's size and 800 x 600: the window moved over the new
    // desktop and the room laid out again (the picture scaled to the new canvas).
    HWND hwnd = tb_GetWindowHandle(window);
    const int W = L.width, H = L.height;
    std::vector<double> toSmall, toLarge;
    for (int i = 0; i < 10; ++i) {
        double start = bench_Now();
        MoveWindow(hwnd, 0, 0, 800, 600, TRUE);
        scene_Relayout();
        GdiFlush();
        toSmall.push_back(bench_Now() - start);
        bench_Idle();
        start = bench_Now();
        MoveWindow(hwnd, 0, 0, W, H, TRUE);
        scene_Relayout();
        GdiFlush();
        toLarge.push_back(bench_Now() - start);
        bench_Idle();
    }
    // The same, the window-sized bitmaps kept for a return given back at 800 x 600 (with the
    // room's other kept surfaces): the first change to a size the program has not held.
    std::vector<double> toNew;
    for (int i = 0; i < 10; ++i) {
        MoveWindow(hwnd, 0, 0, 800, 600, TRUE);
        scene_Relayout();
        bench_Idle();
        tb_ReleaseSurfacePool();
        double start = bench_Now();
        MoveWindow(hwnd, 0, 0, W, H, TRUE);
        scene_Relayout();
        GdiFlush();
        toNew.push_back(bench_Now() - start);
        bench_Idle();
    }
    // A display that grows to a size the program has not held, as it runs: the window-sized bitmaps
    // are new (the ones kept for a return to the screen's size go), the room's pictures are kept.
    // Each change goes to a size 8 pixels smaller each way than the last.
    std::vector<double> toUnheld;
    for (int i = 1; i <= 10; ++i) {
        MoveWindow(hwnd, 0, 0, 800, 600, TRUE);
        scene_Relayout();
        bench_Idle();
        double start = bench_Now();
        MoveWindow(hwnd, 0, 0, W - 8 * i, H - 8 * i, TRUE);
        scene_Relayout();
        GdiFlush();
        toUnheld.push_back(bench_Now() - start);
        bench_Idle();
    }
    // What the machine charges for those bitmaps' fresh memory alone: as many bytes as the scene,
    // undo and canvas bitmaps at the screen's size, allocated and written once.
    const size_t fresh = ((size_t)W * 3 + 3) / 4 * 4 * H +
                         2 * (((size_t)L.canvasWidth * 3 + 3) / 4 * 4 * L.canvasHeight);
    std::vector<double> floor;
    for (int i = 0; i < 10; ++i) {
        double start = bench_Now();
        void* bytes = VirtualAlloc(nullptr, fresh, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        if (!bytes) break;
        memset(bytes, 0xff, fresh);
        floor.push_back(bench_Now() - start);
        VirtualFree(bytes, 0, MEM_RELEASE);
    }
    MoveWindow(hwnd, 0, 0, W, H, TRUE);
    scene_Relayout();
    // What the platform charges any window that grows back to the screen's size before the room
    // does anything of its own: the window moved over the desktop, then the whole room copied onto
    // it once (the system gives the window a new surface of its new size, fresh memory at the first
    // copy). A display change cannot cost less. The room stays laid out at the screen's size.
    std::vector<double> regrown;
    const RECT whole = {0, 0, W, H};
    for (int i = 0; i < 10; ++i) {
        MoveWindow(hwnd, 0, 0, 800, 600, TRUE);
        bench_Idle();
        double start = bench_Now();
        MoveWindow(hwnd, 0, 0, W, H, TRUE);
        tb_CopyBitmap(scene.sceneBitmap, window, &whole, &whole);
        GdiFlush();
        regrown.push_back(bench_Now() - start);
        bench_Idle();
    }
    std::printf("display change between %dx%d (the screen) and 800x600\n", W, H);
    bench_Report("display change screen -> 800x600", toSmall, kColumn);
    bench_Report("display change 800x600 -> screen", toLarge, kColumn);
    bench_Report("display change 800x600 -> screen, nothing kept", toNew, kColumn);
    bench_Report("display change 800x600 -> a size never held", toUnheld, kColumn);
    bench_Report("fresh memory of the window-sized bitmaps", floor, kColumn);
    bench_Report("window grown back to the screen, shown once", regrown, kColumn);

    bench_Close(window);
    return 0;
}
