// Device-independent bitmaps of 8, 24 and 1 bits per pixel: creation, resources,
// pixel addressing, row copies, the program palette and single 24-bit pixels.
#include "grfx_8_32.h"

#include <climits>
#include <cstring>

namespace {

// Header block of an 8-bit image: the info header, then 256 16-bit palette indices.
const int kHeader8Size = sizeof(BITMAPINFOHEADER) + 256 * sizeof(WORD);  // 552
const int kHeader1Size = sizeof(BITMAPINFOHEADER) + 2 * sizeof(RGBQUAD);   // 48

// Largest block the memory-only creators allocate (keeps every size computation in range).
const long long kMaxBlock = 0x7FFF0000LL;

void FillHeader(BITMAPINFOHEADER* h, int width, int height, int bits)
{
    h->biSize = sizeof(BITMAPINFOHEADER);
    h->biWidth = width;
    h->biHeight = height;
    h->biPlanes = 1;
    h->biBitCount = (WORD)bits;
    h->biCompression = BI_RGB;
    h->biSizeImage = 0;
    h->biXPelsPerMeter = 0;
    h->biYPelsPerMeter = 0;
    h->biClrUsed = bits == 8 ? 256 : 0;
    h->biClrImportant = bits == 8 ? 256 : 0;
}

// A zero-filled, locked block of the toolbox's own; nullptr when memory runs out.
BYTE* AllocBlock(long long size)
{
    if (size <= 0 || size > kMaxBlock) return nullptr;
    HGLOBAL handle = GlobalAlloc(GHND, (SIZE_T)size);
    if (!handle) return nullptr;
    BYTE* p = (BYTE*)GlobalLock(handle);
    if (!p) GlobalFree(handle);
    return p;
}

void FreeBlock(void* p)
{
    if (!p) return;
    HGLOBAL handle = GlobalHandle(p);
    if (!handle) return;
    GlobalUnlock(handle);
    GlobalFree(handle);
}

long long ImageBytes(int width, int height, int bits)
{
    if (width <= 0 || height <= 0) return -1;
    long long stride = ((long long)width * bits + 31) / 32 * 4;
    return stride * height;
}

void FillPaletteIndices(BITMAPINFO* info)
{
    WORD* indices = (WORD*)info->bmiColors;
    for (int i = 0; i < 256; ++i) indices[i] = (WORD)i;
}

// Number of colour-table entries that follow an info header.
int ColorCount(const BITMAPINFOHEADER* h)
{
    if (h->biClrUsed) return (int)h->biClrUsed;
    return h->biBitCount <= 8 ? 1 << h->biBitCount : 0;
}

// Image with a system bitmap: the header block is made by the caller, the pixels by the system.
BOOL CreateSection(HDC dc, TB_DIB* pdib, BYTE* block, UINT usage)
{
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, (BITMAPINFO*)block, usage, &bits, nullptr, 0);
    if (!bitmap || !bits) {
        if (bitmap) DeleteObject(bitmap);
        FreeBlock(block);
        return FALSE;
    }
    pdib->hResData = nullptr;
    pdib->lpBitmapInfo = (LPBITMAPINFO)block;
    pdib->lpBits = (LPBYTE)bits;
    pdib->hBitmap = bitmap;
    return TRUE;
}

}  // namespace

int grfx_StorageWidth(int width, int bitsPerPixel)
{
    if (width <= 0 || bitsPerPixel <= 0) return 0;
    long long stride = ((long long)width * bitsPerPixel + 31) / 32 * 4;
    return stride > INT_MAX ? INT_MAX : (int)stride;
}

int grfx_Width(const TB_DIB* pdib)
{
    return pdib && pdib->lpBitmapInfo ? (int)pdib->lpBitmapInfo->bmiHeader.biWidth : 0;
}

int grfx_Height(const TB_DIB* pdib)
{
    return pdib && pdib->lpBitmapInfo ? (int)pdib->lpBitmapInfo->bmiHeader.biHeight : 0;
}

int grfx_BitCount(const TB_DIB* pdib)
{
    return pdib && pdib->lpBitmapInfo ? (int)pdib->lpBitmapInfo->bmiHeader.biBitCount : 0;
}

BOOL grfx_CreateDIB8(TB_DIB* pdib, int width, int height)
{
    memset(pdib, 0, sizeof *pdib);
    long long bytes = ImageBytes(width, height, 8);
    if (bytes < 0) return FALSE;
    BYTE* block = AllocBlock(kHeader8Size + bytes);
    if (!block) return FALSE;
    FillHeader((BITMAPINFOHEADER*)block, width, height, 8);
    FillPaletteIndices((BITMAPINFO*)block);
    pdib->lpBitmapInfo = (LPBITMAPINFO)block;
    pdib->lpBits = block + kHeader8Size;
    return TRUE;
}

