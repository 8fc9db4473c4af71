// Copies between bitmaps, windows and the printer surface; clip rectangles; copy mode; pictures
// drawn from resources and tiling.
#include <cstring>

#include "boxes.h"
#include "tb_test_util.h"

class Copy : public ToolboxTest {};
class Transparent : public ToolboxTest {};
class Pictures : public ToolboxTest {};
class Tiling : public ToolboxTest {};

namespace {

// A plain visible window put straight into a slot of the toolbox's window table.
struct TestWindow {
    HWND hwnd = nullptr;
    int index = -1;
    explicit TestWindow(int slot, int width = 200, int height = 150)
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TintwellCopyTest";
        RegisterClassA(&wc);
        hwnd = CreateWindowExA(0, "TintwellCopyTest", "copy test", WS_POPUP | WS_VISIBLE, 0, 0, width, height,
                               nullptr, nullptr, wc.hInstance, nullptr);
        tb.windows[slot].free = 0;
        tb.windows[slot].hwnd = hwnd;
        SetRect(&tb.windows[slot].clip, -1, -1, -1, -1);
        index = TB_WINDOW_BASE + slot;
    }
    ~TestWindow()
    {
        int slot = index - TB_WINDOW_BASE;
        tb.windows[slot].free = 1;
        tb.windows[slot].hwnd = nullptr;
        SetRect(&tb.windows[slot].clip, -1, -1, -1, -1);
        DestroyWindow(hwnd);
    }
};

// The printer surface stood in for by a memory surface with a 24-bit section.
struct FakePrinter {
    int bitmap;
    FakePrinter(int width, int height) : bitmap(Blank24(width, height))
    {
        Fill(bitmap, Grey);
        tb_SetPrinterDC(tb_GetBitmapDC(bitmap));
    }
    ~FakePrinter()
    {
        tb_SetPrinterDC(nullptr);
        tb_DisposeBitmap(bitmap);
    }
};

RECT Rect(int l, int t, int r, int b) { return RECT{l, t, r, b}; }

// Checks every pixel of a bitmap against the expectation; stops at the first difference.
void ExpectPixels(int index, const std::function<Rgb(int, int)>& want)
{
    int w = tb_GetBitmapWidth(index), h = tb_GetBitmapHeight(index);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) ASSERT_EQ(Pixel(index, x, y), want(x, y)) << "at " << x << "," << y;
}

}  // namespace

TEST_F(Copy, ChecksComeInOrderAndStopTheCopy)
{
    BoxScript boxes;
    int dst = Blank24(4, 4);
    Fill(dst, Grey);
    RECT r = Rect(0, 0, 4, 4);
    tb_CopyBitmap(40, 41, &r, &r);
    EXPECT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes.lastText(), "Invalid source bitmap! (tb_CopyBitmap)");
    tb_CopyBitmap(-1, dst, &r, &r);
    EXPECT_EQ(boxes.lastText(), "Invalid source bitmap! (tb_CopyBitmap)");
    tb_CopyBitmap(dst, 41, &r, &r);
    EXPECT_EQ(boxes.lastText(), "Invalid destination bitmap! (tb_CopyBitmap)");
    tb_CopyBitmap(dst, -1, &r, &r);
    EXPECT_EQ(boxes.lastText(), "Invalid destination bitmap! (tb_CopyBitmap)");
    tb_CopyBitmap(dst, 5003, &r, &r);
    EXPECT_EQ(boxes.lastText(), "Invalid destination window! (tb_CopyBitmap)");
    tb_CopyBitmap(dst, 5010, &r, &r);
    EXPECT_EQ(boxes.lastText(), "Invalid destination window! (tb_CopyBitmap)");
    EXPECT_EQ(boxes.count(), 6u);
    for (const SeenBox& box : boxes.seen()) EXPECT_EQ(box.caption, "Error...");
    tb_DisposeBitmap(dst);
}

