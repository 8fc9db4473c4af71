// The bitmap table: slots, creation of every kind, queries and their error texts, disposal.
#include <cstring>
#include <vector>

#include "boxes.h"
#include "tb_test_util.h"

class Bitmaps : public ToolboxTest {};

TEST_F(Bitmaps, HundredSlotsThenRefusalAndLowestFreeReuse)
{
    BoxScript boxes;
    for (int i = 0; i < TB_MAX_BITMAPS; ++i) ASSERT_EQ(Memory24(2, 2), i);
    EXPECT_EQ(boxes.count(), 0u);

    EXPECT_EQ(Blank24(4, 4), -1);
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.seen()[0].caption, "Error...");
    EXPECT_EQ(boxes.lastText(), "No more available Bitmaps! (tb_CreateBitmap)");
    RECT r = {1, 2, 3, 4};
    EXPECT_EQ(tb_CreateBitmap(&r, PIC_PICTURE24, 24), -1);
    EXPECT_EQ(boxes.count(), 2u);

    tb_DisposeBitmap(37);
    tb_DisposeBitmap(12);
    EXPECT_EQ(Blank24(3, 3), 12);
    EXPECT_EQ(Memory8(3, 3), 37);
    EXPECT_EQ(Memory8(3, 3), -1);
    EXPECT_EQ(boxes.count(), 3u);
    for (int i = 0; i < TB_MAX_BITMAPS; ++i) tb_DisposeBitmap(i);
    EXPECT_EQ(FreeSlotCount(), TB_MAX_BITMAPS);
    EXPECT_EQ(boxes.count(), 3u);
}

TEST_F(Bitmaps, DisposingAFreeSlotReportsIt)
{
    BoxScript boxes;
    int b = Blank24(8, 8);
    ASSERT_GE(b, 0);
    tb_DisposeBitmap(b);
    EXPECT_EQ(boxes.count(), 0u);
    tb_DisposeBitmap(b);
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.lastText(), "There is no bitmap to free! (tb_DisposeBitmap)");
    for (int index : {-1, 100, 5000}) {
        tb_DisposeBitmap(index);
        EXPECT_EQ(boxes.lastText(), "There is no bitmap to free! (tb_DisposeBitmap)");
    }
    EXPECT_EQ(boxes.count(), 4u);
}

TEST_F(Bitmaps, QueriesOnFreeSlotsReportAndReturnMinusOne)
{
    BoxScript boxes;
    for (int index : {0, 57, -1, 100, 5000}) {
        EXPECT_EQ(tb_GetBitmapWidth(index), -1);
        EXPECT_EQ(boxes.lastText(), "Invalid bitmap! (tb_GetBitmapWidth)");
        EXPECT_EQ(tb_GetBitmapHeight(index), -1);
        EXPECT_EQ(boxes.lastText(), "Invalid bitmap! (tb_GetBitmapHeight)");
        EXPECT_EQ(tb_GetBitmapStorageWidth(index), -1);
        EXPECT_EQ(boxes.lastText(), "Invalid bitmap! (tb_GetBitmapStorageWidth)");
        RECT r = {7, 8, 9, 10};
        tb_GetBitmapRect(index, &r);
        EXPECT_EQ(boxes.lastText(), "Invalid bitmap! (tb_GetBitmapRect)");
        EXPECT_TRUE(SameRect(r, RECT{7, 8, 9, 10}));
        EXPECT_EQ(tb_GetBitmapDC(index), nullptr);
        EXPECT_EQ(tb_GetBitmapDIB(index), nullptr);
    }
    EXPECT_EQ(boxes.count(), 20u);
    for (const SeenBox& box : boxes.seen()) EXPECT_EQ(box.caption, "Error...");
}

