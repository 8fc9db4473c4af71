// Indices that name nothing (negative, past the bitmap table, between the tables, past the window
// table, the printer while no print job is open) given to every operation that takes an index:
// nothing crashes, nothing is drawn or taken, and the failures the operations report are reported.
#include "boxes.h"
#include "tb_test_util.h"

class BadIndices : public ToolboxTest {};

namespace {

const int kBad[] = {-1, -5000, TB_MAX_BITMAPS, 4999, TB_WINDOW_BASE + TB_MAX_WINDOWS, 9000, 9001, 0x7FFFFFFF};

bool IsBitmapSide(int index) { return index < TB_WINDOW_BASE; }

}  // namespace

TEST_F(BadIndices, EveryOperationRefusesOrIgnoresThemWithoutHarm)
{
    ASSERT_EQ(tb_GetPrinterDC(), nullptr);
    BoxScript boxes;
    int good = Blank24(20, 20);
    Fill(good, Grey);
    RECT all = {0, 0, 20, 20}, part = {0, 0, 5, 5};
    for (int bad : kBad) {
        SCOPED_TRACE(bad);
        size_t seen = boxes.count();
        RECT r = {-7, -7, -7, -7};

        // Bitmap table.
        tb_DisposeBitmap(bad);
        EXPECT_EQ(boxes.lastText(), "There is no bitmap to free! (tb_DisposeBitmap)");
        tb_GetBitmapRect(bad, &r);
        EXPECT_EQ(boxes.lastText(), "Invalid bitmap! (tb_GetBitmapRect)");
        EXPECT_TRUE(SameRect(r, RECT{-7, -7, -7, -7}));
        EXPECT_EQ(tb_GetBitmapWidth(bad), -1);
        EXPECT_EQ(tb_GetBitmapHeight(bad), -1);
        EXPECT_EQ(tb_GetBitmapStorageWidth(bad), -1);
        EXPECT_EQ(tb_GetBitmapDC(bad), nullptr);
        EXPECT_EQ(tb_GetBitmapDIB(bad), nullptr);
        EXPECT_EQ(tb_WriteBitmapToFile(bad), 0);
        EXPECT_EQ(boxes.lastText(), "Invalid bitmap! (tb_WriteBitmapToFile)");

        // Drawing state and primitives.
        tb_SetForeColor(bad, 65025, 0, 0);
        if (bad == TB_PRINTER)
            EXPECT_EQ(boxes.lastText(), "Invalid bitmap! (tb_WriteBitmapToFile)");  // stored, nothing shown
        else
            EXPECT_EQ(boxes.lastText(), IsBitmapSide(bad) ? "Invalid bitmap! (tb_SetForeColor)"
                                                          : "Invalid window! (tb_SetForeColor)");
        tb_SetBackColor(bad, 0, 0, 0);
        tb_SetFont(bad, TB_Face{1});
        tb_SetFont(bad, TB_Size{12});
        tb_SetFont(bad, TB_Style{1});
        tb_PaintRect(bad, &part);
        tb_FrameRect(bad, &part);
        tb_PaintEllipse(bad, &part);
        tb_FrameEllipse(bad, &part);
        tb_Rectangle(bad, &part);
        tb_FloodFill(bad, 1, 1, 0, 0, 0);
        if (IsBitmapSide(bad)) {
            EXPECT_EQ(boxes.lastText(), "Invalid bitmap! (tb_PaintRect)");
        }
        tb_Line(bad, 0, 0, 10, 10, 3);
        if (IsBitmapSide(bad)) {
            EXPECT_EQ(boxes.lastText(), "Invalid bitmap! (tb_Line)");
        }
        EXPECT_EQ(tb_GetTextWidth(bad, "abc"), 0);
        tb_DrawString(bad, 1, 10, "abc", 3, 10);
        tb_DrawStringAt(bad, 1, 10, "abc");
        EXPECT_EQ(tb_DrawText(bad, 1, 10, "abc", 3, 0.0, 1, 0, 0), 0);

        // Copies, pictures, clips.
        tb_CopyBitmap(bad, good, &part, &part);
        if (IsBitmapSide(bad)) {
            EXPECT_EQ(boxes.lastText(), "Invalid source bitmap! (tb_CopyBitmap)");
        }
        tb_CopyBitmap(good, bad, &part, &part);
        if (IsBitmapSide(bad)) {
            EXPECT_EQ(boxes.lastText(), "Invalid destination bitmap! (tb_CopyBitmap)");
        } else if (bad != TB_PRINTER) {
            EXPECT_EQ(boxes.lastText(), "Invalid destination window! (tb_CopyBitmap)");
        }
        tb_CopyBitmap(good, bad, &part, &all);
        tb_CopyBitmapTransparent(bad, good, &part, &part, 1);
        EXPECT_EQ(boxes.lastText(), IsBitmapSide(bad) ? "Invalid source bitmap! (tb_CopyBitmap)"
                                                      : "Can't copy from a window! (tb_CopyBitmap)");
        tb_CopyBitmapTransparent(good, bad, &part, &all, 1);
        tb_CopyBitmapMasked(bad, bad, good, &part, &part, &part);
        tb_CopyBitmapMasked(good, good, bad, &part, &part, &part);
        tb_CopyBitmapToDialog(GetDesktopWindow(), bad, &part, &part);
        RECT out = {-7, -7, -7, -7};
        tb_DrawPictureToBitmap(bad, PIC_PICTURE24, 0, 0, &out);
        if (IsBitmapSide(bad)) {
            EXPECT_EQ(boxes.lastText(), "Invalid destination bitmap! (tb_DrawPictureToBitmap)");
            EXPECT_TRUE(SameRect(out, RECT{-7, -7, -7, -7}));
        }
        tb_TileBitmap(bad, PIC_TILE24, &all);
        tb_SetClipRect(bad, &part);
        tb_ClearClipRect(bad);

        // Windows and regions.
        tb_DisposeOfWindow(bad);
        EXPECT_EQ(boxes.lastText(), "Invalid window hanlde, can't destroy! (tb_DisposeOfWindow)");
        tb_GetClientRect(bad, &r);
        EXPECT_EQ(boxes.lastText(), "Invalid window! (tb_GetClientRect)");
        tb_GetWindowRect(bad, &r);
        EXPECT_EQ(boxes.lastText(), "Invalid window! (tb_GetWindowRect)");
        tb_SetWindowTitle(bad, "x");
        EXPECT_EQ(boxes.lastText(), "Invalid window! (tb_SetWindowTitle)");
        EXPECT_TRUE(SameRect(r, RECT{-7, -7, -7, -7}));
        EXPECT_EQ(tb_GetWindowHandle(bad), nullptr);
        EXPECT_EQ(tb_PtInRegion(0, 0, bad), 0);
        tb_DisposeRegion(bad);

        EXPECT_GT(boxes.count(), seen);
    }
    // Nothing was taken, and the one good bitmap was never drawn on.
    EXPECT_EQ(FreeSlotCount(), TB_MAX_BITMAPS - 1);
    for (int i = 0; i < TB_MAX_REGIONS; ++i) EXPECT_TRUE(tb.regions[i].free);
    for (int i = 0; i < TB_MAX_WINDOWS; ++i) EXPECT_TRUE(tb.windows[i].free);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) ASSERT_EQ(Pixel(good, x, y), (Rgb{90, 90, 90})) << x << "," << y;
    tb_DisposeBitmap(good);
}
