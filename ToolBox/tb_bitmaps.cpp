// The bitmap table: creation from memory, blank surfaces and resources, queries and disposal.
#include <cstring>

#include "tb_internal.h"

namespace {

int LowestFreeBitmap()
{
    for (int i = 0; i < TB_MAX_BITMAPS; ++i)
        if (tb.bitmaps[i].free) return i;
    return -1;
}

// Memory surface for a slot, made compatible with the main window's screen surface.
HDC CreateSlotSurface(HDC screen)
{
    return CreateCompatibleDC(screen);
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

    HDC screen = GetDC(tb.mainWindow);
    if (depth == 8) {
        if (!tb.palette) {
            tb.palette = grfx_CreateIdentityPalette(&picture);
            grfx_MapDIBToPalette(tb.palette, &picture);
            grfx_ClearSystemPalette();
            tb_SelectProgramPalette(screen);
        } else {
            grfx_MapDIBToPalette(tb.palette, &picture);
        }
    }
    HDC dc = screen ? CreateSlotSurface(screen) : nullptr;
    if (!dc) {
        if (screen) ReleaseDC(tb.mainWindow, screen);
        grfx_FreeDIB(&picture);
        return false;
    }

    BOOL made = FALSE;
    if (depth == 8) {
        tb_SelectProgramPalette(dc);
        SetStretchBltMode(dc, COLORONCOLOR);
        made = grfx_CreateDIBSection8(dc, &slot.image, width, height);
        if (made) grfx_CopyBits(&picture, 0, 0, width, height, &slot.image, 0, 0, 0);
    } else if (depth == 24) {
        made = grfx_CreateDIBSection24(dc, &slot.image, width, height);
        if (made) grfx_CopyBits(&picture, 0, 0, width, height, &slot.image, 0, 0, 0);
    } else if (depth == 1) {
        made = grfx_CreateDIBSection1(dc, &slot.image, width, height);
    }
    if (made) {
        SelectObject(dc, slot.image.hBitmap);
        if (depth == 8) tb_SelectProgramPalette(dc);
        if (depth == 1)
            StretchDIBits(dc, 0, 0, width, height, 0, 0, width, height, picture.lpBits, picture.lpBitmapInfo,
                          DIB_RGB_COLORS, SRCCOPY);
    }
    ReleaseDC(tb.mainWindow, screen);
    grfx_FreeDIB(&picture);
    if (!made) {
        DeleteDC(dc);
        return false;
    }
    slot.dc = dc;
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
        HDC screen = GetDC(tb.mainWindow);
        HDC dc = screen ? CreateSlotSurface(screen) : nullptr;
        if (!dc) {
            tb_ErrorBox("Could not create DC! (tb_CreateBitmap)");
            if (screen) ReleaseDC(tb.mainWindow, screen);
            slot.pImage = nullptr;
            return -1;
        }
        slot.dc = dc;
        BOOL made = FALSE;
        if (depth == 8) {
            tb_SelectProgramPalette(dc);
            SetStretchBltMode(dc, COLORONCOLOR);
            made = grfx_CreateDIBSection8(dc, &slot.image, width, height);
        } else if (depth == 24) {
            made = grfx_CreateDIBSection24(dc, &slot.image, width, height);
        } else {
            made = grfx_CreateDIBSection1(dc, &slot.image, width, height);
        }
        if (made) {
            SelectObject(dc, slot.image.hBitmap);
            if (depth == 8) tb_SelectProgramPalette(dc);
        }
        ReleaseDC(tb.mainWindow, screen);
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

void tb_DisposeBitmap(int index)
{
    if (!CheckBitmap(index, "There is no bitmap to free! (tb_DisposeBitmap)")) return;
    TB_BitmapSlot& slot = tb.bitmaps[index];
    if (slot.dc) {
        DeleteDC(slot.dc);
        slot.dc = nullptr;
    }
    grfx_FreeDIB(&slot.image);
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
