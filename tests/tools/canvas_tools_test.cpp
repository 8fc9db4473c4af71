// The canvas tools on pictures of their own: the brush's and the effect brushes' dabs and
// footprint, the crayon and the hammer and chisel, the eraser, the spray can, the jar, the relief
// of the bump patterns, and the option panels compared pixel for pixel with their geometry.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "boxes.h"
#include "scene/scene.h"
#include "toolbox.h"
#include "tools/brush.h"
#include "tools/bump.h"
#include "tools/effects.h"
#include "tools/eraser_spray.h"
#include "tools/pencil.h"
#include "tools/ruler_templates.h"

namespace {

struct Px {
    int r, g, b;
    bool operator==(const Px& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Px& o) const { return !(*this == o); }
};

std::ostream& operator<<(std::ostream& os, const Px& p) { return os << "(" << p.r << "," << p.g << "," << p.b << ")"; }

const Px kWhite{255, 255, 255}, kBlack{0, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255};

Px At(int bitmap, int x, int y)
{
    long r, g, b;
    tb_GetPixelRGB(bitmap, x, y, &r, &g, &b);
    return {int(r / 255), int(g / 255), int(b / 255)};
}

void Put(int bitmap, int x, int y, Px p) { tb_SetPixelRGB(bitmap, x, y, p.r * 255L, p.g * 255L, p.b * 255L); }

int Filled(int w, int h, Px p, bool clip = false)
{
    RECT r = {0, 0, w, h};
    int b = tb_CreateBitmap(&r, TB_SOURCE_BLANK, 24);
    tb_SetForeColor(b, p.r * 255L, p.g * 255L, p.b * 255L);
    tb_PaintRect(b, &r);
    if (clip) tb_SetClipRect(b, &r);
    return b;
}

// Black and white squares of one pixel: every soften changes every pixel of it.
int Checkerboard(int w, int h)
{
    int b = Filled(w, h, kWhite);
    for (int y = 0; y < h; ++y)
        for (int x = (y & 1); x < w; x += 2) Put(b, x, y, kBlack);
    return b;
}

std::vector<Px> Pixels(int bitmap)
{
    std::vector<Px> v;
    for (int y = 0; y < tb_GetBitmapHeight(bitmap); ++y)
        for (int x = 0; x < tb_GetBitmapWidth(bitmap); ++x) v.push_back(At(bitmap, x, y));
    return v;
}

int SlotsInUse()
{
    int n = 0;
    for (int i = 0; i < TB_MAX_BITMAPS; ++i)
        if (tb_GetBitmapDIB(i)) ++n;
    return n;
}

// The footprint as the dab describes it: five rectangles at 80, 10, 62.5, 27.5 and 45 degrees,
// half-widths r cos and r sin rounded (values below 1 give 0), right and bottom exclusive.
bool InFootprint(int r, int dx, int dy)
{
    const double angles[5] = {80, 10, 62.5, 27.5, 45};
    for (double a : angles) {
        auto round = [](double v) { return v < 1 ? 0 : int(std::floor(v + 0.5)); };
        int hx = round(r * std::cos(a * 3.14159265358979323846 / 180)), hy = round(r * std::sin(a * 3.14159265358979323846 / 180));
        if (dx >= -hx && dx < hx && dy >= -hy && dy < hy) return true;
    }
    return false;
}

struct ToolFixture : testing::Test {
    void SetUp() override
    {
        sceneBitmap = Filled(200, 150, kWhite);
        scene_DefaultConstruct(&tool, sceneBitmap, -1);
        slotsBefore = SlotsInUse();
    }
    void TearDown() override
    {
        if (tool.pictureBitmap >= 0) tb_DisposeBitmap(tool.pictureBitmap);
        tb_DisposeBitmap(sceneBitmap);
        EXPECT_EQ(boxes.count(), 0u) << boxes.lastText();
    }
    void Use(int picture) { tool.pictureBitmap = picture; }
    BoxScript boxes;
    SceneObject tool;
    int sceneBitmap = -1;
    int slotsBefore = 0;
};

}  // namespace

// ---------------------------------------------------------------- brush and effect brushes

