// Every toolbox operation gives back what it takes: after thousands of creates, draws, copies, texts,
// regions and disposals the process holds exactly as many GDI objects as before, and its memory has
// not grown with the number of bitmaps made.
#include <vector>

#include "boxes.h"
#include "gdi_count.h"
#include "tb_test_util.h"

class Leaks : public ToolboxTest {};

namespace {

// A plain visible window put into window slot 3 for the duration of a test.
struct SlotWindow {
    HWND hwnd;
    int index = TB_WINDOW_BASE + 3;
    SlotWindow()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TintwellLeakTest";
        RegisterClassA(&wc);
        hwnd = CreateWindowExA(0, wc.lpszClassName, "leaks", WS_POPUP | WS_VISIBLE, 0, 0, 160, 120, nullptr, nullptr,
                               wc.hInstance, nullptr);
        tb.windows[3].free = 0;
        tb.windows[3].hwnd = hwnd;
        SetRect(&tb.windows[3].clip, -1, -1, -1, -1);
    }
    ~SlotWindow()
    {
        tb.windows[3].free = 1;
        tb.windows[3].hwnd = nullptr;
        SetRect(&tb.windows[3].clip, -1, -1, -1, -1);
        DestroyWindow(hwnd);
    }
};

// One round of everything the program does with the toolbox, error paths included.
void Workload(const SlotWindow& window)
{
    RECT r = {0, 0, 80, 60};
    int canvas = tb_CreateBitmap(&r, 0, 24);
    int scratch = Blank24(40, 30);
    int blank8 = Blank8(20, 20);
    int blank1 = MakeBitmap(20, 20, 0, 1);
    int memory = Memory24(20, 20);
    int memory8 = Memory8(20, 20);
    RECT rm = {}, ri = {}, r1 = {}, rc = {};
    int mask = tb_CreateBitmap(&rm, PIC_MASK8, 8);
    int image = tb_CreateBitmap(&ri, PIC_IMAGE24, 24);
    int mono = tb_CreateBitmap(&r1, PIC_MONO1, 1);
    int colors = tb_CreateBitmap(&rc, PIC_COLORS8, 8);
    ASSERT_TRUE(canvas >= 0 && scratch >= 0 && blank8 >= 0 && blank1 >= 0 && memory >= 0 && memory8 >= 0 &&
                mask >= 0 && image >= 0 && mono >= 0 && colors >= 0);

    // Shapes, lines and text on a bitmap, a window and the printer surface.
    int printerPaper = Blank24(50, 50);
    tb_SetPrinterDC(tb_GetBitmapDC(printerPaper));
    const int targets[] = {canvas, window.index, TB_PRINTER};
    RECT shape = {5, 5, 30, 25};
    RECT clip = {2, 2, 70, 50};
    tb_SetClipRect(canvas, &clip);
    tb_SetClipRect(window.index, &clip);
    for (int t : targets) {
        tb_SetForeColor(t, 65025, 0, 32000);
        tb_SetBackColor(t, 0, 65025, 0);
        tb_SetFont(t, TB_Face{1});
        tb_SetFont(t, TB_Size{14});
        tb_SetFont(t, TB_Style{1});
        tb_PaintRect(t, &shape);
        tb_FrameRect(t, &shape);
        tb_PaintEllipse(t, &shape);
        tb_FrameEllipse(t, &shape);
        tb_Rectangle(t, &shape);
        tb_FloodFill(t, 1, 1, 0, 0, 0);
        tb_Line(t, 0, 0, 60, 40, 5);
        EXPECT_GT(tb_DrawText(t, 40, 30, "Tintwell", 8, 30.0, 1, 2, 2), 0);
        tb_DrawString(t, 3, 40, "abc", 3, 12);
        tb_DrawStringAt(t, 3, 50, "abc");
        tb_GetTextWidth(t, "abcdef");
    }
    tb_PaintRect(blank8, &shape);
    tb_Line(blank1, 0, 0, 19, 19, 1);

    // Copies of every kind.
    RECT all40 = {0, 0, 40, 30}, at10 = {10, 10, 50, 40}, big = {0, 0, 80, 60}, part = {0, 0, 10, 10};
    tb_CopyBitmap(scratch, canvas, &all40, &at10);      // same size, clipped
    tb_CopyBitmap(scratch, canvas, &all40, &big);       // stretched
    tb_CopyBitmap(canvas, window.index, &big, &big);    // into the window, clipped
    tb_CopyBitmap(canvas, window.index, &all40, &big);  // stretched into the window
    tb_CopyBitmap(window.index, scratch, &all40, &all40);
    tb_CopyBitmap(canvas, TB_PRINTER, &all40, &big);    // stretched onto the printer
    tb_CopyBitmap(blank8, canvas, &part, &part);
    tb_CopyBitmapTransparent(memory, memory, &part, &part, 1);
    tb_CopyBitmapTransparent(memory8, memory8, &part, &part, 1);
    tb_CopyBitmapTransparent(scratch, canvas, &part, &part, 0);
    tb_CopyBitmapTransparent(memory, window.index, &part, &big, 0);
    tb_CopyBitmapTransparent(colors, TB_PRINTER, &part, &part, 0);
    RECT maskRect = {0, 0, 16, 12}, maskDest = {20, 20, 36, 32};
    tb_CopyBitmapMasked(image, mask, canvas, &maskRect, &maskRect, &maskDest);
    tb_CopyBitmapMasked(image, mask, window.index, &maskRect, &maskRect, &maskDest);
    tb_CopyBitmapToDialog(window.hwnd, canvas, &all40, &all40);
    RECT out;
    tb_DrawPictureToBitmap(canvas, PIC_PICTURE24, 3, 4, &out);
    tb_DrawPicture8ToBitmap(canvas, PIC_MASK8, 3, 4, &out);
    tb_DrawPictureToBitmap(window.index, PIC_PICTURE24, 3, 4, &out);
    RECT tiles = {0, 0, 100, 70};
    tb_TileBitmap(canvas, PIC_TILE24, &tiles);
    int tiled = tb_CreateTiledBitmap(&tiles, PIC_TILE24);
    tb_DisposeBitmap(tiled);
    tb_ClearClipRect(canvas);
    tb_ClearClipRect(window.index);
    tb_SetPrinterDC(nullptr);

    // Regions.
    TB_Point points[] = {{0, 0}, {40, 0}, {40, 30}, {0, 30}, {TB_POINT_END, TB_POINT_END}};
    int polygon = tb_CreateRegion(points);
    int circle = tb_CreateCircleRegion(20, 20, 10);
    EXPECT_TRUE(tb_PtInRegion(5, 5, polygon));
    EXPECT_TRUE(tb_PtInRegion(20, 20, circle));
    tb_DisposeRegion(polygon);
    tb_DisposeRegion(circle);

    // Error paths: refused before anything is taken.
    tb_PaintRect(memory, &shape);
    tb_CopyBitmap(-1, canvas, &part, &part);
    tb_CopyBitmap(canvas, TB_WINDOW_BASE + 9, &part, &part);
    tb_CopyBitmapTransparent(window.index, canvas, &part, &part, 0);
    tb_DisposeBitmap(TB_MAX_BITMAPS);

    for (int b : {canvas, scratch, blank8, blank1, memory, memory8, mask, image, mono, colors, printerPaper})
        tb_DisposeBitmap(b);
}

}  // namespace

