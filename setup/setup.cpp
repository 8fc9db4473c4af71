// Start-up of the installer, its window and its message loop.
#include "setup/setup.h"

#include <shlobj.h>

#include <cstdio>
#include <cstring>

#include "toolbox.h"

SetupState setup;

static const char kClassName[] = "Setup";

static UINT setup_WinExec(const char* command, UINT show) { return WinExec(command, show); }

static int setup_ProgramsFolder(int common, char* path)
{
    return SHGetFolderPathA(nullptr, common ? CSIDL_COMMON_PROGRAMS : CSIDL_PROGRAMS, nullptr, 0, path) == S_OK;
}

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
    setup.quiet = 0;
    setup.uninstalling = 0;
    setup_ReadOwnVersion(setup.version, sizeof setup.version);
    setup.replaceNewer = 0;
    setup.upgrading = 0;
    setup.keptGallery[0] = '\0';
    setup.log = INVALID_HANDLE_VALUE;
    setup.registryRoot = HKEY_LOCAL_MACHINE;
    setup.startProgram = setup_WinExec;
    setup.defaultQueueCallback = SetupDefaultQueueCallbackA;
    setup.installSection = SetupInstallFromInfSectionA;
    setup.programsFolder = setup_ProgramsFolder;
    setup.clock = GetTickCount;
}

void setup_ReadOwnVersion(char* version, size_t size)
{
    version[0] = '\0';
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(1), (LPCSTR)RT_VERSION);
    HGLOBAL loaded = found ? LoadResource(nullptr, found) : nullptr;
    const BYTE* data = loaded ? (const BYTE*)LockResource(loaded) : nullptr;
    DWORD bytes = found ? SizeofResource(nullptr, found) : 0;
    if (!data) return;
    // The fixed part of the version resource starts with its signature, on a 32-bit boundary.
    for (DWORD at = 0; at + sizeof(VS_FIXEDFILEINFO) <= bytes; at += 4) {
        const VS_FIXEDFILEINFO* fixed = (const VS_FIXEDFILEINFO*)(data + at);
        if (fixed->dwSignature != 0xFEEF04BD) continue;
        snprintf(version, size, "%u.%u.%u", (unsigned)HIWORD(fixed->dwProductVersionMS),
                 (unsigned)LOWORD(fixed->dwProductVersionMS), (unsigned)HIWORD(fixed->dwProductVersionLS));
        return;
    }
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
        if (setup.wizard) return setup.wizard();
        // No wizard: wait for the next message instead of spinning.
        WaitMessage();
    }
}

namespace {

const char kMutexName[] = "Global\\Marrowby.Tintwell.Setup";

// The program runs as the uninstaller when it is called uninstall.exe.
bool CalledUninstall(void)
{
    char path[2 * MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path) return false;
    const char* slash = strrchr(path, '\\');
    return lstrcmpiA(slash ? slash + 1 : path, "uninstall.exe") == 0;
}

// A message before the main window exists (bad switches, /?): none when quiet.
void Say(const char* text)
{
    setup_Log("%s", text);
    if (!setup.quiet) tb_AttentionBox(text);
}

// Setup's window: visible for a person, hidden (but there for Program Manager's answers) when quiet.
int OpenWindow(HINSTANCE instance, int showCommand)
{
    if (!setup_RegisterClass(instance)) return 0;
    tb_SetInstance(instance, setup.quiet ? SW_HIDE : showCommand);
    tb_SetClassName(kClassName);
    tb_InitToolbox();
    if (setup_OpenMainWindow() < 0) return 0;
    setup.accelerators = LoadAcceleratorsA(instance, kClassName);
    return 1;
}

// Installs (the wizard, or straight away when quiet) or uninstalls; returns the exit code.
int Run(HINSTANCE instance, int showCommand, const SetupSwitches& switches)
{
    if (!OpenWindow(instance, showCommand)) {
        // Without its window Setup can neither show a page nor talk to Program Manager; a quiet
        // install started where no desktop can be opened says so in its log.
        setup_Log("%s", "Setup could not open its window.");
        return SETUP_EXIT_FAILED;
    }
    if (setup.uninstalling) {
        snprintf(setup.productDescription, SETUP_TEXT, "%s", "Tintwell");
        setup.infRead = 1;
        InvalidateRect(tb_GetWindowHandle(setup.mainWindow), nullptr, TRUE);
        return setup_Uninstall();
    }
    if (!setup_ReadInf()) {
        Say(setup_kCantRun);
        return SETUP_EXIT_FAILED;
    }
    if (switches.dir[0]) snprintf(setup.destination, SETUP_TEXT, "%s", switches.dir);
    InvalidateRect(tb_GetWindowHandle(setup.mainWindow), nullptr, TRUE);
    if (setup.quiet) {
        setup_Install();
        return setup_ExitCode;
    }
    setup.wizard = setup_RunWizard;
    return setup_MessageLoop();
}

}  // namespace

int setup_Main(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand)
{
    setup_ResetState();
    SetupSwitches switches;
    int parsed = setup_ParseSwitches(commandLine, &switches);
    setup.quiet = switches.quiet;
    setup.uninstalling = switches.uninstall || CalledUninstall();
    char text[SETUP_TEXT + 1024];
    if (parsed == 0 && setup.uninstalling && switches.dir[0]) {
        parsed = SETUP_EXIT_BAD_SWITCH;
        snprintf(switches.bad, sizeof switches.bad, "%s", "/dir");
    }
    if (parsed != 0) {
        snprintf(text, sizeof text, setup_kBadSwitch, switches.bad);
        snprintf(text + strlen(text), sizeof text - strlen(text), "\n\n%s", setup_kUsage);
        Say(text);
        return parsed;
    }
    if (switches.help) {
        Say(setup_kUsage);
        return SETUP_EXIT_DONE;
    }
    if (switches.log[0] && !setup_OpenLog(switches.log)) {
        snprintf(text, sizeof text, setup_kNoLog, switches.log);
        Say(text);
        return SETUP_EXIT_BAD_SWITCH;
    }
    setup_Log("Tintwell Setup %s: %s%s", setup.version[0] ? setup.version : "(no version)",
              setup.uninstalling ? "uninstall" : "install", setup.quiet ? ", quiet" : "");

    int code;
    // One Setup or uninstall at a time; a second one started by hand brings the first forward.
    HANDLE mutex = CreateMutexA(nullptr, FALSE, kMutexName);
    if (!mutex || GetLastError() == ERROR_ALREADY_EXISTS) {
        setup_Log("%s", setup_kBusy);
        if (!setup.quiet && !setup_ActivateRunningInstance()) tb_AttentionBox(setup_kBusy);
        code = SETUP_EXIT_BUSY;
    } else if (FindWindowA("Paint", nullptr)) {
        // Files in use would be replaced only at the next restart, or not removed at all.
        Say(setup_kTintwellRunning);
        code = SETUP_EXIT_FAILED;
    } else {
        code = Run(instance, showCommand, switches);
    }
    if (mutex) CloseHandle(mutex);
    setup_Log("Exit code %d", code);
    setup_CloseLog();
    return code;
}
