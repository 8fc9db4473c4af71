// The window procedure of class "Paint": turns the platform's messages into calls of the scene's
// pointer handlers, the command menu and dispatcher, and the redraw and re-layout of the scene.
#include "shell/shell.h"

#include "pictures/recovery.h"
#include "scene/scene_routing.h"
#include "toolbox.h"

static const char kEscapeHint[] =
    "Press the Remote Control (on the yellow table below,\n"
    "next to the monitor and cleaner bottle) to access the\n"
    "menu options such as Open, Save, Quit, New, Help, etc";

int shell_CommandOfMenuItem(int identifier)
{
    switch (identifier) {
    case 40019: return 2;  // New
    case 40020: return 3;  // Open
    case 40021: return 1;  // Save
    case 40022: return 7;  // Gallery
    case 40023: return 6;  // Preferences
    case 40025: return 4;  // About
    case 40026: return 5;  // Help
    case 40027: return 0;  // Quit
    default: return -1;
    }
}

static bool shell_HasMainWindow(void) { return shell.mainWindow != TB_NONE; }

// Started, the main window exists and the message is addressed to it.
static bool shell_ForMainWindow(HWND hwnd)
{
    return shell.started && shell_HasMainWindow() && hwnd == tb_GetWindowHandle(shell.mainWindow);
}

// Puts the main window over the last read desktop rectangle, repainting it.
static void shell_CoverDesktop(void)
{
    MoveWindow(tb_GetWindowHandle(shell.mainWindow), 0, 0, shell.desktop.right - shell.desktop.left,
               shell.desktop.bottom - shell.desktop.top, TRUE);
}

// Input that may change the picture (or run a command) is told to the recovery copy before it is
// handled: a copy being written is dropped, and written again at the next pause.
static void shell_NoteInput(bool mayChange)
{
    if (shell.started) recovery_NoteInput(mayChange ? 1 : 0);
}

// A scene handler called with the message's key flags in the toolbox's hands: whether a button is
// down is how it stood when the message was sent, not how it stands now.
static void shell_PassPointer(void (*handler)(int, int, int), WPARAM keys, int x, int y, bool mayChange)
{
    int before = tb_SetPointerKeys((int)keys);
    shell_NoteInput(mayChange || tb_IsMouseDown());
    handler(shell.mainWindow, x, y);
    tb_SetPointerKeys(before);
}

void shell_EndAtOnce(void) { ExitProcess(0); }

LRESULT shell_SessionEnd(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_QUERYENDSESSION) {
        // Nothing is asked and nothing waits: the picture is kept in the recovery copy instead.
        if (shell.started) recovery_WriteNow();
        return TRUE;
    }
    if (message == WM_ENDSESSION && wParam) {
        if (shell.started) recovery_WriteNow();
        // Whatever command is running (a question may be up) ends with the program; the copy stays.
        shellHooks.endAtOnce();
    }
    return 0;
}

// Whether the pointer's shape the room set last is surely still the one shown after this message:
// pointer messages over the room keep it (the window class has no cursor of its own, so the system
// puts none up here). Anything else may come with another shape: a box or menu, the window turned
// off under a box (the system shows its arrow over it), the pointer gone to another window.
static bool shell_KeepsCursor(UINT message, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_NCHITTEST:
        return true;
    case WM_SETCURSOR:
        return LOWORD(lParam) == HTCLIENT;
    default:
        return false;
    }
}

// Asks once per visit of the pointer to be told when it leaves the window (another window's shape
// may then be up when it comes back); where the system cannot say, no shape is taken as kept.
static void shell_TrackLeave(HWND hwnd)
{
    if (shell.leaveTracked) return;
    TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, hwnd, 0};
    shell.leaveTracked = TrackMouseEvent(&track) ? 1 : 0;
    if (!shell.leaveTracked) tb_ForgetCursor();
}

