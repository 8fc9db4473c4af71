// Copying rectangles between bitmaps, windows and the printer; clip rectangles; picture helpers.
#include <cstdint>
#include <cstring>
#include <vector>

#include "tb_internal.h"

namespace {

bool IsWindowIndex(int index) { return index > 4999 && index != TB_PRINTER; }

HWND WindowOf(int index) { return tb.windows[index - TB_WINDOW_BASE].hwnd; }

// Releases a window's screen surface taken for a copy; reports a failed release.
void ReleaseWindowSurface(int index, HDC dc)
{
    if (!dc || !IsWindowIndex(index) || !tb_WindowInUse(index)) return;
    ++tb.windowDraws;
    if (!ReleaseDC(WindowOf(index), dc)) tb_ErrorBox("Could not release DC! (tb_CopyBitmap)");
}

void SelectClip(HDC dc, const RECT& clip)
{
    HRGN region = CreateRectRgnIndirect(&clip);
    SelectClipRgn(dc, region);
    DeleteObject(region);
}

// The colour usage under which a bitmap's own header describes its pixels: palette indices for the
// 8-bit images, whose colour table holds them, plain colours for the others.
UINT UsageOf(const TB_DIB* dib) { return grfx_BitCount(dib) == 8 ? DIB_PAL_COLORS : DIB_RGB_COLORS; }

bool CheckSource(int source, const char* ifBitmap)
{
    if (source < 5000 && !tb_BitmapInUse(source)) {
        tb_ErrorBox(ifBitmap);
        return false;
    }
    return true;
}

bool CheckDestination(int destination)
{
    if (destination < 5000 && !tb_BitmapInUse(destination)) {
        tb_ErrorBox("Invalid destination bitmap! (tb_CopyBitmap)");
        return false;
    }
    if (IsWindowIndex(destination) && !tb_WindowInUse(destination)) {
        tb_ErrorBox("Invalid destination window! (tb_CopyBitmap)");
        return false;
    }
    return true;
}

int Width(const RECT* r) { return r->right - r->left; }
int Height(const RECT* r) { return r->bottom - r->top; }

// Copies onto a window of at least this many pixels take the road below.
const long kLargeCopy = 65536;

// The 32-bit pixels of the last copy onto a window made here, kept for the next one: a fresh block of
// window size costs more in first-touch page faults than the copy itself.
std::vector<uint32_t> g_windowPixels;

// Rows of a w x h rectangle of a 24-bit image, from (sx, sy), turned into 32-bit pixels at `to`,
// rows `pitch` pixels apart, top row first.
// The first byte of pixel (x, y) of a 24-bit image, whose rows lie bottom row first.
const BYTE* Pixel24(const TB_DIB* dib, int x, int y)
{
    return dib->lpBits + (size_t)(grfx_Height(dib) - 1 - y) * grfx_StorageWidth(grfx_Width(dib), 24) + (size_t)x * 3;
}

uint32_t As32(const BYTE* from) { return from[0] | (from[1] << 8) | ((uint32_t)from[2] << 16); }

void RowsAs32(const TB_DIB* dib, int sx, int sy, int w, int h, uint32_t* to, size_t pitch)
{
    for (int row = 0; row < h; ++row, to += pitch) {
        const BYTE* from = Pixel24(dib, sx, sy + row);
        int x = 0;
        // Four pixels (blue, green, red each) from three 32-bit words at a time.
        for (; x + 4 <= w; x += 4, from += 12) {
            uint32_t a, b, c;
            memcpy(&a, from, 4);
            memcpy(&b, from + 4, 4);
            memcpy(&c, from + 8, 4);
            to[x] = a & 0xffffff;
            to[x + 1] = (a >> 24) | ((b & 0xffff) << 8);
            to[x + 2] = (b >> 16) | ((c & 0xff) << 16);
            to[x + 3] = c >> 8;
        }
        for (; x < w; ++x, from += 3) to[x] = As32(from);
    }
}

// The same rows at twice their size: each pixel as two columns of two rows (to holds 2h rows of 2w).
void RowsAs32Doubled(const TB_DIB* dib, int sx, int sy, int w, int h, uint32_t* to, size_t pitch)
{
    for (int row = 0; row < h; ++row, to += 2 * pitch) {
        const BYTE* from = Pixel24(dib, sx, sy + row);
        for (int x = 0; x < w; ++x, from += 3) to[2 * x] = to[2 * x + 1] = As32(from);
        memcpy(to + pitch, to, (size_t)w * 2 * sizeof(uint32_t));
    }
}

// The 24-bit image of a bitmap that the copies below can read, or nullptr.
const TB_DIB* Image24(int source)
{
    if (source > 4999 || tb.copyMode != SRCCOPY) return nullptr;
    const TB_DIB* dib = &tb.bitmaps[source].image;
    return dib->lpBits && grfx_BitCount(dib) == 24 ? dib : nullptr;
}

// The block of 32-bit pixels at (x, y) of a window, w x h, rows top first, in one call.
bool PutPixels(HDC dest, int x, int y, int w, int h)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    int lines = StretchDIBits(dest, x, y, w, h, 0, 0, w, h, g_windowPixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
    return lines > 0 && lines != (int)GDI_ERROR;
}

// A large rectangle of a 24-bit bitmap copied 1:1 onto a window without a clip of its own: the
// rows are turned into 32-bit pixels here and handed to the window in one call. The system's own
// conversion of 24-bit pixels for the screen costs several times more, which a whole room of
// 1920 x 1080 feels at every full redraw. False (nothing done) when the copy is not of that kind.
bool CopyToWindowAs32(int source, HDC dest, int sx, int sy, int w, int h, int dx, int dy)
{
    const TB_DIB* dib = Image24(source);
    if (!dib || w <= 0 || h <= 0 || (long)w * h < kLargeCopy) return false;
    if (!tb_InsideImage(dib, {sx, sy, sx + w, sy + h})) return false;
    const size_t count = (size_t)w * (size_t)h;
    if (g_windowPixels.size() < count) g_windowPixels.resize(count);
    GdiFlush();  // the system may still be drawing into the section
    RowsAs32(dib, sx, sy, w, h, g_windowPixels.data(), w);
    return PutPixels(dest, dx, dy, w, h);
}

// A rectangle of a 24-bit bitmap put onto a window at exactly twice its size, every pixel a square
// of four as Magnify2 makes it, turned into 32-bit pixels on the way: a magnified view shown
// without being made in another bitmap first. False (nothing done) when the copy is not of that kind.
bool MagnifyToWindow(int source, HDC dest, const RECT* from, const RECT* to)
{
    const TB_DIB* dib = Image24(source);
    const int sw = Width(from), sh = Height(from), w = Width(to), h = Height(to);
    if (!dib || sw <= 0 || sh <= 0 || w != 2 * sw || h != 2 * sh || (long)w * h < kLargeCopy) return false;
    if (!tb_InsideImage(dib, *from)) return false;
    if (g_windowPixels.size() < (size_t)w * h) g_windowPixels.resize((size_t)w * h);
    GdiFlush();  // the system may still be drawing into the section
    // Each source row is made once, as a row of half the width, spread to its doubled pixels in
    // place from the right, and copied to the row under it.
    uint32_t* row = g_windowPixels.data();
    for (int y = 0; y < sh; ++y, row += 2 * (size_t)w) {
        RowsAs32(dib, from->left, from->top + y, sw, 1, row, w);
        for (int x = sw - 1; x >= 0; --x) row[2 * x] = row[2 * x + 1] = row[x];
        memcpy(row + w, row, (size_t)w * 4);
    }
    return PutPixels(dest, to->left, to->top, w, h);
}

// A rectangle of a 24-bit bitmap copied into another at exactly twice its size (the magnified
// canvas view): every pixel becomes a square of four, as the system's stretch in colour-on-colour
// mode makes it, in one pass over the rows instead of the system's general stretch. Honours the
// destination's clip rectangle. False (nothing done) when the copy is not of that kind.
bool Magnify2(int source, int destination, const RECT* from, const RECT* to)
{
    if (destination > 4999 || Width(to) != 2 * Width(from) || Height(to) != 2 * Height(from)) return false;
    const TB_DIB* src = Image24(source);
    const TB_DIB* dst = Image24(destination);
    if (!src || !dst || !tb_InsideImage(src, *from) || !tb_InsideImage(dst, *to)) return false;
    RECT area = *to;
    const RECT* clip = tb_ClipOf(destination);
    if (clip && !tb_ClipIsNone(*clip) && !IntersectRect(&area, to, clip)) return true;
    const int srcStride = grfx_StorageWidth(grfx_Width(src), 24), dstStride = grfx_StorageWidth(grfx_Width(dst), 24);
    GdiFlush();  // the system may still be drawing into either
    // Every source row makes two rows: the second is a copy of the first. Along a row, every source
    // pixel is written twice, after a lone right half where the area starts between the two.
    const size_t rowBytes = (size_t)(area.right - area.left) * 3;
    const BYTE* made = nullptr;
    int madeFrom = -1;
    for (int y = area.top; y < area.bottom; ++y) {
        const int sy = from->top + (y - to->top) / 2;
        BYTE* out = dst->lpBits + (size_t)(grfx_Height(dst) - 1 - y) * dstStride + (size_t)area.left * 3;
        if (sy == madeFrom) {
            memcpy(out, made, rowBytes);
            continue;
        }
        const BYTE* in = src->lpBits + (size_t)(grfx_Height(src) - 1 - sy) * srcStride;
        const BYTE* p = in + (size_t)(from->left + (area.left - to->left) / 2) * 3;
        BYTE* o = out;
        int x = area.left;
        if ((x - to->left) & 1) {
            o[0] = p[0], o[1] = p[1], o[2] = p[2];
            o += 3, p += 3, ++x;
        }
        for (; x + 1 < area.right; x += 2, o += 6, p += 3) {
            o[0] = o[3] = p[0];
            o[1] = o[4] = p[1];
            o[2] = o[5] = p[2];
        }
        if (x < area.right) o[0] = p[0], o[1] = p[1], o[2] = p[2];
        made = out;
        madeFrom = sy;
    }
    return true;
}

}  // namespace

