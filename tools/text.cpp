// The text tool. The dialog (template 361: an edit control and a sorted font list, everything else
// the picture 800 painted and hit-tested here) works on a copy of the settings; OK makes the copy the
// settings, the cancel area and Escape leave them alone.
#include "tools/text.h"

#include <cstring>

#include "scene/scene.h"
#include "toolbox.h"

const int textSizeTable[TEXT_SIZES] = {10, 20, 40, 60, 80};
const RECT textStyleItems[TEXT_STYLES] = {{248, 185, 316, 199}, {248, 211, 316, 225}, {248, 239, 316, 253}};
const POINT textStyleMarkers[TEXT_STYLES] = {{237, 188}, {237, 215}, {237, 242}};
const RECT textSizeItems[TEXT_SIZES] = {{363, 178, 431, 192}, {363, 195, 431, 209}, {363, 212, 431, 226},
                                        {363, 229, 431, 243}, {363, 246, 431, 260}};
const POINT textSizeMarkers[TEXT_SIZES] = {{350, 182}, {350, 199}, {350, 216}, {350, 233}, {350, 250}};
const RECT textOkArea = {375, 288, 411, 326};
const RECT textCancelArea = {414, 288, 445, 326};

namespace {

enum {
    PIC_BACKGROUND = 800,
    SOUND_ITEM = 1035,
    CURSOR_ACTIVE = 202,
    CURSOR_ARROW = 203,
    MARKER = 6,
    SAMPLE_LEFT = 231,
    SAMPLE_TOP = 67,
    SAMPLE_WIDTH = 211,
    SAMPLE_HEIGHT = 82,
    UNDECIDED = 2,
};

// The dialog's dark background, on the 0..65025 scale.
const long kDarkRed = 3060, kDarkGreen = 2805, kDarkBlue = 2550;
const char kSample[] = "ABCxyz123";

int style = 0;
int sizeIndex = 2;
SIZE measured = {0, 0};

// The working copy of the open dialog.
TextSettings working;

void CopyText(char* to, size_t room, const char* from)
{
    size_t n = strlen(from);
    if (n > room - 1) n = room - 1;
    memcpy(to, from, n);
    to[n] = 0;
}

bool In(const RECT& r, int x, int y) { return tb_PtInRect(x, y, &r) != 0; }

bool OverItem(int x, int y)
{
    for (const RECT& r : textStyleItems)
        if (In(r, x, y)) return true;
    for (const RECT& r : textSizeItems)
        if (In(r, x, y)) return true;
    return In(textOkArea, x, y) || In(textCancelArea, x, y);
}

// A 6 x 6 marker (a green dot on the dark background), or the dark background alone, at a point.
void Marker(HWND dialog, POINT at, bool dot)
{
    RECT r = {0, 0, MARKER, MARKER};
    int b = tb_CreateBitmap(&r, TB_SOURCE_BLANK, 24);
    if (b < 0) return;
    tb_SetForeColor(b, kDarkRed, kDarkGreen, kDarkBlue);
    tb_PaintRect(b, &r);
    if (dot) {
        tb_SetForeColor(b, 0, 65025, 0);
        tb_PaintEllipse(b, &r);
    }
    RECT to = {at.x, at.y, at.x + MARKER, at.y + MARKER};
    tb_CopyBitmapToDialog(dialog, b, &r, &to);
    tb_DisposeBitmap(b);
}

void Sample(HWND dialog)
{
    RECT r = {0, 0, SAMPLE_WIDTH, SAMPLE_HEIGHT};
    int b = tb_CreateBitmap(&r, TB_SOURCE_BLANK, 24);
    if (b < 0) return;
    tb_SetForeColor(b, kDarkRed, kDarkGreen, kDarkBlue);
    tb_PaintRect(b, &r);
    const int height = textSizeTable[working.sizeIndex];
    tb_DrawText(b, 105, height / 2 + 41, kSample, (int)strlen(kSample), working.face, height, working.style, 0, 0,
                65025, 0.0, nullptr);
    RECT to = {SAMPLE_LEFT, SAMPLE_TOP, SAMPLE_LEFT + SAMPLE_WIDTH, SAMPLE_TOP + SAMPLE_HEIGHT};
    tb_CopyBitmapToDialog(dialog, b, &r, &to);
    tb_DisposeBitmap(b);
}

void Background(HWND dialog)
{
    RECT r = {0, 0, 0, 0};
    int b = tb_CreateBitmap(&r, PIC_BACKGROUND, 24);
    if (b < 0) return;
    tb_CopyBitmapToDialog(dialog, b, &r, &r);
    tb_DisposeBitmap(b);
}

void Place(HWND dialog)
{
    RECT owner = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    HWND main = GetWindow(dialog, GW_OWNER);
    if (main) GetWindowRect(main, &owner);
    int left = owner.left + (owner.right - owner.left - TEXT_DIALOG_WIDTH) / 2;
    int top = owner.top + (owner.bottom - owner.top - TEXT_DIALOG_HEIGHT) / 2;
    MoveWindow(dialog, left, top, TEXT_DIALOG_WIDTH, TEXT_DIALOG_HEIGHT, FALSE);
}

int CALLBACK AddTrueTypeFamily(const LOGFONTA* font, const TEXTMETRICA*, DWORD type, LPARAM list)
{
    const char* name = font->lfFaceName;
    // Every family once; the vertical variants ("@...") are no families of their own.
    if ((type & TRUETYPE_FONTTYPE) && name[0] && name[0] != '@' &&
        SendMessageA((HWND)list, LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)name) == LB_ERR)
        SendMessageA((HWND)list, LB_ADDSTRING, 0, (LPARAM)name);
    return 1;
}

