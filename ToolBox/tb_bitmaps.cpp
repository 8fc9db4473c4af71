// The bitmap table: creation from memory, blank surfaces and resources, queries and disposal.
#include <cstring>
#include <utility>

#include "tb_internal.h"

namespace {

// The surfaces of disposed bitmaps, kept for the next bitmap of the same size and depth. Every
// page of a new surface costs a page fault at its first touch (13 to 20 microseconds a page under
// Wine on the machines we measured), more than drawing a small picture: the room loads its pictures
// for each draw (some fifty sizes in all), and its large bitmaps come back at every display change
// between two sizes. Capped in number (the process holds two objects for each), the least recently
// kept going first, and in bytes. A surface larger than a 1920 x 1080 screen's is not kept: on a
// large screen the pool would otherwise hold whole canvases nobody draws on, in the program's peak.
// The exception is a large surface disposed for a return (the room's window-sized bitmaps when the
// display shrinks): a few of those are kept apart, outside the cap, until a large bitmap of another
// size is made, so that the display coming back to its size finds its pages already touched.
// Each surface is kept with the memory surface it is selected into: making and deleting one of those
// costs more than drawing most of the room's pictures.
struct PooledSurface {
    int width, height, depth;
    HPALETTE palette;  // an 8-bit surface's colour table came from it
    TB_DIB image;
    HDC dc;  // the image selected, no clip, the default palette
    size_t bytes;
    bool large;  // kept for a return, beyond the cap
};
const int kLargeEntries = 4;
const int kPoolEntries = 128;
const size_t kPoolBytes = 32u << 20;
const size_t kPoolSurfaceBytes = 1920u * 1080u * 3u;
PooledSurface g_pool[kPoolEntries];
int g_pooled = 0;

size_t PoolBytes(bool large)
{
    size_t n = 0;
    for (int i = 0; i < g_pooled; ++i)
        if (g_pool[i].large == large) n += g_pool[i].bytes;
    return n;
}

int LargeKept(void)
{
    int n = 0;
    for (int i = 0; i < g_pooled; ++i) n += g_pool[i].large;
    return n;
}

void DropPooled(int i)
{
    DeleteDC(g_pool[i].dc);
    grfx_FreeDIB(&g_pool[i].image);
    for (int k = i + 1; k < g_pooled; ++k) g_pool[k - 1] = g_pool[k];
    --g_pooled;
}

// The oldest kept surface of the kind (large or not), or -1.
int OldestPooled(bool large)
{
    for (int i = 0; i < g_pooled; ++i)
        if (g_pool[i].large == large) return i;
    return -1;
}

// Keeps a disposed slot's surface and the memory surface it is selected into, the oldest of its kind
// going first where there is no room; false when it is not kept (no surface, or larger than the
// whole pool and not kept for a return).
bool Keep(TB_DIB* image, HDC dc, HPALETTE palette, bool forReturn)
{
    const int depth = grfx_BitCount(image);
    const size_t bytes = (size_t)grfx_StorageWidth(grfx_Width(image), depth) * (size_t)grfx_Height(image);
    if (!dc || !image->hBitmap || !image->lpBits || (depth != 8 && depth != 24)) return false;
    const bool large = bytes > kPoolSurfaceBytes;
    if (large && !forReturn) return false;
    if (large) {
        if (LargeKept() == kLargeEntries) DropPooled(OldestPooled(true));
        if (g_pooled == kPoolEntries) DropPooled(OldestPooled(false) >= 0 ? OldestPooled(false) : 0);
    } else {
        while (OldestPooled(false) >= 0 && (g_pooled == kPoolEntries || PoolBytes(false) + bytes > kPoolBytes))
            DropPooled(OldestPooled(false));
        if (g_pooled == kPoolEntries) DropPooled(0);
    }
    // The next user starts as on a new surface; the palette may go while the surface is kept.
    SelectClipRgn(dc, nullptr);
    if (depth == 8) SelectPalette(dc, (HPALETTE)GetStockObject(DEFAULT_PALETTE), FALSE);
    g_pool[g_pooled++] = {grfx_Width(image), grfx_Height(image), depth, palette, *image, dc, bytes, large};
    memset(image, 0, sizeof *image);
    return true;
}

// A kept surface of that size and depth (its pixels as the last bitmap left them) and the memory
// surface it is selected into; false when there is none.
bool TakePooled(TB_DIB* image, HDC* dc, int width, int height, int depth)
{
    for (int i = g_pooled - 1; i >= 0; --i) {
        const PooledSurface& p = g_pool[i];
        if (p.width != width || p.height != height || p.depth != depth || (depth == 8 && p.palette != tb.palette))
            continue;
        *image = p.image;
        *dc = p.dc;
        for (int k = i + 1; k < g_pooled; ++k) g_pool[k - 1] = g_pool[k];
        --g_pooled;
        return true;
    }
    return false;
}

// The slot's drawing surface with a section of the size and depth selected into it: a kept pair, or
// a new memory surface (compatible with the main window's screen) and a new section. blank asks for
// the black pixels a new section has. False when no surface can be made; a section that cannot be
// made leaves the surface with an empty image (*made false).
bool MakeSlotSurface(TB_BitmapSlot& slot, int width, int height, int depth, bool blank, BOOL* made)
{
    HDC dc = nullptr;
    if (TakePooled(&slot.image, &dc, width, height, depth)) {
        if (blank) {
            GdiFlush();
            memset(slot.image.lpBits, 0, (size_t)grfx_StorageWidth(width, depth) * (size_t)height);
        }
        if (depth == 8) tb_SelectProgramPalette(dc);
        slot.dc = dc;
        *made = TRUE;
        return true;
    }
    HDC screen = GetDC(tb.mainWindow);
    dc = screen ? CreateCompatibleDC(screen) : nullptr;
    if (screen) ReleaseDC(tb.mainWindow, screen);
    if (!dc) return false;
    if (depth == 8) {
        tb_SelectProgramPalette(dc);  // the new section's colour table comes from it
        SetStretchBltMode(dc, COLORONCOLOR);
    }
    // A large bitmap of another size: the display did not come back, and what was kept for its
    // return goes before the new pages are taken.
    if ((size_t)grfx_StorageWidth(width, depth) * (size_t)height > kPoolSurfaceBytes)
        for (int i = g_pooled - 1; i >= 0; --i)
            if (g_pool[i].large) DropPooled(i);
    if (depth == 8) *made = grfx_CreateDIBSection8(dc, &slot.image, width, height);
    else if (depth == 24) *made = grfx_CreateDIBSection24(dc, &slot.image, width, height);
    else *made = grfx_CreateDIBSection1(dc, &slot.image, width, height);
    if (*made) {
        SelectObject(dc, slot.image.hBitmap);
        if (depth == 8) tb_SelectProgramPalette(dc);
    }
    slot.dc = dc;
    return true;
}

int LowestFreeBitmap()
{
    for (int i = 0; i < TB_MAX_BITMAPS; ++i)
        if (tb.bitmaps[i].free) return i;
    return -1;
}

// A copy of a loaded 8-bit picture (header, colour table and pixels) in a block of the toolbox's
// own, so that mapping it to the program palette never writes into the module's resource memory
// (which may be read-only, and which a later load must find unchanged).
bool CopyPicture(TB_DIB* picture)
{
    const BITMAPINFOHEADER& h = picture->lpBitmapInfo->bmiHeader;
    size_t head = (size_t)(picture->lpBits - (LPBYTE)picture->lpBitmapInfo);
    size_t pixels = (size_t)grfx_StorageWidth(h.biWidth, h.biBitCount) * (size_t)h.biHeight;
    HGLOBAL handle = GlobalAlloc(GHND, head + pixels);
    BYTE* block = handle ? (BYTE*)GlobalLock(handle) : nullptr;
    if (!block) {
        if (handle) GlobalFree(handle);
        return false;
    }
    memcpy(block, picture->lpBitmapInfo, head + pixels);
    grfx_FreeDIB(picture);
    picture->lpBitmapInfo = (LPBITMAPINFO)block;
    picture->lpBits = block + head;
    return true;
}

// A bitmap resource drawn into a new surface of the slot; false when the resource is missing
// or cannot be used at the depth asked for (the slot is then left as it was).
bool CreateFromResource(TB_BitmapSlot& slot, int source, int depth)
{
    TB_DIB picture;
    if (!grfx_LoadDIBResource(tb.instance, &picture, source)) return false;
    int width = grfx_Width(&picture), height = grfx_Height(&picture);
    int stored = grfx_BitCount(&picture);
    if ((depth == 8 || depth == 24) && stored != depth) {
        grfx_FreeDIB(&picture);
        return false;
    }
    if (depth == 8 && !CopyPicture(&picture)) {
        grfx_FreeDIB(&picture);
        return false;
    }

    if (depth == 8) {
        if (!tb.palette) {
            tb.palette = grfx_CreateIdentityPalette(&picture);
            grfx_MapDIBToPalette(tb.palette, &picture);
            grfx_ClearSystemPalette();
            HDC screen = GetDC(tb.mainWindow);
            tb_SelectProgramPalette(screen);
            if (screen) ReleaseDC(tb.mainWindow, screen);
        } else {
            grfx_MapDIBToPalette(tb.palette, &picture);
        }
    }
    BOOL made = FALSE;
    if (!MakeSlotSurface(slot, width, height, depth, false, &made)) {
        grfx_FreeDIB(&picture);
        return false;
    }
    if (made && depth == 1)
        StretchDIBits(slot.dc, 0, 0, width, height, 0, 0, width, height, picture.lpBits, picture.lpBitmapInfo,
                      DIB_RGB_COLORS, SRCCOPY);
    else if (made)
        grfx_CopyBits(&picture, 0, 0, width, height, &slot.image, 0, 0, 0);
    grfx_FreeDIB(&picture);
    if (!made) {
        DeleteDC(slot.dc);
        slot.dc = nullptr;
        return false;
    }
    return true;
}

bool CheckBitmap(int index, const char* message)
{
    if (tb_BitmapInUse(index)) return true;
    tb_ErrorBox(message);
    return false;
}

}  // namespace

