// The recovery copy: the picture and its name, kept per user outside the Gallery while the
// picture has changes that are not saved, so that a crash, a power cut or Windows restarting
// loses nothing; the next start puts the picture back on the easel.
#pragma once

#include <windows.h>

#include "toolbox.h"

// What the copy is to the picture on the canvas.
enum RecoveryCopy {
    RECOVERY_CURRENT,  // it holds the picture as it is (or there is nothing to keep)
    RECOVERY_DUE,      // the picture may have changed since: written at the next pause
    RECOVERY_FAILED,   // the last write failed (a full disk): tried again after the next change
};

struct Recovery {
    char folder[MAX_PATH];  // where the copy lives, ending in a backslash; "" until first needed
                            // (then the user's %LOCALAPPDATA%\Tintwell\Recovery\); checks put theirs
    int enabled;            // 1; 0 switches the copy off (the benchmark compares)
    DWORD pause;            // ms without pointer input before the copy is written
    DWORD sliceTicks;       // longest slice of writing, in performance-counter ticks (0: 1 ms)

    RecoveryCopy copy;
    DWORD lastInput;        // millisecond clock of the last pointer input
    int soon;               // write at the next idle tick, without waiting for the pause
    int writing;            // a copy is under way, a step per idle tick: the name, then the picture
    int opened;             // the picture's temporary file exists, kept open between ticks: a copy
                            // that input stopped is written again into it from its first byte
    DWORD written;          // bytes of it written so far by this copy
    DWORD extent;           // bytes it holds, from this copy or one stopped before
    char name[MAX_PATH];    // the name the name's file was last written with ("" when not known)
    TB_KeptFile file;       // the picture's temporary file, off the file channel between ticks
};

extern Recovery recovery;

// Pointer input reached the window; mayChange: the picture may change with it (a press, a drag, a
// release, a command...), so a copy being written stops and is written again at the next pause.
// Nothing touches the disk here: the child's press never waits for a file.
void recovery_NoteInput(int mayChange);
// The idle tick's part: starts the copy after the pause and writes it a slice at a time.
void recovery_Idle(void);
// The program lost the activation to another application: the copy is written without a pause.
void recovery_WriteSoon(void);
// Writes the whole copy at once when the picture has changes the copy lacks (the session ends,
// another program closes the window); 1 when the copy holds the picture afterwards.
int recovery_WriteNow(void);
// A clean ending (a saved picture, a new or opened one on the canvas, Quit answered): the copy goes.
void recovery_Remove(void);
// Start-up, once the room is built: puts a copy left by an earlier run on the canvas (stretched to
// it when its size differs), modified, with no undo, under its name; 1 when it did. The copy is
// renamed before it is read, so a copy that stops the program is never tried twice.
int recovery_Restore(void);
// The room is up: the renamed copy read at start-up is removed.
void recovery_RoomIsUp(void);
// The folder of the copy ("" when the system gives none).
const char* recovery_Folder(void);
