// The bitmap resources of the toolbox tests (test_resources.rc), pixel by pixel, as
// make_test_bitmaps.py draws them.
#pragma once

#include <windows.h>

enum {
    PIC_TILE24 = 3001,     // 64 x 64, 24-bit
    PIC_PICTURE24 = 3002,  // 13 x 7, 24-bit
    PIC_MASK8 = 3003,      // 16 x 12, 8-bit, white at table entry 0, black at 1
    PIC_COLORS8 = 3004,    // 16 x 16, 8-bit, pixel (x, y) = table entry 16y + x
    PIC_MONO1 = 3005,      // 10 x 6, 1-bit
    PIC_IMAGE24 = 3006,    // 16 x 12, 24-bit: the object for the mask, white around it
    PIC_MISSING = 3999,
};

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};

inline Rgb TileColor(int x, int y) { return {x * 4, y * 4, 77}; }
inline Rgb PictureColor(int x, int y) { return {(x * 19) % 256, (y * 37) % 256, 200}; }
inline bool InsideMask(int x, int y) { return x >= 4 && x < 12 && y >= 3 && y < 9; }
inline Rgb ImageColor(int x, int y)
{
    return InsideMask(x, y) ? Rgb{200, (x * 10) % 256, (y * 10) % 256} : Rgb{255, 255, 255};
}
inline Rgb Colors8Table(int i) { return {i, (i * 3 + 50) % 256, 255 - i}; }
inline bool MonoWhite(int x, int y) { return (x + 2 * y) % 3 == 0; }