int tb_BitmapsInUse(void)
{
    int n = 0;
    for (const TB_BitmapSlot& slot : tb.bitmaps) n += !slot.free;
    return n;
}

// Images that cannot be made (a size of zero or less, memory exhausted) leave the slot taken with
// an empty image record, as an unknown source does; callers that need the pixels check
// tb_GetBitmapDIB. A missing or unusable resource and an unknown depth give -1 and take no slot.
int tb_CreateBitmap(RECT* rect, int source, int depth)
{
    int index = LowestFreeBitmap();
    if (index < 0) {
        tb_ErrorBox("No more available Bitmaps! (tb_CreateBitmap)");
        return -1;
    }
    if (depth != 8 && depth != 24 && depth != 1) return -1;

    TB_BitmapSlot& slot = tb.bitmaps[index];
    memset(&slot.image, 0, sizeof slot.image);
    slot.pImage = &slot.image;
    slot.dc = nullptr;
    RECT r = rect ? *rect : RECT{0, 0, 0, 0};
    int width = r.right - r.left, height = r.bottom - r.top;

    if (source == TB_SOURCE_MEMORY) {
        if (depth == 8) grfx_CreateDIB8(&slot.image, width, height);
        else if (depth == 24) grfx_CreateDIB24(&slot.image, width, height);
    } else if (source == 0 || source == -1) {
        BOOL made = FALSE;
        if (!MakeSlotSurface(slot, width, height, depth, true, &made)) {
            tb_ErrorBox("Could not create DC! (tb_CreateBitmap)");
            slot.pImage = nullptr;
            return -1;
        }
    } else if (source > 0) {
        if (!CreateFromResource(slot, source, depth)) {
            slot.pImage = nullptr;
            return -1;
        }
        r.left = 0;
        r.top = 0;
        r.right = grfx_Width(&slot.image);
        r.bottom = grfx_Height(&slot.image);
        if (rect) *rect = r;
    }

    slot.free = 0;
    slot.rect = r;
    return index;
}

