// The program palette, the mapping of 8-bit pictures onto it, 24-bit pixel access, row copies and
// masked drawing.
#include <cstring>

#include "tb_test_util.h"

class Palette : public ToolboxTest {};
class Grfx : public ToolboxTest {};
class Masked : public ToolboxTest {};

namespace {

Rgb PaletteColor(HPALETTE palette, int index)
{
    PALETTEENTRY e = {};
    GetPaletteEntries(palette, index, 1, &e);
    return {e.peRed, e.peGreen, e.peBlue};
}

// The colour that an 8-bit pixel of a bitmap stands for in the program palette.
Rgb IndexedColor(int index, int x, int y)
{
    GdiFlush();
    const BYTE* p = grfx_GetPixelAddress(tb_GetBitmapDIB(index), x, y);
    return PaletteColor(tb.palette, *p);
}

}  // namespace

TEST_F(Palette, FirstEightBitPictureBuildsThePaletteBetweenTheSystemColours)
{
    ASSERT_EQ(tb.palette, nullptr);
    RECT r = {};
    int b = tb_CreateBitmap(&r, PIC_COLORS8, 8);
    ASSERT_GE(b, 0);
    ASSERT_NE(tb.palette, nullptr);
    EXPECT_EQ(tb_GetProgramPalette(), tb.palette);
    EXPECT_EQ(GetPaletteEntries(tb.palette, 0, 0, nullptr), 256u);

    PALETTEENTRY entries[256] = {};
    ASSERT_EQ(GetPaletteEntries(tb.palette, 0, 256, entries), 256u);
    PALETTEENTRY stock[20] = {};
    ASSERT_EQ(GetPaletteEntries((HPALETTE)GetStockObject(DEFAULT_PALETTE), 0, 20, stock), 20u);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(Rgb({entries[i].peRed, entries[i].peGreen, entries[i].peBlue}),
                  Rgb({stock[i].peRed, stock[i].peGreen, stock[i].peBlue}));
        EXPECT_EQ(entries[i].peFlags, 0);
        const PALETTEENTRY& high = entries[246 + i];
        EXPECT_EQ(Rgb({high.peRed, high.peGreen, high.peBlue}),
                  Rgb({stock[10 + i].peRed, stock[10 + i].peGreen, stock[10 + i].peBlue}));
        EXPECT_EQ(high.peFlags, 0);
    }
    EXPECT_EQ(PaletteColor(tb.palette, 0), Rgb({0, 0, 0}));
    EXPECT_EQ(PaletteColor(tb.palette, 255), Rgb({255, 255, 255}));
    for (int i = 10; i <= 245; ++i) {
        EXPECT_EQ(PaletteColor(tb.palette, i), Colors8Table(i - 10)) << "entry " << i;
        EXPECT_EQ(entries[i].peFlags, PC_RESERVED);
    }
    tb_DisposeBitmap(b);
}

TEST_F(Palette, EightBitPicturesEndUpAsPaletteIndicesOfTheirOwnColours)
{
    RECT r = {};
    int colors = tb_CreateBitmap(&r, PIC_COLORS8, 8);
    int mask = tb_CreateBitmap(&r, PIC_MASK8, 8);  // mapped onto the palette the first one built
    ASSERT_GE(colors, 0);
    ASSERT_GE(mask, 0);
    HDC colorsDC = tb_GetBitmapDC(colors);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            int k = y * 16 + x;
            if (k >= 236) continue;  // colours the palette had no room for map to their nearest
            ASSERT_EQ(IndexedColor(colors, x, y), Colors8Table(k)) << k;
            ASSERT_EQ(SurfaceColor(colorsDC, x, y), Colors8Table(k)) << k;
        }
    }
    HDC maskDC = tb_GetBitmapDC(mask);
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 16; ++x) {
            Rgb want = InsideMask(x, y) ? Rgb{255, 255, 255} : Rgb{0, 0, 0};
            ASSERT_EQ(IndexedColor(mask, x, y), want) << x << "," << y;
            ASSERT_EQ(SurfaceColor(maskDC, x, y), want) << x << "," << y;
        }
    }
    // The surface's colour table is the program palette.
    RGBQUAD table[256] = {};
    ASSERT_EQ(GetDIBColorTable(maskDC, 0, 256, table), 256u);
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(Rgb({table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue}), PaletteColor(tb.palette, i));
    tb_DisposeBitmap(mask);
    tb_DisposeBitmap(colors);
}

