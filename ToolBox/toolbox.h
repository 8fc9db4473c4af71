// The graphics toolbox: fixed tables of bitmaps, windows and regions addressed
// by small integers, and thin wrappers over the platform's drawing, windowing,
// sound, cursor, file and printing services. Shared by paint and setup.
//
// Index space: bitmaps 0..99, windows 5000..5009, printer 9000, regions 0..99;
// -1 means none. Failures are return values; misuse shows an "Error..." box.
#pragma once

#include <windows.h>

#include "grfx_8_32.h"

enum {
    TB_MAX_BITMAPS = 100,
    TB_MAX_WINDOWS = 10,
    TB_MAX_REGIONS = 100,
    TB_WINDOW_BASE = 5000,
    TB_PRINTER = 9000,
    TB_NONE = -1,
};

// Bitmap sources for tb_CreateBitmap.
enum {
    TB_SOURCE_MEMORY = -11,  // memory-only image, no drawing surface
    TB_SOURCE_BLANK = 0,     // blank image with a drawing surface (-1 means the same)
};

// Terminator coordinate of a region point list.
enum { TB_POINT_END = -9999999 };

// ---------------------------------------------------------------- start-up
void tb_SetInstance(HINSTANCE instance, int showCommand);
void tb_SetClassName(const char* className);
void tb_InitToolbox(void);
// A function of a system library that the program needs only now and then (sounds and the clock,
// the file and print dialogs, shell folders), the library loaded at the first call: loading them
// all with the program would keep the splash waiting. nullptr when it cannot be found.
FARPROC tb_SystemProc(const char* library, const char* name);
// Releases the program palette and sends the main window WM_CLOSE; returns the window's answer.
LRESULT tb_QuitToolbox(void);

// ---------------------------------------------------------------- bitmaps
int tb_CreateBitmap(RECT* rect, int source, int depth);
// Disposes of the bitmap; its surface may be kept (a bounded number of them) for the next bitmap of
// the same size and depth, which then needs no new memory.
void tb_DisposeBitmap(int index);
// As tb_DisposeBitmap; with forReturn its surface is kept however large, for a bitmap of the same
// size (a few such, until a large bitmap of another size is made).
void tb_DisposeBitmapForReturn(int index, bool forReturn);
// How many surfaces are kept so (each a section and the memory surface it is selected into: two GDI
// objects), their pixels' bytes, and giving them all back to the system.
int tb_PooledSurfaces(void);
size_t tb_PooledBytes(void);
void tb_ReleaseSurfacePool(void);
void tb_GetBitmapRect(int index, RECT* rect);
int tb_GetBitmapWidth(int index);
int tb_GetBitmapHeight(int index);
int tb_GetBitmapStorageWidth(int index);
HDC tb_GetBitmapDC(int index);
// The slot's image record, or nullptr for an index that names no bitmap in use.
TB_DIB* tb_GetBitmapDIB(int index);
// Exchanges the pixels of two bitmaps of the same size and depth, each with a surface, at no cost
// in copying; each keeps its index, its surface's settings and its clip. 0 (nothing changed) when
// they do not match.
int tb_SwapBitmapPixels(int a, int b);
HPALETTE tb_GetProgramPalette(void);

// ---------------------------------------------------------------- masked drawing
void tb_CopyBitmapMasked(int image, int mask, int destination, const RECT* imageRect, const RECT* maskRect,
                         const RECT* destRect);

// ---------------------------------------------------------------- drawing and text
struct TB_Face { int value; };   // tb_SetFont(target, TB_Face{index})
struct TB_Size { int value; };   // tb_SetFont(target, TB_Size{pixels})
struct TB_Style { int value; };  // tb_SetFont(target, TB_Style{0..4})