TEST_F(Copy, SameSizeCopyMovesExactlyTheRectangle)
{
    int src = Blank24(40, 30);
    int dst = Blank24(40, 30);
    Fill(src, Marker);
    Fill(dst, Grey);
    RECT from = Rect(2, 3, 12, 9), to = Rect(20, 10, 30, 16);
    tb_CopyBitmap(src, dst, &from, &to);
    ExpectPixels(dst, [](int x, int y) {
        return x >= 20 && x < 30 && y >= 10 && y < 16 ? Marker(x - 18, y - 7) : Grey(x, y);
    });
    // Between two 8-bit surfaces the indices move unchanged.
    int s8 = Blank8(6, 6), d8 = Blank8(6, 6);
    GdiFlush();
    for (int i = 0; i < 8 * 6; ++i) tb_GetBitmapDIB(s8)->lpBits[i] = (BYTE)(i * 5);
    RECT all = Rect(0, 0, 6, 6);
    tb_CopyBitmap(s8, d8, &all, &all);
    GdiFlush();
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x)
            ASSERT_EQ(*grfx_GetPixelAddress(tb_GetBitmapDIB(d8), x, y), *grfx_GetPixelAddress(tb_GetBitmapDIB(s8), x, y));
    tb_DisposeBitmap(d8);
    tb_DisposeBitmap(s8);
    tb_DisposeBitmap(dst);
    tb_DisposeBitmap(src);
}

TEST_F(Copy, ClipNeedsMoreThanFourPixelsOfOverlapAndTrims)
{
    int src = Blank24(256, 256);
    int dst = Blank24(256, 256);
    Fill(src, Marker);
    RECT clip = Rect(100, 100, 200, 200);
    auto copyTo = [&](RECT to) {
        Fill(dst, Grey);
        tb_SetClipRect(dst, &clip);
        tb_CopyBitmap(src, dst, &to, &to);
    };
    auto inside = [&](int x, int y, RECT to) {
        return x >= 100 && x < 200 && y >= 100 && y < 200 && x >= to.left && x < to.right && y >= to.top &&
               y < to.bottom;
    };
    // No copy: 4 pixels of overlap or fewer, on either axis.
    for (RECT to : {Rect(0, 0, 104, 150), Rect(0, 0, 150, 104), Rect(196, 120, 246, 170), Rect(120, 196, 170, 246)}) {
        copyTo(to);
        ExpectPixels(dst, Grey);
    }
    // Copies: from x = 100 on, only inside the clip.
    for (RECT to : {Rect(0, 0, 150, 150), Rect(0, 0, 105, 105), Rect(195, 120, 245, 170), Rect(50, 150, 250, 250),
                    Rect(0, 0, 256, 256)}) {
        copyTo(to);
        ExpectPixels(dst, [&](int x, int y) { return inside(x, y, to) ? Marker(x, y) : Grey(x, y); });
    }
    // Source and destination move by the same offsets.
    Fill(dst, Grey);
    RECT from = Rect(10, 20, 70, 80), to = Rect(80, 90, 140, 150);
    tb_CopyBitmap(src, dst, &from, &to);
    ExpectPixels(dst, [&](int x, int y) { return inside(x, y, to) ? Marker(x - 70, y - 70) : Grey(x, y); });
    // Cleared, the whole rectangle is copied again.
    tb_ClearClipRect(dst);
    EXPECT_TRUE(tb_ClipIsNone(tb.bitmaps[dst].clip));
    Fill(dst, Grey);
    tb_CopyBitmap(src, dst, &to, &to);
    ExpectPixels(dst, [&](int x, int y) {
        return x >= 80 && x < 140 && y >= 90 && y < 150 ? Marker(x, y) : Grey(x, y);
    });
    tb_DisposeBitmap(dst);
    tb_DisposeBitmap(src);
}

