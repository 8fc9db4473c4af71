// Sounds, cursors, timing, random numbers, rounding and input state.
#include <cstdlib>
#include <ctime>

#include "tb_internal.h"

int tb_Random(int low, int high)
{
    int v = low + rand() % (high - low + 1);
    if (v < low) v = low;
    if (v > high) v = high;
    return v;
}

int tb_RandomSeed(int low, int high, int reseed)
{
    if (reseed) srand((unsigned)time(nullptr));
    return tb_Random(low, high);
}
