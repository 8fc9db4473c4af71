// Drawing state, colour conversion, shapes, lines and flood fill on bitmap surfaces.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "boxes.h"
#include "tb_internal.h"
#include "test_surfaces.h"

namespace {

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);
const COLORREF kRed = RGB(255, 0, 0);

// Frees, at the end of a test, every slot the test filled.
struct Surfaces {
    std::vector<int> made;
    int surface(int w, int h)
    {
        int index = test_MakeSurfaceBitmap(w, h);
        made.push_back(index);
        return index;
    }
    int memoryOnly(int w, int h)
    {
        int index = test_MakeMemoryOnlyBitmap(w, h);
        made.push_back(index);
        return index;
    }
    ~Surfaces()
    {
        for (int index : made) {
            if (!tb.bitmaps[index].free) test_FreeBitmap(index);
            tb.bitmapDraw[index] = TB_DrawState{};
        }
    }
};

RECT rc(int l, int t, int r, int b) { return RECT{l, t, r, b}; }
bool Same(RECT a, RECT b) { return EqualRect(&a, &b) != 0; }

}  // namespace

TEST(Draw, ColourComponentsConvertToBytesByTheRule)
{
    EXPECT_EQ(tb_ColorToByte(0), 0);
    EXPECT_EQ(tb_ColorToByte(65025), 255);
    EXPECT_EQ(tb_ColorToByte(32512), 127);
    EXPECT_EQ(tb_ColorToByte(32513), 128);
    EXPECT_EQ(tb_ColorToByte(200), 0);
    EXPECT_EQ(tb_ColorToByte(255), 1);
    // Above 65025 the 16-bit scale applies.
    EXPECT_EQ(tb_ColorToByte(65026), 253);
    EXPECT_EQ(tb_ColorToByte(65535), 255);

    Surfaces s;
    int b = s.surface(20, 20);
    RECT r = rc(0, 0, 20, 20);
    struct Case {
        long red, green, blue;
        COLORREF pixel;
    } cases[] = {
        {65025, 0, 0, RGB(255, 0, 0)},
        {32512, 32512, 32512, RGB(127, 127, 127)},
        {32513, 32513, 32513, RGB(128, 128, 128)},
        {200, 255, 65026, RGB(0, 1, 253)},
        {0, 65025, 32513, RGB(0, 255, 128)},
    };
    for (const Case& c : cases) {
        tb_SetForeColor(b, c.red, c.green, c.blue);
        EXPECT_EQ(tb_GetForeColor(b), c.pixel);
        tb_PaintRect(b, &r);
        EXPECT_EQ(test_Pixel(b, 10, 10), c.pixel) << c.red << "," << c.green << "," << c.blue;
    }
}

TEST(Draw, PaintRectFillsTheHalfOpenRectangle)
{
    Surfaces s;
    int b = s.surface(40, 30);
    tb_SetForeColor(b, 65025, 0, 0);
    RECT r = rc(10, 10, 20, 15);
    tb_PaintRect(b, &r);
    EXPECT_EQ(test_CountOther(b, rc(10, 10, 20, 15), kRed), 0);
    EXPECT_EQ(test_Pixel(b, 10, 10), kRed);
    EXPECT_EQ(test_Pixel(b, 19, 14), kRed);
    EXPECT_EQ(test_Pixel(b, 20, 10), kWhite);
    EXPECT_EQ(test_Pixel(b, 10, 15), kWhite);
    EXPECT_EQ(test_Pixel(b, 9, 10), kWhite);
    EXPECT_EQ(test_Pixel(b, 10, 9), kWhite);
    EXPECT_EQ(test_CountOther(b, rc(0, 0, 40, 30), kWhite), 10 * 5);
}