TEST_F(Copy, ClipRectangleIsStoredPerBitmapAndWindow)
{
    int b = Blank24(10, 10);
    RECT c = Rect(1, 2, 3, 4);
    tb_SetClipRect(b, &c);
    EXPECT_TRUE(SameRect(tb.bitmaps[b].clip, c));
    EXPECT_TRUE(tb_ClipIsNone(tb.bitmaps[b + 1].clip));
    tb_SetClipRect(5002, &c);
    EXPECT_TRUE(SameRect(tb.windows[2].clip, c));
    tb_ClearClipRect(5002);
    EXPECT_TRUE(tb_ClipIsNone(tb.windows[2].clip));
    tb_ClearClipRect(b);
    EXPECT_EQ(tb.bitmaps[b].clip.left, -1);
    EXPECT_EQ(tb.bitmaps[b].clip.bottom, -1);
    tb_DisposeBitmap(b);
}

TEST_F(Copy, DifferentSizesAreStretched)
{
    int src = Blank24(4, 3);
    int dst = Blank24(12, 9);
    Fill(src, Marker);
    Fill(dst, Grey);
    RECT from = Rect(0, 0, 4, 3), to = Rect(2, 1, 10, 7);
    tb_CopyBitmap(src, dst, &from, &to);
    ExpectPixels(dst, [](int x, int y) {
        return x >= 2 && x < 10 && y >= 1 && y < 7 ? Marker((x - 2) / 2, (y - 1) / 2) : Grey(x, y);
    });
    // Shrinking keeps one pixel of each 2 x 2 block (colour on colour, no blending).
    int big = Blank24(8, 8), small = Blank24(4, 4);
    Fill(big, Marker);
    RECT b = Rect(0, 0, 8, 8), s = Rect(0, 0, 4, 4);
    tb_CopyBitmap(big, small, &b, &s);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            Rgb c = Pixel(small, x, y);
            EXPECT_TRUE(c.b == 0x5A && c.r / 2 == x && c.g / 2 == y) << x << "," << y << " is " << c;
        }
    tb_DisposeBitmap(small);
    tb_DisposeBitmap(big);
    tb_DisposeBitmap(dst);
    tb_DisposeBitmap(src);

    // Twice the size (the magnified view) gives what the system's own stretch gives, pixel for
    // pixel, from any part of the source, clipped or not.
    struct {
        RECT from, to, clip;
    } doubles[] = {{Rect(0, 0, 7, 5), Rect(0, 0, 14, 10), Rect(-1, -1, -1, -1)},
                   {Rect(3, 2, 10, 9), Rect(5, 3, 19, 17), Rect(-1, -1, -1, -1)},
                   {Rect(1, 1, 11, 8), Rect(1, 2, 21, 16), Rect(4, 5, 15, 12)},
                   {Rect(2, 0, 9, 6), Rect(0, 1, 14, 13), Rect(7, 0, 30, 30)},
                   {Rect(0, 0, 7, 5), Rect(0, 0, 14, 10), Rect(0, 0, 9, 7)}};
    for (const auto& d : doubles) {
        SCOPED_TRACE(testing::Message() << "to " << d.to.left << "," << d.to.top << " clip " << d.clip.left);
        int from = Blank24(12, 10), ours = Blank24(24, 20), system = Blank24(24, 20);
        Fill(from, Marker);
        Fill(ours, Grey);
        Fill(system, Grey);
        if (d.clip.left >= 0) tb_SetClipRect(ours, &d.clip);
        tb_CopyBitmap(from, ours, &d.from, &d.to);
        HDC dc = tb_GetBitmapDC(system);
        if (d.clip.left >= 0) IntersectClipRect(dc, d.clip.left, d.clip.top, d.clip.right, d.clip.bottom);
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, d.to.left, d.to.top, d.to.right - d.to.left, d.to.bottom - d.to.top, tb_GetBitmapDC(from),
                   d.from.left, d.from.top, d.from.right - d.from.left, d.from.bottom - d.from.top, SRCCOPY);
        SelectClipRgn(dc, nullptr);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 24; ++x) ASSERT_EQ(Pixel(ours, x, y), Pixel(system, x, y)) << x << "," << y;
        tb_DisposeBitmap(system);
        tb_DisposeBitmap(ours);
        tb_DisposeBitmap(from);
    }
}