void tb_SetForeColor(int target, long red, long green, long blue);
void tb_SetBackColor(int target, long red, long green, long blue);
void tb_SetFont(int target, TB_Face face);
void tb_SetFont(int target, TB_Size size);
void tb_SetFont(int target, TB_Style style);
// The colour rule: one component on the 0..65025 scale to a byte.
int tb_ColorToByte(long value);
// The converted foreground colour of a target (red + green*256 + blue*65536); 0 for an unknown target.
COLORREF tb_GetForeColor(int target);
void tb_PaintRect(int target, const RECT* rect);
void tb_FrameRect(int target, const RECT* rect);
void tb_PaintEllipse(int target, const RECT* rect);
void tb_FrameEllipse(int target, const RECT* rect);
void tb_Line(int target, int x1, int y1, int x2, int y2, int width);
void tb_FloodFill(int target, int x, int y, long red, long green, long blue);
// The same fill; changed receives the smallest rectangle around the pixels it painted (empty when
// it painted none; the whole target, or its clip, when the system did the fill).
void tb_FloodFillBounded(int target, int x, int y, long red, long green, long blue, RECT* changed);
void tb_Rectangle(int target, const RECT* rect);
int tb_GetTextWidth(int target, const char* text);
void tb_DrawString(int target, int x, int y, const char* text, int length, int size);
void tb_DrawStringAt(int target, int x, int y, const char* text);
int tb_DrawText(int target, int x, int y, const char* text, int length, double angle, int drawFlag, int hAlign,
                int vAlign);
// Text in a font family of its own name: bottom on y and horizontally centred on x, transparent, in
// the colour given on the 0..65025 scale; height is the character height in pixels; style 0 plain,
// 1 bold, 2 italic; angle in degrees. Target: a bitmap, a window or the printer index. Clipped to
// clip (target coordinates) unless clip is nullptr or a side of it is -1. Gives the string's
// measured size as one line in that font; {0, 0} when the target has no drawing surface.
SIZE tb_DrawText(int target, int x, int y, const char* text, int length, const char* face, int height, int style,
                 long red, long green, long blue, double angle, const RECT* clip);

// How many slots of each table are in use (leak checks).
int tb_BitmapsInUse(void);
int tb_WindowsInUse(void);
int tb_RegionsInUse(void);

// ---------------------------------------------------------------- regions and rectangles
struct TB_Point { long x, y; };
int tb_CreateRegion(const TB_Point* points);
int tb_CreateCircleRegion(int cx, int cy, int r);
void tb_DisposeRegion(int region);
int tb_PtInRegion(int x, int y, int region);
void tb_SetRect(RECT* rect, int left, int top, int right, int bottom);
RECT* tb_OffsetRect(RECT* rect, int dx, int dy);
RECT* tb_InsetRect(RECT* rect, int dx, int dy);
int tb_PtInRect(int x, int y, const RECT* rect);
void tb_IntersectRect(RECT* dest, const RECT* a, const RECT* b);
void tb_UnionRect(const RECT* a, const RECT* b, RECT* dest);

// ---------------------------------------------------------------- windows, dialogs, boxes
enum TB_FixedFrame { TB_FIXED_FRAME };
int tb_OpenWindow(RECT* rect, const char* title);                       // overlapped
int tb_OpenWindow(RECT* rect, const char* title, TB_FixedFrame);        // caption, sizing frame
int tb_OpenWindow(RECT* rect, const char* title, HINSTANCE instance);   // borderless popup
int tb_OpenChildWindow(const char* title, int parent, int scrollFlag);  // document child ("MyChild")
int tb_OpenChildWindow(const char* title, int parent);                  // MDI client
int tb_OpenStaticWindow(RECT* rect, const char* className);
void tb_DisposeOfWindow(int index);
void tb_GetClientRect(int index, RECT* rect);
void tb_GetWindowRect(int index, RECT* rect);
void tb_SetWindowTitle(int index, const char* text);
HWND tb_GetWindowHandle(int index);
HWND tb_GetMainWindow(void);
INT_PTR tb_DoDialog(int templateId, DLGPROC procedure);
void tb_ErrorBox(const char* text);
void tb_AttentionBox(const char* text);
void tb_InfoBox(const char* text);
// The same box owned by a window of the caller's (a dialog that is up); the main window when that
// window does not exist.
void tb_InfoBox(const char* text, HWND owner);
int tb_AskYesNoCancel(const char* text);
int tb_AskYesNo(const char* text);