TEST_F(Bitmaps, BlankBitmapsKeepTheirRectangleAndHaveAZeroSurface)
{
    for (int depth : {24, 8, 1}) {
        for (int source : {0, -1}) {
            RECT r = {10, 20, 110, 70};
            int b = tb_CreateBitmap(&r, source, depth);
            ASSERT_GE(b, 0);
            EXPECT_EQ(tb_GetBitmapWidth(b), 100);
            EXPECT_EQ(tb_GetBitmapHeight(b), 50);
            RECT kept = {};
            tb_GetBitmapRect(b, &kept);
            EXPECT_TRUE(SameRect(kept, RECT{10, 20, 110, 70}));
            EXPECT_TRUE(SameRect(r, RECT{10, 20, 110, 70}));

            HDC dc = tb_GetBitmapDC(b);
            ASSERT_NE(dc, nullptr);
            const TB_DIB* dib = tb_GetBitmapDIB(b);
            ASSERT_NE(dib->hBitmap, nullptr);
            EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), (HGDIOBJ)dib->hBitmap);
            DIBSECTION section = {};
            ASSERT_EQ(GetObjectA(dib->hBitmap, sizeof section, &section), (int)sizeof section);
            EXPECT_EQ(section.dsBm.bmWidth, 100);
            EXPECT_EQ(section.dsBm.bmHeight, 50);
            EXPECT_EQ(section.dsBm.bmBitsPixel, depth);
            EXPECT_EQ(section.dsBm.bmBits, (void*)dib->lpBits);
            EXPECT_EQ(dib->hResData, nullptr);
            int stride = tb_GetBitmapStorageWidth(b);
            for (int i = 0; i < stride * 50; ++i) ASSERT_EQ(dib->lpBits[i], 0) << "byte " << i;
            tb_DisposeBitmap(b);
        }
    }
}

TEST_F(Bitmaps, StorageWidthsRoundRowsUpToFourBytes)
{
    struct Case { int width, depth, stride; };
    for (Case c : {Case{1, 24, 4}, Case{2, 24, 8}, Case{3, 24, 12}, Case{4, 24, 12}, Case{5, 24, 16},
                   Case{1, 8, 4}, Case{4, 8, 4}, Case{5, 8, 8}, Case{8, 8, 8}, Case{9, 8, 12}}) {
        for (int source : {0, (int)TB_SOURCE_MEMORY}) {
            int b = MakeBitmap(c.width, 3, source, c.depth);
            ASSERT_GE(b, 0);
            EXPECT_EQ(tb_GetBitmapStorageWidth(b), c.stride) << c.width << " pixels at " << c.depth;
            tb_DisposeBitmap(b);
        }
        EXPECT_EQ(grfx_StorageWidth(c.width, c.depth), c.stride);
    }
    EXPECT_EQ(grfx_StorageWidth(5, 16), 12);
    EXPECT_EQ(grfx_StorageWidth(33, 1), 8);
}

TEST_F(Bitmaps, MemoryOnlyImagesLayOutHeaderTableAndPixelsInOneBlock)
{
    int b8 = Memory8(5, 3);
    int b24 = Memory24(5, 3);
    ASSERT_GE(b8, 0);
    ASSERT_GE(b24, 0);
    EXPECT_EQ(tb_GetBitmapDC(b8), nullptr);
    EXPECT_EQ(tb_GetBitmapDC(b24), nullptr);

    const TB_DIB* d8 = tb_GetBitmapDIB(b8);
    EXPECT_EQ(d8->hBitmap, nullptr);
    EXPECT_EQ(d8->hResData, nullptr);
    const BITMAPINFOHEADER& h8 = d8->lpBitmapInfo->bmiHeader;
    EXPECT_EQ(h8.biSize, 40u);
    EXPECT_EQ(h8.biWidth, 5);
    EXPECT_EQ(h8.biHeight, 3);
    EXPECT_EQ(h8.biPlanes, 1);
    EXPECT_EQ(h8.biBitCount, 8);
    EXPECT_EQ(h8.biCompression, (DWORD)BI_RGB);
    EXPECT_EQ(h8.biClrUsed, 256u);
    EXPECT_EQ(h8.biClrImportant, 256u);
    const WORD* indices = (const WORD*)d8->lpBitmapInfo->bmiColors;
    for (int i = 0; i < 256; ++i) ASSERT_EQ(indices[i], i);
    EXPECT_EQ(d8->lpBits, (BYTE*)d8->lpBitmapInfo + 552);
    for (int i = 0; i < 8 * 3; ++i) EXPECT_EQ(d8->lpBits[i], 0);

    const TB_DIB* d24 = tb_GetBitmapDIB(b24);
    EXPECT_EQ(d24->lpBits, (BYTE*)d24->lpBitmapInfo + 40);
    EXPECT_EQ(d24->lpBitmapInfo->bmiHeader.biBitCount, 24);
    EXPECT_EQ(d24->lpBitmapInfo->bmiHeader.biClrUsed, 0u);
    for (int i = 0; i < 16 * 3; ++i) EXPECT_EQ(d24->lpBits[i], 0);
    tb_DisposeBitmap(b8);
    tb_DisposeBitmap(b24);
}

