// The command menu, the command dispatcher and the commands that are the shell's own: Quit, New,
// About and Help. Saving, opening and the gallery belong to the picture files (pictureCommands);
// the remote control, the preferences screen and the colour palette are picture dialogs.
#include <cstring>

#include "pictures/pictures.h"
#include "pictures/policy.h"
#include "pictures/preferences.h"
#include "pictures/recovery.h"
#include "scene/scene.h"
#include "shell/shell.h"
#include "toolbox.h"
#include "tools/preferences_dialog.h"
#include "tools/remote.h"

#include <shellapi.h>

CommandState commands = {SHELL_CURTAIN};

// The shell library is loaded only when the help page is opened.
static HINSTANCE WINAPI shell_OpenDocument(HWND window, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR folder,
                                           INT show)
{
    typedef HINSTANCE(WINAPI * ExecuteProc)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
    ExecuteProc execute = (ExecuteProc)(void*)tb_SystemProc("SHELL32", "ShellExecuteA");
    return execute ? execute(window, verb, file, parameters, folder, show) : (HINSTANCE)SE_ERR_NOASSOC;
}

HelpServices helpServices = {WinHelpA, shell_OpenDocument};

namespace {

const char kQuitQuestion[] = "Do you want to save the current picture before quitting?";
const char kNewQuestion[] = "Do you want to save the current picture before starting a new one?";
const char kHelpFile[] = "Help_twk.hlp";
const char kHelpPage[] = "Help_twk.html";

enum { ABOUT_TEMPLATE = 10001, ABOUT_PICTURE = 901, ABOUT_WIDTH = 421, ABOUT_HEIGHT = 244 };

struct MenuItem {
    const char* label;  // nullptr: a separator
    UINT identifier;
};

const MenuItem kMenu[] = {
    {"&New...", 40019},  {"&Open...", 40020},        {"&Save...", 40021}, {nullptr, 0},
    {"&Gallery...", 40022}, {nullptr, 0},            {"&Preferences...", 40023}, {nullptr, 0},
    {"&Help...", 40026}, {"&About...", 40025},       {nullptr, 0},        {"&Quit...", 40027},
};

void RunPreferences(void)
{
    if (prefsDialog_Run() != 1) return;
    // The sound setting may have changed: the speaker shows it.
    scene_DrawSpeaker();
    scene_ShowRect(&scene.layout.speaker);
    prefs_Save();
}

void Gallery(void)
{
    if (pictureCommands.browseGallery()) scene_ShowAll();
}

bool FileExists(const char* path)
{
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// ---------------------------------------------------------------- the About box

void SizeAbout(HWND dialog)
{
    // The picture plus the frame on every side and the caption.
    int f = GetSystemMetrics(SM_CXFRAME);
    int width = ABOUT_WIDTH + 2 * f + f / 2;
    int height = ABOUT_HEIGHT + 2 * f + f / 2 + GetSystemMetrics(SM_CYCAPTION);
    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    int left = desktop.left + (desktop.right - desktop.left - width) / 2;
    int top = desktop.top + (desktop.bottom - desktop.top - height) / 2;
    MoveWindow(dialog, left, top, width, height, FALSE);
}

void PaintAbout(HWND dialog)
{
    RECT size, client;
    GetClientRect(dialog, &client);
    int picture = tb_CreateBitmap(&size, ABOUT_PICTURE, 8);
    if (picture < 0) return;
    tb_CopyBitmapToDialog(dialog, picture, &size, &client);
    tb_DisposeBitmap(picture);
}

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        SizeAbout(dialog);
        return TRUE;
    case WM_ERASEBKGND:
        SetWindowLongPtrA(dialog, DWLP_MSGRESULT, 1);
        return TRUE;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(dialog, &ps);
        PaintAbout(dialog);
        EndPaint(dialog, &ps);
        return TRUE;
    }
    case WM_LBUTTONDOWN:
        // As with the splash, the button comes up over the room: that release is the box's.
        shell.splashClick = 1;
        EndDialog(dialog, 1);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) EndDialog(dialog, 0);
        return TRUE;
    }
    return FALSE;
}

}  // namespace

// ---------------------------------------------------------------- the menu and the dispatcher

void shell_BuildCommandMenu(void)
{
    if (shell.commandMenu) DestroyMenu(shell.commandMenu);
    shell.commandMenu = CreatePopupMenu();
    if (!shell.commandMenu) return;
    for (const MenuItem& item : kMenu) {
        if (item.label)
            AppendMenuA(shell.commandMenu, MF_STRING, item.identifier, item.label);
        else
            AppendMenuA(shell.commandMenu, MF_SEPARATOR, 0, nullptr);
    }
}

