// A second floor of the start-up timing: a Windows program that only shows a window. It registers
// a class, opens a 448 x 324 popup in the middle of the screen (the splash's size and place),
// paints it once, lets the system put it on the screen and exits. Launch to exit measures what
// Wine costs any program that shows a window: its user and graphics libraries, the display driver.
#include <windows.h>

static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        RECT r;
        GetClientRect(window, &r);
        FillRect(dc, &r, (HBRUSH)GetStockObject(GRAY_BRUSH));
        EndPaint(window, &ps);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT);
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    wc.lpszClassName = "TrivialWindow";
    if (!RegisterClassA(&wc)) return 1;
    int w = 448, h = 324;
    int x = (GetSystemMetrics(SM_CXSCREEN) - w) / 2, y = (GetSystemMetrics(SM_CYSCREEN) - h) / 2;
    HWND window = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, x, y, w, h, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    DestroyWindow(window);
    return 0;
}
