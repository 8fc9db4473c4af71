// Cost of one pointer move of a pencil drag at size 32 (the line into the picture and the refresh
// of the dirty rectangle on the window) and of a full composition of the room, on a 1920 x 1080
// window.
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
    scene.objects[0].size = 32;

    // A drag of 4000 moves: a circle and zig-zags over the canvas, 3 to 12 pixels apart.
    const SceneLayout& L = scene.layout;
    int cx = (L.canvas.left + L.canvas.right) / 2, cy = (L.canvas.top + L.canvas.bottom) / 2;
    bench_Report("pencil drag move, size 32, with refresh", bench_Drag(window, 4000), kColumn);

    // The same drag while zoomed: every refresh recomposes the doubled view.
    scene.zoomed = 1;
    scene.scroll = {L.canvasWidth / 4, L.canvasHeight / 4};
    std::vector<double> zoomed;
    bench_SendMouse(MOUSEEVENTF_LEFTDOWN);
    scene_PressHandler(window, cx, cy);
    for (int i = 1; i <= 300; ++i) {
        double start = bench_Now();
        scene_MoveHandler(window, cx + (i % 40) * 5, cy + (i % 30) * 4);
        zoomed.push_back(bench_Now() - start);
    }
    scene_ReleaseHandler(window, cx, cy);
    bench_SendMouse(MOUSEEVENTF_LEFTUP);
    scene.zoomed = 0;
    bench_Report("pencil drag move, size 32, zoomed", zoomed, kColumn);

    std::vector<double> compose;
    for (int i = 0; i < 30; ++i) {
        double start = bench_Now();
        scene_Compose(1, 1, 1);
        GdiFlush();
        compose.push_back(bench_Now() - start);
    }
    bench_Report("full composition (background, cans, show all)", compose, kColumn);

    std::vector<double> pick;
    for (int i = 0; i < 30; ++i) {
        double start = bench_Now();
        scene_Compose(0, 0, 0);
        pick.push_back(bench_Now() - start);
    }
    bench_Report("table and panel composition (tool picked)", pick, kColumn);

    bench_Close(window);
    return 0;
}
