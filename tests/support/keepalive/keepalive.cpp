// A hidden window that keeps Wine's desktop process alive between test processes.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = instance;
    wc.lpszClassName = "TintwellKeepAlive";
    RegisterClassA(&wc);
    CreateWindowA("TintwellKeepAlive", "", 0, 0, 0, 1, 1, nullptr, nullptr, instance, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}
