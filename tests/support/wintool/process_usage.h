// What a running program holds, read from outside it: its GDI objects and its memory.
#pragma once
#include <windows.h>

struct GdiCount {
    int total;       // live entries of the process's GDI handle table, -1 when it cannot be read
    int byType[32];  // the same by the entry's base type (1 DC, 4 region, 8 palette, 10 font, 16 brush/pen;
                     // bitmaps are 5 on Windows and 9 under Wine)
};

struct ProcessUsage {
    DWORD pid;
    GdiCount gdi;
    DWORD guiGdi;     // what GetGuiResources(GR_GDIOBJECTS) answers
    DWORD guiUser;    // what GetGuiResources(GR_USEROBJECTS) answers
    DWORD guiError;   // GetLastError after those calls (0 when they answered)
    SIZE_T workingSet;
    SIZE_T privateBytes;
    bool memoryKnown;
};

// Counts the GDI objects of a process opened with PROCESS_QUERY_INFORMATION | PROCESS_VM_READ by
// reading the handle table its PEB points at (GdiSharedHandleTable); on Windows the table is shared
// by the session and only the entries owned by ownerPid count (0: every entry).
GdiCount usage_CountGdi(HANDLE process, DWORD ownerPid);

// Everything above for the process that owns window; false when it cannot be opened.
bool usage_Read(HWND window, ProcessUsage* out);

// Checks the GDI count on this process itself: creating bitmaps, brushes and regions must raise
// it by their number and deleting them must bring it back. Prints what it saw; true when it holds.
bool usage_SelfCheck(void);