void tb_SetCopyMode(DWORD rop) { tb.copyMode = rop; }

DWORD tb_GetCopyMode(void) { return tb.copyMode; }

void tb_CopyBitmap(int source, int destination, const RECT* sourceRect, const RECT* destRect)
{
    if (!CheckSource(source, "Invalid source bitmap! (tb_CopyBitmap)")) return;
    if (!CheckDestination(destination)) return;
    if (!sourceRect || !destRect) return;
    if (destination == TB_PRINTER && tb_PrintJobFailed()) return;
    if (Magnify2(source, destination, sourceRect, destRect)) return;

    HDC dest = tb_AcquireSurface(destination);
    HDC src = tb_AcquireSurface(source);
    if (dest) {
        tb_SelectPaletteForCopy(destination, dest);
        SetStretchBltMode(dest, COLORONCOLOR);
        const RECT* clip = destination == TB_PRINTER ? nullptr : tb_ClipOf(destination);
        bool clipped = clip && !tb_ClipIsNone(*clip);
        if (clipped) SelectClip(dest, *clip);

        int sx = sourceRect->left, sy = sourceRect->top, w = Width(sourceRect), h = Height(sourceRect);
        int dx = destRect->left, dy = destRect->top;
        if (w == Width(destRect) && h == Height(destRect)) {
            bool copy = true;
            if (clipped) {
                // Only a destination that overlaps the clip by more than 4 pixels each way is copied,
                // trimmed to the clip on the side where it sticks out.
                copy = dx + w > clip->left + 4 && dx < clip->right - 4 && dy + h > clip->top + 4 &&
                       dy < clip->bottom - 4;
                if (copy) {
                    int ox = 0, oy = 0;
                    if (dx + w > clip->right) {
                        w = clip->right - dx;
                    } else if (dx < clip->left) {
                        ox = clip->left - dx;
                        w -= ox;
                    }
                    if (dy + h > clip->bottom) {
                        h = clip->bottom - dy;
                    } else if (dy < clip->top) {
                        oy = clip->top - dy;
                        h -= oy;
                    }
                    sx += ox;
                    dx += ox;
                    sy += oy;
                    dy += oy;
                }
            }
            if (copy && src) {
                bool done = !clipped && IsWindowIndex(destination) && CopyToWindowAs32(source, dest, sx, sy, w, h, dx, dy);
                if (!done && !BitBlt(dest, dx, dy, w, h, src, sx, sy, tb.copyMode) && destination == TB_PRINTER)
                    tb_NotePrintFailure();
            }
        } else {
            const TB_DIB* dib = tb_GetBitmapDIB(source);
            if (destination == TB_PRINTER && dib && dib->lpBits) {
                // The source rectangle's corner goes to the system as it is: its y counts rows from
                // the bottom row of the image.
                int lines = tb_printCalls.stretchDIBits(dest, dx, dy, Width(destRect), Height(destRect), sx, sy, w, h,
                                                        dib->lpBits, dib->lpBitmapInfo, UsageOf(dib), tb.copyMode);
                if (lines == 0 || lines == (int)GDI_ERROR) tb_NotePrintFailure();
            } else if (src && !(!clipped && IsWindowIndex(destination) &&
                                MagnifyToWindow(source, dest, sourceRect, destRect))) {
                StretchBlt(dest, dx, dy, Width(destRect), Height(destRect), src, sx, sy, w, h, tb.copyMode);
            }
        }
    }
    ReleaseWindowSurface(destination, dest);
    ReleaseWindowSurface(source, src);
}

