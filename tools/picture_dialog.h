// The frame that every control-less picture dialog shares (dialog template 156): the stamp picker,
// the colour palette, the preferences screen, the remote control panel and the gallery.
//
// The dialog is sized by the program and centred on the main window; it has no background brush:
// every paint request composes, off screen, the part of the scene bitmap that lies behind the
// dialog and then the owner's own face over it, and copies the result to the dialog. The pointer
// shows cursor 202 over anything that reacts and 203 elsewhere; the cancel command (Escape) ends
// the dialog with `escapeResult`. Everything inside is hit-tested in client pixels.
#pragma once

#include <windows.h>

enum { PICTURE_DIALOG_TEMPLATE = 156, PICTURE_CURSOR_ACTIVE = 202, PICTURE_CURSOR_ARROW = 203 };

struct PictureDialog;

typedef void (*PictureDialogDrawSlot)(PictureDialog* dialog, int face);
typedef int (*PictureDialogHitSlot)(PictureDialog* dialog, int x, int y);
typedef void (*PictureDialogPointSlot)(PictureDialog* dialog, int x, int y);
typedef void (*PictureDialogSlot)(PictureDialog* dialog);

// One open picture dialog. The owner fills in the size, the slots it needs (nullptr: nothing
// happens) and its own data, then calls picture_RunDialog.
struct PictureDialog {
    int width, height;      // client size in pixels
    INT_PTR escapeResult;   // what the cancel command (Escape) ends the dialog with
    void* data;             // the owner's own record

    PictureDialogSlot open;        // once the dialog exists and is placed, before the first paint
    PictureDialogDrawSlot draw;    // draws the face into `face`, a width x height 24-bit toolbox
                                   // bitmap that already holds the scene behind the dialog
    PictureDialogHitSlot reacts;   // non-zero where a click would do something (cursor 202)
    PictureDialogPointSlot press;  // left button down at a client point
    PictureDialogPointSlot release;  // left button up at a client point
    PictureDialogPointSlot move;   // pointer move at a client point (after the cursor is chosen)
    PictureDialogSlot close;       // once, when the dialog ends for whatever reason

    HWND hwnd;              // the dialog while it is open, else nullptr
    POINT origin;           // its client area's top-left in main-window (scene) coordinates

    // Optional: the cursor resource to show at a client point, or 0 to leave the choice to
    // `reacts` (202 where it answers non-zero, 203 elsewhere). For dialogs with a third cursor.
    PictureDialogHitSlot cursor;
};

// Runs the dialog modally, owned by the main window; returns what picture_EndDialog or the cancel
// command ended it with, or -1 when it could not be created.
INT_PTR picture_RunDialog(PictureDialog* dialog);
// Ends an open dialog with the result.
void picture_EndDialog(PictureDialog* dialog, INT_PTR result);
// Composes and shows the whole dialog again at once (after a page change, a lit button...).
void picture_Redraw(PictureDialog* dialog);
// The scene-bitmap rectangle behind the dialog.
RECT picture_SceneRect(const PictureDialog* dialog);
