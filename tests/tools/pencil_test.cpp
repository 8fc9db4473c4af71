// The pencil's dots and lines in a picture of its own, and the two size panels.
#include <gtest/gtest.h>

#include "boxes.h"
#include "scene/scene.h"
#include "toolbox.h"
#include "tools/effects.h"
#include "tools/pencil.h"

namespace {

struct Px {
    int r, g, b;
    bool operator==(const Px& o) const { return r == o.r && g == o.g && b == o.b; }
};

Px At(int bitmap, int x, int y)
{
    long r, g, b;
    tb_GetPixelRGB(bitmap, x, y, &r, &g, &b);
    return {int(r / 255), int(g / 255), int(b / 255)};
}

int Count(int bitmap, Px colour)
{
    int n = 0;
    for (int y = 0; y < tb_GetBitmapHeight(bitmap); ++y)
        for (int x = 0; x < tb_GetBitmapWidth(bitmap); ++x) n += At(bitmap, x, y) == colour;
    return n;
}

int White(int w, int h)
{
    RECT r = {0, 0, w, h};
    int b = tb_CreateBitmap(&r, TB_SOURCE_BLANK, 24);
    tb_SetForeColor(b, 65025, 65025, 65025);
    tb_PaintRect(b, &r);
    tb_SetClipRect(b, &r);
    return b;
}

// A pencil drawing into a 60 x 40 picture, as scene construction leaves it.
struct PencilFixture : testing::Test {
    void SetUp() override
    {
        picture = White(60, 40);
        sceneBitmap = White(120, 100);
        scene_DefaultConstruct(&pencil, sceneBitmap, picture);
        pencil.soundId = 1000;
        pencil.cursorId = 204;
        pencil_Install(&pencil);
        pencil.SetColor(&pencil, 0, 0, 65025);
    }
    void TearDown() override
    {
        tb_DisposeBitmap(picture);
        tb_DisposeBitmap(sceneBitmap);
        EXPECT_EQ(boxes.count(), 0u) << boxes.lastText();
    }
    BoxScript boxes;
    SceneObject pencil;
    int picture = -1, sceneBitmap = -1;
};

const Px kBlue{0, 0, 255}, kGreen{0, 255, 0}, kBlack{0, 0, 0}, kWhitePx{255, 255, 255};

}  // namespace

TEST(SizePanels, HitAreasAndTheSizesTheySet)
{
    // Panel x, expected size in A starting from 99 (99 = unchanged).
    struct {
        int x, a, b;
    } cases[] = {{3, 99, 99},  {4, 1, 16},   {9, 1, 16},   {10, 4, 20},  {17, 4, 20},  {18, 99, 99},
                 {19, 99, 99}, {20, 8, 24},  {26, 8, 24},  {27, 99, 99}, {31, 16, 28}, {40, 16, 28},
                 {44, 99, 99}, {45, 24, 32}, {59, 24, 32}, {64, 32, 36}, {85, 32, 36}, {86, 99, 99}};
    for (auto& c : cases) {
        EXPECT_EQ(sizePanel_SizeAt(sizePanelA, c.x, 40, 99), c.a) << "x " << c.x;
        EXPECT_EQ(sizePanel_SizeAt(sizePanelB, c.x, 40, 99), c.b) << "x " << c.x;
    }
    // Only between y = 9 and 72.
    EXPECT_EQ(sizePanel_SizeAt(sizePanelA, 50, 8, 99), 99);
    EXPECT_EQ(sizePanel_SizeAt(sizePanelA, 50, 9, 99), 24);
    EXPECT_EQ(sizePanel_SizeAt(sizePanelA, 50, 72, 99), 24);
    EXPECT_EQ(sizePanel_SizeAt(sizePanelA, 50, 73, 99), 99);
}

