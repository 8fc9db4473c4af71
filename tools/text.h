// The text tool: the text dialog reached from the keyboard in the room (a line of text, a TrueType
// family, a style and a size, with a sample), the text settings it changes only on OK, the preview
// that floats under the pointer over the canvas and the placing of the text into the picture.
#pragma once

#include <windows.h>

enum {
    TEXT_MAX_LENGTH = 255,
    TEXT_SIZES = 5,
    TEXT_STYLES = 3,
    TEXT_DIALOG_TEMPLATE = 361,
    TEXT_DIALOG_WIDTH = 495,
    TEXT_DIALOG_HEIGHT = 370,
    TEXT_EDIT_ID = 1000,
    TEXT_LIST_ID = 1001,
};

// Character heights of the five sizes, in pixels: 10, 20, 40, 60, 80.
extern const int textSizeTable[TEXT_SIZES];

// The dialog's hot areas, client pixels.
extern const RECT textStyleItems[TEXT_STYLES];   // plain, bold, italic
extern const POINT textStyleMarkers[TEXT_STYLES];
extern const RECT textSizeItems[TEXT_SIZES];
extern const POINT textSizeMarkers[TEXT_SIZES];
extern const RECT textOkArea;
extern const RECT textCancelArea;

// The text settings (kept for the whole run). The face name and the text live in the scene record
// (scene.fontFace, scene.text); style 0 plain, 1 bold, 2 italic; size index into textSizeTable.
struct TextSettings {
    char face[64];
    char text[TEXT_MAX_LENGTH + 1];
    int style;
    int sizeIndex;
};
TextSettings text_Settings(void);
// Replaces the settings (the text cut at 255 characters, the face at 63).
void text_SetSettings(const TextSettings* settings);
// Back to "Arial", "Type your text in here.", plain, size index 2.
void text_ResetSettings(void);
// The size of the text measured after the last OK.
SIZE text_Measured(void);

// Runs the text dialog on a working copy of the settings: 1 for OK (the copy becomes the settings),
// -1 for the cancel area, 0 for Escape.
int text_RunDialog(void);
// The room's service: 1 when the dialog ended with OK.
int text_Dialog(void);
// The list entry a face name selects: the first entry that begins with it, else 0.
int text_SelectFace(HWND list, const char* face);

// The text at a picture point, in the current colour, bottom on the point and centred on it,
// clipped to the picture.
void text_Place(int x, int y);
// The picture rectangle the last text placed may have drawn into (empty when none was placed since
// text_ForgetPlaced): the refresh after a placement covers it alone.
RECT text_LastPlaced(void);
void text_ForgetPlaced(void);
// The preview at a window point straight onto the main window, twice as high while the picture is
// magnified, clipped to the canvas.
void text_Preview(int x, int y);