TEST_F(Bitmaps, SourcesWithoutAnImageStillTakeTheSlot)
{
    BoxScript boxes;
    int mono = Memory8(4, 4);  // occupies slot 0
    RECT r = {0, 0, 4, 4};
    int noDepth = tb_CreateBitmap(&r, TB_SOURCE_MEMORY, 1);
    int unknown = tb_CreateBitmap(&r, -5, 24);
    int empty = MakeBitmap(0, 0, 0, 24);
    EXPECT_EQ(noDepth, 1);
    EXPECT_EQ(unknown, 2);
    EXPECT_EQ(empty, 3);
    for (int b : {noDepth, unknown}) {
        ASSERT_NE(tb_GetBitmapDIB(b), nullptr);
        EXPECT_EQ(tb_GetBitmapDIB(b)->lpBits, nullptr);
        EXPECT_EQ(tb_GetBitmapDC(b), nullptr);
        EXPECT_EQ(tb_GetBitmapWidth(b), 0);
    }
    EXPECT_EQ(tb_GetBitmapDIB(empty)->lpBits, nullptr);
    EXPECT_NE(tb_GetBitmapDC(empty), nullptr);
    EXPECT_EQ(boxes.count(), 0u);
    for (int b : {mono, noDepth, unknown, empty}) tb_DisposeBitmap(b);
    EXPECT_EQ(boxes.count(), 0u);
}

TEST_F(Bitmaps, ResourcePicturesReplaceTheCallersRectangle)
{
    RECT r = {5, 6, 700, 800};
    int b = tb_CreateBitmap(&r, PIC_PICTURE24, 24);
    ASSERT_GE(b, 0);
    EXPECT_TRUE(SameRect(r, RECT{0, 0, 13, 7}));
    RECT kept = {};
    tb_GetBitmapRect(b, &kept);
    EXPECT_TRUE(SameRect(kept, RECT{0, 0, 13, 7}));
    EXPECT_EQ(tb_GetBitmapStorageWidth(b), 40);
    ASSERT_NE(tb_GetBitmapDC(b), nullptr);
    EXPECT_EQ(tb_GetBitmapDIB(b)->hResData, nullptr);  // a copy of its own, the resource is released
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 13; ++x) ASSERT_EQ(Pixel(b, x, y), PictureColor(x, y)) << x << "," << y;
    // The row padding of the surface stays zero.
    const BYTE* bits = tb_GetBitmapDIB(b)->lpBits;
    for (int row = 0; row < 7; ++row) EXPECT_EQ(bits[row * 40 + 39], 0);

    RECT m = {1, 1, 2, 2};
    int mask = tb_CreateBitmap(&m, PIC_MASK8, 8);
    ASSERT_GE(mask, 0);
    EXPECT_TRUE(SameRect(m, RECT{0, 0, 16, 12}));
    EXPECT_EQ(tb_GetBitmapWidth(mask), 16);
    EXPECT_EQ(tb_GetBitmapHeight(mask), 12);
    tb_DisposeBitmap(mask);
    tb_DisposeBitmap(b);
}

TEST_F(Bitmaps, MissingResourceOrMismatchedDepthGivesMinusOneAndTakesNoSlot)
{
    BoxScript boxes;
    RECT r = {3, 3, 9, 9};
    EXPECT_EQ(tb_CreateBitmap(&r, PIC_MISSING, 24), -1);
    EXPECT_EQ(tb_CreateBitmap(&r, PIC_PICTURE24, 8), -1);
    EXPECT_EQ(tb_CreateBitmap(&r, PIC_MASK8, 24), -1);
    EXPECT_TRUE(SameRect(r, RECT{3, 3, 9, 9}));
    EXPECT_EQ(FreeSlotCount(), TB_MAX_BITMAPS);
    EXPECT_EQ(tb.palette, nullptr);
    int next = Blank24(2, 2);
    EXPECT_EQ(next, 0);
    tb_DisposeBitmap(next);
}

