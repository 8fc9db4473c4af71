// The long soak, run by hand: a million events (by default) of what a child does, on the room at
// 800x600 with display changes to 1920x1080 and back now and then, every invariant checked after
// every event. Prints the run's figures; on the first broken invariant prints
// "seed S event N: <what broke>" and ends with 1. The same seed and event count replay it.
//   soak_long.exe [--seed S] [--events N] [--size WxH] [--no-display-changes]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "../tests/soak/soak.h"
#include "toolbox.h"

int main(int argc, char** argv)
{
    SoakRun run = {1, 1000000, 800, 600, 1};
    for (int i = 1; i < argc; ++i) {
        const bool more = i + 1 < argc;
        if (!strcmp(argv[i], "--seed") && more) run.seed = (unsigned)strtoul(argv[++i], nullptr, 10);
        else if (!strcmp(argv[i], "--events") && more) run.events = strtol(argv[++i], nullptr, 10);
        else if (!strcmp(argv[i], "--size") && more) sscanf(argv[++i], "%dx%d", &run.width, &run.height);
        else if (!strcmp(argv[i], "--no-display-changes")) run.displayChanges = 0;
        else {
            fprintf(stderr, "usage: soak_long [--seed S] [--events N] [--size WxH] [--no-display-changes]\n");
            return 2;
        }
    }
    tb_SetInstance(GetModuleHandleA(nullptr), SW_SHOWNORMAL);
    tb_InitToolbox();
    SoakFigures figures;
    int held = soak_Run(run, &figures);
    soak_PrintFigures(stdout, run, figures);
    return held ? 0 : 1;
}
