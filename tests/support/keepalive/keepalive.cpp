// A hidden window that keeps Wine's desktop process alive between test processes. Given a file
// name, it makes that file once its window exists: the desktop process is up by then, started by
// this program, whose output goes nowhere, and not by a test whose output a test runner reads.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR readyFile, int)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = instance;
    wc.lpszClassName = "TintwellKeepAlive";
    RegisterClassA(&wc);
    CreateWindowA("TintwellKeepAlive", "", 0, 0, 0, 1, 1, nullptr, nullptr, instance, nullptr);
    if (readyFile && *readyFile) {
        HANDLE ready = CreateFileA(readyFile, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        if (ready != INVALID_HANDLE_VALUE) CloseHandle(ready);
    }
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}