TEST_F(Bitmaps, OneBitResourceIsDrawnIntoItsSurface)
{
    RECT r = {};
    int b = tb_CreateBitmap(&r, PIC_MONO1, 1);
    ASSERT_GE(b, 0);
    EXPECT_TRUE(SameRect(r, RECT{0, 0, 10, 6}));
    HDC dc = tb_GetBitmapDC(b);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 10; ++x)
            EXPECT_EQ(GetPixel(dc, x, y), MonoWhite(x, y) ? RGB(255, 255, 255) : RGB(0, 0, 0)) << x << "," << y;
    tb_DisposeBitmap(b);
}

TEST_F(Bitmaps, DisposeDeletesSurfaceAndImageAndForgetsTheClip)
{
    int b = Blank24(20, 10);
    ASSERT_GE(b, 0);
    HDC dc = tb_GetBitmapDC(b);
    HBITMAP bitmap = tb_GetBitmapDIB(b)->hBitmap;
    RECT clip = {1, 1, 5, 5};
    tb_SetClipRect(b, &clip);
    const int pooled = tb_PooledSurfaces();
    tb_DisposeBitmap(b);
    // The image and its surface are kept for the next bitmap of its size, until the pool is given back.
    EXPECT_EQ(tb_PooledSurfaces(), pooled + 1);
    tb_ReleaseSurfacePool();
    EXPECT_EQ(GetObjectType(dc), 0u);
    EXPECT_EQ(GetObjectType(bitmap), 0u);
    EXPECT_EQ(tb_PooledSurfaces(), 0);
    const TB_BitmapSlot& slot = tb.bitmaps[b];
    EXPECT_NE(slot.free, 0);
    EXPECT_EQ(slot.pImage, nullptr);
    EXPECT_EQ(slot.dc, nullptr);
    EXPECT_EQ(slot.image.lpBitmapInfo, nullptr);
    EXPECT_EQ(slot.image.lpBits, nullptr);
    EXPECT_EQ(slot.image.hBitmap, nullptr);
    EXPECT_TRUE(tb_ClipIsNone(slot.clip));

    int again = Blank24(3, 3);
    EXPECT_EQ(again, b);
    EXPECT_EQ(tb.bitmaps[again].pImage, &tb.bitmaps[again].image);
    tb_DisposeBitmap(again);
}

