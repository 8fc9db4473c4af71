// The pointer's button and the keys pressed and released through the system's input, as the
// program's own reads of them (tb_IsMouseDown, tb_IsKeyDown) see them, and the pointer shape it set.
// Tests that use these run alone (see tests/CMakeLists.txt): the input state is the session's.
#pragma once

#include <windows.h>

#include "toolbox.h"

inline void SendMouse(DWORD flags)
{
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flags;
    SendInput(1, &in, sizeof in);
}

inline void SendKey(WORD vk, bool up)
{
    INPUT in = {};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &in, sizeof in);
}

inline void DrainMessages()
{
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
}

// Where the system puts the pointer after a move: Wine hands the move to the X server, whose own
// report of an earlier move may come in after it, so the position is read, the thread's messages
// handled in between, until it is (x, y) or two seconds have passed; the last position read.
inline POINT PointerSettlesAt(int x, int y)
{
    POINT p = {};
    const DWORD start = GetTickCount();
    for (;;) {
        GetCursorPos(&p);
        if ((p.x == x && p.y == y) || GetTickCount() - start > 2000) return p;
        DrainMessages();
        Sleep(1);
    }
}

// The primary button held down for the moves of a drag, as tb_IsMouseDown sees it.
struct ButtonHeld {
    ButtonHeld() { SendMouse(MOUSEEVENTF_LEFTDOWN); }
    ~ButtonHeld()
    {
        SendMouse(MOUSEEVENTF_LEFTUP);
        DrainMessages();
    }
};

// A key held down for as long as the record lives.
struct KeyHeld {
    WORD vk;
    explicit KeyHeld(WORD key) : vk(key) { SendKey(vk, false); }
    ~KeyHeld()
    {
        SendKey(vk, true);
        DrainMessages();
    }
};

// Whether the pointer shape the program set last is its cursor resource id (a resource there is).
// The session's shape itself is not only the program's: the input a test injects reaches window
// procedures that may put their class's cursor over it, at a moment the test does not choose.
inline bool CursorIs(int id)
{
    int last = -1;
    tb_CursorSets(&last);
    return last == id && LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id)) != nullptr;
}