void tb_CopyBitmapRects(int source, int destination, const RECT* rects, int count)
{
    if (!rects || count <= 0) return;
    const TB_DIB* dib = IsWindowIndex(destination) ? Image24(source) : nullptr;
    const RECT* clip = tb_ClipOf(destination);
    if (count == 1 || !dib || !tb_WindowInUse(destination) || (clip && !tb_ClipIsNone(*clip))) {
        for (int i = 0; i < count; ++i) tb_CopyBitmap(source, destination, &rects[i], &rects[i]);
        return;
    }
    // The rectangles, cut to the image, make the clip of one block around them: only their pixels
    // are turned and put.
    const RECT image = {0, 0, grfx_Width(dib), grfx_Height(dib)};
    std::vector<RECT> kept;
    RECT box;
    SetRectEmpty(&box);
    for (int i = 0; i < count; ++i) {
        RECT r;
        if (!IntersectRect(&r, &rects[i], &image)) continue;
        kept.push_back(r);
        UnionRect(&box, &box, &r);
    }
    if (kept.empty()) return;
    HRGN only = CreateRectRgnIndirect(&kept[0]);
    for (size_t i = 1; i < kept.size() && only; ++i) {
        HRGN piece = CreateRectRgnIndirect(&kept[i]);
        if (piece) CombineRgn(only, only, piece, RGN_OR);
        if (piece) DeleteObject(piece);
    }
    const int w = box.right - box.left, h = box.bottom - box.top;
    if (g_windowPixels.size() < (size_t)w * h) g_windowPixels.resize((size_t)w * h);
    GdiFlush();  // the system may still be drawing into the section
    for (const RECT& r : kept)
        RowsAs32(dib, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 g_windowPixels.data() + (size_t)(r.top - box.top) * w + (r.left - box.left), w);
    HDC dest = tb_AcquireSurface(destination);
    if (dest && only) {
        tb_SelectPaletteForCopy(destination, dest);
        SelectClipRgn(dest, only);
        PutPixels(dest, box.left, box.top, w, h);
    }
    if (only) DeleteObject(only);
    ReleaseWindowSurface(destination, dest);
}

