// The toys: the cog's mirrors, the ball's shading, small stars, one mark per event, the random
// colour rule, the splats and the shared option panel.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <vector>

#include "../scene/scene_window.h"
#include "boxes.h"
#include "scene/scene.h"
#include "toolbox.h"
#include "tools/decorations.h"

namespace {

std::vector<int> heard;
void RecordSound(TB_SoundKind kind, int id)
{
    if (kind == TB_SOUND_NOSTOP) heard.push_back(id);
}

int Filled(int w, int h, int r, int g, int b)
{
    RECT all = {0, 0, w, h};
    int bitmap = tb_CreateBitmap(&all, TB_SOURCE_BLANK, 24);
    tb_SetForeColor(bitmap, r, g, b);
    tb_PaintRect(bitmap, &all);
    tb_SetClipRect(bitmap, &all);
    return bitmap;
}

const Channels kWhite = {255, 255, 255};

RECT PaintedBox(int picture, Channels background)
{
    RECT box = {100000, 100000, -1, -1};
    for (int y = 0; y < tb_GetBitmapHeight(picture); ++y)
        for (int x = 0; x < tb_GetBitmapWidth(picture); ++x) {
            if (PixelOf(picture, x, y) == background) continue;
            box.left = std::min<LONG>(box.left, x);
            box.top = std::min<LONG>(box.top, y);
            box.right = std::max<LONG>(box.right, x + 1);
            box.bottom = std::max<LONG>(box.bottom, y + 1);
        }
    return box;
}

struct ToyFixture : testing::Test {
    void SetUp() override
    {
        picture = Filled(200, 200, 65025, 65025, 65025);
        sceneBitmap = Filled(300, 300, 0, 0, 0);
        heard.clear();
        tb_SetSoundObserver(RecordSound);
    }
    void TearDown() override
    {
        tb_SetSoundObserver(nullptr);
        tb_StopSound();
        tb_DisposeBitmap(picture);
        tb_DisposeBitmap(sceneBitmap);
        EXPECT_EQ(boxes.count(), 0u) << boxes.lastText();
    }
    SceneObject Toy(void (*install)(SceneObject*), int size, int mode)
    {
        SceneObject o;
        scene_DefaultConstruct(&o, sceneBitmap, picture);
        install(&o);
        o.size = size;
        o.mode = mode;
        o.SetColor(&o, 0, 0, 65025);
        return o;
    }
    // Painted within a pixel of (x, y): a mirrored wide line may be rasterised a pixel apart.
    bool Near(int x, int y)
    {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (!(PixelOf(picture, x + dx, y + dy) == kWhite)) return true;
        return false;
    }
    // Pixels that differ from their mirror images about the vertical line x = cx (and, with both,
    // about the horizontal line y = cy), out of the painted ones.
    void Asymmetry(int cx, int cy, bool both, int* painted, int* mismatched)
    {
        *painted = *mismatched = 0;
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 200; ++x) {
                if (PixelOf(picture, x, y) == kWhite) continue;
                ++*painted;
                bool mirrored = Near(2 * cx - x, y);
                if (both) mirrored = mirrored && Near(x, 2 * cy - y);
                *mismatched += !mirrored;
            }
    }
    BoxScript boxes;
    int picture = -1, sceneBitmap = -1;
};

// ---------------------------------------------------------------- cog

TEST_F(ToyFixture, CogStrokeIsMirroredAboutItsStartInBothModes)
{
    for (int mode : {1, 2}) {
        RECT all = {0, 0, 200, 200};
        tb_SetForeColor(picture, 65025, 65025, 65025);
        tb_PaintRect(picture, &all);
        SceneObject cog = Toy(decor_InstallCog, 4, mode);
        cog.Press(&cog, 100, 90);
        cog.Drag(&cog, 130, 120);
        cog.Drag(&cog, 160, 70);
        cog.Drag(&cog, 120, 40);
        cog.Release(&cog, 120, 40);
        int painted, mismatched;
        Asymmetry(100, 90, mode == 2, &painted, &mismatched);
        EXPECT_GT(painted, 300) << "mode " << mode;
        EXPECT_LT(mismatched, painted / 50) << "mode " << mode;
        // (70, 120) mirrors (130, 120) about x = 100; (130, 60) mirrors it about y = 90 (four-way only).
        EXPECT_FALSE(PixelOf(picture, 70, 120) == kWhite) << "mode " << mode;
        EXPECT_EQ(!(PixelOf(picture, 130, 60) == kWhite), mode == 2) << "mode " << mode;
    }
}