void FillFontList(HWND dialog)
{
    HWND list = GetDlgItem(dialog, TEXT_LIST_ID);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    HWND main = tb_GetMainWindow();
    HDC dc = GetDC(main);
    LOGFONTA all = {};
    all.lfCharSet = DEFAULT_CHARSET;
    EnumFontFamiliesExA(dc, &all, AddTrueTypeFamily, (LPARAM)list, 0);
    ReleaseDC(main, dc);
    SendMessageA(list, LB_SETCURSEL, (WPARAM)text_SelectFace(list, working.face), 0);
}

void ReadEditText(HWND dialog)
{
    char text[TEXT_MAX_LENGTH + 1];
    GetDlgItemTextA(dialog, TEXT_EDIT_ID, text, sizeof text);
    CopyText(working.text, sizeof working.text, text);
}

INT_PTR Answer(HWND dialog, LONG_PTR result)
{
    SetWindowLongPtrA(dialog, DWLP_MSGRESULT, result);
    return TRUE;
}

void ButtonUp(HWND dialog, int x, int y)
{
    int result = UNDECIDED;
    if (In(textCancelArea, x, y)) result = -1;
    if (In(textOkArea, x, y)) result = 1;
    for (int i = 0; i < TEXT_STYLES; ++i) {
        if (!In(textStyleItems[i], x, y)) continue;
        Marker(dialog, textStyleMarkers[working.style], false);
        working.style = i;
        Marker(dialog, textStyleMarkers[i], true);
        Sample(dialog);
    }
    for (int i = 0; i < TEXT_SIZES; ++i) {
        if (!In(textSizeItems[i], x, y)) continue;
        Marker(dialog, textSizeMarkers[working.sizeIndex], false);
        working.sizeIndex = i;
        Marker(dialog, textSizeMarkers[i], true);
        Sample(dialog);
    }
    ReadEditText(dialog);
    if (result == -1 || result == 1) EndDialog(dialog, result);
}