TEST_F(ToolFixture, BrushDabsOfSizes16And36)
{
    // size, footprint radius, ellipse across (on the w x w scratch, from 8 to w - 8)
    struct {
        int size, radius, ellipse;
    } cases[] = {{16, 7, 4}, {36, 17, 24}};
    for (auto& c : cases) {
        SCOPED_TRACE(c.size);
        // On a checkerboard the soften step changes every pixel it covers: what changes is
        // exactly the footprint.
        Use(Checkerboard(90, 90));
        brush_Install(&tool);
        tool.size = c.size;
        tool.SetColor(&tool, 0, 0, 65025);
        std::vector<Px> before = Pixels(tool.pictureBitmap);
        brush_Dab(&tool, 45, 45);
        for (int y = 0; y < 90; ++y)
            for (int x = 0; x < 90; ++x)
                ASSERT_EQ(At(tool.pictureBitmap, x, y) != before[y * 90 + x], InFootprint(c.radius, x - 45, y - 45))
                    << x << "," << y;
        tb_DisposeBitmap(tool.pictureBitmap);

        // On white: the ellipse of colour, softened at its rim, lies well inside the footprint.
        Use(Filled(90, 90, kWhite));
        brush_Dab(&tool, 45, 45);
        // The small spot is softened right through; the large one keeps its pure colour inside.
        const Px centre = At(tool.pictureBitmap, 45, 45);
        EXPECT_EQ(centre.b, 255);
        EXPECT_LT(centre.r, 140);
        if (c.ellipse > 10) {
            EXPECT_EQ(centre, kBlue);
        }
        EXPECT_EQ(At(tool.pictureBitmap, 45 + c.ellipse / 2 + 3, 45), kWhite);
        EXPECT_NE(At(tool.pictureBitmap, 45 + c.ellipse / 2 - 1, 45), kWhite);
        tb_DisposeBitmap(tool.pictureBitmap);
        tool.pictureBitmap = -1;
        EXPECT_EQ(SlotsInUse(), slotsBefore - 0) << "the scratch bitmaps are given back";
    }
}

TEST_F(ToolFixture, ADabHalfOutsideThePictureChangesOnlyItsInside)
{
    // brush at the left edge, effect brush (rag) at the bottom-right corner
    struct {
        bool brush;
        int size, x, y, radius;
    } cases[] = {{true, 36, 3, 30, 17}, {false, 28, 58, 38, 13}};
    for (auto& c : cases) {
        SCOPED_TRACE(c.x);
        Use(Checkerboard(60, 40));
        if (c.brush) {
            brush_Install(&tool);
        } else {
            effectBrush_Install(&tool);
            tool.mode = 4;
        }
        tool.size = c.size;
        tool.SetColor(&tool, 65025, 0, 0);
        std::vector<Px> before = Pixels(tool.pictureBitmap);
        tool.Press(&tool, c.x, c.y);
        tool.Release(&tool, c.x, c.y);
        int changed = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 60; ++x) {
                bool differs = At(tool.pictureBitmap, x, y) != before[y * 60 + x];
                changed += differs;
                ASSERT_EQ(differs, InFootprint(c.radius, x - c.x, y - c.y)) << x << "," << y;
            }
        EXPECT_GT(changed, 100);
        tb_DisposeBitmap(tool.pictureBitmap);
        tool.pictureBitmap = -1;
    }
    EXPECT_EQ(SlotsInUse(), slotsBefore);
}

TEST_F(ToolFixture, TheCrayonRaisesOnlyItsSwitchedOnChannelByAFifth)
{
    Use(Filled(60, 40, Px{100, 100, 220}));
    crayon_Install(&tool);
    tool.mode = 5;
    tool.size = 28;
    tool.red = 1;
    RECT panel = {0, 0, 94, 82};
    tool.ClickOptions(&tool, 47, 66, &panel);  // the light green swatch
    EXPECT_EQ(tool.red, 0u);
    EXPECT_EQ(tool.green, 1u);
    EXPECT_EQ(tool.blue, 0u);
    tool.ClickOptions(&tool, 70, 30, &panel);  // a size keeps the switch
    EXPECT_EQ(tool.size, 40);
    EXPECT_EQ(tool.green, 1u);
    tool.Press(&tool, 30, 20);
    tool.Release(&tool, 30, 20);
    EXPECT_EQ(At(tool.pictureBitmap, 30, 20), (Px{100, 120, 220}));
    EXPECT_EQ(At(tool.pictureBitmap, 30, 2), (Px{100, 120, 220}));
    EXPECT_EQ(At(tool.pictureBitmap, 30, 38), (Px{100, 120, 220}));
    EXPECT_EQ(At(tool.pictureBitmap, 48, 20), (Px{100, 120, 220}));
    EXPECT_EQ(At(tool.pictureBitmap, 5, 5), (Px{100, 100, 220})) << "outside the footprint";
    // The blue channel, already at 220, clamps at 255.
    tool.ClickOptions(&tool, 77, 66, &panel);
    tool.Press(&tool, 30, 20);
    tool.Release(&tool, 30, 20);
    EXPECT_EQ(At(tool.pictureBitmap, 30, 20), (Px{100, 120, 255}));
}