TEST_F(ToyFixture, ANewCogStrokeHasANewCentre)
{
    SceneObject cog = Toy(decor_InstallCog, 4, 1);
    cog.Press(&cog, 100, 100);
    cog.Drag(&cog, 120, 100);
    cog.Release(&cog, 120, 100);
    cog.Press(&cog, 50, 150);
    EXPECT_EQ(decor_CogCentre().x, 50);
    EXPECT_EQ(decor_CogCentre().y, 150);
    cog.Drag(&cog, 60, 170);
    cog.Release(&cog, 60, 170);
    EXPECT_FALSE(PixelOf(picture, 40, 170) == kWhite) << "mirrored about x = 50";
    EXPECT_TRUE(PixelOf(picture, 140, 170) == kWhite) << "not about the first stroke's centre";
}

// ---------------------------------------------------------------- ball

TEST_F(ToyFixture, BlackBallHasAHighlightWhiteBallIsFlat)
{
    tb_SetForeColor(picture, 32640, 32640, 32640);
    RECT all = {0, 0, 200, 200};
    tb_PaintRect(picture, &all);
    decor_DrawBall(picture, 50, 50, 40, {0, 0, 0});
    decor_DrawBall(picture, 150, 150, 40, {65025, 65025, 65025});
    int brightest = 0;
    for (int y = 30; y < 70; ++y)
        for (int x = 30; x < 70; ++x) brightest = std::max(brightest, PixelOf(picture, x, y).r);
    EXPECT_GT(brightest, 120) << "a black ball still shows a highlight";
    std::set<int> shades;
    for (int y = 130; y < 170; ++y)
        for (int x = 130; x < 170; ++x) shades.insert(PixelOf(picture, x, y).r);
    EXPECT_EQ(shades, (std::set<int>{128, 255})) << "a white ball is a flat white disc";
}

TEST_F(ToyFixture, SmallBallsUseOnePixelStepsAndNoOffset)
{
    struct Case {
        int d;
        bool symmetric;
    } cases[] = {{8, true}, {9, true}, {40, false}};
    for (const Case& c : cases) {
        RECT all = {0, 0, 200, 200};
        tb_SetForeColor(picture, 65025, 65025, 65025);
        tb_PaintRect(picture, &all);
        decor_DrawBall(picture, 100, 100, c.d, {0, 0, 40000});
        RECT b = {100 - c.d / 2, 100 - c.d / 2, 100 + c.d / 2, 100 + c.d / 2};
        int mismatched = 0;
        for (int y = b.top; y < b.bottom; ++y)
            for (int x = b.left; x < b.right; ++x)
                mismatched += !(PixelOf(picture, x, y) == PixelOf(picture, b.left + b.right - 1 - x, y)) +
                              !(PixelOf(picture, x, y) == PixelOf(picture, x, b.top + b.bottom - 1 - y));
        EXPECT_EQ(mismatched == 0, c.symmetric) << "diameter " << c.d;
    }
    // One-pixel steps: the middle row of an 8-pixel ball crosses the disc and three rings.
    RECT all = {0, 0, 200, 200};
    tb_SetForeColor(picture, 65025, 65025, 65025);
    tb_PaintRect(picture, &all);
    decor_DrawBall(picture, 100, 100, 8, {0, 0, 40000});
    std::set<int> shades;
    for (int x = 96; x < 104; ++x) shades.insert(PixelOf(picture, x, 99).b);
    EXPECT_EQ(shades.size(), 4u);
}

// ---------------------------------------------------------------- wand

TEST_F(ToyFixture, SmallStarsHaveBothLowerArmsFilled)
{
    for (int d : {8, 12, 16, 32, 64}) {
        RECT all = {0, 0, 200, 200};
        tb_SetForeColor(picture, 65025, 65025, 65025);
        tb_PaintRect(picture, &all);
        decor_DrawStar(picture, 100, 100, d, {0, 0, 65025});
        const double k = d / 32.0;
        // The middle of each lower arm, on the 32-point grid: between the arm's tip and its root.
        const int left = 100 - d / 2, top = 100 - d / 2;
        Channels leftArm = PixelOf(picture, left + (int)std::lround(7 * k), top + (int)std::lround(24 * k));
        Channels rightArm = PixelOf(picture, left + (int)std::lround(23 * k), top + (int)std::lround(24 * k));
        Channels middle = PixelOf(picture, 100, 100);
        EXPECT_EQ(leftArm, (Channels{0, 0, 255})) << "diameter " << d;
        EXPECT_EQ(rightArm, (Channels{0, 0, 255})) << "diameter " << d;
        EXPECT_EQ(middle, (Channels{0, 0, 255})) << "diameter " << d;
        // Outside the star (between the lower arms, and the corners) the picture stays.
        EXPECT_EQ(PixelOf(picture, left, top), kWhite) << "diameter " << d;
        EXPECT_EQ(PixelOf(picture, 100, top + d - 1), kWhite) << "diameter " << d;
    }
}

