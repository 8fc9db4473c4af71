// The wizard's pages: the splash, the agreement, the destination folder and the abort question.
#include "setup/setup.h"

#include <cstdio>

#include "resources/setup_ids.h"
#include "toolbox.h"

namespace {

const int kSplashTimer = 1000;
const UINT kSplashMilliseconds = 2500;
const int kSplashWidth = 320, kSplashHeight = 200;

void EndSplash(HWND dialog)
{
    KillTimer(dialog, kSplashTimer);
    EndDialog(dialog, 0);
}

INT_PTR CALLBACK SplashProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: {
        // The picture's size and two and a half frame widths each way, centred on the desktop.
        int border = tb_Round(2.5 * GetSystemMetrics(SM_CXFRAME));
        int width = kSplashWidth + border, height = kSplashHeight + border;
        RECT desktop;
        GetWindowRect(GetDesktopWindow(), &desktop);
        int left = desktop.left + (desktop.right - desktop.left - width) / 2;
        int top = desktop.top + (desktop.bottom - desktop.top - height) / 2;
        MoveWindow(dialog, left, top, width, height, FALSE);
        SetTimer(dialog, kSplashTimer, kSplashMilliseconds, nullptr);
        return TRUE;
    }
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(dialog, &ps);
        RECT source = {0, 0, 0, 0};
        int picture = tb_CreateBitmap(&source, 100, 8);
        if (picture >= 0) {
            RECT client;
            GetClientRect(dialog, &client);
            tb_CopyBitmapToDialog(dialog, picture, &source, &client);
            tb_DisposeBitmap(picture);
        }
        EndPaint(dialog, &ps);
        return TRUE;
    }
    case WM_ERASEBKGND:
        SetWindowLongPtrA(dialog, DWLP_MSGRESULT, 1);
        return TRUE;
    case WM_TIMER:
        if (wParam == kSplashTimer) EndSplash(dialog);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) EndSplash(dialog);
        return TRUE;
    }
    return FALSE;
}

INT_PTR CALLBACK AgreementProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        SetWindowTextA(dialog, setup.productDescription);
        SetDlgItemTextA(dialog, IDC_SETUP_AGREEMENT, setup_kAgreement);
        // The focus on "Next >>", so that the agreement shows without a selection.
        SetFocus(GetDlgItem(dialog, IDOK));
        return FALSE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK: EndDialog(dialog, 1); return TRUE;
        case IDCANCEL: EndDialog(dialog, 0); return TRUE;
        }
        break;
    }
    return FALSE;
}

INT_PTR CALLBACK DestinationProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG: {
        char label[SETUP_TEXT + 64];
        snprintf(label, sizeof label, "%s will be installed in the following folder.", setup.productDescription);
        SetDlgItemTextA(dialog, IDC_SETUP_FOLDER_LABEL, label);
        SendDlgItemMessageA(dialog, IDC_SETUP_FOLDER, EM_LIMITTEXT, SETUP_TEXT - 1, 0);
        SetDlgItemTextA(dialog, IDC_SETUP_FOLDER, setup.destination);
        return TRUE;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK: {
            // A folder that is not absolute would put the files beside Setup: the page stays.
            char folder[SETUP_TEXT];
            GetDlgItemTextA(dialog, IDC_SETUP_FOLDER, folder, sizeof folder);
            if (!setup_NormaliseFolder(folder, sizeof folder)) {
                setup_ErrorWithContact(setup_kNoDestination);
                SetFocus(GetDlgItem(dialog, IDC_SETUP_FOLDER));
                return TRUE;
            }
            snprintf(setup.destination, SETUP_TEXT, "%s", folder);
            EndDialog(dialog, 1);
            return TRUE;
        }
        case IDCANCEL: EndDialog(dialog, 0); return TRUE;
        }
        break;
    }
    return FALSE;
}

INT_PTR CALLBACK AbortProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG: return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK: EndDialog(dialog, 1); return TRUE;      // "Resume"
        case IDCANCEL: EndDialog(dialog, 0); return TRUE;  // "Exit"
        }
        break;
    }
    return FALSE;
}

// The main window closed under the wizard ends it like "Exit".
bool MainWindowGone(void) { return !IsWindow(tb_GetWindowHandle(setup.mainWindow)); }

// Ends the wizard before anything was installed, as the user asked.
int Quit(void)
{
    setup_CloseInf();
    setup_TerminateProgman();
    setup_Log("Setup was cancelled");
    return SETUP_EXIT_CANCELLED;
}

}  // namespace

int setup_AskResume(void) { return tb_DoDialog(105, AbortProc) == 1; }

int setup_RunWizard(void)
{
    tb_DoDialog(101, SplashProc);
    if (MainWindowGone()) return Quit();
    INT_PTR agreed = tb_DoDialog(102, AgreementProc);
    if (MainWindowGone()) return Quit();
    if (agreed != 1 && (!setup_AskResume() || MainWindowGone())) return Quit();
    INT_PTR finished = tb_DoDialog(103, DestinationProc);
    if (MainWindowGone()) return Quit();
    if (finished != 1 && (!setup_AskResume() || MainWindowGone())) return Quit();
    setup_Install();
    return setup_ExitCode;
}