// ---------------------------------------------------------------- sounds, cursors, time, input
void tb_SetSoundPreference(int on);
int tb_GetSoundPreference(void);
void tb_PlaySound(int id);
void tb_PlaySoundNoStop(int id);
void tb_LoopSound(int id);
void tb_StopSound(void);
void tb_Beep(void);
// The one seam through which tests watch sound requests: called for every request
// that reaches the platform, with the kind and the resource id (0 for stop and beep).
enum TB_SoundKind { TB_SOUND_PLAY, TB_SOUND_NOSTOP, TB_SOUND_LOOP, TB_SOUND_STOP, TB_SOUND_BEEP };
typedef void (*TB_SoundObserver)(TB_SoundKind kind, int id);
void tb_SetSoundObserver(TB_SoundObserver observer);
// Puts up the module's cursor cursorId; returns the one shown before. The same cursor set again
// while the system still shows it is not asked of the system a second time (a drag sets its
// cursor at every move, and under Wine each set is a round trip to the server).
HCURSOR tb_SetCursor(int cursorId);
// Something else may have put up another pointer shape since the last tb_SetCursor (another window
// under the pointer, a box, a menu): the next tb_SetCursor reaches the system whatever it sets.
void tb_ForgetCursor(void);
// How many times tb_SetCursor has been called, and (lastId) the cursor it set last: a caller that
// saw a cursor set since it last asked need not set the same one again.
unsigned tb_CursorSets(int* lastId);
// How many times something has been drawn on or copied to a window: a caller that saw none since
// it drew there knows the window still shows what it drew.
unsigned tb_WindowDraws(void);
DWORD tb_GetTime(void);
void tb_Wait(DWORD milliseconds);
// The one seam through which in-process checks run the clock themselves (and so catch a frame of an
// animation that paces itself by it): while a clock is set, tb_GetTime and tb_Wait read it instead
// of the platform's. nullptr (the start) reads the platform again.
typedef DWORD (*TB_Clock)(void);
void tb_SetClock(TB_Clock reader);
int tb_Random(int low, int high);
int tb_RandomSeed(int low, int high, int reseed);
int tb_Round(double value);
int tb_Trunc(double value);
void tb_SetButtonMode(int mode);
void tb_SetPointerMode(int mode);  // 1 screen, 2 client coordinates of the main window
// Button mode 0: the primary button; otherwise either button. While a pointer message is being
// handled (tb_SetPointerKeys) the answer comes from that message's key flags, which say how the
// buttons stood when it was sent: a quick tap is over before its press is handled. Otherwise it is
// the asynchronous state.
int tb_IsMouseDown(void);
// The window procedure hands over the key flags (wParam) of the pointer message it is about to
// pass on, and -1 once that is done; returns the flags in force before, for nested messages.
int tb_SetPointerKeys(int keys);
int tb_IsKeyDown(int virtualKey);
void tb_GetCursorPos(POINT* point);
void tb_SetCursorPos(int x, int y);
// The one seam through which in-process checks hold keys and buttons down without the session's
// input: while a reader is set, tb_IsMouseDown and tb_IsKeyDown ask it (non-zero = the virtual key
// or button is down) instead of the platform. nullptr (the start) reads the platform again.
typedef int (*TB_InputReader)(int virtualKey);
void tb_SetInputReader(TB_InputReader reader);

// ---------------------------------------------------------------- copies
void tb_SetCopyMode(DWORD rop);
DWORD tb_GetCopyMode(void);
void tb_CopyBitmap(int source, int destination, const RECT* sourceRect, const RECT* destRect);
// Each of count rectangles copied from source to the same place on destination. Onto a window, from
// a 24-bit bitmap, they go together, in one call: much cheaper than one copy each when there are
// many (a rubber band's wipe).
void tb_CopyBitmapRects(int source, int destination, const RECT* rects, int count);
// rect of source copied to the same place on destination, except insetRect (inside rect), which
// shows insetSource of inset instead (at twice its size when it is half as large). Onto a window,
// from 24-bit bitmaps at the same size or twice it, in one call.
void tb_CopyBitmapWithInset(int source, int destination, const RECT* rect, int inset, const RECT* insetSource,
                            const RECT* insetRect);
void tb_CopyBitmapTransparent(int source, int destination, const RECT* sourceRect, const RECT* destRect,
                              int transparent);
void tb_CopyBitmapToDialog(HWND window, int index, const RECT* sourceRect, const RECT* destRect);
void tb_DrawPictureToBitmap(int destination, int pictureId, int x, int y, RECT* outRect);
void tb_DrawPicture8ToBitmap(int destination, int pictureId, int x, int y, RECT* outRect);
void tb_TileBitmap(int destination, int pictureId, const RECT* rect);
int tb_CreateTiledBitmap(const RECT* rect, int pictureId);
// Shifts the brightness of every pixel of rect in the destination by strength times the slope of
// the height map between (x, y) and (x + shift, y + shift), clamped to the picture's edges.
void tb_BumpMap(int destination, int heightMap, const RECT* rect, int strength, int shift);
void tb_SetClipRect(int index, const RECT* rect);
void tb_ClearClipRect(int index);
// 1 with the clip rectangle of a bitmap or window in rect, 0 when it has none.
int tb_GetClipRect(int index, RECT* rect);