TEST(Draw, FrameRectDrawsOnlyTheOutermostRowsAndColumns)
{
    Surfaces s;
    int b = s.surface(40, 40);
    tb_SetForeColor(b, 0, 0, 65025);
    tb_SetBackColor(b, 65025, 0, 0);
    RECT r = rc(10, 10, 20, 25);
    tb_FrameRect(b, &r);
    const COLORREF blue = RGB(0, 0, 255);
    for (int y = 10; y < 25; ++y) {
        EXPECT_EQ(test_Pixel(b, 10, y), blue) << y;
        EXPECT_EQ(test_Pixel(b, 19, y), blue) << y;
        EXPECT_EQ(test_Pixel(b, 20, y), kWhite) << y;
    }
    for (int x = 10; x < 20; ++x) {
        EXPECT_EQ(test_Pixel(b, x, 10), blue) << x;
        EXPECT_EQ(test_Pixel(b, x, 24), blue) << x;
        EXPECT_EQ(test_Pixel(b, x, 25), kWhite) << x;
    }
    // The inside keeps its pixels: the brush is hollow, not the background colour.
    EXPECT_EQ(test_CountOther(b, rc(11, 11, 19, 24), kWhite), 0);
    EXPECT_EQ(test_CountOther(b, rc(0, 0, 40, 40), kWhite), 2 * 15 + 2 * 8);
}

TEST(Draw, EllipsesStayInsideTheirRectangle)
{
    Surfaces s;
    int filled = s.surface(60, 40);
    int outline = s.surface(60, 40);
    RECT r = rc(10, 5, 50, 35);
    tb_SetForeColor(filled, 0, 65025, 0);
    tb_PaintEllipse(filled, &r);
    tb_SetForeColor(outline, 0, 65025, 0);
    tb_FrameEllipse(outline, &r);
    const COLORREF green = RGB(0, 255, 0);

    RECT ink = test_InkBounds(filled, kWhite);
    EXPECT_GE(ink.left, 10);
    EXPECT_GE(ink.top, 5);
    EXPECT_LE(ink.right, 50);
    EXPECT_LE(ink.bottom, 35);
    EXPECT_EQ(test_Pixel(filled, 30, 20), green);
    EXPECT_EQ(test_Pixel(filled, 11, 6), kWhite);   // corners stay clear
    EXPECT_EQ(test_Pixel(filled, 48, 33), kWhite);

    RECT ring = test_InkBounds(outline, kWhite);
    EXPECT_EQ(ring.left, ink.left);
    EXPECT_EQ(ring.right, ink.right);
    EXPECT_EQ(test_Pixel(outline, 30, 20), kWhite);  // hollow
    EXPECT_EQ(test_Pixel(outline, 10, 20), green);
    EXPECT_EQ(test_Pixel(outline, 30, 5), green);
    EXPECT_LT(test_CountOther(outline, rc(0, 0, 60, 40), kWhite), test_CountOther(filled, rc(0, 0, 60, 40), kWhite) / 3);
}

TEST(Draw, RectangleFillsBlackWhateverTheForegroundColour)
{
    Surfaces s;
    int b = s.surface(30, 30);
    tb_SetForeColor(b, 65025, 0, 0);
    RECT r = rc(5, 5, 15, 12);
    tb_Rectangle(b, &r);
    EXPECT_EQ(test_CountOther(b, rc(5, 5, 15, 12), kBlack), 0);
    EXPECT_EQ(test_CountOther(b, rc(0, 0, 30, 30), kWhite), 10 * 7);
}

