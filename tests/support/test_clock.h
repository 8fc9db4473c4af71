// A clock for checks of what paces itself by the program's clock.
#pragma once

#include <windows.h>

#include "toolbox.h"

// The program's clock (tb_GetTime, tb_Wait) run by the test for as long as the record lives: it
// starts at 0 and moves STEP milliseconds at each reading (0: it stands still).
struct SteppedClock {
    static inline DWORD step = 0, now = 0;
    explicit SteppedClock(DWORD s)
    {
        step = s;
        now = 0;
        tb_SetClock(Read);
    }
    ~SteppedClock() { tb_SetClock(nullptr); }
    static DWORD Read(void) { return now += step; }
};