TEST_F(Copy, CopyModeIsTheRasterOperation)
{
    EXPECT_EQ(tb_GetCopyMode(), (DWORD)SRCCOPY);
    int src = Blank24(5, 5), dst = Blank24(5, 5);
    Fill(src, [](int x, int y) { return Rgb{x * 16, 0x0F, 0xF0}; });
    Fill(dst, [](int, int) { return Rgb{0xFF, 0xFF, 0x00}; });
    RECT r = Rect(0, 0, 5, 5);
    tb_SetCopyMode(SRCINVERT);
    EXPECT_EQ(tb_GetCopyMode(), (DWORD)SRCINVERT);
    tb_CopyBitmap(src, dst, &r, &r);
    ExpectPixels(dst, [](int x, int) { return Rgb{0xFF ^ (x * 16), 0xF0, 0xF0}; });
    tb_SetCopyMode(SRCCOPY);
    tb_CopyBitmap(src, dst, &r, &r);
    ExpectPixels(dst, [](int x, int) { return Rgb{x * 16, 0x0F, 0xF0}; });
    tb_DisposeBitmap(dst);
    tb_DisposeBitmap(src);
}

TEST_F(Copy, IntoAWindowAndBackOut)
{
    TestWindow window(3);
    ASSERT_NE(window.hwnd, nullptr);
    int src = Blank24(60, 40), back = Blank24(60, 40);
    Fill(src, Marker);
    Fill(back, Grey);
    RECT r = Rect(0, 0, 60, 40), at = Rect(30, 20, 90, 60);
    BoxScript boxes;
    tb_CopyBitmap(src, window.index, &r, &at);
    HDC dc = GetDC(window.hwnd);
    EXPECT_EQ(SurfaceColor(dc, 30, 20), Marker(0, 0));
    EXPECT_EQ(SurfaceColor(dc, 89, 59), Marker(59, 39));
    ReleaseDC(window.hwnd, dc);
    tb_CopyBitmap(window.index, back, &at, &r);
    ExpectPixels(back, Marker);

    // A window's clip rectangle limits copies into it.
    RECT clip = Rect(0, 0, 40, 200);
    tb_SetClipRect(window.index, &clip);
    Fill(src, Grey);
    tb_CopyBitmap(src, window.index, &r, &at);
    tb_ClearClipRect(window.index);
    tb_CopyBitmap(window.index, back, &at, &r);
    ExpectPixels(back, [](int x, int y) { return x < 10 ? Grey(x, y) : Marker(x, y); });
    EXPECT_EQ(boxes.count(), 0u);
    tb_DisposeBitmap(back);
    tb_DisposeBitmap(src);
}

// Large copies onto a window take a road of their own (the pixels turned into 32 bits first):
// every pixel, all three channels, must land where a small copy would put it, also from the
// middle of a bitmap, with a width that is no multiple of four and rows padded in storage.
TEST_F(Copy, LargeCopiesIntoAWindowLandPixelForPixel)
{
    TestWindow window(3, 400, 300);
    ASSERT_NE(window.hwnd, nullptr);
    auto pattern = [](int x, int y) { return Rgb{(x * 7) & 255, (y * 5) & 255, (x + 3 * y) & 255}; };
    int src = Blank24(331, 262), back = Blank24(301, 250);
    Fill(src, pattern);
    Fill(back, Grey);
    RECT from = Rect(3, 5, 304, 255), at = Rect(7, 9, 308, 259), all = Rect(0, 0, 301, 250);
    BoxScript boxes;
    tb_CopyBitmap(src, window.index, &from, &at);
    tb_CopyBitmap(window.index, back, &at, &all);
    ExpectPixels(back, [&](int x, int y) { return pattern(x + 3, y + 5); });
    EXPECT_EQ(boxes.count(), 0u);
    tb_DisposeBitmap(back);
    tb_DisposeBitmap(src);
}