// A disposed surface comes back for the next bitmap of its size and depth, and then looks as a new
// one would (black when blank, the picture when loaded) and is drawn on like any other; other sizes
// and depths never get it, and only so many are kept.
TEST_F(Bitmaps, AKeptSurfaceComesBackAsANewOneWould)
{
    struct {
        int width, height, source, depth;
    } cases[] = {{20, 10, 0, 24}, {7, 5, -1, 24}, {20, 10, 0, 8}, {13, 7, PIC_PICTURE24, 24}, {16, 12, PIC_MASK8, 8}};
    auto colours = [](int index) {
        std::vector<Rgb> all;
        GdiFlush();
        for (int y = 0; y < tb_GetBitmapHeight(index); ++y)
            for (int x = 0; x < tb_GetBitmapWidth(index); ++x) all.push_back(SurfaceColor(tb_GetBitmapDC(index), x, y));
        return all;
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " source " << c.source << " depth " << c.depth);
        tb_ReleaseSurfacePool();
        int first = MakeBitmap(c.width, c.height, c.source, c.depth);
        ASSERT_GE(first, 0);
        const std::vector<Rgb> fresh = colours(first);
        HBITMAP kept = tb_GetBitmapDIB(first)->hBitmap;
        memset(tb_GetBitmapDIB(first)->lpBits, 0x5A, (size_t)Stride(c.width, c.depth) * c.height);  // left by its user
        RECT corner = {0, 0, 1, 1};
        tb_SetClipRect(first, &corner);  // and its clip, left selected in the surface by a line,
        tb_Line(first, 0, 0, 5, 5, 1);   // which the painting below must not meet
        tb_DisposeBitmap(first);
        EXPECT_EQ(tb_PooledSurfaces(), 1);
        for (int depth : {c.depth, c.depth == 8 ? 24 : 8}) {
            int taller = MakeBitmap(c.width, c.height + 1, 0, depth), wider = MakeBitmap(c.width + 1, c.height, 0, depth);
            EXPECT_NE(tb_GetBitmapDIB(taller)->hBitmap, kept) << "another height, depth " << depth;
            EXPECT_NE(tb_GetBitmapDIB(wider)->hBitmap, kept) << "another width, depth " << depth;
            tb_DisposeBitmap(taller);
            tb_DisposeBitmap(wider);
        }
        int other = MakeBitmap(c.width, c.height, 0, c.depth == 8 ? 24 : 8);
        EXPECT_NE(tb_GetBitmapDIB(other)->hBitmap, kept) << "another depth";
        tb_DisposeBitmap(other);

        int again = MakeBitmap(c.width, c.height, c.source, c.depth);
        ASSERT_GE(again, 0);
        EXPECT_EQ(tb_GetBitmapDIB(again)->hBitmap, kept) << "the kept surface came back";
        EXPECT_EQ(tb_GetBitmapWidth(again), c.width);
        EXPECT_EQ(tb_GetBitmapHeight(again), c.height);
        EXPECT_TRUE(colours(again) == fresh) << "as a new one would look";
        RECT r = {1, 1, 3, 3};
        tb_SetForeColor(again, 65025, 0, 0);
        tb_PaintRect(again, &r);
        GdiFlush();
        EXPECT_EQ(SurfaceColor(tb_GetBitmapDC(again), 2, 2), (Rgb{255, 0, 0}));
        tb_DisposeBitmap(again);
    }
    // Only so many are kept, however many sizes come and go, and none larger than a 1920 x 1080
    // screen's (a larger screen's canvas is not held once it goes).
    for (int i = 1; i <= 300; ++i) tb_DisposeBitmap(Blank24(i, 3));
    EXPECT_GT(tb_PooledSurfaces(), 16);
    EXPECT_LE(tb_PooledSurfaces(), 128);
    for (int size : {1080, 1081}) {
        tb_ReleaseSurfacePool();
        tb_DisposeBitmap(Blank24(1920, size));
        EXPECT_EQ(tb_PooledSurfaces(), size == 1080 ? 1 : 0) << "1920x" << size;
        EXPECT_EQ(tb_PooledBytes(), size == 1080 ? (size_t)5760 * 1080 : 0u) << "1920x" << size;
    }
    // A large surface disposed for a return (the display shrank) is kept outside that cap, for
    // the same size only: the small ones coming and going leave it, a large bitmap of another size
    // gives it back first, and no more than four are held.
    tb_ReleaseSurfacePool();
    int large = Blank24(1920, 1081);
    HBITMAP kept = tb_GetBitmapDIB(large)->hBitmap;
    tb_DisposeBitmapForReturn(large, true);
    for (int i = 1; i <= 300; ++i) tb_DisposeBitmap(Blank24(i, 3));
    large = Blank24(1920, 1081);
    EXPECT_EQ(tb_GetBitmapDIB(large)->hBitmap, kept) << "the large surface came back for its size";
    tb_DisposeBitmapForReturn(large, true);
    tb_DisposeBitmap(Blank24(1921, 1081));
    EXPECT_EQ(GetObjectType(kept), 0u) << "another large size gave it back";
    int six[6];
    HBITMAP surfaces[6];
    for (int i = 0; i < 6; ++i) {
        six[i] = Blank24(1920, 1090 + i);
        surfaces[i] = tb_GetBitmapDIB(six[i])->hBitmap;
    }
    for (int i = 0; i < 6; ++i) tb_DisposeBitmapForReturn(six[i], true);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(GetObjectType(surfaces[i]) != 0, i >= 2) << "large surface " << i;
    tb_ReleaseSurfacePool();
    EXPECT_EQ(tb_PooledSurfaces(), 0);
}
