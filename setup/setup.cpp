// Start-up of the installer, its window and its message loop.
#include "setup/setup.h"

#include "toolbox.h"

SetupState setup = {TB_NONE, nullptr, nullptr};

static const char kClassName[] = "Setup";

int setup_ActivateRunningInstance(void)
{
    HWND running = FindWindowA(kClassName, nullptr);
    if (!running) return 0;
    if (IsIconic(running)) ShowWindow(running, SW_RESTORE);
    SetForegroundWindow(running);
    return 1;
}

int setup_RegisterClass(HINSTANCE instance)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = setup_WindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(108));
    wc.hbrBackground = CreateSolidBrush(RGB(0, 0, 128));
    wc.lpszClassName = kClassName;
    return RegisterClassA(&wc) != 0;
}

int setup_OpenMainWindow(void)
{
    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    setup.mainWindow = tb_OpenWindow(&desktop, "Setup");
    return setup.mainWindow;
}

LRESULT CALLBACK setup_WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

int setup_MessageLoop(void)
{
    MSG msg;
    HWND window = tb_GetWindowHandle(setup.mainWindow);
    for (;;) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) return (int)msg.wParam;
            if (setup.accelerators && window && TranslateAcceleratorA(window, setup.accelerators, &msg)) continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (setup.wizard) {
            setup.wizard();
            return 0;
        }
        // No wizard yet: wait for the next message instead of spinning.
        WaitMessage();
    }
}

int setup_Main(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    if (setup_ActivateRunningInstance()) return 0;
    if (!setup_RegisterClass(instance)) return 0;
    tb_SetInstance(instance, showCommand);
    tb_SetClassName(kClassName);
    tb_InitToolbox();
    setup_OpenMainWindow();
    setup.accelerators = LoadAcceleratorsA(instance, kClassName);
    return setup_MessageLoop();
}