// A block shown with another bitmap inset in it: the inset's pixels inside its rectangle, the
// source's all around, whether the block goes to the window in one piece (large) or in parts
// (small), and when the inset fills the block or touches its edges.
TEST_F(Copy, WithInsetShowsTheInsetInsideAndTheSourceAround)
{
    TestWindow window(3, 400, 300);
    ASSERT_NE(window.hwnd, nullptr);
    auto outer = [](int x, int y) { return Rgb{(x * 7) & 255, (y * 5) & 255, (x + 3 * y) & 255}; };
    auto inner = [](int x, int y) { return Rgb{(x * 3 + 1) & 255, (x ^ y) & 255, (y * 11) & 255}; };
    int src = Blank24(400, 300), in = Blank24(331, 262);
    Fill(src, outer);
    Fill(in, inner);
    struct Case {
        const char* name;
        RECT block, inset;
        POINT from;     // the inset's corner in its own bitmap
        int scale = 1;  // 2: the inset shows a piece half its size, each pixel doubled
    };
    const Case cases[] = {
        {"large, inset in the middle", Rect(7, 9, 308, 259), Rect(50, 41, 251, 200), {10, 12}},
        {"large, inset at the top left", Rect(7, 9, 308, 259), Rect(7, 9, 200, 150), {0, 0}},
        {"large, inset at the bottom right", Rect(5, 3, 390, 290), Rect(101, 130, 390, 290), {40, 100}},
        {"large, inset filling the block", Rect(7, 9, 308, 259), Rect(7, 9, 308, 259), {3, 5}},
        {"small", Rect(7, 9, 67, 49), Rect(20, 21, 41, 33), {2, 4}},
        {"large, inset at twice its size", Rect(5, 3, 390, 290), Rect(31, 20, 331, 282), {7, 9}, 2},
        {"small, inset at twice its size", Rect(7, 9, 67, 49), Rect(20, 21, 40, 33), {2, 4}, 2},
    };
    BoxScript boxes;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fill(src, outer);
        RECT whole = Rect(0, 0, 400, 300);
        tb_CopyBitmap(src, window.index, &whole, &whole);  // the window starts as the source
        RECT from = {c.from.x, c.from.y, c.from.x + (c.inset.right - c.inset.left) / c.scale,
                     c.from.y + (c.inset.bottom - c.inset.top) / c.scale};
        Fill(src, Grey);  // the block must come from the source as it is now
        tb_CopyBitmapWithInset(src, window.index, &c.block, in, &from, &c.inset);
        const int w = c.block.right - c.block.left, h = c.block.bottom - c.block.top;
        int back = Blank24(w, h);
        RECT all = Rect(0, 0, w, h);
        tb_CopyBitmap(window.index, back, &c.block, &all);
        ExpectPixels(back, [&](int x, int y) {
            POINT p = {x + c.block.left, y + c.block.top};
            if (PtInRect(&c.inset, p))
                return inner((p.x - c.inset.left) / c.scale + c.from.x, (p.y - c.inset.top) / c.scale + c.from.y);
            return Grey(p.x, p.y);
        });
        tb_DisposeBitmap(back);
    }
    EXPECT_EQ(boxes.count(), 0u);
    tb_DisposeBitmap(in);
    tb_DisposeBitmap(src);
}