int tb_PooledSurfaces(void) { return g_pooled; }

size_t tb_PooledBytes(void) { return PoolBytes(false) + PoolBytes(true); }

void tb_ReleaseSurfacePool(void)
{
    while (g_pooled > 0) DropPooled(g_pooled - 1);
}

void tb_DisposeBitmap(int index)
{
    tb_DisposeBitmapForReturn(index, false);
}

void tb_DisposeBitmapForReturn(int index, bool forReturn)
{
    if (!CheckBitmap(index, "There is no bitmap to free! (tb_DisposeBitmap)")) return;
    TB_BitmapSlot& slot = tb.bitmaps[index];
    if (slot.dc) {
        if (!Keep(&slot.image, slot.dc, tb.palette, forReturn)) {
            DeleteDC(slot.dc);  // lets the section go
            grfx_FreeDIB(&slot.image);
        }
        slot.dc = nullptr;
    } else {
        grfx_FreeDIB(&slot.image);
    }
    slot.pImage = nullptr;
    SetRect(&slot.rect, 0, 0, 0, 0);
    // The clip went with the surface; a slot taken again starts without one.
    SetRect(&slot.clip, -1, -1, -1, -1);
    slot.free = 1;
}

void tb_GetBitmapRect(int index, RECT* rect)
{
    if (!CheckBitmap(index, "Invalid bitmap! (tb_GetBitmapRect)")) return;
    if (rect) *rect = tb.bitmaps[index].rect;
}

