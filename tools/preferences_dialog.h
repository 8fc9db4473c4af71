// The preferences screen: four columns (sound, new-picture animation, stretching of opened
// pictures, print strength), each with an "on" picture above an "off" picture; a green frame marks
// each column's choice. OK takes the choices, cancel and Escape leave the settings as they were.
#pragma once

#include <windows.h>

enum { PREFS_DIALOG_WIDTH = 420, PREFS_DIALOG_HEIGHT = 319, PREFS_COLUMNS = 4 };

// The columns in their order on the picture.
enum { PREFS_SOUND, PREFS_ANIMATION, PREFS_STRETCH, PREFS_PRINT };

// The dialog's working copies: 1 when the top cell is chosen, 0 for the bottom one.
struct PrefsDialogState {
    int top[PREFS_COLUMNS];
};

// The cell of a column (top 1 or bottom 0), grown by 4 pixels on every side.
RECT prefsDialog_Cell(int column, int top);
// The settings as the dialog shows them, and the settings a confirmed dialog leaves.
PrefsDialogState prefsDialog_FromSettings(void);
void prefsDialog_ToSettings(const PrefsDialogState& state);

// Runs the dialog: 1 (OK: the choices became the settings), -1 (cancel) or 0 (Escape).
int prefsDialog_Run(void);