TEST(Draw, FreeBitmapsAndClosedWindowsAreReportedByName)
{
    BoxScript script;
    RECT r = rc(0, 0, 5, 5);
    const int freeSlot = 42;
    ASSERT_NE(tb.bitmaps[freeSlot].free, 0);
    COLORREF before = tb.bitmapDraw[freeSlot].fore;

    struct Call {
        const char* text;
        void (*run)(const RECT*);
    } calls[] = {
        {"Invalid bitmap! (tb_PaintRect)", [](const RECT* r) { tb_PaintRect(42, r); }},
        {"Invalid bitmap! (tb_PaintRect)", [](const RECT*) { tb_FloodFill(42, 1, 1, 0, 0, 0); }},
        {"Invalid bitmap! (tb_FrameRect)", [](const RECT* r) { tb_FrameRect(42, r); }},
        {"Invalid bitmap! (tb_FrameRect)", [](const RECT* r) { tb_FrameEllipse(42, r); }},
        {"Invalid bitmap! (tb_PaintEllipse)", [](const RECT* r) { tb_PaintEllipse(42, r); }},
        {"Invalid bitmap! (tb_Rectangle)", [](const RECT* r) { tb_Rectangle(42, r); }},
        {"Invalid bitmap! (tb_Line)", [](const RECT*) { tb_Line(42, 0, 0, 4, 4, 1); }},
        {"Invalid bitmap! (tb_SetForeColor)", [](const RECT*) { tb_SetForeColor(42, 65025, 0, 0); }},
        {"Invalid bitmap! (tb_SetBackColor)", [](const RECT*) { tb_SetBackColor(42, 65025, 0, 0); }},
        {"Invalid bitmap! (tb_SetFont)", [](const RECT*) { tb_SetFont(42, TB_Face{1}); }},
        {"Invalid bitmap! (tb_SetFont)", [](const RECT*) { tb_SetFont(42, TB_Size{12}); }},
        {"Invalid bitmap! (tb_SetFont)", [](const RECT*) { tb_SetFont(42, TB_Style{1}); }},
        {"Invalid bitmap! (tb_PaintRect)", [](const RECT* r) { tb_PaintRect(-1, r); }},
        {"Invalid window! (tb_SetForeColor)", [](const RECT*) { tb_SetForeColor(5003, 65025, 0, 0); }},
        {"Invalid window! (tb_SetBackColor)", [](const RECT*) { tb_SetBackColor(5003, 65025, 0, 0); }},
        {"Invalid window! (tb_SetFont)", [](const RECT*) { tb_SetFont(5003, TB_Size{12}); }},
    };
    for (const Call& call : calls) {
        size_t count = script.count();
        call.run(&r);
        ASSERT_EQ(script.count(), count + 1) << call.text;
        EXPECT_EQ(script.lastText(), call.text);
        EXPECT_EQ(script.seen().back().caption, "Error...");
    }
    // Nothing was stored for the free slot or the closed window.
    EXPECT_EQ(tb.bitmapDraw[freeSlot].fore, before);
    EXPECT_EQ(tb.bitmapDraw[freeSlot].face, 0);
    EXPECT_EQ(tb.windowDraw[3].fore, 0u);
    EXPECT_EQ(tb.windowDraw[3].size, 0);
}

TEST(Draw, BitmapWithoutSurfaceIsReportedAndLeftUnchanged)
{
    Surfaces s;
    int b = s.memoryOnly(20, 20);
    BoxScript script;
    tb_SetForeColor(b, 65025, 0, 0);
    EXPECT_EQ(script.count(), 0u);
    RECT r = rc(0, 0, 20, 20);
    tb_PaintRect(b, &r);
    EXPECT_EQ(script.lastText(), "Bitmap does not have a DC! (tb_PaintRect)");
    tb_FrameRect(b, &r);
    EXPECT_EQ(script.lastText(), "Bitmap does not have a DC! (tb_FrameRect)");
    tb_PaintEllipse(b, &r);
    EXPECT_EQ(script.lastText(), "Bitmap does not have a DC! (tb_PaintEllipse)");
    tb_Rectangle(b, &r);
    EXPECT_EQ(script.lastText(), "Bitmap does not have a DC! (tb_Rectangle)");
    tb_FloodFill(b, 5, 5, 65025, 65025, 65025);
    EXPECT_EQ(script.lastText(), "Bitmap does not have a DC! (tb_PaintRect)");
    // A line on such a bitmap is silently skipped.
    size_t count = script.count();
    tb_Line(b, 0, 0, 19, 19, 3);
    EXPECT_EQ(script.count(), count);
    EXPECT_EQ(test_CountOther(b, r, kWhite), 0);
}

