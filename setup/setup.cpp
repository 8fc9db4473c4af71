// Start-up of the installer, its window and its message loop.
#include "setup/setup.h"

#include <cstring>

#include "toolbox.h"

SetupState setup;

static const char kClassName[] = "Setup";

static UINT setup_WinExec(const char* command, UINT show) { return WinExec(command, show); }

void setup_ResetState(void)
{
    setup.mainWindow = TB_NONE;
    setup.accelerators = nullptr;
    setup.wizard = nullptr;
    setup.productDescription[0] = '\0';
    setup.destination[0] = '\0';
    setup.programGroup[0] = '\0';
    setup.programExe[0] = '\0';
    setup.programHelp[0] = '\0';
    setup.destinationSub[0] = '\0';
    setup.sourceRoot[0] = '\0';
    setup.inf = INVALID_HANDLE_VALUE;
    setup.infRead = 0;
    setup.progman = nullptr;
    setup.registryRoot = HKEY_LOCAL_MACHINE;
    setup.startProgram = setup_WinExec;
    setup.defaultQueueCallback = SetupDefaultQueueCallbackA;
}

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
    HWND window = tb_GetWindowHandle(setup.mainWindow);
    if (window) setup_AllowDdeAnswers(window);
    return setup.mainWindow;
}

void setup_AllowDdeAnswers(HWND window)
{
    // ChangeWindowMessageFilterEx exists from Windows 7 on; elsewhere every message gets through.
    typedef BOOL(WINAPI * FilterProc)(HWND, UINT, DWORD, void*);
    HMODULE user32 = GetModuleHandleA("user32.dll");
    if (!user32) return;
    FilterProc filter = (FilterProc)(void*)GetProcAddress(user32, "ChangeWindowMessageFilterEx");
    if (!filter) return;
    const DWORD kAllow = 1;  // MSGFLT_ALLOW
    filter(window, WM_DDE_ACK, kAllow, nullptr);
    filter(window, WM_DDE_TERMINATE, kAllow, nullptr);
}

void setup_PaintMainWindow(void)
{
    int window = setup.mainWindow;
    RECT client;
    tb_GetClientRect(window, &client);
    int width = client.right - client.left, height = client.bottom - client.top;
    int band = tb_Round(height / 30.0);
    for (int i = 0; i < 30; ++i) {
        RECT r = {0, height - (i + 1) * band, width, height - i * band};
        // The top band reaches the top edge when the rounded bands fall short of the height.
        if (i == 29 && r.top > 0) r.top = 0;
        tb_SetForeColor(window, 0, 0, (long)i * 2168);
        tb_PaintRect(window, &r);
    }
    const char* title = setup.productDescription;
    int length = (int)strlen(title);
    tb_SetFont(window, TB_Face{0});
    tb_SetFont(window, TB_Size{28});
    tb_SetFont(window, TB_Style{1});
    tb_SetForeColor(window, 0, 0, 16320);
    tb_DrawText(window, 14, 14, title, length, 0.0, 1, 0, 0);
    tb_SetForeColor(window, 65025, 65025, 65025);
    tb_DrawText(window, 10, 10, title, length, 0.0, 1, 0, 0);
}

LRESULT CALLBACK setup_WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        if (setup.infRead && hwnd == tb_GetWindowHandle(setup.mainWindow)) setup_PaintMainWindow();
        return 0;
    }
    case WM_DDE_ACK:
    case WM_DDE_TERMINATE:
        if (setup_HandleDdeMessage(hwnd, message, wParam, lParam)) return 0;
        break;
    case WM_DESTROY:
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
        // No wizard: wait for the next message instead of spinning.
        WaitMessage();
    }
}

int setup_Main(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    setup_ResetState();
    if (setup_ActivateRunningInstance()) return 0;
    if (!setup_RegisterClass(instance)) return 0;
    tb_SetInstance(instance, showCommand);
    tb_SetClassName(kClassName);
    tb_InitToolbox();
    if (setup_OpenMainWindow() < 0) return 0;
    setup.accelerators = LoadAcceleratorsA(instance, kClassName);
    if (!setup_ReadInf()) {
        tb_AttentionBox(setup_kCantRun);
        return 0;
    }
    InvalidateRect(tb_GetWindowHandle(setup.mainWindow), nullptr, TRUE);
    setup.wizard = setup_RunWizard;
    return setup_MessageLoop();
}