INT_PTR CALLBACK TextDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    const int x = (short)LOWORD(lParam), y = (short)HIWORD(lParam);
    switch (message) {
    case WM_INITDIALOG:
        // The face is painted around the controls, never over them.
        SetWindowLongPtrA(dialog, GWL_STYLE, GetWindowLongPtrA(dialog, GWL_STYLE) | WS_CLIPCHILDREN);
        Place(dialog);
        FillFontList(dialog);
        SendDlgItemMessageA(dialog, TEXT_EDIT_ID, EM_LIMITTEXT, TEXT_MAX_LENGTH, 0);
        SetDlgItemTextA(dialog, TEXT_EDIT_ID, working.text);
        return TRUE;
    case WM_ERASEBKGND:
        Background(dialog);
        return Answer(dialog, 1);
    case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(dialog, &ps);
        EndPaint(dialog, &ps);
        Marker(dialog, textStyleMarkers[working.style], true);
        Marker(dialog, textSizeMarkers[working.sizeIndex], true);
        Sample(dialog);
        return TRUE;
    }
    case WM_SETCURSOR: {
        // The controls choose their own cursors; the painted face shows 202 over what reacts.
        if ((HWND)wParam != dialog || LOWORD(lParam) != HTCLIENT) return FALSE;
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(dialog, &p);
        tb_SetCursor(OverItem(p.x, p.y) ? CURSOR_ACTIVE : CURSOR_ARROW);
        return Answer(dialog, TRUE);
    }
    case WM_MOUSEMOVE:
        tb_SetCursor(OverItem(x, y) ? CURSOR_ACTIVE : CURSOR_ARROW);
        return TRUE;
    case WM_LBUTTONDOWN:
        if (OverItem(x, y)) tb_PlaySoundNoStop(SOUND_ITEM);
        return TRUE;
    case WM_LBUTTONUP:
        ButtonUp(dialog, x, y);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case TEXT_LIST_ID:
            if (HIWORD(wParam) == LBN_SELCHANGE) {
                HWND list = GetDlgItem(dialog, TEXT_LIST_ID);
                LRESULT i = SendMessageA(list, LB_GETCURSEL, 0, 0);
                LRESULT n = i == LB_ERR ? LB_ERR : SendMessageA(list, LB_GETTEXTLEN, (WPARAM)i, 0);
                if (n != LB_ERR && n < (LRESULT)sizeof working.face) {
                    SendMessageA(list, LB_GETTEXT, (WPARAM)i, (LPARAM)working.face);
                    Sample(dialog);
                }
            }
            return TRUE;
        case IDOK:
            // Enter in the text field: the same as the OK area.
            ReadEditText(dialog);
            EndDialog(dialog, 1);
            return TRUE;
        case IDCANCEL:
            EndDialog(dialog, 0);
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

}  // namespace

// ---------------------------------------------------------------- settings

static void ForgetPreviewSize(void);

TextSettings text_Settings(void)
{
    TextSettings s;
    CopyText(s.face, sizeof s.face, scene.fontFace);
    CopyText(s.text, sizeof s.text, scene.text);
    s.style = style;
    s.sizeIndex = sizeIndex;
    return s;
}

void text_SetSettings(const TextSettings* s)
{
    CopyText(scene.fontFace, sizeof scene.fontFace, s->face);
    CopyText(scene.text, sizeof scene.text, s->text);
    style = s->style >= 0 && s->style < TEXT_STYLES ? s->style : 0;
    sizeIndex = s->sizeIndex >= 0 && s->sizeIndex < TEXT_SIZES ? s->sizeIndex : 2;
    ForgetPreviewSize();
}

void text_ResetSettings(void)
{
    TextSettings s;
    CopyText(s.face, sizeof s.face, "Arial");
    CopyText(s.text, sizeof s.text, "Type your text in here.");
    s.style = 0;
    s.sizeIndex = 2;
    text_SetSettings(&s);
}

SIZE text_Measured(void) { return measured; }

int text_SelectFace(HWND list, const char* face)
{
    LRESULT i = SendMessageA(list, LB_FINDSTRING, (WPARAM)-1, (LPARAM)face);
    return i == LB_ERR ? 0 : (int)i;
}