void tb_CopyBitmapWithInset(int source, int destination, const RECT* rect, int inset, const RECT* insetSource,
                            const RECT* insetRect)
{
    if (!rect || !insetSource || !insetRect) return;
    RECT part;
    if (!IntersectRect(&part, insetRect, rect) || !EqualRect(&part, insetRect)) return;
    const TB_DIB* dib = IsWindowIndex(destination) ? Image24(source) : nullptr;
    const TB_DIB* in = IsWindowIndex(destination) ? Image24(inset) : nullptr;
    const RECT* clip = tb_ClipOf(destination);
    const int w = Width(rect), h = Height(rect), iw = Width(&part), ih = Height(&part);
    const int sw = Width(insetSource), sh = Height(insetSource);
    const bool same = sw == iw && sh == ih, doubled = sw * 2 == iw && sh * 2 == ih;
    const bool together = dib && in && tb_WindowInUse(destination) && !(clip && !tb_ClipIsNone(*clip)) &&
                          (same || doubled) && tb_InsideImage(dib, *rect) && tb_InsideImage(in, *insetSource) &&
                          (long)w * h >= kLargeCopy;
    // What of rect lies around the inset: above, below, left and right of it.
    const RECT around[4] = {{rect->left, rect->top, rect->right, part.top},
                            {rect->left, part.bottom, rect->right, rect->bottom},
                            {rect->left, part.top, part.left, part.bottom},
                            {part.right, part.top, rect->right, part.bottom}};
    if (!together) {
        tb_CopyBitmap(inset, destination, insetSource, &part);
        for (const RECT& r : around)
            if (!IsRectEmpty(&r)) tb_CopyBitmap(source, destination, &r, &r);
        return;
    }
    if (g_windowPixels.size() < (size_t)w * h) g_windowPixels.resize((size_t)w * h);
    GdiFlush();  // the system may still be drawing into either
    uint32_t* out = g_windowPixels.data();
    for (const RECT& r : around)
        if (!IsRectEmpty(&r))
            RowsAs32(dib, r.left, r.top, Width(&r), Height(&r),
                     out + (size_t)(r.top - rect->top) * w + (r.left - rect->left), w);
    uint32_t* inside = out + (size_t)(part.top - rect->top) * w + (part.left - rect->left);
    if (same) RowsAs32(in, insetSource->left, insetSource->top, iw, ih, inside, w);
    else RowsAs32Doubled(in, insetSource->left, insetSource->top, sw, sh, inside, w);
    HDC dest = tb_AcquireSurface(destination);
    if (dest) {
        tb_SelectPaletteForCopy(destination, dest);
        PutPixels(dest, rect->left, rect->top, w, h);
    }
    ReleaseWindowSurface(destination, dest);
}