BOOL grfx_CreateDIB24(TB_DIB* pdib, int width, int height)
{
    memset(pdib, 0, sizeof *pdib);
    long long bytes = ImageBytes(width, height, 24);
    if (bytes < 0) return FALSE;
    BYTE* block = AllocBlock(sizeof(BITMAPINFOHEADER) + bytes);
    if (!block) return FALSE;
    FillHeader((BITMAPINFOHEADER*)block, width, height, 24);
    pdib->lpBitmapInfo = (LPBITMAPINFO)block;
    pdib->lpBits = block + sizeof(BITMAPINFOHEADER);
    return TRUE;
}

BOOL grfx_CreateDIBSection8(HDC dc, TB_DIB* pdib, int width, int height)
{
    memset(pdib, 0, sizeof *pdib);
    if (ImageBytes(width, height, 8) < 0) return FALSE;
    BYTE* block = AllocBlock(kHeader8Size);
    if (!block) return FALSE;
    FillHeader((BITMAPINFOHEADER*)block, width, height, 8);
    FillPaletteIndices((BITMAPINFO*)block);
    // The colour table of the section is taken from the palette selected in dc.
    if (!CreateSection(dc, pdib, block, DIB_PAL_COLORS)) return FALSE;
    int stride = grfx_StorageWidth(width, 8);
    for (int row = 0; row < height; ++row) memset(pdib->lpBits + (size_t)stride * row, 0, stride);
    return TRUE;
}

BOOL grfx_CreateDIBSection24(HDC dc, TB_DIB* pdib, int width, int height)
{
    memset(pdib, 0, sizeof *pdib);
    if (ImageBytes(width, height, 24) < 0) return FALSE;
    BYTE* block = AllocBlock(sizeof(BITMAPINFOHEADER));
    if (!block) return FALSE;
    FillHeader((BITMAPINFOHEADER*)block, width, height, 24);
    return CreateSection(dc, pdib, block, DIB_RGB_COLORS);
}

BOOL grfx_CreateDIBSection1(HDC dc, TB_DIB* pdib, int width, int height)
{
    memset(pdib, 0, sizeof *pdib);
    if (ImageBytes(width, height, 1) < 0) return FALSE;
    BYTE* block = AllocBlock(kHeader1Size);
    if (!block) return FALSE;
    FillHeader((BITMAPINFOHEADER*)block, width, height, 1);
    RGBQUAD* colors = ((BITMAPINFO*)block)->bmiColors;
    colors[0] = RGBQUAD{0, 0, 0, 0};
    colors[1] = RGBQUAD{255, 255, 255, 0};
    return CreateSection(dc, pdib, block, DIB_RGB_COLORS);
}

BOOL grfx_LoadDIBResource(HINSTANCE module, TB_DIB* pdib, int id)
{
    memset(pdib, 0, sizeof *pdib);
    WORD number = (WORD)id;
    if (!number) return FALSE;
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(number), (LPCSTR)RT_BITMAP);
    if (!found) return FALSE;
    DWORD size = SizeofResource(module, found);
    HGLOBAL data = LoadResource(module, found);
    if (!data) return FALSE;
    BYTE* p = (BYTE*)LockResource(data);
    const BITMAPINFOHEADER* h = (const BITMAPINFOHEADER*)p;
    // Only uncompressed bottom-up images whose pixels lie wholly inside the resource.
    bool usable = p && size >= sizeof(BITMAPINFOHEADER) && h->biSize >= sizeof(BITMAPINFOHEADER) &&
                  h->biSize <= size && h->biCompression == BI_RGB && h->biWidth > 0 && h->biHeight > 0 &&
                  (h->biBitCount == 1 || h->biBitCount == 4 || h->biBitCount == 8 || h->biBitCount == 24) &&
                  h->biClrUsed <= 256;
    if (usable) {
        long long offset = (long long)h->biSize + (long long)ColorCount(h) * sizeof(RGBQUAD);
        long long bytes = ImageBytes(h->biWidth, h->biHeight, h->biBitCount);
        usable = offset + bytes <= (long long)size;
        if (usable) {
            pdib->hResData = data;
            pdib->lpBitmapInfo = (LPBITMAPINFO)p;
            pdib->lpBits = p + offset;
            return TRUE;
        }
    }
    FreeResource(data);
    return FALSE;
}

void grfx_FreeDIB(TB_DIB* pdib)
{
    if (!pdib) return;
    if (pdib->hBitmap) {
        DeleteObject(pdib->hBitmap);
        FreeBlock(pdib->lpBitmapInfo);
    } else if (pdib->hResData) {
        UnlockResource(pdib->hResData);
        FreeResource(pdib->hResData);
    } else {
        FreeBlock(pdib->lpBitmapInfo);
    }
    memset(pdib, 0, sizeof *pdib);
}

