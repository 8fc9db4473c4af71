// Text on bitmap surfaces: alignment, measuring, faces, styles, angle and the serif strings.
#include <gtest/gtest.h>

#include <cstring>

#include "tb_internal.h"
#include "test_surfaces.h"

namespace {

const COLORREF kWhite = RGB(255, 255, 255);

// A white bitmap of its own for one test, with a text size set.
struct Page {
    int index;
    Page(int w, int h, int size = 24)
    {
        index = test_MakeSurfaceBitmap(w, h);
        tb_SetFont(index, TB_Size{size});
    }
    ~Page()
    {
        test_FreeBitmap(index);
        tb.bitmapDraw[index] = TB_DrawState{};
    }
    RECT ink() const { return test_InkBounds(index, kWhite); }
    int inked() const { return test_CountOther(index, RECT{0, 0, 10000, 10000}, kWhite); }
};

int draw(const Page& p, const char* text, int x, int y, int hAlign, int vAlign, double angle = 0)
{
    return tb_DrawText(p.index, x, y, text, (int)strlen(text), angle, 1, hAlign, vAlign);
}

}  // namespace

TEST(Text, CentredTextIsCentredOnXWithItsTopAtY)
{
    Page centred(240, 100), top(240, 100), bottom(240, 100), right(240, 100);
    draw(centred, "HHHH", 120, 40, 2, 2);
    draw(top, "HHHH", 120, 40, 0, 0);
    draw(bottom, "HHHH", 120, 40, 0, 1);
    draw(right, "HHHH", 120, 40, 1, 0);

    RECT c = centred.ink();
    ASSERT_GT(c.right, c.left);
    EXPECT_NEAR((c.left + c.right) / 2.0, 120, 2.0);
    // Top alignment: the capitals start a little below y (the font's leading), never above.
    EXPECT_GE(c.top, 40);
    EXPECT_LT(c.top, 40 + 12);
    EXPECT_EQ(c.top, top.ink().top);
    EXPECT_EQ(c.bottom, top.ink().bottom);

    RECT t = top.ink();
    EXPECT_GE(t.left, 120);
    EXPECT_LT(t.left, 120 + 6);
    RECT r = right.ink();
    EXPECT_LE(r.right, 121);
    EXPECT_GT(r.right, 120 - 6);
    EXPECT_EQ(r.right - r.left, t.right - t.left);
    RECT b = bottom.ink();
    EXPECT_LE(b.bottom, 40);
    EXPECT_GT(b.bottom, 40 - 12);
}

TEST(Text, WidthIsMeasuredWhetherOrNotTheTextIsDrawn)
{
    Page p(300, 80);
    int measured = tb_DrawText(p.index, 20, 40, "Tintwell", 8, 0, 0, 0, 0);
    EXPECT_EQ(p.inked(), 0);
    int drawn = tb_DrawText(p.index, 20, 40, "Tintwell", 8, 0, 1, 0, 0);
    EXPECT_GT(p.inked(), 0);
    EXPECT_EQ(measured, drawn);
    RECT ink = p.ink();
    EXPECT_LE(ink.right - ink.left, drawn);
    EXPECT_GT(ink.right - ink.left, drawn * 3 / 4);
    // The same width for every alignment, and only the given number of characters counts.
    EXPECT_EQ(tb_DrawText(p.index, 150, 40, "Tintwell", 8, 0, 0, 2, 2), drawn);
    EXPECT_EQ(tb_DrawText(p.index, 150, 40, "Tintwell", 8, 0, 0, 1, 1), drawn);
    EXPECT_LT(tb_DrawText(p.index, 20, 40, "Tintwell", 4, 0, 0, 0, 0), drawn);
}

TEST(Text, UnknownFaceIndexDrawsInArial)
{
    Page arial(300, 60), unknown(300, 60), courier(300, 60);
    tb_SetFont(unknown.index, TB_Face{9});
    tb_SetFont(courier.index, TB_Face{1});
    int wArial = draw(arial, "Wavy lines 123", 10, 10, 0, 0);
    int wUnknown = draw(unknown, "Wavy lines 123", 10, 10, 0, 0);
    int wCourier = draw(courier, "Wavy lines 123", 10, 10, 0, 0);
    EXPECT_EQ(wUnknown, wArial);
    EXPECT_NE(wCourier, wArial);
    int differing = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 300; ++x) differing += test_Pixel(arial.index, x, y) != test_Pixel(unknown.index, x, y);
    EXPECT_EQ(differing, 0);
}