TEST_F(ToolFixture, HammerAndChiselGiveOnePassWhateverTheStrokeDoes)
{
    // Two pictures with the same pattern and undo copies of it, as the routing saves at a press.
    auto pattern = [](int b) {
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < 80; ++x) Put(b, x, y, Px{(x * 7) % 256, (y * 11) % 256, ((x + y) * 5) % 256});
    };
    int once = Filled(80, 50, kWhite), many = Filled(80, 50, kWhite);
    pattern(once);
    pattern(many);
    int undo = Filled(80, 50, kWhite);
    pattern(undo);
    const int savedUndo = scene.undoBitmap;
    scene.undoBitmap = undo;
    effectBrush_Install(&tool);
    tool.mode = 7;
    tool.size = 28;

    Use(once);
    tool.Press(&tool, 30, 25);
    tool.Drag(&tool, 45, 25);
    tool.Release(&tool, 45, 25);
    std::vector<Px> single = Pixels(once);

    Use(many);
    tool.Press(&tool, 30, 25);
    for (int i = 0; i < 4; ++i) {
        tool.Drag(&tool, 45, 25);
        tool.Drag(&tool, 30, 25);
    }
    tool.Drag(&tool, 45, 25);
    tool.Release(&tool, 45, 25);
    EXPECT_TRUE(Pixels(many) == single);
    EXPECT_TRUE(Pixels(many) != Pixels(undo)) << "the stroke carved something";
    // A flat part of the picture turns the emboss's light grey (200).
    scene.undoBitmap = savedUndo;
    tb_DisposeBitmap(undo);
    tb_DisposeBitmap(once);
}

// On a picture of one colour, a quick stroke (its dabs apart) along an edge changes the edge's
// pixels exactly as the same stroke changes the middle: beyond the picture lies its own edge
// again, never the black of a fresh scratch bitmap. The pepper, given the same random draws, too.
TEST_F(ToolFixture, AStrokeAlongAnEdgeChangesItAsTheSameStrokeChangesTheMiddle)
{
    const Px uniform{120, 160, 200};
    const int W = 160, H = 160, savedUndo = scene.undoBitmap;
    scene.undoBitmap = Filled(W, H, uniform);  // what the hammer and chisel read
    const struct {
        void (*install)(SceneObject*);
        int mode, size;
    } tools[] = {{brush_Install, 0, 36},       {effectBrush_Install, 1, 40}, {effectBrush_Install, 2, 40},
                 {effectBrush_Install, 3, 40}, {effectBrush_Install, 4, 40}, {crayon_Install, 5, 40},
                 {effectBrush_Install, 7, 40}, {effectBrush_Install, 6, 40}};
    // The stroke's start and step, and how far the same stroke lies in the middle.
    const struct {
        int x, y, dx, dy, sx, sy;
    } edges[] = {{3, 25, 0, 44, 50, 0}, {W - 4, 25, 0, 44, -50, 0}, {25, 2, 44, 0, 0, 50}, {25, H - 3, 44, 0, 0, -50}};
    for (auto& t : tools)
        for (auto& e : edges) {
            SCOPED_TRACE(std::to_string(t.mode) + " from " + std::to_string(e.x) + "," + std::to_string(e.y));
            int pictures[2];
            for (int i = 0; i < 2; ++i) {
                Use(pictures[i] = Filled(W, H, uniform));
                t.install(&tool);
                tool.mode = t.mode;
                tool.size = t.size;
                tool.SetColor(&tool, 65025, 65025, 65025);  // a white brush (the crayon: its green switch)
                if (t.mode == 5) tool.red = 0, tool.green = 1, tool.blue = 0;
                const int x = e.x + i * e.sx, y = e.y + i * e.sy;
                srand(7);  // the pepper's random draws, the same for both strokes
                tool.Press(&tool, x, y);
                for (int step = 1; step <= 2; ++step) tool.Drag(&tool, x + step * e.dx, y + step * e.dy);
                tool.Release(&tool, x, y);
            }
            int changed = 0;
            for (int y = 0; y < H; ++y)
                for (int x = 0; x < W; ++x) {
                    const int mx = x + e.sx, my = y + e.sy;
                    if (mx < 0 || mx >= W || my < 0 || my >= H) continue;
                    const Px atEdge = At(pictures[0], x, y), inMiddle = At(pictures[1], mx, my);
                    changed += inMiddle != uniform;
                    ASSERT_EQ(atEdge, inMiddle) << x << "," << y;
                }
            // The rag leaves one colour as it is (and so must it at the edge); the others change it.
            EXPECT_TRUE(t.mode == 4 || changed > 100) << changed;
            tb_DisposeBitmap(pictures[0]);
            tb_DisposeBitmap(pictures[1]);
            tool.pictureBitmap = -1;
        }
    tb_DisposeBitmap(scene.undoBitmap);
    scene.undoBitmap = savedUndo;
}