TEST(Draw, DrawingStateBelongsToTheSlotAndOutlivesItsBitmap)
{
    Surfaces s;
    int first = s.surface(10, 10);
    int other = s.surface(10, 10);
    tb_SetForeColor(first, 0, 0, 65025);
    tb_SetBackColor(first, 65025, 0, 0);
    tb_SetFont(first, TB_Face{5});
    tb_SetFont(first, TB_Size{18});
    tb_SetFont(first, TB_Style{2});
    EXPECT_EQ(tb_GetForeColor(other), 0u);

    test_FreeBitmap(first);
    int again = s.surface(10, 10);
    ASSERT_EQ(again, first);
    RECT r = rc(0, 0, 10, 10);
    tb_PaintRect(again, &r);
    EXPECT_EQ(test_Pixel(again, 5, 5), RGB(0, 0, 255));
    EXPECT_EQ(tb.bitmapDraw[again].back, RGB(255, 0, 0));
    EXPECT_EQ(tb.bitmapDraw[again].face, 5);
    EXPECT_EQ(tb.bitmapDraw[again].size, 18);
    EXPECT_EQ(tb.bitmapDraw[again].style, 2);
    tb_PaintRect(other, &r);
    EXPECT_EQ(test_Pixel(other, 5, 5), kBlack);

    // The printer keeps its own state, open job or not.
    tb_SetForeColor(TB_PRINTER, 32513, 0, 65025);
    EXPECT_EQ(tb_GetForeColor(TB_PRINTER), RGB(128, 0, 255));
    tb_SetForeColor(TB_PRINTER, 0, 0, 0);
}

TEST(Draw, LineStaysInsideTheClipRectangle)
{
    Surfaces s;
    int b = s.surface(100, 100);
    tb_SetForeColor(b, 65025, 0, 0);
    tb_Line(b, 0, 10, 99, 90, 5);
    ASSERT_GT(test_CountOther(b, rc(50, 0, 100, 100), kWhite), 0);  // unclipped, it crosses x = 50

    test_Fill(b, kWhite);
    SetRect(&tb.bitmaps[b].clip, 0, 0, 50, 50);
    tb_Line(b, 0, 10, 99, 90, 5);
    EXPECT_GT(test_CountOther(b, rc(0, 0, 50, 50), kWhite), 0);
    EXPECT_EQ(test_CountOther(b, rc(50, 0, 100, 100), kWhite), 0);
    EXPECT_EQ(test_CountOther(b, rc(0, 50, 100, 100), kWhite), 0);
}

TEST(Draw, ThinLineLeavesOutItsEndPoint)
{
    Surfaces s;
    int b = s.surface(40, 30);
    tb_SetForeColor(b, 0, 0, 65025);
    tb_Line(b, 10, 10, 20, 10, 1);
    for (int x = 10; x < 20; ++x) EXPECT_EQ(test_Pixel(b, x, 10), RGB(0, 0, 255)) << x;
    EXPECT_EQ(test_Pixel(b, 20, 10), kWhite);
    EXPECT_EQ(test_CountOther(b, rc(0, 0, 40, 30), kWhite), 10);

    // A vertical one, drawn upwards.
    test_Fill(b, kWhite);
    tb_Line(b, 5, 25, 5, 20, 1);
    EXPECT_EQ(test_CountOther(b, rc(5, 21, 6, 26), kWhite), 5);
    EXPECT_EQ(test_CountOther(b, rc(0, 0, 40, 30), kWhite), 5);
}

