// The in-process soak: the room built on a window of its own and fed a long seeded random
// sequence of what a child does (moves, presses, drags, releases, double clicks, right clicks, the
// keys C, Escape and F1, display changes between two sizes) through the program's own window
// procedure, with every modal dialog and message box answered by a thread hook with a random but
// legal action. After every event the invariants are checked; the first broken one ends the run
// with its event number, so that the same seed and event count replay it.
//
// Shared by the short soak of the test suite and the long run of the benchmarks.
#pragma once

#include <cstdio>

enum SoakKind {
    SOAK_MOVE,           // pointer move, button up
    SOAK_PRESS,          // left button down
    SOAK_DRAG,           // pointer move, button down
    SOAK_RELEASE,        // left button up
    SOAK_DOUBLE_CLICK,   // the second press of a double click
    SOAK_RIGHT_CLICK,    // right button: the command menu
    SOAK_KEY_C,          // C held over a few moves and idle ticks
    SOAK_KEY_ESCAPE,
    SOAK_KEY_F1,         // the command menu from the keyboard
    SOAK_DISPLAY_CHANGE,
    SOAK_KINDS,
};

struct SoakRun {
    unsigned seed;
    long events;          // the run stops after this many events (or at the first broken invariant)
    int width, height;    // the window's size at the start
    int displayChanges;   // non-zero: the display changes now and then between 800x600 and 1920x1080
};

struct SoakFigures {
    long events;
    long kinds[SOAK_KINDS];
    long toolPresses[30];    // presses on the canvas, by current tool
    long dialogs;            // modal dialogs answered (picture dialogs, text, about)
    long messageBoxes;       // message boxes answered
    long fileDialogs;        // Save As and Open answered
    long nudged;             // dialogs that the watchdog had to cancel after their answer did not end them
    long commands[8];        // commands dispatched (Quit, Save, New, Open, About, Help, Preferences, Gallery)
    long menusDismissed;     // command menus closed without a command
    long displayChanges;
    long prints;             // printer hot spot: the page prepared, no job sent
    long preferenceWrites;   // preferences written (kept in memory: the shared file is never touched)
    long picturesSaved;      // of the run's two picture files, how many were there at its end
    long gdiGrowth;          // GDI objects held after the room was shut down, less those before it was built
    double milliseconds;
    int startBitmaps, startRegions, startWindows;  // slots in use with the room built, at rest
    int peakBitmaps, peakRegions, peakWindows;     // the most in use after any event
    long privateSamples;                           // private bytes sampled at rest on the run's own size
    double privateFirstKb, privateLastKb;          // their mean over the first and the last third
    double privatePeakKb;
    double pooledPeakKb;                           // the most the toolbox's kept surfaces held
    long failedEvent;        // 1-based number of the event after which an invariant broke; 0 = none
    char failure[512];       // "seed S event N: <what broke>"
};

// The window the soak runs on, opened on first use (the toolbox must be initialised).
int soak_Window(void);

// Runs the soak on the soak window: builds the room at the run's size, feeds the events, shuts the
// room down again. 1 when every invariant held after every event; 0 with figures->failure set.
int soak_Run(const SoakRun& run, SoakFigures* figures);

// The figures of a run, a few lines.
void soak_PrintFigures(FILE* out, const SoakRun& run, const SoakFigures& figures);
