// Device-independent bitmaps of 8, 24 and 1 bits per pixel: creation, loading
// from resources, pixel addressing, row copies, the program palette and single
// 24-bit pixels. Rows are stored bottom row first, padded to 4 bytes; y counts
// from the top in every routine here.
#pragma once

#include <windows.h>

struct TB_DIB {
    HGLOBAL hResData;          // resource data when header and pixels lie in a resource
    LPBITMAPINFO lpBitmapInfo; // header followed by its colour table
    LPBYTE lpBits;             // first byte of the bottom pixel row
    HBITMAP hBitmap;           // DIB section when the image has a drawing surface
};

// Bytes per pixel row for a width and depth (rounded down to a multiple of 4 after adding 3).
int grfx_StorageWidth(int width, int bitsPerPixel);
int grfx_Width(const TB_DIB* pdib);
int grfx_Height(const TB_DIB* pdib);
int grfx_BitCount(const TB_DIB* pdib);

// Memory-only images (no drawing surface); return FALSE when memory runs out.
BOOL grfx_CreateDIB8(TB_DIB* pdib, int width, int height);
BOOL grfx_CreateDIB24(TB_DIB* pdib, int width, int height);
// Images with a system bitmap for selecting into the memory surface dc.
BOOL grfx_CreateDIBSection8(HDC dc, TB_DIB* pdib, int width, int height);
BOOL grfx_CreateDIBSection24(HDC dc, TB_DIB* pdib, int width, int height);
BOOL grfx_CreateDIBSection1(HDC dc, TB_DIB* pdib, int width, int height);
// The bitmap resource of that number in the module, header and pixels in place.
BOOL grfx_LoadDIBResource(HINSTANCE module, TB_DIB* pdib, int id);
void grfx_FreeDIB(TB_DIB* pdib);

BYTE* grfx_GetPixelAddress(const TB_DIB* pdib, int x, int y);
void grfx_CopyBits(const TB_DIB* pdibSrc, int xSrc, int ySrc, int width, int height, TB_DIB* pdibDest, int xDest,
                   int yDest, BYTE transparent);

HPALETTE grfx_CreateIdentityPalette(const TB_DIB* pdib);
void grfx_MapDIBToPalette(HPALETTE palette, TB_DIB* pdib);
void grfx_ClearSystemPalette(void);

void grfx_GetPixel24(const TB_DIB* pdib, int x, int y, BYTE* red, BYTE* green, BYTE* blue);
void grfx_SetPixel24(TB_DIB* pdib, int x, int y, BYTE red, BYTE green, BYTE blue);