TEST(Draw, WideLineHasRoundEnds)
{
    Surfaces s;
    int b = s.surface(100, 60);
    tb_SetForeColor(b, 0, 0, 0);
    tb_Line(b, 30, 30, 70, 30, 11);
    RECT ink = test_InkBounds(b, kWhite);
    // The pen is 11 pixels across, and its ends reach about half of that beyond both points.
    EXPECT_NEAR(ink.bottom - ink.top, 11, 1);
    EXPECT_NEAR(ink.left, 30 - 5, 1);
    EXPECT_NEAR(ink.right, 70 + 5 + 1, 1);
    EXPECT_EQ(test_Pixel(b, 26, 30), kBlack);
    EXPECT_EQ(test_Pixel(b, 74, 30), kBlack);
    EXPECT_EQ(test_Pixel(b, 50, 25), kBlack);
    EXPECT_EQ(test_Pixel(b, 50, 35), kBlack);
    // Round, not square: the corners of the end caps stay clear.
    EXPECT_EQ(test_Pixel(b, 26, 26), kWhite);
    EXPECT_EQ(test_Pixel(b, 26, 34), kWhite);
    EXPECT_EQ(test_Pixel(b, 74, 26), kWhite);
    EXPECT_EQ(test_Pixel(b, 74, 34), kWhite);

    // A line of length zero is a round dot.
    test_Fill(b, kWhite);
    tb_Line(b, 50, 30, 50, 30, 9);
    RECT dot = test_InkBounds(b, kWhite);
    EXPECT_NEAR(dot.right - dot.left, 9, 1);
    EXPECT_NEAR(dot.bottom - dot.top, 9, 1);
    EXPECT_EQ(test_Pixel(b, 50, 30), kBlack);
    EXPECT_EQ(test_Pixel(b, dot.left, dot.top), kWhite);
}

TEST(Draw, FloodFillFillsOnlyTheConnectedArea)
{
    Surfaces s;
    int b = s.surface(60, 40);
    RECT left = rc(5, 5, 25, 30), right = rc(35, 5, 55, 30);
    tb_SetForeColor(b, 0, 0, 0);
    tb_FrameRect(b, &left);
    tb_FrameRect(b, &right);
    tb_SetForeColor(b, 65025, 0, 0);
    RECT changed;
    tb_FloodFillBounded(b, 15, 15, 65025, 65025, 65025, &changed);
    EXPECT_TRUE(Same(changed, rc(6, 6, 24, 29))) << "the smallest rectangle around the fill";
    EXPECT_EQ(test_CountOther(b, rc(6, 6, 24, 29), kRed), 0);
    EXPECT_EQ(test_Pixel(b, 5, 15), kBlack);
    EXPECT_EQ(test_Pixel(b, 24, 15), kBlack);
    EXPECT_EQ(test_Pixel(b, 2, 2), kWhite);
    EXPECT_EQ(test_CountOther(b, rc(36, 6, 54, 29), kWhite), 0);
    EXPECT_EQ(test_CountOther(b, rc(0, 0, 60, 40), kWhite), 18 * 23 + 2 * (2 * 25 + 2 * 18));

    // Starting on a pixel of another colour fills nothing.
    tb_SetForeColor(b, 0, 65025, 0);
    tb_FloodFillBounded(b, 45, 15, 0, 0, 0, &changed);
    EXPECT_TRUE(IsRectEmpty(&changed));
    EXPECT_EQ(test_CountOther(b, rc(36, 6, 54, 29), kWhite), 0);
    // The outside is one connected area around both frames.
    tb_FloodFillBounded(b, 0, 0, 65025, 65025, 65025, &changed);
    EXPECT_TRUE(Same(changed, rc(0, 0, 60, 40)));
    // A fill of an area that has the fill colour already changes nothing.
    tb_FloodFillBounded(b, 0, 0, 0, 65025, 0, &changed);
    EXPECT_TRUE(IsRectEmpty(&changed));
    EXPECT_EQ(test_Pixel(b, 59, 39), RGB(0, 255, 0));
    EXPECT_EQ(test_Pixel(b, 30, 20), RGB(0, 255, 0));
    EXPECT_EQ(test_Pixel(b, 45, 15), kWhite);
    EXPECT_EQ(test_Pixel(b, 15, 15), kRed);
}

