// The toolbox's own tables and globals, shared by its sources only.
#pragma once

#include "toolbox.h"

struct TB_BitmapSlot {
    int free;       // non-zero = free
    TB_DIB image;
    TB_DIB* pImage; // points at image while the slot is in use
    HDC dc;         // memory surface; nullptr for memory-only images
    RECT rect;      // rectangle recorded at creation
    RECT clip;      // all -1 = none
};

struct TB_WindowSlot {
    int free;
    HWND hwnd;
    RECT clip;
};

struct TB_RegionSlot {
    int free;
    HRGN region;
};

struct TB_DrawState {
    COLORREF fore;
    COLORREF back;
    short face;
    short size;
    short style;
};

struct TB_Globals {
    TB_BitmapSlot bitmaps[TB_MAX_BITMAPS];
    TB_WindowSlot windows[TB_MAX_WINDOWS];
    TB_RegionSlot regions[TB_MAX_REGIONS];
    TB_DrawState bitmapDraw[TB_MAX_BITMAPS];
    TB_DrawState windowDraw[TB_MAX_WINDOWS];
    TB_DrawState printerDraw;
    HWND mainWindow;
    HWND ownerWindow;
    HINSTANCE instance;
    int showCommand;
    char className[64];
    HPALETTE palette;
    DWORD copyMode;
    HDC printerDC;
    int soundOn;
    short pointerMode;
    int buttonMode;
    char currentDir[260];
    char dialogFolder[260];
    HANDLE file;      // INVALID_HANDLE_VALUE when closed
    int writeFailed;  // a write to the current file failed or fell short
    char replaceTarget[MAX_PATH];  // the file a temporary current file replaces on commit ("" = none)
    char replaceTemp[MAX_PATH];    // that temporary file
    TB_SoundObserver soundObserver;
    unsigned windowDraws;  // window surfaces released after drawing or copying
};

extern TB_Globals tb;

inline bool tb_IsBitmapIndex(int index) { return index >= 0 && index < TB_MAX_BITMAPS; }
inline bool tb_BitmapInUse(int index) { return tb_IsBitmapIndex(index) && !tb.bitmaps[index].free; }
inline bool tb_WindowInUse(int index)
{
    int slot = index - TB_WINDOW_BASE;
    return slot >= 0 && slot < TB_MAX_WINDOWS && !tb.windows[slot].free && tb.windows[slot].hwnd;
}
// Whether a rectangle lies wholly inside an image.
inline bool tb_InsideImage(const TB_DIB* dib, const RECT& r)
{
    return r.left >= 0 && r.top >= 0 && r.right <= grfx_Width(dib) && r.bottom <= grfx_Height(dib);
}
inline bool tb_ClipIsNone(const RECT& r) { return r.left == -1 || r.top == -1 || r.right == -1 || r.bottom == -1; }

// Drawing state of a target (bitmap, window or printer), or nullptr when the index names none.
TB_DrawState* tb_DrawStateOf(int target);
// Surface of a target for drawing: bitmap surface, printer surface or a window's screen surface
// (window surfaces must be released with tb_ReleaseSurface).
HDC tb_AcquireSurface(int target);
void tb_ReleaseSurface(int target, HDC dc);
// Selects and realizes the program's palette (if any) in a surface: needed wherever pixels are
// given as indices into it (DIB_PAL_COLORS) and on any surface of a palette display.
void tb_SelectProgramPalette(HDC dc);
// The same for a surface taken to copy bitmaps onto target (BitBlt, StretchBlt, plain colours): a
// window on a true-colour screen is left alone, since realizing a palette there changes nothing and
// costs more than a small copy.
void tb_SelectPaletteForCopy(int target, HDC dc);
// The class the imaging factory is made from (CLSID_WICImagingFactory1); a test puts another here
// to see the program on a system without the imaging component.
extern const GUID* tb_imagingFactoryClass;

// How much of a picture file the imaging component may be given: the whole file, or 0 when it
// must not be given at all (a PNG with a critical chunk cut or damaged, a GIF whose first picture
// is cut or has no colour table); for a GIF the length up to the end of its first picture, behind
// which the caller puts the trailer byte 0x3B (*addTrailer).
size_t tb_PictureBytesForDecoder(const BYTE* data, size_t size, bool* addTrailer);

// Clip rectangle slot of a bitmap or window index, or nullptr.
RECT* tb_ClipOf(int index);