namespace {

int commandRunning;

void RunCommand(int command)
{
    // A command a grown-up closed (Quit, Preferences) is only a sound.
    if (policy_RefusesCommand(command)) return policy_PlayNothing();
    switch (command) {
    case SHELL_ASK_REMOTE: {
        int chosen = remote_Run();
        tb_SetCursor(203);
        // Back (and Escape) give -1: nothing happens. The button chosen is the remote's own run;
        // a closed one has made its sound on the remote already.
        if (chosen >= 0 && !policy_RefusesCommand(chosen)) RunCommand(chosen);
        return;
    }
    case SHELL_QUIT: return shell_Quit();
    case SHELL_SAVE: return pictureCommands.save();
    case SHELL_NEW: return shell_New();
    case SHELL_OPEN: return pictureCommands.open();
    case SHELL_ABOUT: shell_ShowAbout(); return;
    case SHELL_HELP: return shell_Help();
    case SHELL_PREFERENCES: return RunPreferences();
    case SHELL_GALLERY: return Gallery();
    default: return;
    }
}

}  // namespace

void shell_DispatchCommand(int command)
{
    // A second Quit, New or remote while the save question of the first is up would pull the
    // picture away under it: ignored, without a sound or a word.
    if (commandRunning) return;
    commandRunning = 1;
    RunCommand(command);
    commandRunning = 0;
}

// ---------------------------------------------------------------- the commands

void shell_Quit(void)
{
    // A picture that was to be saved but was not (the Save As cancelled or failed) stays on the
    // screen.
    if (scene.modified && !pictureCommands.saveBefore(kQuitQuestion)) return;
    // Answered: the picture is saved or let go, and the recovery copy with it.
    recovery_Remove();
    shellHooks.closeRequest();
}

void shell_CloseRequest(void) { tb_QuitToolbox(); }

// While a grown-up keeps the child from quitting, Ctrl+Shift+Q held for two seconds is Quit, save
// question and all; it comes again only after the keys were let go.
void shell_GrownUpQuitKeys(void)
{
    static DWORD heldSince;
    static bool held, used;
    bool down = policy.noQuit == 1 && tb_IsKeyDown(VK_CONTROL) && tb_IsKeyDown(VK_SHIFT) && tb_IsKeyDown('Q');
    if (!down) {
        held = used = false;
        return;
    }
    DWORD now = tb_GetTime();
    if (!held) {
        held = true;
        heldSince = now;
    }
    if (used || now - heldSince < SHELL_GROWN_UP_QUIT_MS || commandRunning) return;
    used = true;
    commandRunning = 1;
    shell_Quit();
    commandRunning = 0;
}

void shell_New(void)
{
    const SceneLayout& L = scene.layout;
    if (scene.zoomed) {
        scene.zoomed = 0;
        scene_DrawSpyglass();
        scene_ShowRect(&L.spyglass);
        scene_Refresh(&L.canvas);
    }
    if (scene.modified) {
        if (!pictureCommands.saveBefore(kNewQuestion)) return;
        scene.modified = 0;
    }
    shell_ClearCanvasForNew();
    recovery_Remove();
    // The cleaner bottle cannot bring the old picture back.
    scene_SaveUndo();
    scene.undoAvailable = 0;
    pictureCommands.offerPages();
}

INT_PTR shell_ShowAbout(void) { return tb_DoDialog(ABOUT_TEMPLATE, AboutProc); }

int shell_BesideProgram(const char* name, char* path, int size)
{
    char program[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, program, sizeof program);
    if (length == 0 || length >= sizeof program) return 0;
    char* slash = strrchr(program, '\\');
    if (slash) slash[1] = 0;
    else program[0] = 0;
    if (lstrlenA(program) + lstrlenA(name) >= size) return 0;
    wsprintfA(path, "%s%s", program, name);
    return 1;
}

// The help file through WinHelp where there is one; otherwise the help page beside the program in
// the system's browser.
void shell_Help(void)
{
    char path[MAX_PATH];
    if (shell_BesideProgram(kHelpFile, path, sizeof path) && FileExists(path)) {
        helpServices.winHelp(nullptr, path, HELP_CONTEXT, 0);
        return;
    }
    if (shell_BesideProgram(kHelpPage, path, sizeof path) && FileExists(path)) {
        char folder[MAX_PATH];
        lstrcpyA(folder, path);
        char* slash = strrchr(folder, '\\');
        if (slash) *slash = 0;
        INT_PTR opened = (INT_PTR)helpServices.shellExecute(nullptr, "open", path, nullptr, folder, SW_SHOWNORMAL);
        if (opened > 32) return;
    }
    tb_AttentionBox("The help page for grown-ups (Help_twk.html) could not be opened.");
}
