// The shell's hooks: where start-up, the loop and the window procedure reach the splash, the
// preferences, the scene and the command menu.
#include "shell/shell.h"

#include "scene/scene.h"
#include "scene/scene_routing.h"
#include "pictures/policy.h"
#include "pictures/preferences.h"
#include "pictures/recovery.h"
#include "toolbox.h"
#include "tools/palette.h"

ShellHooks shellHooks = {
    shell_RunSplash,    shell_StartupHook, shell_BuildCommandMenu, shell_CleanupHook,  shell_IdleTick,
    shell_RedrawHook,   shell_RelayoutHook, shell_EscapeGuard,     shell_PrePopupHook, shell_ShowCommandMenu,
    shell_DispatchCommand, shell_ScenePress, shell_SceneRelease,   shell_SceneMove,    shell_SceneDoubleClick,
    shell_CloseRequest, shell_EndAtOnce,
};

// The seven-second splash picture; its result is not used. While it is up, the preferences are
// loaded and the room is built behind it, so that the room shows as soon as the splash goes.
void shell_RunSplash(void) { shell_ShowSplashThen(shell_PrepareStartup); }

// The defaults first; then the preferences file over them; then what a grown-up fixed over that.
void shell_LoadPreferences(void)
{
    prefs_SetDefaults();
    prefs_Load();
    policy_Read();
    prefs_UsePolicy();
}

// The colour palette as the paint tube and the cans see it: 1 only for a colour picked and confirmed.
static int shell_PaletteForScene(SceneColor* chosen) { return palette_Run(chosen) == 1 ? 1 : 0; }

// The remote control and the command dispatcher are one road: the scene hands the remote's
// choice (or -1, "ask the remote") to whatever dispatcher the shell has.
static void shell_DispatchFromScene(int command) { shellHooks.dispatch(command); }

static int shell_prepared;

void shell_PrepareStartup(void)
{
    if (shell_prepared) return;
    // The sounds' library is loaded here rather than at the first click in the room.
    tb_SystemProc("WINMM", "PlaySoundA");
    shell_LoadPreferences();
    sceneServices.dispatchCommand = shell_DispatchFromScene;
    sceneServices.paletteDialog = shell_PaletteForScene;
    sceneServices.writePreferences = prefs_Save;
    scene_ResetRouting();
    scene_Prepare(shell.mainWindow);
    // A picture an earlier run could not keep comes back on the easel.
    recovery_Restore();
    shell_prepared = 1;
}

// The splash usually has the room built behind it already (shell_PrepareStartup): what is left
// is to show it.
void shell_StartupHook(void)
{
    shell_PrepareStartup();
    scene_ShowAll();
    recovery_RoomIsUp();
    tb_SetCursor(203);
}


// The scene's bitmaps, the tools' own pictures and every object's Destroy.
void shell_CleanupHook(void)
{
    if (!shell.started) return;
    // Closed by another program: what the copy lacks goes into it before the picture is let go.
    recovery_WriteNow();
    sceneServices.disposeToolBitmaps();
    scene_Shutdown();
    shell_prepared = 0;
}

// Whenever the queue is empty: C drops a piece that follows the pointer; a grown-up's Ctrl+Shift+Q
// quits; the recovery copy is written a slice at a time, and so is the spare copy of the picture.
void shell_IdleTick(void)
{
    if (!shell.started) return;
    scene_CancelPieceOnKey();
    shell_GrownUpQuitKeys();
    recovery_Idle();
    scene_CatchUpSpare();
}

// Shows the whole scene on the main window.
void shell_RedrawHook(int window)
{
    if (shell.started && window == shell.mainWindow) scene_ShowAll();
}

void shell_RelayoutHook(void)
{
    if (shell.started) scene_Relayout();
}

// Non-zero while the current tool's gesture is in progress.
int shell_EscapeGuard(void) { return shell.started ? scene.objects[scene.currentObject].active : 0; }

// Called before the command menu is shown: a stroke in progress ends, its release will not come.
void shell_PrePopupHook(void)
{
    if (shell.started) scene_EndGesture();
}

void shell_ShowCommandMenu(int x, int y)
{
    HWND owner = tb_GetWindowHandle(shell.mainWindow);
    if (!shell.commandMenu || !owner) return;
    POINT point = {x, y};
    ClientToScreen(owner, &point);
    TrackPopupMenu(shell.commandMenu, TPM_CENTERALIGN | TPM_LEFTBUTTON, point.x, point.y, 0, owner, nullptr);
}


// The scene's pointer handlers, in window coordinates, once the scene is built (the splash runs
// its own loop before that, and moves over the main window must not reach an empty scene).
void shell_ScenePress(int window, int x, int y)
{
    if (shell.started) scene_PressHandler(window, x, y);
}
void shell_SceneRelease(int window, int x, int y)
{
    if (shell.started) scene_ReleaseHandler(window, x, y);
}
void shell_SceneMove(int window, int x, int y)
{
    if (shell.started) scene_MoveHandler(window, x, y);
}
void shell_SceneDoubleClick(int window, int x, int y)
{
    if (shell.started) scene_DoubleClickHandler(window, x, y);
}
