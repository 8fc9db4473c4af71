// The painting program's shell: start-up, the main window and the message loop.
#pragma once

#include <windows.h>

// The shell's own state; one instance, owned by the shell.
struct ShellState {
    int mainWindow;     // toolbox window index of the main window; -1 until it exists
    int started;        // 1 once the preferences are loaded and the scene is built
    int focusLost;      // 1 while the window has lost the keyboard focus: left press/release ignored
    HMENU commandMenu;  // the popup command menu; nullptr until it is built
    RECT desktop;       // the desktop window's rectangle as last read
    int splashClick;    // 1 from the press that closed the splash or the About box until its
                        // release: that release finishes the click on the box and is not the room's
    int leaveTracked;   // 1 while the system is asked to say when the pointer leaves the window
};

extern ShellState shell;

// The places where the shell reaches the scene, the splash, the preferences and the command menu.
// Every slot starts at the shell's default (shell_hooks.cpp); the parts that own the work put their
// own functions here (or fill the defaults in) as they are built.
struct ShellHooks {
    void (*splash)(void);                 // the splash picture, modal, owned by the main window
    void (*startup)(void);                // preferences, scene, cursor 203
    void (*buildMenu)(void);              // builds shell.commandMenu
    void (*cleanup)(void);                // scene bitmaps and objects on destruction
    void (*idle)(void);                   // the idle tick, called whenever the queue is empty
    void (*redraw)(int window);           // shows the whole scene on the window
    void (*relayout)(void);               // lays the scene out again after a display change
    int (*escapeGuard)(void);             // non-zero while a tool gesture is in progress
    void (*prePopup)(void);               // called before the command menu is shown
    void (*showMenu)(int x, int y);       // shows the command menu centred on (x, y), client coordinates
    void (*dispatch)(int command);        // runs command 0..7
    void (*press)(int window, int x, int y);
    void (*release)(int window, int x, int y);
    void (*move)(int window, int x, int y);
    void (*doubleClick)(int window, int x, int y);
    void (*closeRequest)(void);           // Quit's last step: closes the main window, which ends the program
    void (*endAtOnce)(void);              // the session ends: the program ends now, whatever runs
};

extern ShellHooks shellHooks;

// The defaults of the slots above.
void shell_RunSplash(void);
// Runs the splash dialog modally; 1 after seven seconds or a click, 0 after Escape.
INT_PTR shell_ShowSplash(void);
// The same splash; once its picture is on the screen it calls behind (if not nullptr), whose work
// then runs while the child looks at the picture.
INT_PTR shell_ShowSplashThen(void (*behind)(void));
// Loads the preferences (the defaults stay when the file cannot be read).
void shell_LoadPreferences(void);
void shell_StartupHook(void);
// The preferences loaded and the scene built in its bitmaps, nothing shown; once only: the start-up
// hook then only shows the room.
void shell_PrepareStartup(void);
void shell_BuildCommandMenu(void);
void shell_CleanupHook(void);
void shell_IdleTick(void);
void shell_RedrawHook(int window);
void shell_RelayoutHook(void);
int shell_EscapeGuard(void);
void shell_PrePopupHook(void);
void shell_ShowCommandMenu(int x, int y);
void shell_DispatchCommand(int command);
void shell_ScenePress(int window, int x, int y);
void shell_SceneRelease(int window, int x, int y);
void shell_SceneMove(int window, int x, int y);
void shell_SceneDoubleClick(int window, int x, int y);
// Ends the process at once (the default of endAtOnce).
void shell_EndAtOnce(void);
// The one place where the session's end is met (WM_QUERYENDSESSION, WM_ENDSESSION): the picture
// goes into the recovery copy, no question is asked, and the program ends with the session.
LRESULT shell_SessionEnd(UINT message, WPARAM wParam, LPARAM lParam);