void tb_CopyBitmapTransparent(int source, int destination, const RECT* sourceRect, const RECT* destRect,
                              int transparent)
{
    if (source > 4999) {
        tb_ErrorBox("Can't copy from a window! (tb_CopyBitmap)");
        return;
    }
    if (!CheckSource(source, "Invalid source bitmap! (tb_CopyBitmap)")) return;
    if (!CheckDestination(destination)) return;
    if (!sourceRect || !destRect) return;

    TB_BitmapSlot& from = tb.bitmaps[source];
    int w = Width(sourceRect), h = Height(sourceRect);
    if (destination < 5000) {
        TB_BitmapSlot& to = tb.bitmaps[destination];
        if (!from.dc && !to.dc) {
            grfx_CopyBits(&from.image, sourceRect->left, sourceRect->top, w, h, &to.image, destRect->left,
                          destRect->top, transparent ? 255 : 0);
        } else if (from.dc && to.dc) {
            BitBlt(to.dc, destRect->left, destRect->top, w, h, from.dc, sourceRect->left, sourceRect->top, SRCCOPY);
        }
        return;
    }

    HDC dest = tb_AcquireSurface(destination);
    if (!dest) return;
    tb_SelectProgramPalette(dest);  // 8-bit pixels go as indices into it
    if (from.image.lpBits)
        StretchDIBits(dest, destRect->left, destRect->top, Width(destRect), Height(destRect), sourceRect->left,
                      sourceRect->top, w, h, from.image.lpBits, from.image.lpBitmapInfo, UsageOf(&from.image),
                      SRCCOPY);
    ReleaseWindowSurface(destination, dest);
}