// ---------------------------------------------------------------- one mark per event

TEST_F(ToyFixture, EveryPressAndDragMakesExactlyOneMark)
{
    // Ball and paintball gun: one sound per mark.
    struct SoundCase {
        void (*install)(SceneObject*);
        int size, first, last;
    } soundCases[] = {{decor_InstallBall, 48, 1006, 1010}, {decor_InstallGun, 60, 1012, 1014}};
    for (const SoundCase& c : soundCases) {
        heard.clear();
        SceneObject toy = Toy(c.install, c.size, 1);
        toy.Press(&toy, 50, 50);
        toy.Drag(&toy, 100, 50);
        toy.Drag(&toy, 150, 50);
        toy.Release(&toy, 150, 50);
        toy.Drag(&toy, 150, 150);  // after the release: no mark
        ASSERT_EQ(heard.size(), 3u) << c.first;
        for (int id : heard) EXPECT_TRUE(id >= c.first && id <= c.last) << id;
    }
    // Wand and needle in random colours: each press and drag adds one mark, all of one colour (two
    // marks may draw the same colour: the colours are compared per mark, not counted at the end).
    for (auto install : {decor_InstallWand, decor_InstallNeedle}) {
        RECT all = {0, 0, 200, 200};
        tb_SetForeColor(picture, 255, 510, 765);  // (1, 2, 3): no random colour is that
        tb_PaintRect(picture, &all);
        SceneObject toy = Toy(install, 32, 1);
        std::vector<int> before;
        auto snapshot = [&] {
            before.clear();
            for (int y = 0; y < 200; ++y)
                for (int x = 0; x < 200; ++x) {
                    Channels c = PixelOf(picture, x, y);
                    before.push_back(c.r * 65536 + c.g * 256 + c.b);
                }
        };
        auto coloursAdded = [&] {
            std::set<int> colours;
            for (int y = 0, i = 0; y < 200; ++y)
                for (int x = 0; x < 200; ++x, ++i) {
                    Channels c = PixelOf(picture, x, y);
                    int v = c.r * 65536 + c.g * 256 + c.b;
                    if (v != before[i]) colours.insert(v);
                }
            return colours.size();
        };
        const POINT path[] = {{30, 30}, {100, 30}, {170, 30}, {100, 120}};
        for (size_t i = 0; i < 4; ++i) {
            snapshot();
            if (i == 0) toy.Press(&toy, path[i].x, path[i].y);
            else toy.Drag(&toy, path[i].x, path[i].y);
            EXPECT_EQ(coloursAdded(), 1u) << "mark " << i;
        }
        toy.Release(&toy, 100, 120);
        snapshot();
        toy.Drag(&toy, 100, 180);  // after the release: no mark
        EXPECT_EQ(coloursAdded(), 0u);
    }
}

// ---------------------------------------------------------------- random colours

TEST(DecorColours, RandomComponentsFollowTheRule)
{
    // Per component c = tb_Random(12000, 65000), then p = tb_Random(0, 200), and round(p / 100 * c)
    // at most 65025. The toolbox's generator gives 0..32767, so c reaches 12000 + 32767 at most.
    const int cLow = 12000, cHigh = std::min(65000, 12000 + 32767);
    double saturated = 0, mean = 0;
    const double cases = 201.0 * (cHigh - cLow + 1);
    for (int p = 0; p <= 200; ++p)
        for (int c = cLow; c <= cHigh; ++c) {
            long v = std::lround(p / 100.0 * c);
            if (v >= 65025) {
                saturated += 1 / cases;
                v = 65025;
            }
            mean += v / cases;
        }
    const int n = 3000;
    int full[3] = {0, 0, 0};
    double sum[3] = {0, 0, 0};
    for (int i = 0; i < n; ++i) {
        SceneColor c = decor_RandomColor();
        unsigned v[3] = {c.red, c.green, c.blue};
        for (int k = 0; k < 3; ++k) {
            ASSERT_LE(v[k], 65025u);
            full[k] += v[k] == 65025;
            sum[k] += v[k];
        }
    }
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(full[k] / double(n), saturated, 0.025) << "component " << k;
        EXPECT_NEAR(sum[k] / n, mean, 1500) << "component " << k;
    }
}

