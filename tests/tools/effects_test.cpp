// The convolution effects on small 24-bit bitmaps with known contents.
#include <gtest/gtest.h>

#include <string.h>

#include "boxes.h"
#include "toolbox.h"
#include "tools/effects.h"

namespace {

struct RGB8 {
    int r, g, b;
};

// A blank 24-bit bitmap of w x h filled with one colour (channel bytes).
int Filled(int w, int h, int r, int g, int b)
{
    RECT rect = {0, 0, w, h};
    int index = tb_CreateBitmap(&rect, TB_SOURCE_BLANK, 24);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) tb_SetPixelRGB(index, x, y, r * 255L, g * 255L, b * 255L);
    return index;
}

RGB8 At(int bitmap, int x, int y)
{
    long r, g, b;
    tb_GetPixelRGB(bitmap, x, y, &r, &g, &b);
    return {int(r / 255), int(g / 255), int(b / 255)};
}

int SlotsInUse()
{
    int n = 0;
    for (int i = 0; i < TB_MAX_BITMAPS; ++i)
        if (tb_GetBitmapDIB(i)) ++n;
    return n;
}

#define EXPECT_RGB(bitmap, x, y, R, G, B)          \
    do {                                          \
        RGB8 c_ = At(bitmap, x, y);               \
        EXPECT_EQ(c_.r, R) << "at " << x << "," << y; \
        EXPECT_EQ(c_.g, G) << "at " << x << "," << y; \
        EXPECT_EQ(c_.b, B) << "at " << x << "," << y; \
    } while (0)

}  // namespace

TEST(Kernel, DefaultsOfTheRecord)
{
    TB_Kernel k;
    memset(&k, 0x5a, sizeof k);
    tb_InitKernel(&k);
    for (int row = 0; row < 5; ++row)
        for (int column = 0; column < 5; ++column) EXPECT_EQ(k.weight[row][column], 0);
    EXPECT_EQ(k.divisor, 1);
    EXPECT_EQ(k.offset, 0);
    EXPECT_EQ(k.useRed + k.useGreen + k.useBlue, 3);
    EXPECT_EQ(k.random, 0);
    EXPECT_EQ(k.randomLow, 0);
    EXPECT_EQ(k.randomHigh, 0);
    // Every weight of the defaults is 0, the centre too: every channel comes out as the offset, 0.
    int bmp = Filled(6, 6, 17, 130, 250);
    RECT all = {0, 0, 6, 6};
    tb_ApplyKernel(bmp, &all, &k);
    EXPECT_RGB(bmp, 0, 0, 0, 0, 0);
    EXPECT_RGB(bmp, 3, 3, 0, 0, 0);
    tb_DisposeBitmap(bmp);
}

TEST(Kernel, Soften3DarkensEdgesAndCornersButNotTheMiddle)
{
    int bmp = Filled(8, 7, 90, 180, 45);
    RECT all = {0, 0, 8, 7};
    tb_Soften3(bmp, &all);
    EXPECT_RGB(bmp, 4, 3, 90, 180, 45);   // uniform inside: unchanged
    EXPECT_RGB(bmp, 0, 3, 60, 120, 30);   // left column: 6/9
    EXPECT_RGB(bmp, 4, 6, 60, 120, 30);   // bottom row: 6/9
    EXPECT_RGB(bmp, 7, 0, 40, 80, 20);    // corner: 4/9
    EXPECT_RGB(bmp, 0, 6, 40, 80, 20);
    tb_DisposeBitmap(bmp);
}

TEST(Kernel, OnlyTheRectangleChangesButNeighboursOutsideItAreRead)
{
    int bmp = Filled(10, 10, 90, 90, 90);
    // A bright column just outside the rectangle feeds the pixels next to it.
    for (int y = 0; y < 10; ++y) tb_SetPixelRGB(bmp, 2, y, 180 * 255L, 180 * 255L, 180 * 255L);
    RECT part = {3, 3, 6, 6};
    tb_Soften3(bmp, &part);
    EXPECT_RGB(bmp, 3, 4, 120, 120, 120);  // (3 * 180 + 6 * 90) / 9
    EXPECT_RGB(bmp, 5, 4, 90, 90, 90);
    EXPECT_RGB(bmp, 2, 4, 180, 180, 180);  // outside the rectangle: untouched
    EXPECT_RGB(bmp, 6, 4, 90, 90, 90);
    EXPECT_RGB(bmp, 4, 2, 90, 90, 90);
    tb_DisposeBitmap(bmp);
}

TEST(Kernel, Soften5AndSharpenWeights)
{
    int bmp = Filled(9, 9, 100, 100, 100);
    RECT all = {0, 0, 9, 9};
    tb_Soften5(bmp, &all);
    EXPECT_RGB(bmp, 4, 4, 100, 100, 100);
    EXPECT_RGB(bmp, 0, 0, 36, 36, 36);   // 9 of 25 neighbours
    EXPECT_RGB(bmp, 1, 4, 80, 80, 80);   // 20 of 25
    tb_DisposeBitmap(bmp);

    bmp = Filled(5, 5, 100, 50, 200);
    RECT all5 = {0, 0, 5, 5};
    tb_Sharpen(bmp, &all5);
    EXPECT_RGB(bmp, 2, 2, 110, 55, 220);  // (150 - 40) / 100
    EXPECT_RGB(bmp, 0, 2, 120, 60, 240);  // one neighbour missing: (150 - 30) / 100
    EXPECT_RGB(bmp, 0, 0, 130, 65, 255);  // two missing: 260 clamped
    tb_DisposeBitmap(bmp);
}