// The fill in the picture's own pixels against the platform's surface fill on the same pixels:
// speckled and striped areas of a few sizes (rows of every length modulo eight), colours one step
// apart in a single channel, seeds anywhere, with and without a clip rectangle.
TEST(Draw, FloodFillPaintsWhatThePlatformsSurfaceFillPaints)
{
    const COLORREF colours[] = {kWhite, RGB(255, 255, 254), RGB(254, 255, 255), RGB(255, 254, 255), kBlack};
    const SIZE sizes[] = {{1, 1}, {3, 5}, {4, 4}, {5, 3}, {7, 9}, {13, 11}, {10, 6}, {64, 9}, {67, 41}, {150, 97}};
    unsigned seed = 12345;
    auto next = [&seed](unsigned n) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % n;
    };
    HDC reference = CreateCompatibleDC(nullptr);
    int cases = 0;
    for (const SIZE& size : sizes)
        for (int pattern = 0; pattern < 6; ++pattern)
            for (int clipped = 0; clipped < 2; ++clipped) {
                Surfaces s;
                int b = s.surface(size.cx, size.cy);
                TB_DIB* dib = &tb.bitmaps[b].image;
                // Pattern: speckles of rising density, or stripes with random gaps.
                for (int y = 0; y < size.cy; ++y)
                    for (int x = 0; x < size.cx; ++x) {
                        bool other = pattern < 4 ? next(10) < unsigned(2 + 2 * pattern)
                                                 : (pattern == 4 ? x % 5 == 2 : y % 3 == 1) && next(6) != 0;
                        COLORREF c = other ? colours[1 + next(4)] : kWhite;
                        BYTE* p = grfx_GetPixelAddress(dib, x, y);
                        p[0] = GetBValue(c), p[1] = GetGValue(c), p[2] = GetRValue(c);
                    }
                RECT clip = {int(next(size.cx)), int(next(size.cy)), 0, 0};
                clip.right = clip.left + 1 + int(next(size.cx - clip.left));
                clip.bottom = clip.top + 1 + int(next(size.cy - clip.top));
                if (clipped) tb_SetClipRect(b, &clip);
                for (int fill = 0; fill < 3; ++fill) {
                    int x = int(next(size.cx)), y = int(next(size.cy));
                    BYTE* p = grfx_GetPixelAddress(dib, x, y);
                    COLORREF surface = RGB(p[2], p[1], p[0]);
                    COLORREF fore = colours[next(5)];
                    // The same pixels in a surface of the platform's, filled by the platform.
                    void* bits = nullptr;
                    HBITMAP copy = CreateDIBSection(reference, dib->lpBitmapInfo, DIB_RGB_COLORS, &bits, nullptr, 0);
                    ASSERT_TRUE(copy);
                    size_t bytes = size_t(grfx_StorageWidth(size.cx, 24)) * size.cy;
                    std::memcpy(bits, dib->lpBits, bytes);
                    std::vector<BYTE> original(dib->lpBits, dib->lpBits + bytes);
                    HGDIOBJ oldBitmap = SelectObject(reference, copy);
                    HRGN region = CreateRectRgnIndirect(&clip);
                    SelectClipRgn(reference, clipped ? region : nullptr);
                    HBRUSH brush = CreateSolidBrush(fore);
                    HGDIOBJ oldBrush = SelectObject(reference, brush);
                    ExtFloodFill(reference, x, y, surface, FLOODFILLSURFACE);
                    GdiFlush();

                    tb_SetForeColor(b, GetRValue(fore) * 255, GetGValue(fore) * 255, GetBValue(fore) * 255);
                    RECT changed;
                    tb_FloodFillBounded(b, x, y, GetRValue(surface) * 255, GetGValue(surface) * 255,
                                        GetBValue(surface) * 255, &changed);
                    // Every pixel as the platform left it; the reported rectangle is the smallest
                    // one around the pixels that changed.
                    int differing = 0;
                    RECT painted = {0, 0, 0, 0};
                    const BYTE* platform = static_cast<const BYTE*>(bits);
                    for (int py = 0; py < size.cy; ++py)
                        for (int px = 0; px < size.cx; ++px) {
                            const BYTE* mine = grfx_GetPixelAddress(dib, px, py);
                            size_t offset = size_t(mine - dib->lpBits);
                            differing += std::memcmp(mine, platform + offset, 3) != 0;
                            if (std::memcmp(mine, &original[offset], 3) != 0) {
                                RECT one = {px, py, px + 1, py + 1};
                                UnionRect(&painted, &painted, &one);
                            }
                        }
                    EXPECT_EQ(differing, 0) << size.cx << "x" << size.cy << " pattern " << pattern << " clipped "
                                            << clipped << " seed (" << x << "," << y << ") fill " << fill;
                    EXPECT_TRUE(EqualRect(&changed, &painted) || (IsRectEmpty(&changed) && IsRectEmpty(&painted)))
                        << size.cx << "x" << size.cy << " pattern " << pattern << " fill " << fill;
                    SelectObject(reference, oldBrush);
                    SelectObject(reference, oldBitmap);
                    SelectClipRgn(reference, nullptr);
                    DeleteObject(brush);
                    DeleteObject(region);
                    DeleteObject(copy);
                    ++cases;
                }
                tb_ClearClipRect(b);
            }
    DeleteDC(reference);
    EXPECT_EQ(cases, 10 * 6 * 2 * 3);
}