TEST_F(Copy, ToThePrinterSameSizeIsABlockAndOtherSizesAreStretchedFromThePixels)
{
    FakePrinter printer(40, 40);
    int src = Blank24(10, 10);
    Fill(src, Marker);
    RECT from = Rect(0, 0, 10, 10), same = Rect(3, 4, 13, 14), twice = Rect(20, 20, 40, 40);
    tb_CopyBitmap(src, TB_PRINTER, &from, &same);
    tb_CopyBitmap(src, TB_PRINTER, &from, &twice);
    ExpectPixels(printer.bitmap, [](int x, int y) {
        if (x >= 3 && x < 13 && y >= 4 && y < 14) return Marker(x - 3, y - 4);
        if (x >= 20 && y >= 20) return Marker((x - 20) / 2, (y - 20) / 2);
        return Grey(x, y);
    });
    // A memory-only source has no surface, but its pixels still reach the printer when stretched.
    int memory = Memory24(10, 10);
    Fill(memory, [](int x, int y) { return Rgb{200, x, y}; });
    tb_CopyBitmap(memory, TB_PRINTER, &from, &twice);
    EXPECT_EQ(Pixel(printer.bitmap, 20, 20), Rgb({200, 0, 0}));
    EXPECT_EQ(Pixel(printer.bitmap, 39, 39), Rgb({200, 9, 9}));
    tb_DisposeBitmap(memory);
    tb_DisposeBitmap(src);
}

TEST_F(Copy, ToADialogWindowCountsSourceRowsFromTheTop)
{
    BoxScript boxes;
    TestWindow window(0);  // any window given by handle; its slot is not used
    int src = Blank24(20, 16);
    Fill(src, Marker);
    RECT from = Rect(2, 3, 8, 7), to = Rect(10, 10, 16, 14);
    tb_CopyBitmapToDialog(window.hwnd, src, &from, &to);
    HDC dc = GetDC(window.hwnd);
    for (int y = 10; y < 14; ++y)
        for (int x = 10; x < 16; ++x) ASSERT_EQ(SurfaceColor(dc, x, y), Marker(x - 8, y - 7)) << x << "," << y;
    // Stretched to twice the size.
    RECT big = Rect(40, 40, 52, 48);
    tb_CopyBitmapToDialog(window.hwnd, src, &from, &big);
    EXPECT_EQ(SurfaceColor(dc, 40, 40), Marker(2, 3));
    EXPECT_EQ(SurfaceColor(dc, 51, 47), Marker(7, 6));
    ReleaseDC(window.hwnd, dc);
    EXPECT_EQ(boxes.count(), 0u);
    tb_DisposeBitmap(src);
}

TEST_F(Transparent, MemoryOnlyEightBitBytesOf255LeaveTheDestination)
{
    int src = Memory8(6, 3), dst = Memory8(6, 3);
    TB_DIB* s = tb_GetBitmapDIB(src);
    TB_DIB* d = tb_GetBitmapDIB(dst);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 6; ++x) {
            *grfx_GetPixelAddress(s, x, y) = (x + y) % 2 ? 255 : (BYTE)(10 * x + y);
            *grfx_GetPixelAddress(d, x, y) = 7;
        }
    RECT from = Rect(0, 0, 6, 3);
    tb_CopyBitmapTransparent(src, dst, &from, &from, 1);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(*grfx_GetPixelAddress(d, x, y), (x + y) % 2 ? 7 : 10 * x + y) << x << "," << y;
    // Without the flag every byte is copied, 255 included; the copy goes to destRect's corner.
    RECT part = Rect(1, 0, 3, 2), to = Rect(4, 1, 999, 999);
    tb_CopyBitmapTransparent(src, dst, &part, &to, 0);
    EXPECT_EQ(*grfx_GetPixelAddress(d, 4, 1), 255);
    EXPECT_EQ(*grfx_GetPixelAddress(d, 5, 1), 20);
    EXPECT_EQ(*grfx_GetPixelAddress(d, 5, 2), 255);
    tb_DisposeBitmap(dst);
    tb_DisposeBitmap(src);
}

TEST_F(Transparent, TwentyFourBitTransparencyIsPerColourByte)
{
    int src = Memory24(3, 1), dst = Memory24(3, 1);
    PutPixel(src, 0, 0, {255, 255, 255});
    PutPixel(src, 1, 0, {255, 0, 12});
    PutPixel(src, 2, 0, {1, 2, 3});
    for (int x = 0; x < 3; ++x) PutPixel(dst, x, 0, {50, 60, 70});
    RECT r = Rect(0, 0, 3, 1);
    tb_CopyBitmapTransparent(src, dst, &r, &r, 1);
    EXPECT_EQ(Pixel(dst, 0, 0), Rgb({50, 60, 70}));
    EXPECT_EQ(Pixel(dst, 1, 0), Rgb({50, 0, 12}));
    EXPECT_EQ(Pixel(dst, 2, 0), Rgb({1, 2, 3}));
    tb_DisposeBitmap(dst);
    tb_DisposeBitmap(src);
}

