// The installer: start-up, its window and the message loop.
#pragma once

#include <windows.h>

// The installer's own state; one instance.
struct SetupState {
    int mainWindow;        // toolbox window index of the "Setup" window; -1 until it exists
    HACCEL accelerators;   // the accelerator table "Setup" (nullptr when the program carries none)
    // The install wizard, run once the queue is first empty; its return ends the program.
    // nullptr until the wizard is built: the window then stays up until it is closed.
    int (*wizard)(void);
};

extern SetupState setup;

// A window of class "Setup" already open is restored and brought forward: returns 1, else 0.
int setup_ActivateRunningInstance(void);
// Registers the class "Setup" (icon 108, no cursor, navy background); 0 on failure.
int setup_RegisterClass(HINSTANCE instance);
// Opens the overlapped "Setup" window over the desktop rectangle; returns and keeps its index.
int setup_OpenMainWindow(void);
// Dispatches every waiting message, then runs the wizard; returns the program's exit code.
int setup_MessageLoop(void);

LRESULT CALLBACK setup_WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

int setup_Main(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int showCommand);