BYTE* grfx_GetPixelAddress(const TB_DIB* pdib, int x, int y)
{
    if (!pdib || !pdib->lpBits || !pdib->lpBitmapInfo) return nullptr;
    int width = grfx_Width(pdib), height = grfx_Height(pdib), bits = grfx_BitCount(pdib);
    if (x < 0 || y < 0 || x >= width || y >= height) return nullptr;
    if (bits != 8 && bits != 24) return nullptr;
    size_t row = (size_t)grfx_StorageWidth(width, bits) * (size_t)(height - y - 1);
    return pdib->lpBits + row + (size_t)x * (bits / 8);
}

void grfx_CopyBits(const TB_DIB* pdibSrc, int xSrc, int ySrc, int width, int height, TB_DIB* pdibDest, int xDest,
                   int yDest, BYTE transparent)
{
    if (width <= 0 || height <= 0 || !pdibSrc || !pdibDest || !pdibSrc->lpBits || !pdibDest->lpBits) return;
    int bits = grfx_BitCount(pdibSrc);
    if ((bits != 8 && bits != 24) || grfx_BitCount(pdibDest) != bits) return;

    // Keep the rectangle inside both images.
    if (xSrc < 0) { width += xSrc; xDest -= xSrc; xSrc = 0; }
    if (ySrc < 0) { height += ySrc; yDest -= ySrc; ySrc = 0; }
    if (xDest < 0) { width += xDest; xSrc -= xDest; xDest = 0; }
    if (yDest < 0) { height += yDest; ySrc -= yDest; yDest = 0; }
    long long w = width, h = height;
    if (xSrc + w > grfx_Width(pdibSrc)) w = (long long)grfx_Width(pdibSrc) - xSrc;
    if (ySrc + h > grfx_Height(pdibSrc)) h = (long long)grfx_Height(pdibSrc) - ySrc;
    if (xDest + w > grfx_Width(pdibDest)) w = (long long)grfx_Width(pdibDest) - xDest;
    if (yDest + h > grfx_Height(pdibDest)) h = (long long)grfx_Height(pdibDest) - yDest;
    if (w <= 0 || h <= 0) return;
    width = (int)w;
    height = (int)h;

    GdiFlush();  // the system may still be drawing into a section
    // Start at the lowest rows in memory and walk upwards.
    BYTE* pSrc = grfx_GetPixelAddress(pdibSrc, xSrc, ySrc + height - 1);
    BYTE* pDest = grfx_GetPixelAddress(pdibDest, xDest, yDest + height - 1);
    if (!pSrc || !pDest) return;
    int strideSrc = grfx_StorageWidth(grfx_Width(pdibSrc), bits);
    int strideDest = grfx_StorageWidth(grfx_Width(pdibDest), bits);
    size_t count = (size_t)width * (bits / 8);
    for (int row = 0; row < height; ++row) {
        if (!transparent) {
            memmove(pDest, pSrc, count);
        } else {
            for (size_t i = 0; i < count; ++i)
                if (pSrc[i] != transparent) pDest[i] = pSrc[i];
        }
        pSrc += strideSrc;
        pDest += strideDest;
    }
}

// A logical palette of 256 zeroed entries, version 0x300, ready for CreatePalette.
struct Palette256 {
    WORD version;
    WORD count;
    PALETTEENTRY entries[256];
};

static Palette256 grfx_EmptyPalette(void)
{
    Palette256 pal;
    memset(&pal, 0, sizeof pal);
    pal.version = 0x300;
    pal.count = 256;
    return pal;
}