LRESULT CALLBACK shell_WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Client coordinates, taken as unsigned 16-bit numbers.
    int x = LOWORD(lParam);
    int y = HIWORD(lParam);

    if (!shell_KeepsCursor(message, lParam)) tb_ForgetCursor();
    switch (message) {
    case WM_LBUTTONDOWN:
        shell.splashClick = 0;
        if (!shell.focusLost && shell_HasMainWindow()) shell_PassPointer(shellHooks.press, wParam, x, y, true);
        return 0;
    case WM_LBUTTONUP:
        if (shell.splashClick) {
            // The release of the click that closed the splash: it picks nothing in the room.
            shell.splashClick = 0;
            return 0;
        }
        if (!shell.focusLost && shell_HasMainWindow()) shell_PassPointer(shellHooks.release, wParam, x, y, true);
        return 0;
    case WM_MOUSEMOVE:
        shell_TrackLeave(hwnd);
        if (shell_HasMainWindow()) shell_PassPointer(shellHooks.move, wParam, x, y, false);
        return 0;
    case WM_MOUSELEAVE:
        shell.leaveTracked = 0;
        return 0;
    case WM_LBUTTONDBLCLK:
        shell.splashClick = 0;
        if (shell_HasMainWindow()) shell_PassPointer(shellHooks.doubleClick, wParam, x, y, true);
        return 0;
    case WM_RBUTTONDOWN:
        shell_NoteInput(true);
        shellHooks.prePopup();
        shellHooks.showMenu(x, y);
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE && shellHooks.escapeGuard() == 0) {
            tb_AttentionBox(kEscapeHint);
            return 0;
        }
        if (wParam == VK_F1) {
            POINT point = {0, 0};
            tb_GetCursorPos(&point);
            shellHooks.prePopup();
            shellHooks.showMenu(point.x, point.y);
            return 0;
        }
        break;
    case WM_COMMAND: {
        int command = shell_CommandOfMenuItem(LOWORD(wParam));
        if (command < 0) return 0;
        shell_NoteInput(true);
        shellHooks.dispatch(command);
        return 0;
    }
    case WM_SYSCOMMAND:
        // Alt+F4 and the taskbar's Close are the Quit command, save question and all. While one of
        // the program's dialogs or boxes holds the window, it waits for that to be answered first.
        if ((wParam & 0xFFF0) == SC_CLOSE && shell.started) {
            if (!IsWindowEnabled(hwnd)) return 0;
            shell_NoteInput(true);
            shellHooks.dispatch(SHELL_QUIT);
            return 0;
        }
        break;
    case WM_ACTIVATEAPP:
        // Another application comes forward: the copy is written without waiting for a pause.
        if (!wParam && shell.started) recovery_WriteSoon();
        break;
    case WM_QUERYENDSESSION:
    case WM_ENDSESSION:
        return shell_SessionEnd(message, wParam, lParam);
    case WM_PAINT:
        if (shell_ForMainWindow(hwnd)) {
            PAINTSTRUCT ps;
            BeginPaint(hwnd, &ps);
            shellHooks.redraw(shell.mainWindow);
            EndPaint(hwnd, &ps);
            return 0;
        }
        break;
    case WM_SETFOCUS:
        shell.focusLost = 0;
        if (shell_ForMainWindow(hwnd)) {
            shell_CoverDesktop();
            shellHooks.redraw(shell.mainWindow);
        }
        break;
    case WM_KILLFOCUS:
        shell.focusLost = 1;
        // The release of a stroke in progress will not come to this window.
        if (shell.started) {
            if (shellHooks.escapeGuard()) shell_NoteInput(true);
            scene_EndGesture();
        }
        break;
    case WM_DISPLAYCHANGE:
        if (shell_ForMainWindow(hwnd)) {
            shell_NoteInput(true);
            shell_ReadDesktop();
            shell_CoverDesktop();
            shellHooks.relayout();
        }
        return 1;
    case WM_SIZING:
    case WM_MOVING:
        // The window can be neither moved nor resized: the proposal becomes the desktop again.
        shell_ReadDesktop();
        *(RECT*)lParam = shell.desktop;
        return 1;
    case WM_DESTROY:
        WinHelpA(hwnd, "Help_twk.hlp", HELP_QUIT, 0);
        if (shell.commandMenu) {
            DestroyMenu(shell.commandMenu);
            shell.commandMenu = nullptr;
        }
        shellHooks.cleanup();
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}
