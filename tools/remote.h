// The remote control panel: a picture of a remote with eight command buttons and a Back strip,
// drawn over the room on the control-less picture dialog. The button released on is handed back
// as a command number for the command dispatcher.
#pragma once

#include <windows.h>

enum { REMOTE_BUTTONS = 8, REMOTE_WIDTH = 228, REMOTE_HEIGHT = 240 };

// One run of the panel: which buttons show their lit picture and whether the indicator glows.
struct RemoteState {
    int lit[REMOTE_BUTTONS];
    int light;
};

// The client rectangle of button 0..7 (its command number).
RECT remote_ButtonRect(int button);
// The Back strip.
RECT remote_BackRect(void);
// The button under a client point, -1 for the Back strip, -2 elsewhere.
int remote_HitTest(int x, int y);

// Runs the panel modally over the room: the command number 0..7 of the button released on, or -1
// for Back, Escape, or a panel that could not be opened.
int remote_Run(void);