TEST(Text, StylesChangeWeightAndAddLines)
{
    Page plain(200, 60), bold(200, 60), underline(200, 60), strikeout(200, 60), italic(200, 60);
    tb_SetFont(bold.index, TB_Style{1});
    tb_SetFont(italic.index, TB_Style{2});
    tb_SetFont(underline.index, TB_Style{3});
    tb_SetFont(strikeout.index, TB_Style{4});
    for (const Page* p : {&plain, &bold, &underline, &strikeout, &italic}) draw(*p, "HHH", 10, 10, 0, 0);

    EXPECT_GT(bold.inked(), plain.inked() * 5 / 4);
    // The underline runs below the capitals; the strikeout crosses them.
    EXPECT_GT(underline.ink().bottom, plain.ink().bottom);
    EXPECT_EQ(strikeout.ink().bottom, plain.ink().bottom);
    EXPECT_GT(strikeout.inked(), plain.inked());
    // Italic capitals lean, so their ink is wider at the same height.
    EXPECT_GT(italic.ink().right - italic.ink().left, plain.ink().right - plain.ink().left);
}

TEST(Text, AngleTurnsTheText)
{
    Page flat(200, 200), turned(200, 200);
    draw(flat, "HHHHHH", 100, 100, 0, 0);
    draw(turned, "HHHHHH", 100, 100, 0, 0, 90.0);
    RECT f = flat.ink(), t = turned.ink();
    EXPECT_GT(f.right - f.left, f.bottom - f.top);
    EXPECT_GT(t.bottom - t.top, t.right - t.left);
    // A quarter turn counterclockwise: the text runs upwards from y.
    EXPECT_LE(t.bottom, 101);
    EXPECT_NEAR(t.bottom - t.top, f.right - f.left, 3);
}

TEST(Text, TextIsForegroundColouredOnATransparentBackground)
{
    Page p(200, 60);
    tb_SetForeColor(p.index, 65025, 0, 0);
    tb_SetBackColor(p.index, 0, 0, 65025);
    draw(p, "HHH", 10, 10, 0, 0);
    int red = 0, blue = 0;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 200; ++x) {
            COLORREF c = test_Pixel(p.index, x, y);
            red += c == RGB(255, 0, 0);
            blue += GetBValue(c) != GetGValue(c);
        }
    EXPECT_GT(red, 20);
    EXPECT_EQ(blue, 0);

    test_Fill(p.index, kWhite);
    tb_DrawString(p.index, 10, 40, "HHH", 3, 20);
    EXPECT_GT(test_CountOther(p.index, RECT{0, 0, 200, 60}, kWhite), 0);
    EXPECT_EQ(test_Pixel(p.index, 0, 0), kWhite);
}

TEST(Text, SerifStringsSitOnYAndUseTheGivenLength)
{
    Page whole(300, 80), part(300, 80), big(300, 80, 30), small(300, 80, 12);
    tb_DrawString(whole.index, 10, 50, "Hello", 5, 20);
    tb_DrawString(part.index, 10, 50, "Hello", 2, 20);
    RECT w = whole.ink(), p = part.ink();
    ASSERT_GT(w.right, w.left);
    EXPECT_LE(w.bottom, 50);
    EXPECT_GT(w.bottom, 50 - 10);
    EXPECT_GE(w.top, 50 - 20);
    EXPECT_EQ(p.left, w.left);
    EXPECT_LT(p.right, w.right - 10);

    // The short form takes the target's font size and the whole text.
    tb_DrawStringAt(big.index, 10, 60, "Hello");
    tb_DrawStringAt(small.index, 10, 60, "Hello");
    RECT b = big.ink(), s = small.ink();
    EXPECT_GT(b.bottom - b.top, s.bottom - s.top + 5);
    EXPECT_GT(b.right - b.left, s.right - s.left + 10);
}

TEST(Text, TextWidthUsesTheSerifFaceAtTheTargetsSize)
{
    Page p(400, 80, 20);
    int one = tb_GetTextWidth(p.index, "M");
    int four = tb_GetTextWidth(p.index, "MMMM");
    EXPECT_GT(one, 0);
    EXPECT_NEAR(four, 4 * one, 2);
    tb_DrawString(p.index, 10, 60, "Hello there", 11, 20);
    RECT ink = p.ink();
    int width = tb_GetTextWidth(p.index, "Hello there");
    EXPECT_LE(ink.right - ink.left, width + 1);
    EXPECT_GT(ink.right - ink.left, width * 3 / 4);

    tb_SetFont(p.index, TB_Size{40});
    EXPECT_GT(tb_GetTextWidth(p.index, "MMMM"), four * 3 / 2);
}
