// The relief operation of the bump patterns: lightens and darkens a rectangle of a 24-bit bitmap
// by the slope of a grey-scale height map, the same amount in all three channels.
#include <cmath>

#include "tb_internal.h"

namespace {

double Lightness(const TB_DIB* map, int x, int y)
{
    BYTE r, g, b;
    grfx_GetPixel24(map, x, y, &r, &g, &b);
    return std::sqrt(double(r) * r + double(g) * g + double(b) * b);
}

int Clamp(int v, int low, int high) { return v < low ? low : (v > high ? high : v); }

}  // namespace

void tb_BumpMap(int destination, int heightMap, const RECT* rect, int strength, int shift)
{
    TB_DIB* dest = tb_GetBitmapDIB(destination);
    const TB_DIB* map = tb_GetBitmapDIB(heightMap);
    if (!dest || !map || !rect || grfx_BitCount(dest) != 24 || grfx_BitCount(map) != 24) return;
    const int W = grfx_Width(dest), H = grfx_Height(dest);
    RECT mapRect = {0, 0, grfx_Width(map), grfx_Height(map)};
    RECT destRect = {0, 0, W, H};
    RECT area;
    // Cut to the height map, and to the destination too, so that a smaller picture is never
    // written outside its pixels.
    if (!IntersectRect(&area, rect, &mapRect) || !IntersectRect(&area, &area, &destRect)) return;

    GdiFlush();  // the system may still be drawing into the picture
    const double scale = strength / std::sqrt(49152.0);
    for (int y = area.bottom - 1; y >= area.top; --y) {
        for (int x = area.right - 1; x >= area.left; --x) {
            const int sx = Clamp(x + shift, 0, W - 1), sy = Clamp(y + shift, 0, H - 1);
            const double d = scale * (Lightness(map, sx, sy) - Lightness(map, x, y));
            BYTE r, g, b;
            grfx_GetPixel24(dest, x, y, &r, &g, &b);
            r = (BYTE)Clamp((int)(r + d), 0, 255);
            g = (BYTE)Clamp((int)(g + d), 0, 255);
            b = (BYTE)Clamp((int)(b + d), 0, 255);
            grfx_SetPixel24(dest, x, y, r, g, b);
        }
    }
}