TEST_F(Palette, MaskAsFirstPictureStillGivesExactBlackAndWhite)
{
    RECT r = {};
    int mask = tb_CreateBitmap(&r, PIC_MASK8, 8);
    ASSERT_GE(mask, 0);
    HDC dc = tb_GetBitmapDC(mask);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(SurfaceColor(dc, x, y), InsideMask(x, y) ? Rgb({255, 255, 255}) : Rgb({0, 0, 0}));
    // The module's own copy of the picture is left as it was: still table entries 0 and 1.
    TB_DIB raw = {};
    ASSERT_TRUE(grfx_LoadDIBResource(GetModuleHandleA(nullptr), &raw, PIC_MASK8));
    EXPECT_NE(raw.hResData, nullptr);
    EXPECT_EQ(raw.lpBits, (BYTE*)raw.lpBitmapInfo + 1064);
    EXPECT_EQ(raw.lpBitmapInfo->bmiColors[0].rgbGreen, 255);
    EXPECT_EQ(raw.lpBitmapInfo->bmiColors[1].rgbGreen, 0);
    EXPECT_EQ(*grfx_GetPixelAddress(&raw, 5, 5), 0);
    EXPECT_EQ(*grfx_GetPixelAddress(&raw, 0, 0), 1);
    grfx_FreeDIB(&raw);
    EXPECT_EQ(raw.lpBitmapInfo, nullptr);
    // Loading it again gives the same picture.
    int again = tb_CreateBitmap(&r, PIC_MASK8, 8);
    ASSERT_GE(again, 0);
    HDC dc2 = tb_GetBitmapDC(again);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 16; ++x) ASSERT_EQ(GetPixel(dc2, x, y), GetPixel(dc, x, y));
    tb_DisposeBitmap(again);
    tb_DisposeBitmap(mask);
}

TEST_F(Palette, MappingRewritesPixelsAndTableThroughTheNearestColour)
{
    RECT r = {};
    int b = tb_CreateBitmap(&r, PIC_COLORS8, 8);
    ASSERT_GE(b, 0);
    tb_DisposeBitmap(b);

    // A 4 x 2 picture with its own 256-colour table: entry 0 white, 1 black, 2 the picture's colour
    // 7, 3 almost white, every other entry colour 20 of the picture.
    std::vector<BYTE> block(40 + 1024 + 8, 0);
    TB_DIB dib = {};
    dib.lpBitmapInfo = (LPBITMAPINFO)block.data();
    dib.lpBits = block.data() + 1064;
    BITMAPINFOHEADER& h = dib.lpBitmapInfo->bmiHeader;
    h = BITMAPINFOHEADER{40, 4, 2, 1, 8, BI_RGB, 0, 0, 0, 256, 0};
    RGBQUAD* table = dib.lpBitmapInfo->bmiColors;
    auto set = [&](int i, Rgb c) { table[i] = RGBQUAD{(BYTE)c.b, (BYTE)c.g, (BYTE)c.r, 0}; };
    for (int i = 0; i < 256; ++i) set(i, Colors8Table(20));
    set(0, {255, 255, 255});
    set(1, {0, 0, 0});
    set(2, Colors8Table(7));
    set(3, {254, 255, 253});
    const BYTE pixels[8] = {0, 1, 2, 3, 200, 1, 0, 2};
    memcpy(dib.lpBits, pixels, 8);

    grfx_MapDIBToPalette(tb.palette, &dib);
    for (int i = 0; i < 8; ++i) {
        Rgb want = pixels[i] == 0 || pixels[i] == 3 ? Rgb{255, 255, 255}
                   : pixels[i] == 1                 ? Rgb{0, 0, 0}
                   : pixels[i] == 2                 ? Colors8Table(7)
                                                    : Colors8Table(20);
        EXPECT_EQ(PaletteColor(tb.palette, dib.lpBits[i]), want) << "pixel " << i;
    }
    EXPECT_EQ(dib.lpBits[2], 10 + 7);
    for (int i = 0; i < 256; ++i)
        ASSERT_EQ(Rgb({table[i].rgbRed, table[i].rgbGreen, table[i].rgbBlue}), PaletteColor(tb.palette, i));

    // Mapped a second time, now that its table is the palette, nothing moves.
    BYTE before[8];
    memcpy(before, dib.lpBits, 8);
    grfx_MapDIBToPalette(tb.palette, &dib);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(PaletteColor(tb.palette, dib.lpBits[i]), PaletteColor(tb.palette, before[i]));
    EXPECT_EQ(dib.lpBits[2], before[2]);
}

