// New's four clearing animations on a window over the whole screen: each one's total duration
// against the sum of its frame periods (what it would take if every frame's drawing fitted in its
// period), with the slowest frame's drawing time; and, per animation, how far the total went over
// that sum, in per cent.
#include <cstdio>
#include <vector>

#include "bench_util.h"
#include "pictures/preferences.h"
#include "shell/shell.h"

namespace {

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
    int window = bench_OpenWindow("ClearingBench");
    if (window < 0) return 1;
    bench_StartScene(window);
    bench_PrintLayout();

    const Expected runs[] = {{"curtain", SHELL_CURTAIN}, {"melt", SHELL_MELT}, {"shrink", SHELL_SHRINK},
                             {"slide", SHELL_SLIDE}};
    for (const Expected& run : runs) {
        std::vector<double> over;
        for (int round = 0; round < 3; ++round) {
            Stripes();
            scene_ShowAll();
            bench_Idle();
            double start = bench_Now();
            shell_RunClearing(run.type);
            double total = bench_Now() - start;
            const ShellClearingStats& s = shellClearingStats;
            std::printf("%-8s frames %3d  periods sum %6.0f ms  total %7.1f ms  (%+6.1f ms)  slowest frame's "
                        "drawing %3lu ms of %lu ms, frames over their period %d, before the first %lu ms, after the last %lu ms\n",
                        run.name, s.frames, double(s.periodSum), total, total - s.periodSum, (unsigned long)s.slowestWork,
                        (unsigned long)s.period, s.late, (unsigned long)s.setup, (unsigned long)s.finish);
            over.push_back(s.periodSum ? 100.0 * (total - s.periodSum) / s.periodSum : 0);
            bench_Idle();
        }
        char name[64];
        std::snprintf(name, sizeof name, "New wipe, %s: over its periods' sum", run.name);
        bench_Report(name, over, 40, 5, "%");
    }
    bench_Close(window);
    return 0;
}
