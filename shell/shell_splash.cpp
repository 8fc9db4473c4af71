// The splash: picture 902 in dialog 156, centred on the desktop, for seven seconds or until a
// click (result 1) or Escape (result 0).
#include "shell/shell.h"

#include "toolbox.h"

namespace {

const int kSplashTimer = 1000;
const int kSplashWidth = 448, kSplashHeight = 324;
// Posted by the first paint: the work behind the splash starts once the picture is up.
const UINT kBehindMessage = WM_APP + 1;

void (*g_behind)(void);

void EndSplash(HWND dialog, INT_PTR result)
{
    KillTimer(dialog, kSplashTimer);
    EndDialog(dialog, result);
}

INT_PTR CALLBACK SplashProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: {
        SetTimer(dialog, kSplashTimer, 7000, nullptr);
        RECT desktop;
        GetWindowRect(GetDesktopWindow(), &desktop);
        int left = desktop.left + (desktop.right - desktop.left - kSplashWidth) / 2;
        int top = desktop.top + (desktop.bottom - desktop.top - kSplashHeight) / 2;
        MoveWindow(dialog, left, top, kSplashWidth, kSplashHeight, FALSE);
        return TRUE;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(dialog, &ps);
        RECT source = {0, 0, 0, 0};
        int picture = tb_CreateBitmap(&source, 902, 24);
        if (picture >= 0) {
            RECT dest = {0, 0, kSplashWidth, kSplashHeight};
            tb_CopyBitmapToDialog(dialog, picture, &source, &dest);
            tb_DisposeBitmap(picture);
        }
        EndPaint(dialog, &ps);
        if (g_behind) {
            // A wait of no time on the queue first: the system puts the picture on the screen
            // when the program waits (Wine does so only then), not after the work behind it.
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT);
            PostMessageA(dialog, kBehindMessage, 0, 0);
        }
        return TRUE;
    }
    case kBehindMessage:
        if (g_behind) {
            void (*behind)(void) = g_behind;
            g_behind = nullptr;
            behind();
        }
        return TRUE;
    case WM_ERASEBKGND:
        SetWindowLongPtrA(dialog, DWLP_MSGRESULT, 1);
        return TRUE;
    case WM_TIMER:
        if (wParam == kSplashTimer) EndSplash(dialog, 1);
        return TRUE;
    case WM_LBUTTONDOWN:
        // The button comes up over the room once the splash is gone: the shell knows it is ours.
        shell.splashClick = 1;
        EndSplash(dialog, 1);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) EndSplash(dialog, 0);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

INT_PTR shell_ShowSplash(void) { return shell_ShowSplashThen(nullptr); }

INT_PTR shell_ShowSplashThen(void (*behind)(void))
{
    g_behind = behind;
    INT_PTR result = tb_DoDialog(156, SplashProc);
    // A splash that ended before its first paint leaves the work to the caller.
    g_behind = nullptr;
    return result;
}