TEST_F(Transparent, SurfacesGetAPlainBlockAndWindowsAreRefusedAsSource)
{
    BoxScript boxes;
    int src = Blank24(4, 4), dst = Blank24(8, 8);
    Fill(src, [](int x, int y) { return Rgb{255, 255, x * 60}; });
    Fill(dst, Grey);
    RECT from = Rect(0, 0, 4, 4), to = Rect(2, 2, 3, 3);  // only the corner of destRect counts
    tb_CopyBitmapTransparent(src, dst, &from, &to, 1);
    ExpectPixels(dst, [](int x, int y) {
        return x >= 2 && x < 6 && y >= 2 && y < 6 ? Rgb{255, 255, (x - 2) * 60} : Grey(x, y);
    });
    EXPECT_EQ(boxes.count(), 0u);
    tb_CopyBitmapTransparent(5000, dst, &from, &to, 1);
    EXPECT_EQ(boxes.lastText(), "Can't copy from a window! (tb_CopyBitmap)");
    tb_CopyBitmapTransparent(9000, dst, &from, &to, 1);
    EXPECT_EQ(boxes.lastText(), "Can't copy from a window! (tb_CopyBitmap)");
    tb_CopyBitmapTransparent(77, dst, &from, &to, 1);
    EXPECT_EQ(boxes.lastText(), "Invalid source bitmap! (tb_CopyBitmap)");
    tb_CopyBitmapTransparent(src, 77, &from, &to, 1);
    EXPECT_EQ(boxes.lastText(), "Invalid destination bitmap! (tb_CopyBitmap)");
    tb_CopyBitmapTransparent(src, 5004, &from, &to, 1);
    EXPECT_EQ(boxes.lastText(), "Invalid destination window! (tb_CopyBitmap)");
    EXPECT_EQ(boxes.count(), 5u);
    tb_DisposeBitmap(dst);
    tb_DisposeBitmap(src);
}

TEST_F(Transparent, ToWindowAndPrinterTheSourcePixelsAreStretched)
{
    TestWindow window(1);
    FakePrinter printer(20, 20);
    int src = Memory24(5, 5);
    Fill(src, Marker);
    RECT from = Rect(0, 0, 5, 5), to = Rect(10, 10, 20, 20);
    tb_CopyBitmapTransparent(src, TB_PRINTER, &from, &to, 1);
    ExpectPixels(printer.bitmap, [](int x, int y) {
        return x >= 10 && y >= 10 ? Marker((x - 10) / 2, (y - 10) / 2) : Grey(x, y);
    });
    tb_CopyBitmapTransparent(src, window.index, &from, &from, 0);
    HDC dc = GetDC(window.hwnd);
    EXPECT_EQ(SurfaceColor(dc, 0, 0), Marker(0, 0));
    EXPECT_EQ(SurfaceColor(dc, 4, 3), Marker(4, 3));
    ReleaseDC(window.hwnd, dc);
    tb_DisposeBitmap(src);
}