// ---------------------------------------------------------------- commands
// The command numbers the menu, the remote and the dispatcher share. A command that arrives while
// another one runs (a question or a dialog of it is up) is ignored.
enum {
    SHELL_QUIT,
    SHELL_SAVE,
    SHELL_NEW,
    SHELL_OPEN,
    SHELL_ABOUT,
    SHELL_HELP,
    SHELL_PREFERENCES,
    SHELL_GALLERY,
    SHELL_COMMANDS,
    SHELL_ASK_REMOTE = -1,
};

// New's clearing animations, used in turn.
enum { SHELL_CURTAIN = 1, SHELL_MELT, SHELL_SHRINK, SHELL_SLIDE };

struct CommandState {
    int nextAnimation;  // 1..4: the animation of the next animated New
};
extern CommandState commands;

// What the last clearing animation did, frame by frame (the benchmark reads it).
struct ShellClearingStats {
    int frames;          // frames shown
    DWORD periodSum;     // the sum of their periods
    DWORD period;        // the period of one frame
    DWORD slowestWork;   // the longest drawing and refresh of one frame, ms
    int late;            // frames whose drawing took longer than their period
    DWORD setup, finish; // ms before the first frame (keeping the old picture) and after the last
};
extern ShellClearingStats shellClearingStats;

// The platform's help viewers, a record so that checks can watch the requests.
struct HelpServices {
    BOOL(WINAPI* winHelp)(HWND window, LPCSTR file, UINT command, ULONG_PTR data);
    HINSTANCE(WINAPI* shellExecute)(HWND window, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR folder,
                                    INT show);
};
extern HelpServices helpServices;

// Quit: the save question, then the close request (the one road every way of quitting takes).
void shell_Quit(void);
void shell_New(void);
// The animated or plain clearing of the canvas; the picture's name becomes "Tintwell.bmp".
void shell_ClearCanvasForNew(void);
// One clearing animation (SHELL_CURTAIN..SHELL_SLIDE) of the canvas bitmap, frame by frame.
void shell_RunClearing(int type);
// The About box; 1 after a click, 0 after Escape.
INT_PTR shell_ShowAbout(void);
void shell_Help(void);
// The default close request: the toolbox releases its palette and closes the main window.
void shell_CloseRequest(void);
// Polled by the idle tick: while a grown-up keeps the child from quitting, Ctrl+Shift+Q held for
// SHELL_GROWN_UP_QUIT_MS runs Quit.
enum { SHELL_GROWN_UP_QUIT_MS = 2000 };
void shell_GrownUpQuitKeys(void);
// The path of a file in the program's own folder (where paint.exe lies); 0 when it does not fit.
int shell_BesideProgram(const char* name, char* path, int size);

// Menu item identifiers of the command menu and the command numbers they stand for.
enum { SHELL_FIRST_MENU_ID = 40019, SHELL_LAST_MENU_ID = 40027 };
// The command number of a menu item identifier, or -1 for an identifier that is no command.
int shell_CommandOfMenuItem(int identifier);

// Start-up steps, in the order the entry point runs them.
// A window of class "Paint" already open is restored and brought forward: returns 1, else 0.
int shell_ActivateRunningInstance(void);
// Which registration this system takes: 1 for the extended one with the small icon, 0 for the plain one.
int shell_UseExtendedRegistration(DWORD versionValue);
// Registers the class "Paint"; 0 on failure.
int shell_RegisterClass(HINSTANCE instance);
// At 8 bits per pixel shows the colour-depth message and answers 1 (the program must end); else 0.
int shell_RefuseDisplayDepth(int bitsPerPixel);
// Hands instance, show command and class name to the toolbox and initialises it.
void shell_SetUpToolbox(HINSTANCE instance, int showCommand);
// Shows the resolution advice when the screen is larger than 800 x 600.
void shell_AdviseResolution(int screenWidth, int screenHeight);
// Reads the desktop rectangle into shell.desktop.
void shell_ReadDesktop(void);
// Opens the borderless main window over the desktop; returns and keeps its index (-1 on failure).
int shell_OpenMainWindow(HINSTANCE instance);
// The polling loop: returns the quit message's code.
int shell_MessageLoop(void);

LRESULT CALLBACK shell_WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

int shell_Main(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);