// ---------------------------------------------------------------- eraser, spray can, jar

TEST_F(ToolFixture, EraserSquaresFromSize1Upwards)
{
    struct {
        int size, half;
    } cases[] = {{1, 1}, {4, 2}, {24, 12}};
    for (auto& c : cases) {
        SCOPED_TRACE(c.size);
        Use(Filled(60, 40, kBlue));
        eraser_Install(&tool);
        tool.size = c.size;
        tool.SetColor(&tool, 65025, 0, 0);  // the eraser paints white whatever the colour
        tool.Press(&tool, 20, 20);
        int white = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 60; ++x) {
                bool inside = x >= 20 - c.half && x < 20 + c.half && y >= 20 - c.half && y < 20 + c.half;
                EXPECT_EQ(At(tool.pictureBitmap, x, y), inside ? kWhite : kBlue) << x << "," << y;
                white += inside;
            }
        EXPECT_EQ(white, 4 * c.half * c.half);
        tool.Release(&tool, 20, 20);
        EXPECT_EQ(tool.active, 0);
        tb_DisposeBitmap(tool.pictureBitmap);
        tool.pictureBitmap = -1;
    }
}

TEST_F(ToolFixture, SprayBurstsStayInTheSquareAndDropPixelsOffThePicture)
{
    Use(Filled(100, 100, kWhite));
    spray_Install(&tool);
    tool.size = 16;
    tool.SetColor(&tool, 0, 0, 65025);
    bool outsideTheDisc = false;
    for (int burst = 0; burst < 60; ++burst) {
        std::vector<Px> before = Pixels(tool.pictureBitmap);
        spray_Burst(&tool, 50, 50);
        int set = 0;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x) {
                if (At(tool.pictureBitmap, x, y) == before[y * 100 + x]) continue;
                ++set;
                ASSERT_LE(std::abs(x - 50), 8);
                ASSERT_LE(std::abs(y - 50), 8);
                if ((x - 50) * (x - 50) + (y - 50) * (y - 50) > 64) outsideTheDisc = true;
            }
        EXPECT_LE(set, 16);
        // A burst draws in a fresh place only on the picture's unchanged pixels; start again.
        tb_SetForeColor(tool.pictureBitmap, 65025, 65025, 65025);
        RECT all = {0, 0, 100, 100};
        tb_PaintRect(tool.pictureBitmap, &all);
    }
    EXPECT_TRUE(outsideTheDisc) << "the offsets come from independent draws: a square, not a disc";

    // At the corner most of a burst falls off the picture, silently.
    for (int i = 0; i < 50; ++i) spray_Burst(&tool, 0, 0);
    for (int y = 9; y < 100; ++y)
        for (int x = 9; x < 100; ++x) ASSERT_EQ(At(tool.pictureBitmap, x, y), kWhite);
    EXPECT_EQ(boxes.count(), 0u);
}