TEST_F(Pictures, DrawPictureAtAPointAndReportItsRectangle)
{
    BoxScript boxes;
    int dst = Blank24(40, 30);
    Fill(dst, Grey);
    RECT out = {};
    tb_DrawPictureToBitmap(dst, PIC_PICTURE24, 5, 6, &out);
    EXPECT_TRUE(SameRect(out, Rect(5, 6, 18, 13)));
    ExpectPixels(dst, [](int x, int y) {
        return x >= 5 && x < 18 && y >= 6 && y < 13 ? PictureColor(x - 5, y - 6) : Grey(x, y);
    });
    EXPECT_EQ(FreeSlotCount(), TB_MAX_BITMAPS - 1);  // the temporary picture is gone

    tb_DrawPicture8ToBitmap(dst, PIC_MASK8, 20, 10, &out);
    EXPECT_TRUE(SameRect(out, Rect(20, 10, 36, 22)));
    for (int y = 10; y < 22; ++y)
        for (int x = 20; x < 36; ++x)
            ASSERT_EQ(Pixel(dst, x, y), InsideMask(x - 20, y - 10) ? Rgb({255, 255, 255}) : Rgb({0, 0, 0}));
    EXPECT_EQ(FreeSlotCount(), TB_MAX_BITMAPS - 1);
    EXPECT_EQ(boxes.count(), 0u);

    RECT untouched = Rect(1, 2, 3, 4);
    tb_DrawPictureToBitmap(dst + 1, PIC_PICTURE24, 0, 0, &untouched);
    EXPECT_EQ(boxes.lastText(), "Invalid destination bitmap! (tb_DrawPictureToBitmap)");
    EXPECT_TRUE(SameRect(untouched, Rect(1, 2, 3, 4)));
    EXPECT_EQ(FreeSlotCount(), TB_MAX_BITMAPS - 1);
    tb_DisposeBitmap(dst);
}

TEST_F(Tiling, TilesCoverTheRectangleFromTheTopLeft)
{
    int dst = Blank24(210, 140);
    Fill(dst, Grey);
    RECT area = Rect(30, 40, 230, 170);  // 200 x 130; the origin is not used
    tb_TileBitmap(dst, PIC_TILE24, &area);
    ExpectPixels(dst, [](int x, int y) {
        return x < 200 && y < 130 ? TileColor(x % 64, y % 64) : Grey(x, y);
    });
    EXPECT_EQ(FreeSlotCount(), TB_MAX_BITMAPS - 1);
    tb_DisposeBitmap(dst);
}

TEST_F(Tiling, RectangleSmallerThanATileDrawsNothingAndTakesNoSlot)
{
    int dst = Blank24(100, 140);
    Fill(dst, Grey);
    for (RECT area : {Rect(0, 0, 50, 130), Rect(0, 0, 130, 63)}) {
        tb_TileBitmap(dst, PIC_TILE24, &area);
        ExpectPixels(dst, Grey);
        EXPECT_EQ(FreeSlotCount(), TB_MAX_BITMAPS - 1);
    }
    RECT exact = Rect(0, 0, 64, 64);
    tb_TileBitmap(dst, PIC_TILE24, &exact);
    EXPECT_EQ(Pixel(dst, 63, 63), TileColor(63, 63));
    EXPECT_EQ(Pixel(dst, 64, 0), Grey(0, 0));
    tb_DisposeBitmap(dst);
}

TEST_F(Tiling, CreateTiledBitmapMakesABitmapOfTheRectangle)
{
    RECT area = Rect(5, 5, 155, 105);
    int b = tb_CreateTiledBitmap(&area, PIC_TILE24);
    ASSERT_GE(b, 0);
    EXPECT_EQ(tb_GetBitmapWidth(b), 150);
    EXPECT_EQ(tb_GetBitmapHeight(b), 100);
    RECT kept = {};
    tb_GetBitmapRect(b, &kept);
    EXPECT_TRUE(SameRect(kept, area));
    ExpectPixels(b, [](int x, int y) { return TileColor(x % 64, y % 64); });
    EXPECT_NE(tb_GetBitmapDC(b), nullptr);
    EXPECT_EQ(FreeSlotCount(), TB_MAX_BITMAPS - 1);
    tb_DisposeBitmap(b);

    // A missing tile picture leaves the new bitmap blank.
    b = tb_CreateTiledBitmap(&area, PIC_MISSING);
    ASSERT_GE(b, 0);
    EXPECT_EQ(Pixel(b, 70, 70), Rgb({0, 0, 0}));
    tb_DisposeBitmap(b);
}
