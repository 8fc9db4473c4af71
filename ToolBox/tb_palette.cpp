// Masked drawing: an object drawn over whatever lies beneath it through its black-and-white mask.
#include "tb_internal.h"

namespace {

// A 24-bit image drawn through an 8-bit mask into a 24-bit bitmap at the same size, straight in
// the pixels: the same two raster operations on every colour byte, the mask's colour looked up in
// its own colour table, without the system's conversion of the mask on every call (most of the cost
// of the room's composition). Honours the destination's clip rectangle. False (nothing done) when
// the drawing is not of that kind.
bool MaskedPixels(int image, int mask, int destination, const RECT* imageRect, const RECT* maskRect,
                  const RECT* destRect)
{
    if (destination >= TB_WINDOW_BASE) return false;
    const TB_DIB *img = tb_GetBitmapDIB(image), *msk = tb_GetBitmapDIB(mask), *dst = tb_GetBitmapDIB(destination);
    auto usable = [](const TB_DIB* d, int bits) {
        return d && d->lpBits && d->lpBitmapInfo && grfx_BitCount(d) == bits && d->lpBitmapInfo->bmiHeader.biHeight > 0;
    };
    if (!usable(img, 24) || !usable(msk, 8) || !usable(dst, 24)) return false;
    const int w = destRect->right - destRect->left, h = destRect->bottom - destRect->top;
    if (imageRect->right - imageRect->left != w || imageRect->bottom - imageRect->top != h ||
        maskRect->right - maskRect->left != w || maskRect->bottom - maskRect->top != h)
        return false;
    if (w <= 0 || h <= 0 || !tb_InsideImage(img, *imageRect) || !tb_InsideImage(msk, *maskRect)) return false;
    RECT area = {0, 0, grfx_Width(dst), grfx_Height(dst)};
    const RECT* clip = tb_ClipOf(destination);
    if (clip && !tb_ClipIsNone(*clip)) IntersectRect(&area, &area, clip);
    if (!IntersectRect(&area, &area, destRect)) return true;

    // The mask's indices as the three bytes they OR into a pixel, from the colour table its surface
    // has (the program palette once 8-bit pictures are mapped onto it); entries it lacks are black.
    HDC maskDC = tb_GetBitmapDC(mask);
    RGBQUAD table[256] = {};
    if (!maskDC || GetDIBColorTable(maskDC, 0, 256, table) == 0) return false;
    BYTE lookup[256][3];
    for (int i = 0; i < 256; ++i) lookup[i][0] = table[i].rgbBlue, lookup[i][1] = table[i].rgbGreen, lookup[i][2] = table[i].rgbRed;
    GdiFlush();  // the system may still be drawing into any of them
    const int ox = area.left - destRect->left;
    const int n = area.right - area.left;
    for (int y = area.top; y < area.bottom; ++y) {
        const int row = y - destRect->top;
        const BYTE* ip = grfx_GetPixelAddress(img, imageRect->left + ox, imageRect->top + row);
        const BYTE* mp = grfx_GetPixelAddress(msk, maskRect->left + ox, maskRect->top + row);
        BYTE* dp = grfx_GetPixelAddress(dst, area.left, y);
        for (int x = 0; x < n; ++x, ip += 3, dp += 3) {
            const BYTE* m = lookup[mp[x]];
            dp[0] = (BYTE)((dp[0] | m[0]) & ip[0]);
            dp[1] = (BYTE)((dp[1] | m[1]) & ip[1]);
            dp[2] = (BYTE)((dp[2] | m[2]) & ip[2]);
        }
    }
    return true;
}

}  // namespace

// The mask is white where the object shows and black where the background stays; the image shows
// the object on white. OR with the mask whitens the object's place, AND with the image puts it there.
void tb_CopyBitmapMasked(int image, int mask, int destination, const RECT* imageRect, const RECT* maskRect,
                         const RECT* destRect)
{
    if (imageRect && maskRect && destRect && MaskedPixels(image, mask, destination, imageRect, maskRect, destRect))
        return;
    HDC imageDC = tb_GetBitmapDC(image);
    HDC maskDC = tb_GetBitmapDC(mask);
    HDC dest = tb_AcquireSurface(destination);
    if (!dest) return;
    if (imageDC && maskDC && imageRect && maskRect && destRect) {
        tb_SelectPaletteForCopy(destination, dest);
        SetStretchBltMode(dest, COLORONCOLOR);
        const RECT* clip = destination == TB_PRINTER ? nullptr : tb_ClipOf(destination);
        if (clip && !tb_ClipIsNone(*clip)) {
            HRGN region = CreateRectRgnIndirect(clip);
            SelectClipRgn(dest, region);
            DeleteObject(region);
        }
        int dw = destRect->right - destRect->left, dh = destRect->bottom - destRect->top;
        StretchBlt(dest, destRect->left, destRect->top, dw, dh, maskDC, maskRect->left, maskRect->top,
                   maskRect->right - maskRect->left, maskRect->bottom - maskRect->top, SRCPAINT);
        StretchBlt(dest, destRect->left, destRect->top, dw, dh, imageDC, imageRect->left, imageRect->top,
                   imageRect->right - imageRect->left, imageRect->bottom - imageRect->top, SRCAND);
    }
    tb_ReleaseSurface(destination, dest);
}