TEST_F(Leaks, DrawingCopyingAndDisposingGiveBackEveryGdiObject)
{
    BoxScript boxes;
    SlotWindow window;
    // The first round makes what lives on: the program palette, the fonts the system caches, the
    // message box's own resources.
    Workload(window);
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_EQ(FreeSlotCount(), TB_MAX_BITMAPS);
    long before = GdiObjectsInUse();
    for (int round = 0; round < 40; ++round) {
        Workload(window);
        ASSERT_FALSE(HasFatalFailure()) << "round " << round;
    }
    long after = GdiObjectsInUse();
    EXPECT_EQ(after, before) << "GDI objects left behind by 40 rounds";
    EXPECT_EQ(FreeSlotCount(), TB_MAX_BITMAPS);
    for (int i = 0; i < TB_MAX_REGIONS; ++i) EXPECT_TRUE(tb.regions[i].free) << "region " << i;
    EXPECT_EQ(boxes.count(), 41u * 5u);
}

TEST_F(Leaks, BitmapMemoryIsGivenBackOnDispose)
{
    // 300 rounds of bitmaps of about 190 KB each: a leak of any of them would add 57 MB.
    auto round = [] {
        RECT r = {0, 0, 256, 256};
        int m24 = tb_CreateBitmap(&r, TB_SOURCE_MEMORY, 24);
        int m8 = tb_CreateBitmap(&r, TB_SOURCE_MEMORY, 8);
        int s24 = tb_CreateBitmap(&r, 0, 24);
        int s8 = tb_CreateBitmap(&r, 0, 8);
        RECT rc = {};
        int loaded = tb_CreateBitmap(&rc, PIC_COLORS8, 8);
        for (int b : {m24, m8, s24, s8, loaded}) tb_DisposeBitmap(b);
    };
    for (int i = 0; i < 5; ++i) round();
    SIZE_T before = PrivateBytes();
    for (int i = 0; i < 300; ++i) round();
    SIZE_T after = PrivateBytes();
    EXPECT_LT((long long)after - (long long)before, 8LL * 1024 * 1024) << before << " -> " << after;
    EXPECT_EQ(FreeSlotCount(), TB_MAX_BITMAPS);
}