TEST_F(Palette, BlankEightBitBitmapsShareTheProgramPalette)
{
    RECT r = {};
    int picture = tb_CreateBitmap(&r, PIC_COLORS8, 8);
    int blank = Blank8(6, 4);
    ASSERT_GE(blank, 0);
    HDC dc = tb_GetBitmapDC(blank);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PAL), (HGDIOBJ)tb.palette);
    EXPECT_EQ(GetStretchBltMode(dc), COLORONCOLOR);
    RGBQUAD table[256] = {};
    ASSERT_EQ(GetDIBColorTable(dc, 0, 256, table), 256u);
    EXPECT_EQ(Rgb({table[17].rgbRed, table[17].rgbGreen, table[17].rgbBlue}), Colors8Table(7));
    // Index 17 written straight into the pixels shows the palette's colour 17.
    GdiFlush();
    *grfx_GetPixelAddress(tb_GetBitmapDIB(blank), 2, 1) = 17;
    EXPECT_EQ(SurfaceColor(dc, 2, 1), Colors8Table(7));
    tb_DisposeBitmap(blank);
    tb_DisposeBitmap(picture);
}

TEST_F(Grfx, PixelAccessCountsYFromTheTopAndIgnoresOutsidePoints)
{
    int b = Memory24(5, 4);
    ASSERT_GE(b, 0);
    TB_DIB* dib = tb_GetBitmapDIB(b);
    memset(dib->lpBits, 0xAB, 16 * 4);
    std::vector<BYTE> before(dib->lpBits, dib->lpBits + 64);

    BYTE r = 9, g = 9, bl = 9;
    for (POINT p : {POINT{5, 0}, POINT{-1, 0}, POINT{0, 4}, POINT{0, -1}, POINT{100000, 2}}) {
        r = g = bl = 9;
        grfx_GetPixel24(dib, p.x, p.y, &r, &g, &bl);
        EXPECT_EQ(r + g + bl, 0) << p.x << "," << p.y;
        grfx_SetPixel24(dib, p.x, p.y, 1, 2, 3);
    }
    EXPECT_EQ(std::vector<BYTE>(dib->lpBits, dib->lpBits + 64), before);
    EXPECT_EQ(grfx_GetPixelAddress(dib, 5, 0), nullptr);
    EXPECT_EQ(grfx_GetPixelAddress(dib, 0, 4), nullptr);

    grfx_SetPixel24(dib, 1, 0, 10, 20, 30);  // top row: stored last
    EXPECT_EQ(grfx_GetPixelAddress(dib, 1, 0), dib->lpBits + 3 * 16 + 3);
    EXPECT_EQ(dib->lpBits[48 + 3], 30);
    EXPECT_EQ(dib->lpBits[48 + 4], 20);
    EXPECT_EQ(dib->lpBits[48 + 5], 10);
    grfx_SetPixel24(dib, 4, 3, 40, 50, 60);  // bottom row: stored first
    EXPECT_EQ(dib->lpBits[12], 60);
    EXPECT_EQ(dib->lpBits[14], 40);
    grfx_GetPixel24(dib, 4, 3, &r, &g, &bl);
    EXPECT_EQ(Rgb({r, g, bl}), Rgb({40, 50, 60}));
    EXPECT_EQ(dib->lpBits[15], 0xAB);  // padding untouched

    int b8 = Memory8(5, 4);
    EXPECT_EQ(grfx_GetPixelAddress(tb_GetBitmapDIB(b8), 4, 0), tb_GetBitmapDIB(b8)->lpBits + 3 * 8 + 4);
    tb_DisposeBitmap(b8);
    tb_DisposeBitmap(b);
}

TEST_F(Grfx, CopyBitsMovesRowsAndStaysInsideBothImages)
{
    int src = Memory24(10, 10);
    int dst = Memory24(7, 8);  // 21 bytes of pixels and 3 of padding a row
    Fill(src, Marker);
    TB_DIB* d = tb_GetBitmapDIB(dst);
    memset(d->lpBits, 0xEE, 24 * 8);
    grfx_CopyBits(tb_GetBitmapDIB(src), 2, 1, 3, 2, d, 0, 0, 0);
    EXPECT_EQ(Pixel(dst, 0, 0), Marker(2, 1));
    EXPECT_EQ(Pixel(dst, 2, 1), Marker(4, 2));
    EXPECT_EQ(Pixel(dst, 3, 0), Rgb({0xEE, 0xEE, 0xEE}));
    EXPECT_EQ(Pixel(dst, 0, 2), Rgb({0xEE, 0xEE, 0xEE}));

    // Reaching past the destination's right and bottom edges (and the source's) copies only what fits.
    grfx_CopyBits(tb_GetBitmapDIB(src), 0, 0, 10, 10, d, 5, 5, 0);
    EXPECT_EQ(Pixel(dst, 5, 5), Marker(0, 0));
    EXPECT_EQ(Pixel(dst, 6, 7), Marker(1, 2));
    for (int row = 0; row < 8; ++row)
        for (int pad = 21; pad < 24; ++pad) EXPECT_EQ(d->lpBits[row * 24 + pad], 0xEE) << "padding of row " << row;
    // Negative corners are trimmed to the images.
    grfx_CopyBits(tb_GetBitmapDIB(src), 6, 6, 4, 4, d, -2, -3, 0);
    EXPECT_EQ(Pixel(dst, 0, 0), Marker(8, 9));
    // Nothing for empty sizes or images of different depth.
    int d8 = Memory8(8, 8);
    grfx_CopyBits(tb_GetBitmapDIB(src), 0, 0, 4, 4, tb_GetBitmapDIB(d8), 0, 0, 0);
    for (int i = 0; i < 64; ++i) ASSERT_EQ(tb_GetBitmapDIB(d8)->lpBits[i], 0);
    grfx_CopyBits(tb_GetBitmapDIB(src), 0, 0, 0, 4, d, 0, 0, 0);
    EXPECT_EQ(Pixel(dst, 0, 0), Marker(8, 9));
    tb_DisposeBitmap(d8);
    tb_DisposeBitmap(dst);
    tb_DisposeBitmap(src);
}