int tb_GetBitmapWidth(int index)
{
    if (!CheckBitmap(index, "Invalid bitmap! (tb_GetBitmapWidth)")) return -1;
    return grfx_Width(&tb.bitmaps[index].image);
}

int tb_GetBitmapHeight(int index)
{
    if (!CheckBitmap(index, "Invalid bitmap! (tb_GetBitmapHeight)")) return -1;
    return grfx_Height(&tb.bitmaps[index].image);
}

int tb_GetBitmapStorageWidth(int index)
{
    if (!CheckBitmap(index, "Invalid bitmap! (tb_GetBitmapStorageWidth)")) return -1;
    const TB_DIB& image = tb.bitmaps[index].image;
    return grfx_StorageWidth(grfx_Width(&image), grfx_BitCount(&image));
}

HDC tb_GetBitmapDC(int index)
{
    return tb_BitmapInUse(index) ? tb.bitmaps[index].dc : nullptr;
}

TB_DIB* tb_GetBitmapDIB(int index)
{
    return tb_BitmapInUse(index) ? tb.bitmaps[index].pImage : nullptr;
}

int tb_SwapBitmapPixels(int a, int b)
{
    if (a == b || !tb_BitmapInUse(a) || !tb_BitmapInUse(b)) return 0;
    TB_BitmapSlot& x = tb.bitmaps[a];
    TB_BitmapSlot& y = tb.bitmaps[b];
    if (!x.dc || !y.dc || !x.image.hBitmap || !y.image.hBitmap) return 0;
    if (grfx_Width(&x.image) != grfx_Width(&y.image) || grfx_Height(&x.image) != grfx_Height(&y.image) ||
        grfx_BitCount(&x.image) != grfx_BitCount(&y.image))
        return 0;
    // A section is selected into one surface at a time: the first surface lets its own go (for a
    // placeholder) before the second takes it.
    HBITMAP placeholder = CreateBitmap(1, 1, 1, 1, nullptr);
    int swapped = 0;
    if (placeholder && SelectObject(x.dc, placeholder)) {
        if (SelectObject(y.dc, x.image.hBitmap)) {
            SelectObject(x.dc, y.image.hBitmap);
            std::swap(x.image, y.image);
            swapped = 1;
        } else {
            SelectObject(x.dc, x.image.hBitmap);
        }
    }
    if (placeholder) DeleteObject(placeholder);
    return swapped;
}