// ---------------------------------------------------------------- printer surface
// The drawing surface behind index 9000 while a print job is open (nullptr otherwise).
void tb_SetPrinterDC(HDC dc);
HDC tb_GetPrinterDC(void);
// The print dialog, prepared afresh each time; on OK a document is started on the chosen printer
// and 9000 returned. Cancel or a failure gives -1; a failure the dialog names shows its text.
int tb_BeginPrint(void);
void tb_StartPage(void);
void tb_EndPage(void);
// Ends the document and lets go of the printer: 1 when every call of the job succeeded (the
// document start, the pages, the copies onto them and the end); otherwise the job is abandoned,
// so that nothing half-made comes out of the printer, and 0.
int tb_EndPrint(void);
// Abandons the open job (no page comes out) and lets go of the printer.
void tb_AbortPrint(void);
// The platform's print dialog and spooler calls as the printing layer makes them; a check puts its
// own here to make one of them fail.
struct tagPDA;
struct TB_PrintCalls {
    BOOL(WINAPI* printDialog)(tagPDA* dialog);
    int(WINAPI* startDoc)(HDC dc, const DOCINFOA* document);
    int(WINAPI* startPage)(HDC dc);
    int(WINAPI* endPage)(HDC dc);
    int(WINAPI* endDoc)(HDC dc);
    int(WINAPI* abortDoc)(HDC dc);
    // The copy of a picture onto the page.
    int(WINAPI* stretchDIBits)(HDC dc, int x, int y, int w, int h, int sx, int sy, int sw, int sh, const void* bits,
                               const BITMAPINFO* info, UINT usage, DWORD rop);
};
extern TB_PrintCalls tb_printCalls;
// Notes that a call of the open job failed; tb_EndPrint then abandons it.
void tb_NotePrintFailure(void);
// Nonzero once a call of the current print job has failed: nothing more goes to the page.
int tb_PrintJobFailed(void);
// (0, 0, width, height) of the printer's printable area in its pixels; empty with no job open.
void tb_GetPrintableRect(RECT* rect);
// The text shown for a print dialog's error code, or nullptr for a code that shows nothing.
const char* tb_PrintErrorText(DWORD code);

// ---------------------------------------------------------------- file channel and pictures
int tb_OpenFileToWrite(char* path, int ask);
int tb_OpenFileToRead(char* path, int ask);
int tb_OpenPrefsToWrite(void);
int tb_OpenPrefsToRead(void);
// Where the preferences file "qlnpfs.pfs" is read (writing 0) or written (writing 1): the Windows
// folder, or, where this user cannot write that folder, the folder "Tintwell" of the user's
// application data (created for writing). Fills a buffer of at least MAX_PATH + 16 characters.
void tb_PrefsPath(char* path, int writing);
// The two places themselves (the second is "" where the system has no application-data folder).
void tb_PrefsWindowsPath(char* path);
void tb_PrefsUserPath(char* path);
int tb_WriteFile(const void* buffer, DWORD count);
// The one seam under every write to the file channel (every writer of pictures goes through
// tb_WriteFile): the platform's WriteFile, unless a check puts its own here to make a disk fill up
// part-way. nullptr puts the platform's back.
typedef BOOL(WINAPI* TB_FileWriter)(HANDLE file, LPCVOID data, DWORD count, LPDWORD written, LPOVERLAPPED overlapped);
void tb_SetFileWriter(TB_FileWriter writer);
int tb_ReadFile(void* buffer, DWORD count);
void tb_CloseFile(void);
// A replacing file taken off the channel between pieces of work, still open, so that other files
// can come and go on the channel meanwhile: a copy written a slice at a time from the idle tick.
struct TB_KeptFile {
    HANDLE file;  // nullptr when none is kept
    int writeFailed;
    char target[MAX_PATH];
    char temp[MAX_PATH];
};
// The current file taken off the channel as it stands, still open (none kept when none is open).
void tb_KeepFile(TB_KeptFile* kept);
// The kept file made the current file again (whatever the channel held is closed first), the next
// write going to byte `at` of it; 1, or -1 when none is kept or it cannot be positioned (it is
// then thrown away).
int tb_ResumeFile(TB_KeptFile* kept, DWORD at);
// The kept file closed and thrown away, as tb_CloseFile throws away a replacing file.
void tb_DiscardFile(TB_KeptFile* kept);
// The Save As dialog alone: 1 = a path was chosen and written back into path; 0 = cancelled; other
// values name the dialog's failure (as tb_OpenFileToWrite with the ask flag). It offers the name
// part of path with the type of its extension selected (PNG for ".png", else the program's BMP);
// the chosen path always ends in ".bmp" or ".png": a name typed with one of them keeps it, the
// offered name left as it was or a name without either takes the chosen type's.
int tb_AskFileToWrite(char* path);
// The same dialog opened in the given folder instead of the dialog folder, which stays as it is.
int tb_AskFileToWrite(char* path, const char* folder);
// A file that replaces path only once it is whole: writes go to a new temporary file in the same
// folder; tb_CommitFile puts it in place of path, tb_CloseFile throws it away. 1, or -1 when the
// temporary file cannot be created.
int tb_OpenFileToReplace(const char* path);
// Closes the current file. 1 when every write to it succeeded in full (and, for a file opened by
// tb_OpenFileToReplace, it now stands in place of its target); 0 otherwise, when nothing of a
// replacing file is left behind and its target is as it was.
int tb_CommitFile(void);
// The same without waiting for the disk to hold the file (the system writes it out on its own a
// moment later): for a copy written again and again in the background, where the wait would stop
// the program for as long as the disk takes.
int tb_CommitFileNoWait(void);
// tb_CommitFileNoWait, the file it replaces kept open in `old` as the next replacing file of the
// same path (none when there was no such file or it cannot be kept): a copy written again and
// again writes over the blocks it had, where freeing a large file and finding room for a new one
// keeps the disk busy for tens of milliseconds.
int tb_CommitFileKeepingOld(TB_KeptFile* old);
void tb_SetFileDialogFolder(const char* path);
int tb_WriteBitmapToFile(int index);
// The same file written a part at a time: *done counts the bytes of it already written (0 to
// begin), at most `most` more are written now. 1 when the whole file is written, 0 when more is
// left, -1 when a write failed or the index names no 24-bit bitmap (no box: a caller that writes
// in the background says nothing).
int tb_WriteBitmapPart(int index, DWORD* done, DWORD most);
int tb_ReadBitmapFromFile(RECT* rect);