TEST_F(ToolFixture, JarStopsAtAClosedOutlineAndRunsOutThroughAGap)
{
    for (bool gap : {false, true}) {
        SCOPED_TRACE(gap);
        Use(Filled(80, 60, kWhite, true));
        jar_Install(&tool);
        RECT outline = {20, 15, 50, 45};
        tb_SetForeColor(tool.pictureBitmap, 0, 0, 0);
        tb_FrameRect(tool.pictureBitmap, &outline);
        if (gap) Put(tool.pictureBitmap, 49, 30, kWhite);
        tool.SetColor(&tool, 0, 0, 65025);
        tool.Press(&tool, 30, 30);
        tool.Drag(&tool, 70, 5);  // dragging does nothing
        tool.Release(&tool, 70, 5);
        EXPECT_EQ(At(tool.pictureBitmap, 30, 30), kBlue);
        EXPECT_EQ(At(tool.pictureBitmap, 48, 44 - 1), kBlue);
        EXPECT_EQ(At(tool.pictureBitmap, 20, 15), kBlack);
        EXPECT_EQ(At(tool.pictureBitmap, 70, 5), gap ? kBlue : kWhite);
        EXPECT_EQ(At(tool.pictureBitmap, 0, 59), gap ? kBlue : kWhite);
        // Again on the same colour: nothing changes.
        std::vector<Px> before = Pixels(tool.pictureBitmap);
        tool.Press(&tool, 30, 30);
        EXPECT_TRUE(Pixels(tool.pictureBitmap) == before);
        tb_DisposeBitmap(tool.pictureBitmap);
        tool.pictureBitmap = -1;
    }
}

// ---------------------------------------------------------------- relief

namespace {

// A height map with a step from grey g1 (x < 20) to g2, and a picture of one grey.
struct Relief {
    int map, picture;
    Relief(int g1, int g2, int grey)
    {
        map = Filled(40, 30, Px{g1, g1, g1});
        RECT right = {20, 0, 40, 30};
        tb_SetForeColor(map, g2 * 255L, g2 * 255L, g2 * 255L);
        tb_PaintRect(map, &right);
        picture = Filled(40, 30, Px{grey, grey, grey});
    }
    ~Relief()
    {
        tb_DisposeBitmap(map);
        tb_DisposeBitmap(picture);
    }
};

}  // namespace

TEST(BumpMap, FlatStepsDoublingAndTheEdge)
{
    BoxScript boxes;
    // Flat height map: nothing moves.
    {
        Relief r(90, 90, 128);
        RECT all = {0, 0, 40, 30};
        tb_BumpMap(r.picture, r.map, &all, 20, 2);
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x) ASSERT_EQ(At(r.picture, x, y), (Px{128, 128, 128}));
    }
    // A step of 100 grey levels: L2 - L1 = 100 * sqrt(3); d = strength * that / sqrt(49152).
    {
        Relief r(50, 150, 128);
        RECT square = {10, 5, 30, 25};
        const double step = 100 * std::sqrt(3.0) / std::sqrt(49152.0);
        tb_BumpMap(r.picture, r.map, &square, 20, 2);
        const int once = 128 + int(20 * step);  // 143
        EXPECT_EQ(At(r.picture, 18, 10), (Px{once, once, once}));  // the step lies two pixels ahead
        EXPECT_EQ(At(r.picture, 17, 10), (Px{128, 128, 128}));
        EXPECT_EQ(At(r.picture, 20, 10), (Px{128, 128, 128}));
        EXPECT_EQ(At(r.picture, 9, 10), (Px{128, 128, 128})) << "outside the rectangle";
        // A second pass doubles the relief; the first dab's strength 15 is weaker.
        tb_BumpMap(r.picture, r.map, &square, 20, 2);
        EXPECT_EQ(At(r.picture, 18, 10).r, 128 + 2 * int(20 * step));
        tb_BumpMap(r.picture, r.map, &square, 15, 2);
        EXPECT_EQ(At(r.picture, 19, 10).r, 128 + 2 * int(20 * step) + int(15 * step));
        EXPECT_LT(int(15 * step), int(20 * step));
    }
    // Downhill on black clamps at 0; white stays white on an uphill step.
    {
        Relief r(150, 50, 5);
        RECT all = {0, 0, 40, 30};
        tb_BumpMap(r.picture, r.map, &all, 20, 2);
        EXPECT_EQ(At(r.picture, 18, 10), kBlack);
    }
    // A square over the edge is cut to the picture; the shifted reads clamp to its last pixel.
    {
        Relief r(50, 150, 128);
        RECT over = {30, 20, 60, 50};
        tb_BumpMap(r.picture, r.map, &over, 20, 2);
        for (int y = 20; y < 30; ++y)
            for (int x = 30; x < 40; ++x) ASSERT_EQ(At(r.picture, x, y), (Px{128, 128, 128}));
        RECT none = {50, 40, 60, 50};
        tb_BumpMap(r.picture, r.map, &none, 20, 2);
    }
    EXPECT_EQ(boxes.count(), 0u) << boxes.lastText();
}

