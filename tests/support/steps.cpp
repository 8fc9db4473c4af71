#include "steps.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

FILE* g_steps = nullptr;

__attribute__((constructor(101))) void open_steps()
{
    if (const char* path = std::getenv("TINTWELL_TEST_STEPS")) {
        g_steps = std::fopen(path, "a");
        if (g_steps) std::setvbuf(g_steps, nullptr, _IONBF, 0);
    }
    steps_Record("static initialisation begun");
}

}  // namespace

void steps_Record(const char* what, const char* detail)
{
    if (!g_steps) return;
    std::fprintf(g_steps, "%lu ms: %s%s%s\n", GetTickCount(), what, *detail ? " " : "", detail);
}