// ---------------------------------------------------------------- pictures of every format
// PNG, JPEG, GIF and TIFF come through the system's imaging component, which runs on COM: the
// program starts it once on its thread before the first picture and stops it at the end. Without
// it (or without the component) only BMP files read.
void tb_StartPictureCodecs(void);
void tb_StopPictureCodecs(void);
// What a picture is read for: placed scaled to the canvas (or the gallery's preview), or centred at
// its own size, where only the part the canvas shows is kept.
enum TB_PictureFit {
    TB_FIT_SCALE,  // the whole picture scaled to exactly width x height
    TB_FIT_CROP,   // the middle width x height of the picture at its own size (all of a smaller one)
};
struct TB_PictureNeed {
    int fit;
    int width, height;
};
// The format a picture was read from.
enum TB_PictureFormat { TB_FORMAT_NONE, TB_FORMAT_BMP, TB_FORMAT_PNG, TB_FORMAT_JPEG, TB_FORMAT_GIF,
                        TB_FORMAT_TIFF, TB_FORMAT_OTHER };
// Reads the current file into a new 24-bit bitmap, upright (a photo's EXIF orientation applied),
// transparent parts on white. A file that begins with "BM" goes to tb_ReadBitmapFromFile whole;
// any other through the imaging component as need asks (nullptr: whole, up to 16384 a side).
// The bitmap's index and rect (0, 0, width, height), or -1 (the channel stays open for the caller
// to close). format (may be nullptr) gets the format the file turned out to be.
int tb_ReadPictureFromFile(RECT* rect, const TB_PictureNeed* need, int* format);
// Writes a 24-bit bitmap to the current file as a PNG (made in memory, handed to tb_WriteFile in
// one piece): 1 when handed over, 0 when it could not be made (invalid bitmap, no component).
int tb_WritePngToFile(int index);
// The orientation (1..8) a JPEG file's EXIF block gives its picture; 1 where it gives none or the
// block cannot be read.
int tb_ExifOrientation(const BYTE* data, size_t size);
// The ends of the names of the picture files the program lists (".bmp", ".png", ".jpg", ".jpeg",
// ".gif", ".tif", ".tiff"; a list ending with nullptr), and whether a name has one (any case).
const char* const* tb_PictureExtensions(void);
int tb_IsPictureName(const char* name);