HPALETTE grfx_CreateIdentityPalette(const TB_DIB* pdib)
{
    Palette256 pal = grfx_EmptyPalette();

    HDC screen = GetDC(nullptr);
    int reserved;
    if (GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE) {
        reserved = GetDeviceCaps(screen, NUMCOLORS);
        if (reserved < 0 || reserved > 256) reserved = 20;
        GetSystemPaletteEntries(screen, 0, 256, pal.entries);
    } else {
        // A true-colour display has no system palette to read (the call fails and would leave 256
        // blacks): take the system's 20 static colours, black first and white last, and give the
        // picture the 236 entries between them, so that its colours, mask black and white among
        // them, are matched exactly.
        reserved = 20;
        PALETTEENTRY stock[20];
        memset(stock, 0, sizeof stock);
        UINT got = GetPaletteEntries((HPALETTE)GetStockObject(DEFAULT_PALETTE), 0, 20, stock);
        if (got != 20) {
            memset(stock, 0, sizeof stock);
            stock[19] = PALETTEENTRY{255, 255, 255, 0};
        }
        for (int i = 0; i < 10; ++i) {
            pal.entries[i] = stock[i];
            pal.entries[246 + i] = stock[10 + i];
        }
    }
    int half = reserved / 2;
    for (int i = 0; i < half; ++i) {
        pal.entries[i].peFlags = 0;
        pal.entries[255 - i].peFlags = 0;
    }
    const BITMAPINFOHEADER* h = pdib && pdib->lpBitmapInfo ? &pdib->lpBitmapInfo->bmiHeader : nullptr;
    int colors = h && h->biBitCount <= 8 ? ColorCount(h) : 0;
    for (int i = half; i <= 255 - half; ++i) {
        int k = i - half;
        PALETTEENTRY e = {0, 0, 0, PC_RESERVED};
        if (k < colors) {
            const RGBQUAD& q = pdib->lpBitmapInfo->bmiColors[k];
            e.peRed = q.rgbRed;
            e.peGreen = q.rgbGreen;
            e.peBlue = q.rgbBlue;
        }
        pal.entries[i] = e;
    }
    ReleaseDC(nullptr, screen);
    return CreatePalette((LOGPALETTE*)&pal);
}

void grfx_MapDIBToPalette(HPALETTE palette, TB_DIB* pdib)
{
    if (!palette || !pdib || !pdib->lpBitmapInfo || !pdib->lpBits || grfx_BitCount(pdib) != 8) return;
    RGBQUAD* table = pdib->lpBitmapInfo->bmiColors;
    int colors = ColorCount(&pdib->lpBitmapInfo->bmiHeader);
    if (colors > 256) colors = 256;
    PALETTEENTRY entries[256];
    memset(entries, 0, sizeof entries);
    const int count = (int)GetPaletteEntries(palette, 0, 256, entries);
    // The nearest palette entry as the system finds it (GetNearestPaletteIndex): the first of the
    // smallest sum of squared differences. Searched here over the entries read once, instead of
    // asking the system 256 times for every picture loaded.
    auto nearest = [&](int red, int green, int blue) {
        int best = 0, bestDistance = 0x7fffffff;
        for (int i = 0; i < count && bestDistance; ++i) {
            const int r = entries[i].peRed - red, g = entries[i].peGreen - green, b = entries[i].peBlue - blue;
            const int distance = r * r + g * g + b * b;
            if (distance < bestDistance) {
                best = i;
                bestDistance = distance;
            }
        }
        return (BYTE)best;
    };
    BYTE translate[256];
    for (int k = 0; k < 256; ++k) {
        // Pixel values past a short colour table have no colour of their own: black.
        translate[k] = k < colors ? nearest(table[k].rgbRed, table[k].rgbGreen, table[k].rgbBlue) : nearest(0, 0, 0);
    }
    size_t bytes = (size_t)grfx_StorageWidth(grfx_Width(pdib), 8) * (size_t)grfx_Height(pdib);
    BYTE* p = pdib->lpBits;
    for (size_t i = 0; i < bytes; ++i) p[i] = translate[p[i]];
    for (int k = 0; k < colors; ++k) {
        table[k].rgbRed = entries[k].peRed;
        table[k].rgbGreen = entries[k].peGreen;
        table[k].rgbBlue = entries[k].peBlue;
        table[k].rgbReserved = 0;
    }
}

void grfx_ClearSystemPalette(void)
{
    Palette256 pal = grfx_EmptyPalette();
    for (auto& e : pal.entries) e.peFlags = PC_NOCOLLAPSE;
    HPALETTE black = CreatePalette((LOGPALETTE*)&pal);
    if (!black) return;
    HDC screen = GetDC(nullptr);
    HPALETTE old = SelectPalette(screen, black, FALSE);
    RealizePalette(screen);
    if (old) SelectPalette(screen, old, FALSE);
    DeleteObject(black);
    ReleaseDC(nullptr, screen);
}

void grfx_GetPixel24(const TB_DIB* pdib, int x, int y, BYTE* red, BYTE* green, BYTE* blue)
{
    BYTE* p = grfx_BitCount(pdib) == 24 ? grfx_GetPixelAddress(pdib, x, y) : nullptr;
    *blue = p ? p[0] : 0;
    *green = p ? p[1] : 0;
    *red = p ? p[2] : 0;
}

void grfx_SetPixel24(TB_DIB* pdib, int x, int y, BYTE red, BYTE green, BYTE blue)
{
    BYTE* p = grfx_BitCount(pdib) == 24 ? grfx_GetPixelAddress(pdib, x, y) : nullptr;
    if (!p) return;
    p[0] = blue;
    p[1] = green;
    p[2] = red;
}