// ---------------------------------------------------------------- paintball gun

TEST_F(ToyFixture, SplatsCoverTheirSizeAndAreClippedAtTheEdge)
{
    for (int n = 1; n <= 3; ++n) {
        RECT all = {0, 0, 200, 200};
        tb_SetForeColor(picture, 65025, 65025, 65025);
        tb_PaintRect(picture, &all);
        decor_DrawSplat(picture, 100, 100, 120, n, {65025, 0, 0});
        RECT box = PaintedBox(picture, kWhite);
        EXPECT_GE(box.left, 40) << n;
        EXPECT_GE(box.top, 40) << n;
        EXPECT_LE(box.right, 160) << n;
        EXPECT_LE(box.bottom, 160) << n;
        EXPECT_GT(box.right - box.left, 90) << "the largest splat spreads over most of 120 pixels " << n;
        EXPECT_EQ(PixelOf(picture, 100, 100), (Channels{255, 0, 0})) << n;

        tb_PaintRect(picture, &all);
        decor_DrawSplat(picture, 0, 199, 120, n, {0, 0, 65025});
        box = PaintedBox(picture, kWhite);
        EXPECT_EQ(box.left, 0) << n;
        EXPECT_EQ(box.bottom, 200) << n;
        EXPECT_LE(box.right, 60) << n;
        EXPECT_GE(box.top, 139) << n;
    }
}

// ---------------------------------------------------------------- the option panel

TEST_F(ToyFixture, OptionPanelSetsSizeAndModeAndShowsThem)
{
    struct Case {
        void (*install)(SceneObject*);
        int x, y;  // panel point
        int size, mode;
    } cases[] = {
        {decor_InstallBall, 10, 30, 32, 0},  {decor_InstallBall, 70, 30, 64, 0},  {decor_InstallBall, 60, 60, 48, 1},
        {decor_InstallGun, 80, 40, 120, 0},  {decor_InstallGun, 24, 30, 90, 0},   {decor_InstallCog, 20, 60, 16, 1},
        {decor_InstallCog, 75, 75, 16, 2},   {decor_InstallCog, 7, 49, 8, 1},     {decor_InstallWand, 45, 65, 48, 0},
        {decor_InstallNeedle, 40, 30, 48, 0},
    };
    const RECT rect = {100, 100, 194, 182};
    for (const Case& c : cases) {
        SceneObject toy = Toy(c.install, c.install == decor_InstallGun ? 90 : c.install == decor_InstallCog ? 16 : 48,
                              c.install == decor_InstallCog ? 1 : 0);
        toy.ClickOptions(&toy, rect.left + c.x, rect.top + c.y, &rect);
        EXPECT_EQ(toy.size, c.size) << c.x << "," << c.y;
        EXPECT_EQ(toy.mode, c.mode) << c.x << "," << c.y;
        toy.DrawOptions(&toy, &rect);
        // The current cell framed green, the other not.
        const bool left = c.mode == 0 || (c.install == decor_InstallCog && c.mode == 1);
        EXPECT_EQ(PixelOf(sceneBitmap, rect.left + 11, rect.top + 60), (left ? Channels{0, 227, 0} : kWhite));
        EXPECT_EQ(PixelOf(sceneBitmap, rect.left + 53, rect.top + 60), (left ? kWhite : Channels{0, 227, 0}));
    }
}

TEST_F(ToyFixture, RandomCellShowsFreshColoursEachTime)
{
    SceneObject ball = Toy(decor_InstallBall, 48, 1);
    const RECT rect = {0, 0, 94, 82};
    std::set<int> seen;
    for (int i = 0; i < 5; ++i) {
        ball.DrawOptions(&ball, &rect);
        Channels c = PixelOf(sceneBitmap, 67, 62);
        seen.insert(c.r * 65536 + c.g * 256 + c.b);
        EXPECT_EQ(PixelOf(sceneBitmap, 25, 62), (Channels{0, 0, 255})) << "the left cell keeps the tool's colour";
    }
    EXPECT_GE(seen.size(), 4u);
}

}  // namespace