TEST(Draw, PrinterAndWindowTargetsDrawWithTheirOwnState)
{
    Surfaces s;
    int paper = s.surface(40, 40);
    tb_SetPrinterDC(tb.bitmaps[paper].dc);
    tb_SetForeColor(TB_PRINTER, 0, 65025, 0);
    RECT r = rc(5, 5, 15, 15);
    tb_PaintRect(TB_PRINTER, &r);
    tb_Line(TB_PRINTER, 20, 30, 30, 30, 1);
    tb_SetPrinterDC(nullptr);
    tb_SetForeColor(TB_PRINTER, 0, 0, 0);
    EXPECT_EQ(test_CountOther(paper, rc(5, 5, 15, 15), RGB(0, 255, 0)), 0);
    EXPECT_EQ(test_Pixel(paper, 25, 30), RGB(0, 255, 0));
    EXPECT_EQ(test_CountOther(paper, rc(0, 0, 40, 40), kWhite), 100 + 10);
    EXPECT_EQ(tb.bitmapDraw[paper].fore, 0u);  // the bitmap's own state was not used or changed

    // A window slot filled by hand stands in for an open window.
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    wc.lpszClassName = "DrawTestWindow";
    RegisterClassA(&wc);
    HWND hwnd = CreateWindowExA(0, "DrawTestWindow", "draw test", WS_POPUP | WS_VISIBLE, 0, 0, 80, 60, nullptr,
                                nullptr, wc.hInstance, nullptr);
    ASSERT_NE(hwnd, nullptr);
    UpdateWindow(hwnd);
    tb.windows[2].free = 0;
    tb.windows[2].hwnd = hwnd;
    BoxScript script;
    tb_SetForeColor(5002, 65025, 0, 0);
    EXPECT_EQ(tb.windowDraw[2].fore, kRed);
    tb_PaintRect(5002, &r);
    HDC screen = GetDC(hwnd);
    COLORREF inside = GetPixel(screen, 10, 10), outside = GetPixel(screen, 30, 10);
    ReleaseDC(hwnd, screen);
    tb.windows[2].free = 1;
    tb.windows[2].hwnd = nullptr;
    tb.windowDraw[2] = TB_DrawState{};
    DestroyWindow(hwnd);
    EXPECT_EQ(script.count(), 0u);
    EXPECT_EQ(inside, kRed);
    EXPECT_EQ(outside, kWhite);
}