// ---------------------------------------------------------------- option panels

namespace {

// Every pixel of the panel as the geometry says: white, bars green or black, other figures
// checked by the caller.
struct Bar {
    int left, top, right, bottom;
    Px colour;
};

void ExpectBars(int bitmap, int ox, int oy, const std::vector<Bar>& bars, int bottomOfCheck)
{
    for (int y = 0; y < bottomOfCheck; ++y)
        for (int x = 0; x < 94; ++x) {
            Px want = kWhite;
            for (auto& b : bars)
                if (x >= b.left && x < b.right && y >= b.top && y < b.bottom) want = b.colour;
            ASSERT_EQ(At(bitmap, ox + x, oy + y), want) << x << "," << y;
        }
}

}  // namespace

TEST_F(ToolFixture, ThreeBarPanelsCAndEPixelForPixel)
{
    RECT at = {50, 40, 144, 122};
    struct {
        void (*install)(SceneObject*);
        int size;
        int green;  // which bar is green, -1 none
    } cases[] = {{effectBrush_Install, 16, 0}, {effectBrush_Install, 28, 1}, {effectBrush_Install, 40, 2},
                 {effectBrush_Install, 24, -1}, {bump_Install, 24, 0},        {bump_Install, 32, 1},
                 {bump_Install, 48, 2},         {bump_Install, 28, -1}};
    const int left[3] = {6, 27, 57}, right[3] = {21, 50, 89};
    for (auto& c : cases) {
        SCOPED_TRACE(c.size);
        c.install(&tool);
        tool.size = c.size;
        tool.DrawOptions(&tool, &at);
        std::vector<Bar> bars;
        for (int i = 0; i < 3; ++i) bars.push_back({left[i], 9, right[i], 73, i == c.green ? kGreen : kBlack});
        ExpectBars(sceneBitmap, 50, 40, bars, 82);
    }
    // Hits: the bars' own rectangles, nothing between them or above and below.
    struct {
        void (*install)(SceneObject*);
        int x, y, size;
    } hits[] = {{effectBrush_Install, 6, 9, 16},  {effectBrush_Install, 20, 72, 16}, {effectBrush_Install, 21, 40, 99},
                {effectBrush_Install, 27, 40, 28}, {effectBrush_Install, 88, 40, 40}, {effectBrush_Install, 89, 40, 99},
                {effectBrush_Install, 60, 8, 99},  {effectBrush_Install, 60, 73, 99}, {bump_Install, 6, 40, 24},
                {bump_Install, 49, 40, 32},        {bump_Install, 57, 40, 48},        {bump_Install, 55, 40, 99}};
    for (auto& h : hits) {
        h.install(&tool);
        tool.size = 99;
        tool.ClickOptions(&tool, at.left + h.x, at.top + h.y, &at);
        EXPECT_EQ(tool.size, h.size) << h.x << "," << h.y;
    }
}

