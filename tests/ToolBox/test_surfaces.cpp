// Test scaffolding only: bitmap slots filled by hand (see test_surfaces.h).
#include "test_surfaces.h"

#include <cstdlib>

#include "tb_internal.h"

namespace {

int lowestFreeSlot()
{
    for (int i = 0; i < TB_MAX_BITMAPS; ++i)
        if (tb.bitmaps[i].free) return i;
    return -1;
}

LPBITMAPINFO makeHeader(int width, int height)
{
    auto* info = static_cast<LPBITMAPINFO>(calloc(1, sizeof(BITMAPINFOHEADER)));
    info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info->bmiHeader.biWidth = width;
    info->bmiHeader.biHeight = height;
    info->bmiHeader.biPlanes = 1;
    info->bmiHeader.biBitCount = 24;
    info->bmiHeader.biCompression = BI_RGB;
    return info;
}

int rowBytes(const TB_DIB& image) { return (image.lpBitmapInfo->bmiHeader.biWidth * 3 + 3) & ~3; }

BYTE* pixelAt(int index, int x, int y)
{
    const TB_DIB& image = tb.bitmaps[index].image;
    int height = image.lpBitmapInfo->bmiHeader.biHeight;
    return image.lpBits + rowBytes(image) * (height - 1 - y) + 3 * x;
}

}  // namespace

int test_MakeSurfaceBitmap(int width, int height)
{
    int index = lowestFreeSlot();
    if (index < 0) return -1;
    TB_BitmapSlot& slot = tb.bitmaps[index];
    slot.image = TB_DIB{};
    slot.image.lpBitmapInfo = makeHeader(width, height);
    slot.dc = CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    slot.image.hBitmap = CreateDIBSection(slot.dc, slot.image.lpBitmapInfo, DIB_RGB_COLORS, &bits, nullptr, 0);
    slot.image.lpBits = static_cast<LPBYTE>(bits);
    SelectObject(slot.dc, slot.image.hBitmap);
    slot.pImage = &slot.image;
    SetRect(&slot.rect, 0, 0, width, height);
    slot.free = 0;
    test_Fill(index, RGB(255, 255, 255));
    return index;
}

int test_MakeMemoryOnlyBitmap(int width, int height)
{
    int index = lowestFreeSlot();
    if (index < 0) return -1;
    TB_BitmapSlot& slot = tb.bitmaps[index];
    slot.image = TB_DIB{};
    slot.image.lpBitmapInfo = makeHeader(width, height);
    slot.image.lpBits = static_cast<LPBYTE>(calloc(rowBytes(slot.image) * height, 1));
    slot.dc = nullptr;
    slot.pImage = &slot.image;
    SetRect(&slot.rect, 0, 0, width, height);
    slot.free = 0;
    test_Fill(index, RGB(255, 255, 255));
    return index;
}

void test_FreeBitmap(int index)
{
    TB_BitmapSlot& slot = tb.bitmaps[index];
    if (slot.dc) DeleteDC(slot.dc);
    if (slot.image.hBitmap)
        DeleteObject(slot.image.hBitmap);
    else
        free(slot.image.lpBits);
    free(slot.image.lpBitmapInfo);
    slot.image = TB_DIB{};
    slot.dc = nullptr;
    slot.pImage = nullptr;
    SetRect(&slot.clip, -1, -1, -1, -1);
    slot.free = 1;
}

COLORREF test_Pixel(int index, int x, int y)
{
    GdiFlush();
    const BYTE* p = pixelAt(index, x, y);
    return RGB(p[2], p[1], p[0]);
}

void test_Fill(int index, COLORREF color)
{
    GdiFlush();
    const TB_DIB& image = tb.bitmaps[index].image;
    for (int y = 0; y < image.lpBitmapInfo->bmiHeader.biHeight; ++y)
        for (int x = 0; x < image.lpBitmapInfo->bmiHeader.biWidth; ++x) {
            BYTE* p = pixelAt(index, x, y);
            p[0] = GetBValue(color);
            p[1] = GetGValue(color);
            p[2] = GetRValue(color);
        }
}

int test_CountOther(int index, const RECT& rect, COLORREF color)
{
    const BITMAPINFOHEADER& h = tb.bitmaps[index].image.lpBitmapInfo->bmiHeader;
    int count = 0;
    for (int y = rect.top > 0 ? rect.top : 0; y < rect.bottom && y < h.biHeight; ++y)
        for (int x = rect.left > 0 ? rect.left : 0; x < rect.right && x < h.biWidth; ++x)
            if (test_Pixel(index, x, y) != color) ++count;
    return count;
}

RECT test_InkBounds(int index, COLORREF background)
{
    const BITMAPINFOHEADER& h = tb.bitmaps[index].image.lpBitmapInfo->bmiHeader;
    RECT bounds = {0, 0, 0, 0};
    bool any = false;
    for (int y = 0; y < h.biHeight; ++y)
        for (int x = 0; x < h.biWidth; ++x) {
            if (test_Pixel(index, x, y) == background) continue;
            if (!any) {
                bounds = {x, y, x + 1, y + 1};
                any = true;
            }
            if (x < bounds.left) bounds.left = x;
            if (y < bounds.top) bounds.top = y;
            if (x + 1 > bounds.right) bounds.right = x + 1;
            if (y + 1 > bounds.bottom) bounds.bottom = y + 1;
        }
    return bounds;
}
