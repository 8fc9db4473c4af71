// Start-up of the painting program and its polling message loop.
#include "shell/shell.h"

#include "toolbox.h"

ShellState shell = {TB_NONE, 0, 0, nullptr, {0, 0, 0, 0}, 0, 0};

static const char kClassName[] = "Paint";

int shell_ActivateRunningInstance(void)
{
    HWND running = FindWindowA(kClassName, nullptr);
    if (!running) return 0;
    if (IsIconic(running)) ShowWindow(running, SW_RESTORE);
    SetForegroundWindow(running);
    return 1;
}

int shell_UseExtendedRegistration(DWORD versionValue)
{
    if (!(versionValue & 0x80000000u)) return 0;  // NT family
    return LOBYTE(LOWORD(versionValue)) >= 4;      // the other family from version 4 on
}

typedef ATOM(WINAPI* RegisterClassExProc)(const WNDCLASSEXA*);

int shell_RegisterClass(HINSTANCE instance)
{
    const UINT style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    HICON icon = LoadIconA(instance, MAKEINTRESOURCEA(375));
    HBRUSH background = (HBRUSH)GetStockObject(BLACK_BRUSH);

    if (shell_UseExtendedRegistration(GetVersion())) {
        HMODULE user = GetModuleHandleA("USER32");
        RegisterClassExProc registerEx =
            user ? (RegisterClassExProc)(void*)GetProcAddress(user, "RegisterClassExA") : nullptr;
        if (registerEx) {
            WNDCLASSEXA wc = {};
            wc.cbSize = sizeof wc;
            wc.style = style;
            wc.lpfnWndProc = shell_WindowProc;
            wc.hInstance = instance;
            wc.hIcon = icon;
            wc.hbrBackground = background;
            wc.lpszClassName = kClassName;
            wc.hIconSm = LoadIconA(instance, "SMALL");
            return registerEx(&wc) != 0;
        }
    }
    WNDCLASSA wc = {};
    wc.style = style;
    wc.lpfnWndProc = shell_WindowProc;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hbrBackground = background;
    wc.lpszClassName = kClassName;
    return RegisterClassA(&wc) != 0;
}

int shell_RefuseDisplayDepth(int bitsPerPixel)
{
    if (bitsPerPixel != 8) return 0;
    tb_AttentionBox(
        "Tintwell requires that your display be set to 16 or 24 bits per pixel color mode. Please adjust your "
        "display settings and then restart Tintwell.");
    return 1;
}

void shell_SetUpToolbox(HINSTANCE instance, int showCommand)
{
    tb_SetInstance(instance, showCommand);
    tb_SetClassName(kClassName);
    tb_InitToolbox();
}

void shell_AdviseResolution(int screenWidth, int screenHeight)
{
    if (screenWidth > 800 || screenHeight > 600)
        tb_AttentionBox("Tintwell works best when your display is set to a resultion of 800x600 or 640x480.");
}

void shell_ReadDesktop(void) { GetWindowRect(GetDesktopWindow(), &shell.desktop); }

int shell_OpenMainWindow(HINSTANCE instance)
{
    shell_ReadDesktop();
    RECT rect = shell.desktop;
    shell.mainWindow = tb_OpenWindow(&rect, "Tintwell", instance);
    return shell.mainWindow;
}

int shell_MessageLoop(void)
{
    MSG msg;
    for (;;) {
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) return (int)msg.wParam;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        } else {
            shellHooks.idle();
        }
    }
}

static int shell_ScreenDepth(void)
{
    HDC screen = GetDC(nullptr);
    int bits = GetDeviceCaps(screen, BITSPIXEL);
    ReleaseDC(nullptr, screen);
    return bits;
}

int shell_Main(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand)
{
    if (shell_ActivateRunningInstance()) return 0;
    if (!shell_RegisterClass(instance)) return 0;
    if (shell_RefuseDisplayDepth(shell_ScreenDepth())) return 0;
    shell_SetUpToolbox(instance, showCommand);
    // COM, once for the program's one thread: the imaging component reads and writes the picture
    // formats other than BMP through it.
    tb_StartPictureCodecs();
    shell_AdviseResolution(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    // Without its window the program could neither be seen nor be closed: the toolbox has already
    // said why the window failed, so end here instead of running an invisible loop.
    if (shell_OpenMainWindow(instance) < 0) {
        tb_StopPictureCodecs();
        return 0;
    }
    shellHooks.splash();
    tb_SetButtonMode(0);
    shellHooks.startup();
    tb_SetPointerMode(2);
    shell.started = 1;
    shellHooks.buildMenu();
    int code = shell_MessageLoop();
    tb_StopPictureCodecs();
    return code;
}
