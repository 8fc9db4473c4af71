// Masked drawing: an object drawn over whatever lies beneath it through its black-and-white mask.
#include "tb_internal.h"

// The mask is white where the object shows and black where the background stays; the image shows
// the object on white. OR with the mask whitens the object's place, AND with the image puts it there.
void tb_CopyBitmapMasked(int image, int mask, int destination, const RECT* imageRect, const RECT* maskRect,
                         const RECT* destRect)
{
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