// ---------------------------------------------------------------- the dialog

int text_RunDialog(void)
{
    working = text_Settings();
    INT_PTR result = tb_DoDialog(TEXT_DIALOG_TEMPLATE, TextDialogProc);
    if (result != 1) return result == -1 ? -1 : 0;
    text_SetSettings(&working);
    // Measured once for the room, on a scratch surface of its own.
    RECT one = {0, 0, 1, 1};
    int scratch = tb_CreateBitmap(&one, TB_SOURCE_BLANK, 24);
    if (scratch >= 0) {
        measured = tb_DrawText(scratch, 0, 0, scene.text, (int)strlen(scene.text), scene.fontFace,
                               textSizeTable[sizeIndex], style, 0, 0, 0, 0.0, nullptr);
        tb_DisposeBitmap(scratch);
    }
    return 1;
}

int text_Dialog(void) { return text_RunDialog() == 1; }

// ---------------------------------------------------------------- placing

static RECT lastPlaced = {0, 0, 0, 0};

void text_Place(int x, int y)
{
    const SceneColor c = scene.currentColor;
    RECT picture = scene.layout.picture;
    const SIZE size = tb_DrawText(scene.canvasBitmap, x, y, scene.text, (int)strlen(scene.text), scene.fontFace,
                                  textSizeTable[sizeIndex], style, c.red, c.green, c.blue, 0.0, &picture);
    // Bottom on y, centred on x; italic and smoothed glyphs may reach a little beyond the measure.
    const int margin = size.cy / 3 + 2;
    RECT box = {x - size.cx / 2 - margin, y - size.cy - 2, x + size.cx / 2 + margin, y + 2};
    if (!IntersectRect(&lastPlaced, &box, &picture)) SetRectEmpty(&lastPlaced);
}

RECT text_LastPlaced(void) { return lastPlaced; }

void text_ForgetPlaced(void) { SetRectEmpty(&lastPlaced); }

// The window rectangle the last preview covered; empty when none is shown.
static RECT previewShown = {0, 0, 0, 0};
// The measured size of the preview text, kept while the settings and the height stay.
static SIZE previewSize = {0, 0};
static int previewHeight = 0;

static SIZE MeasurePreview(int height)
{
    if (height == previewHeight) return previewSize;
    RECT one = {0, 0, 1, 1};
    int scratch = tb_CreateBitmap(&one, TB_SOURCE_BLANK, 24);
    if (scratch < 0) return SIZE{0, 0};
    previewSize = tb_DrawText(scratch, 0, 0, scene.text, (int)strlen(scene.text), scene.fontFace, height, style, 0, 0,
                              0, 0.0, nullptr);
    previewHeight = height;
    tb_DisposeBitmap(scratch);
    return previewSize;
}

// Every move wipes the previous preview (the scene bitmap holds the canvas as it is shown) and
// draws the text at the pointer: only the text's surroundings are redrawn, not the whole canvas.
void text_Preview(int x, int y)
{
    const SceneColor c = scene.currentColor;
    const int height = textSizeTable[sizeIndex] * (scene.zoomed ? 2 : 1);
    const RECT canvas = scene.layout.canvas;
    const SIZE size = MeasurePreview(height);
    if (!IsRectEmpty(&previewShown)) scene_ShowRect(&previewShown);
    tb_DrawText(scene.mainWindow, x, y, scene.text, (int)strlen(scene.text), scene.fontFace, height, style, c.red,
                c.green, c.blue, 0.0, &canvas);
    // Bottom on y, centred on x; italic and smoothed glyphs may reach a little beyond the measure.
    const int margin = size.cy / 3 + 2;
    RECT box = {x - size.cx / 2 - margin, y - size.cy - 2, x + size.cx / 2 + margin, y + 2};
    if (!IntersectRect(&previewShown, &box, &canvas)) SetRectEmpty(&previewShown);
}

static void ForgetPreviewSize(void) { previewHeight = 0; }