TEST_F(ToolFixture, CrayonPanelDPixelForPixel)
{
    RECT at = {50, 40, 144, 122};
    crayon_Install(&tool);
    const Px swatch[3] = {{255, 160, 160}, {160, 255, 160}, {160, 160, 255}};
    const RECT swatches[3] = {{6, 60, 28, 73}, {36, 60, 58, 73}, {66, 60, 88, 73}};
    const Px ring{0, 227, 0};
    for (int on = 0; on < 3; ++on) {
        SCOPED_TRACE(on);
        tool.size = 28;
        tool.red = on == 0;
        tool.green = on == 1;
        tool.blue = on == 2;
        tool.DrawOptions(&tool, &at);
        // The bars down to y = 50, then the grey line at y = 52.
        std::vector<Bar> bars = {{6, 9, 21, 50, kBlack}, {27, 9, 50, 50, kGreen}, {57, 9, 89, 50, kBlack},
                                 {6, 52, 89, 53, Px{128, 128, 128}}};
        ExpectBars(sceneBitmap, 50, 40, bars, 56);
        for (int i = 0; i < 3; ++i) {
            const RECT& s = swatches[i];
            const int cx = (s.left + s.right) / 2, cy = (s.top + s.bottom) / 2;
            EXPECT_EQ(At(sceneBitmap, 50 + cx, 40 + cy), swatch[i]);
            // The ring lies on the swatch's rectangle grown by 2: its top and bottom rows.
            EXPECT_EQ(At(sceneBitmap, 50 + cx, 40 + s.top - 2), i == on ? ring : kWhite);
            EXPECT_EQ(At(sceneBitmap, 50 + cx, 40 + s.bottom + 1), i == on ? ring : kWhite);
            EXPECT_EQ(At(sceneBitmap, 50 + s.left - 2, 40 + cy), i == on ? ring : kWhite);
            EXPECT_EQ(At(sceneBitmap, 50 + cx, 40 + s.top - 3), kWhite);
        }
        EXPECT_EQ(At(sceneBitmap, 50 + 32, 40 + 66), kWhite);  // between the swatches
    }
}

TEST_F(ToolFixture, ShapePanelPixelForPixel)
{
    RECT at = {50, 40, 144, 122};
    templates_Install(&tool);
    const RECT cells[4] = {{8, 3, 43, 39}, {49, 3, 84, 39}, {8, 42, 43, 78}, {49, 42, 84, 78}};
    for (int shape = 0; shape < 4; ++shape) {
        SCOPED_TRACE(shape);
        tool.mode = shape;
        tool.DrawOptions(&tool, &at);
        for (int i = 0; i < 4; ++i) {
            const RECT& c = cells[i];
            const Px ink = i == shape ? kGreen : kBlack;
            const int cx = (c.left + c.right) / 2, cy = (c.top + c.bottom) / 2;
            const bool filled = i == 1 || i == 3;
            EXPECT_EQ(At(sceneBitmap, 50 + cx, 40 + cy), filled ? ink : kWhite);
            EXPECT_EQ(At(sceneBitmap, 50 + cx, 40 + c.top), ink) << "the top of the figure";
            EXPECT_EQ(At(sceneBitmap, 50 + cx, 40 + c.top + 1), filled ? ink : kWhite) << "one-pixel outline";
            EXPECT_EQ(At(sceneBitmap, 50 + cx, 40 + c.top - 1), kWhite);
            // Rectangles fill their cell to the corner, ellipses leave it white.
            EXPECT_EQ(At(sceneBitmap, 50 + c.left, 40 + c.top), i >= 2 ? ink : kWhite);
            EXPECT_EQ(At(sceneBitmap, 50 + c.right - 1, 40 + c.bottom - 1), i >= 2 ? ink : kWhite);
            EXPECT_EQ(At(sceneBitmap, 50 + c.right, 40 + c.bottom), kWhite);
        }
    }
    // Hit areas: the ellipses' cells widened by 2 left and right; a miss keeps the shape.
    struct {
        int x, y, shape;
    } hits[] = {{6, 20, 0},  {44, 20, 0}, {45, 20, 99}, {47, 20, 1}, {85, 20, 1},
                {7, 60, 99}, {8, 60, 2},  {48, 60, 99}, {49, 77, 3}, {60, 40, 99}};
    for (auto& h : hits) {
        EXPECT_EQ(shapePanel_ShapeAt(h.x, h.y, 99), h.shape) << h.x << "," << h.y;
    }
    tool.ClickOptions(&tool, at.left + 60, at.top + 60, &at);
    EXPECT_EQ(tool.mode, 3);
}