TEST(Kernel, BrightenAndDarkenByFiveWithClamping)
{
    int bmp = Filled(4, 4, 100, 252, 3);
    RECT all = {0, 0, 4, 4};
    tb_Brighten(bmp, &all, 5);
    EXPECT_RGB(bmp, 0, 0, 105, 255, 8);
    EXPECT_RGB(bmp, 3, 3, 105, 255, 8);
    tb_Darken(bmp, &all, 5);
    EXPECT_RGB(bmp, 1, 2, 100, 250, 3);
    tb_Darken(bmp, &all, 5);
    EXPECT_RGB(bmp, 1, 2, 95, 245, 0);
    // A negative amount counts as nothing.
    tb_Brighten(bmp, &all, -40);
    EXPECT_RGB(bmp, 1, 2, 95, 245, 0);
    tb_DisposeBitmap(bmp);
}

TEST(Kernel, ColourBoostsTouchOneChannel)
{
    int bmp = Filled(3, 1, 200, 200, 200);
    tb_SetPixelRGB(bmp, 2, 0, 220 * 255L, 220 * 255L, 220 * 255L);
    RECT all = {0, 0, 3, 1};
    tb_RedBoost(bmp, &all, 20);
    EXPECT_RGB(bmp, 0, 0, 240, 200, 200);
    EXPECT_RGB(bmp, 2, 0, 255, 220, 220);
    tb_GreenBoost(bmp, &all, 20);
    EXPECT_RGB(bmp, 0, 0, 240, 240, 200);
    tb_BlueBoost(bmp, &all, 10);
    EXPECT_RGB(bmp, 1, 0, 240, 240, 220);
    tb_DisposeBitmap(bmp);
}

TEST(Kernel, EmbossTurnsFlatAreasLightGrey)
{
    int bmp = Filled(7, 7, 10, 120, 250);
    RECT all = {0, 0, 7, 7};
    tb_Emboss(bmp, &all);
    EXPECT_RGB(bmp, 3, 3, 200, 200, 200);
    // Left column: the dx = -1 weights (-450 in all) are missing, the sum is +450 * v.
    EXPECT_RGB(bmp, 0, 3, 211, 255, 255);  // 10 * 450 / 400 = 11; 120 -> 135 + 200; clamped
    tb_DisposeBitmap(bmp);
}

TEST(Kernel, NegativeSumsTruncateTowardZero)
{
    // Right column: the dx = +1 weights (+450) are missing, the sum is -450 * v.
    int bmp = Filled(5, 5, 1, 3, 200);
    RECT all = {0, 0, 5, 5};
    tb_Emboss(bmp, &all);
    // -450 / 400 = -1 (not -2), -1350 / 400 = -3 (not -4), -90000 / 400 = -225
    EXPECT_RGB(bmp, 4, 2, 199, 197, 0);
    tb_DisposeBitmap(bmp);
}

TEST(Kernel, NoiseStaysWithinTenPercent)
{
    int bmp = Filled(20, 20, 200, 100, 250);
    RECT all = {0, 0, 20, 20};
    tb_Noise(bmp, &all, 10);
    bool varied = false;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            RGB8 c = At(bmp, x, y);
            ASSERT_GE(c.r, 180);
            ASSERT_LE(c.r, 220);
            ASSERT_GE(c.g, 90);
            ASSERT_LE(c.g, 110);
            ASSERT_GE(c.b, 225);
            ASSERT_LE(c.b, 255);
            if (c.r != 200) varied = true;
        }
    EXPECT_TRUE(varied);
    tb_DisposeBitmap(bmp);
}

TEST(Kernel, RectangleOutsideChangesNothingAndKeepsNoScratch)
{
    BoxScript boxes;
    int bmp = Filled(6, 6, 50, 60, 70);
    int before = SlotsInUse();
    RECT outside = {10, 0, 20, 6};
    tb_Soften3(bmp, &outside);
    RECT negative = {-30, -30, -1, -1};
    tb_Brighten(bmp, &negative, 5);
    EXPECT_EQ(SlotsInUse(), before);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x) EXPECT_RGB(bmp, x, y, 50, 60, 70);
    // An effect that does run disposes of its scratch bitmap as well.
    RECT inside = {2, 2, 4, 4};
    tb_Brighten(bmp, &inside, 5);
    EXPECT_EQ(SlotsInUse(), before);
    EXPECT_RGB(bmp, 2, 2, 55, 65, 75);
    EXPECT_EQ(boxes.count(), 0u);
    tb_DisposeBitmap(bmp);
}

TEST(Pixels, ScaleClampingAndOutsidePoints)
{
    int bmp = Filled(4, 4, 0, 0, 0);
    tb_SetPixelRGB(bmp, 1, 1, 70000, 65024, 509);
    long r, g, b;
    tb_GetPixelRGB(bmp, 1, 1, &r, &g, &b);
    EXPECT_EQ(r, 65025);
    EXPECT_EQ(g, 254 * 255);  // 65024 / 255 = 254, remainder dropped
    EXPECT_EQ(b, 1 * 255);
    tb_SetPixelRGB(bmp, 4, 0, 65025, 65025, 65025);  // ignored
    tb_SetPixelRGB(bmp, 0, -1, 65025, 65025, 65025);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            if (x != 1 || y != 1) EXPECT_RGB(bmp, x, y, 0, 0, 0);
    tb_SetPixelRGB(bmp, 3, 3, 65025, 65025, 65025);
    tb_GetPixelRGB(bmp, 4, 3, &r, &g, &b);
    EXPECT_EQ(r + g + b, 0);
    tb_GetPixelRGB(bmp, 3, 3, &r, &g, &b);
    EXPECT_EQ(r + g + b, 3 * 65025);
    tb_DisposeBitmap(bmp);
}