TEST_F(PencilFixture, PanelsShowOneGreenBarForTheSizeOnWhite)
{
    RECT at = {10, 10, 104, 92};
    pencil.size = 16;
    pencil.DrawOptions(&pencil, &at);
    EXPECT_EQ(At(sceneBitmap, 10 + 35, 10 + 40), kGreen);
    EXPECT_EQ(At(sceneBitmap, 10 + 13, 10 + 40), kBlack);
    EXPECT_EQ(At(sceneBitmap, 10 + 75, 10 + 72), kBlack);
    EXPECT_EQ(At(sceneBitmap, 10 + 75, 10 + 73), kWhitePx);
    EXPECT_EQ(At(sceneBitmap, 10 + 10, 10 + 40), kWhitePx);
    EXPECT_EQ(Count(sceneBitmap, kGreen), 10 * 64);  // bar 4 is 10 wide, 64 high

    // A click through the slot takes the window point relative to the panel.
    pencil.ClickOptions(&pencil, 10 + 4, 10 + 30, &at);
    EXPECT_EQ(pencil.size, 1);
    pencil.DrawOptions(&pencil, &at);
    EXPECT_EQ(Count(sceneBitmap, kGreen), 2 * 64);
    pencil.ClickOptions(&pencil, 10 + 18, 10 + 30, &at);
    EXPECT_EQ(pencil.size, 1);

    // Panel B: 28 is its fourth bar; a size no bar stands for shows none green.
    sizePanel_ClickB(&pencil, 10 + 33, 10 + 30, &at);
    EXPECT_EQ(pencil.size, 28);
    sizePanel_DrawB(&pencil, &at);
    EXPECT_EQ(Count(sceneBitmap, kGreen), 10 * 64);
    pencil.size = 5;
    sizePanel_DrawB(&pencil, &at);
    EXPECT_EQ(Count(sceneBitmap, kGreen), 0);
}

TEST_F(PencilFixture, KeepsTheDefaultPenAndDrawsDotsOfItsSize)
{
    EXPECT_EQ(pencil.Press, scene_DefaultPress);
    EXPECT_EQ(pencil.Drag, scene_DefaultDrag);
    EXPECT_EQ(pencil.Release, scene_DefaultRelease);
    EXPECT_EQ(pencil.size, 4);

    pencil.size = 1;
    pencil.Press(&pencil, 10, 10);
    EXPECT_EQ(pencil.active, 1);
    EXPECT_EQ(Count(picture, kBlue), 1);
    EXPECT_EQ(At(picture, 10, 10), kBlue);
    pencil.Release(&pencil, 10, 10);
    EXPECT_EQ(pencil.active, 0);

    // Off the picture: nothing, and no error.
    pencil.Press(&pencil, 70, 10);
    pencil.Release(&pencil, 70, 10);
    EXPECT_EQ(Count(picture, kBlue), 1);

    pencil.size = 8;
    pencil.Press(&pencil, 30, 20);
    pencil.Release(&pencil, 30, 20);
    int dot = Count(picture, kBlue) - 1;
    EXPECT_GE(dot, 40);  // a disc of diameter 8 is about 50 pixels
    EXPECT_LE(dot, 64);
    EXPECT_EQ(At(picture, 26, 16), kWhitePx);  // the corners of its square stay white
    EXPECT_EQ(At(picture, 30, 20), kBlue);
}

TEST_F(PencilFixture, LinesFollowTheDragAndNeedAPress)
{
    // Drag and release without a press change nothing.
    pencil.Drag(&pencil, 5, 5);
    pencil.Drag(&pencil, 50, 30);
    pencil.Release(&pencil, 50, 30);
    EXPECT_EQ(Count(picture, kBlue), 0);

    pencil.size = 1;
    pencil.Press(&pencil, 5, 5);
    pencil.Drag(&pencil, 45, 5);
    EXPECT_EQ(pencil.lastPoint.x, 45);
    EXPECT_EQ(pencil.currentPoint.x, 45);
    int n = Count(picture, kBlue);
    EXPECT_GE(n, 40);
    EXPECT_LE(n, 41);
    for (int x = 5; x < 45; ++x) EXPECT_EQ(At(picture, x, 5), kBlue) << x;
    EXPECT_EQ(At(picture, 20, 6), kWhitePx);

    // A wide stroke that leaves the picture is clipped at its edge.
    pencil.size = 6;
    pencil.Drag(&pencil, 80, 25);
    pencil.Release(&pencil, 80, 25);
    EXPECT_EQ(At(picture, 59, 13), kBlue);
    EXPECT_EQ(pencil.active, 0);
    EXPECT_EQ(pencil.lastPoint.x, 80);
}
