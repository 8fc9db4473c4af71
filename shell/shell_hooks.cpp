// The shell's default hooks. Each is what the program does today; the splash, the preferences,
// the scene and the command menu fill them in (or put their own functions into shellHooks) as
// they are built.
#include "shell/shell.h"

#include "toolbox.h"

ShellHooks shellHooks = {
    shell_RunSplash,    shell_StartupHook, shell_BuildCommandMenu, shell_CleanupHook,  shell_IdleTick,
    shell_RedrawHook,   shell_RelayoutHook, shell_EscapeGuard,     shell_PrePopupHook, shell_ShowCommandMenu,
    shell_DispatchCommand, shell_ScenePress, shell_SceneRelease,   shell_SceneMove,    shell_SceneDoubleClick,
};

// The seven-second splash picture (dialog 156, picture 902). Not built yet: start-up goes straight on.
void shell_RunSplash(void) {}

// Preferences and the scene are not built yet. The pointer takes the program's arrow, cursor 203,
// once the artwork carries it (until then the pointer keeps its shape rather than vanishing).
void shell_StartupHook(void)
{
    if (FindResourceA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(203), (LPCSTR)RT_GROUP_CURSOR)) tb_SetCursor(203);
}

// The command menu is not built yet: shell.commandMenu stays nullptr and nothing pops up.
void shell_BuildCommandMenu(void) {}

// Disposes of the scene's bitmaps and calls every object's Destroy: there is no scene yet.
void shell_CleanupHook(void) {}

// Cancels a piece that follows the pointer when C is held: there is no scene object yet.
void shell_IdleTick(void) {}

// Shows the whole scene on the main window: there is no scene yet, the class background shows.
void shell_RedrawHook(int window) {}

// Lays the scene out again for the new desktop size: there is no scene yet.
void shell_RelayoutHook(void) {}

// The current object's gesture flag: no object exists yet, so no gesture is ever in progress.
int shell_EscapeGuard(void) { return 0; }

// Called before the command menu is shown; does nothing.
void shell_PrePopupHook(void) {}

void shell_ShowCommandMenu(int x, int y)
{
    HWND owner = tb_GetWindowHandle(shell.mainWindow);
    if (!shell.commandMenu || !owner) return;
    POINT point = {x, y};
    ClientToScreen(owner, &point);
    TrackPopupMenu(shell.commandMenu, TPM_CENTERALIGN | TPM_LEFTBUTTON, point.x, point.y, 0, owner, nullptr);
}

// Runs command 0..7 (Quit, Save, New, Open, About, Help, Preferences, Gallery): not built yet.
void shell_DispatchCommand(int command) {}

// The scene's pointer handlers (window coordinates): there is no scene yet.
void shell_ScenePress(int window, int x, int y) {}
void shell_SceneRelease(int window, int x, int y) {}
void shell_SceneMove(int window, int x, int y) {}
void shell_SceneDoubleClick(int window, int x, int y) {}
