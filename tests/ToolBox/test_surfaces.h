// Test scaffolding only: fills bitmap slots directly, without the toolbox's own bitmap
// creation, so that the drawing tests have targets of a known kind. Pixels are read back
// straight from the image memory.
#pragma once

#include <windows.h>

// Takes the lowest free bitmap slot and gives it a white 24-bit image of width x height
// selected into a memory surface. Returns the slot, or -1 when none is free.
int test_MakeSurfaceBitmap(int width, int height);
// Takes the lowest free bitmap slot and gives it a white 24-bit image without a surface.
int test_MakeMemoryOnlyBitmap(int width, int height);
// Releases what either maker gave the slot and marks it free again (the slot's drawing
// state is left alone, as the toolbox leaves it).
void test_FreeBitmap(int index);

// The pixel at (x, y), counted from the top, as red + green * 256 + blue * 65536.
COLORREF test_Pixel(int index, int x, int y);
// Sets every pixel of the image.
void test_Fill(int index, COLORREF color);
// Number of pixels in the rectangle (clipped to the image) that differ from color.
int test_CountOther(int index, const RECT& rect, COLORREF color);
// Smallest rectangle holding every pixel that differs from background; empty when none does.
RECT test_InkBounds(int index, COLORREF background);