TEST_F(Grfx, TransparentByteIsSkippedBytewise)
{
    int src = Memory24(2, 1);
    int dst = Memory24(2, 1);
    PutPixel(src, 0, 0, {255, 10, 255});
    PutPixel(src, 1, 0, {1, 2, 3});
    PutPixel(dst, 0, 0, {7, 8, 9});
    PutPixel(dst, 1, 0, {7, 8, 9});
    grfx_CopyBits(tb_GetBitmapDIB(src), 0, 0, 2, 1, tb_GetBitmapDIB(dst), 0, 0, 255);
    EXPECT_EQ(Pixel(dst, 0, 0), Rgb({7, 10, 9}));  // per colour byte, not per pixel
    EXPECT_EQ(Pixel(dst, 1, 0), Rgb({1, 2, 3}));
    tb_DisposeBitmap(dst);
    tb_DisposeBitmap(src);
}

namespace {

// Background, image and mask for the masked drawing: the object of image24/mask8 drawn at (5, 4)
// of a 30 x 20 bitmap.
struct MaskScene {
    int dest, image, mask;
    RECT imageRect{0, 0, 16, 12}, destRect{5, 4, 21, 16};
    MaskScene()
    {
        RECT r = {};
        image = tb_CreateBitmap(&r, PIC_IMAGE24, 24);
        mask = tb_CreateBitmap(&r, PIC_MASK8, 8);
        dest = Blank24(30, 20);
        Fill(dest, Marker);
    }
    ~MaskScene()
    {
        tb_DisposeBitmap(dest);
        tb_DisposeBitmap(mask);
        tb_DisposeBitmap(image);
    }
    bool Covered(int x, int y) const { return InsideMask(x - 5, y - 4) && x >= 5 && y >= 4; }
};

}  // namespace

TEST_F(Masked, ObjectShowsInsideTheMaskAndTheBackgroundElsewhere)
{
    MaskScene s;
    ASSERT_GE(s.image, 0);
    ASSERT_GE(s.mask, 0);
    tb_CopyBitmapMasked(s.image, s.mask, s.dest, &s.imageRect, &s.imageRect, &s.destRect);
    int covered = 0;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 30; ++x) {
            Rgb want = s.Covered(x, y) ? ImageColor(x - 5, y - 4) : Marker(x, y);
            covered += s.Covered(x, y);
            ASSERT_EQ(Pixel(s.dest, x, y), want) << x << "," << y;
        }
    }
    EXPECT_EQ(covered, 8 * 6);
}

TEST_F(Masked, ClipRectangleLimitsTheDrawing)
{
    MaskScene s;
    RECT clip = {12, 0, 30, 10};
    tb_SetClipRect(s.dest, &clip);
    tb_CopyBitmapMasked(s.image, s.mask, s.dest, &s.imageRect, &s.imageRect, &s.destRect);
    int drawn = 0;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 30; ++x) {
            bool inClip = x >= 12 && y < 10;
            Rgb want = s.Covered(x, y) && inClip ? ImageColor(x - 5, y - 4) : Marker(x, y);
            drawn += s.Covered(x, y) && inClip;
            ASSERT_EQ(Pixel(s.dest, x, y), want) << x << "," << y;
        }
    }
    EXPECT_EQ(drawn, 5 * 3);
    tb_ClearClipRect(s.dest);
}

TEST_F(Masked, StretchesImageAndMaskOntoALargerRectangle)
{
    MaskScene s;
    RECT big = {0, 0, 32, 24};
    int dest = Blank24(32, 24);
    Fill(dest, Grey);
    tb_CopyBitmapMasked(s.image, s.mask, dest, &s.imageRect, &s.imageRect, &big);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 32; ++x)
            ASSERT_EQ(Pixel(dest, x, y), InsideMask(x / 2, y / 2) ? ImageColor(x / 2, y / 2) : Grey(x, y))
                << x << "," << y;
    tb_DisposeBitmap(dest);
}