void tb_CopyBitmapToDialog(HWND window, int index, const RECT* sourceRect, const RECT* destRect)
{
    const TB_DIB* dib = tb_GetBitmapDIB(index);
    if (!dib || !dib->lpBits || !sourceRect || !destRect) return;
    HDC dc = GetDC(window);
    if (!dc) return;
    tb_SelectProgramPalette(dc);
    // The source rectangle counts y from the top; the system counts it from the bottom row.
    int result = StretchDIBits(dc, destRect->left, destRect->top, Width(destRect), Height(destRect), sourceRect->left,
                               grfx_Height(dib) - sourceRect->bottom, Width(sourceRect), Height(sourceRect),
                               dib->lpBits, dib->lpBitmapInfo, UsageOf(dib), SRCCOPY);
    if (result == 0 || result == (int)GDI_ERROR) tb_ErrorBox("Failed to copy Keyboard Image");
    ReleaseDC(window, dc);
}

static void DrawPicture(int destination, int pictureId, int x, int y, RECT* outRect, int depth)
{
    if (destination < 5000 && !tb_BitmapInUse(destination)) {
        tb_ErrorBox("Invalid destination bitmap! (tb_DrawPictureToBitmap)");
        return;
    }
    RECT r = {0, 0, 0, 0};
    int picture = tb_CreateBitmap(&r, pictureId, depth);
    if (picture < 0) return;
    RECT to = {x, y, x + r.right, y + r.bottom};
    tb_CopyBitmap(picture, destination, &r, &to);
    tb_DisposeBitmap(picture);
    if (outRect) *outRect = to;
}

void tb_DrawPictureToBitmap(int destination, int pictureId, int x, int y, RECT* outRect)
{
    DrawPicture(destination, pictureId, x, y, outRect, 24);
}

void tb_DrawPicture8ToBitmap(int destination, int pictureId, int x, int y, RECT* outRect)
{
    DrawPicture(destination, pictureId, x, y, outRect, 8);
}

void tb_TileBitmap(int destination, int pictureId, const RECT* rect)
{
    if (!rect) return;
    RECT tileRect = {0, 0, 0, 0};
    int tile = tb_CreateBitmap(&tileRect, pictureId, 24);
    if (tile < 0) return;
    int tw = tileRect.right, th = tileRect.bottom;
    int W = Width(rect), H = Height(rect);
    if (W < tw || H < th || tw <= 0 || th <= 0) {
        tb_DisposeBitmap(tile);
        return;
    }
    // Laid edge to edge from the destination's top-left corner over W x H; the tiles of the last
    // column and row are cut at that size.
    TB_DIB* tileDib = tb_GetBitmapDIB(tile);
    TB_DIB* destDib = tb_GetBitmapDIB(destination);
    if (destDib)
        for (int y = 0; y < H; y += th)
            for (int x = 0; x < W; x += tw)
                grfx_CopyBits(tileDib, 0, 0, W - x < tw ? W - x : tw, H - y < th ? H - y : th, destDib, x, y, 0);
    tb_DisposeBitmap(tile);
}

int tb_CreateTiledBitmap(const RECT* rect, int pictureId)
{
    if (!rect) return -1;
    RECT r = *rect;
    int index = tb_CreateBitmap(&r, -1, 24);
    if (index < 0) return -1;
    tb_TileBitmap(index, pictureId, rect);
    return index;
}

void tb_SetClipRect(int index, const RECT* rect)
{
    RECT* clip = tb_ClipOf(index);
    if (!clip || !rect) return;
    tb_ClearClipRect(index);
    *clip = *rect;
}

int tb_GetClipRect(int index, RECT* rect)
{
    const RECT* clip = tb_ClipOf(index);
    if (!clip || tb_ClipIsNone(*clip)) return 0;
    if (rect) *rect = *clip;
    return 1;
}

void tb_ClearClipRect(int index)
{
    RECT* clip = tb_ClipOf(index);
    if (!clip) return;
    SetRect(clip, -1, -1, -1, -1);
    if (tb_BitmapInUse(index) && tb.bitmaps[index].dc) SelectClipRgn(tb.bitmaps[index].dc, nullptr);
}
