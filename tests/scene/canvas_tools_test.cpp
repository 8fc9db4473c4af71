// The canvas tools in the room, driven through the pointer handlers: the ruler's and templates'
// rubber bands, the dropper, the scissors' piece, the bump patterns' relief bitmap, every tool's
// sounds and cursor, and the gestures whose release never comes.
#include "scene_window.h"

#include <algorithm>
#include <vector>

#include "input_events.h"
#include "scene/scene_routing.h"
#include "shell/shell.h"
#include "tools/dropper_scissors.h"
#include "tools/stamps.h"

namespace {

const Channels kWhite{255, 255, 255}, kRed{255, 0, 0};

// The sixth stamp of the first sheet taken up, as its picker would.
void TakeFirstSheetsStamp()
{
    RECT sheetRect = {0, 0, 0, 0}, maskRect = {0, 0, 0, 0};
    int sheet = tb_CreateBitmap(&sheetRect, 1001, 24), sheetMask = tb_CreateBitmap(&maskRect, 1002, 8);
    stamps_TakeStamp(sheet, sheetMask, 5);
    tb_DisposeBitmap(sheet);
    tb_DisposeBitmap(sheetMask);
}

int CountIn(int bitmap, const RECT& r, Channels c)
{
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) n += PixelOf(bitmap, x, y) == c;
    return n;
}

class CanvasTools : public SceneTest {
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        ListenToSounds();
        scene_ResetRouting();
        tb_SetPointerMode(2);
        StartAt(640, 480);  // canvas (147, 16)-(621, 384)
    }
    void TearDown() override
    {
        tb_SetSoundObserver(nullptr);
        scissors_DisposePiece();
        SceneTest::TearDown();
    }
    void Use(int index)
    {
        scene.currentObject = index;
        scene.currentGroup = scene.objects[index].group;
        if (index == 8) scene.objects[8].mode = 0;
    }
    SceneObject& Tool() { return scene.objects[scene.currentObject]; }
    void Press(int x, int y) { scene_PressHandler(SceneTestWindow(), x, y); }
    void Release(int x, int y) { scene_ReleaseHandler(SceneTestWindow(), x, y); }
    void Move(int x, int y) { scene_MoveHandler(SceneTestWindow(), x, y); }
    void Drag(int x1, int y1, int x2, int y2)
    {
        ButtonHeld held;
        Press(x1, y1);
        Move(x2, y2);
    }
    // A red square in the picture, shown on the window.
    void RedSquare(const RECT& r)
    {
        tb_SetForeColor(scene.canvasBitmap, 65025, 0, 0);
        tb_PaintRect(scene.canvasBitmap, &r);
        scene_ShowAll();
    }
    // Pixels of the canvas where the window does not show the picture, plain or magnified: every
    // one compared.
    int ShownWrong()
    {
        const RECT& c = scene.layout.canvas;
        const int W = scene.layout.width, H = scene.layout.height, pw = scene.layout.picture.right;
        std::vector<uint32_t> window = GrabWindow(W, H);
        std::vector<uint32_t> picture = GrabPixels(tb_GetBitmapDC(scene.canvasBitmap), pw, scene.layout.picture.bottom);
        int n = 0;
        for (int y = c.top; y < c.bottom; ++y)
            for (int x = c.left; x < c.right; ++x) {
                ScenePoint p = scene_ToPicture(x, y);
                n += window[size_t(y) * W + x] != picture[size_t(p.y) * pw + p.x];
            }
        return n;
    }
    // The room as the scene bitmap holds it once its canvas view has caught up with the picture:
    // what the window shows wherever nothing is drawn over it.
    std::vector<uint32_t> Room()
    {
        RECT whole = {0, 0, scene.layout.width, scene.layout.height};
        scene_CatchUpView(&whole);
        return GrabPixels(tb_GetBitmapDC(scene.sceneBitmap), whole.right, whole.bottom);
    }
    int WindowDiffers(const RECT& r)
    {
        scene_CatchUpView(&r);
        int n = 0;
        for (int y = r.top; y < r.bottom; y += 2)
            for (int x = r.left; x < r.right; x += 2)
                if (!(WindowPixel(x, y) == PixelOf(scene.sceneBitmap, x, y))) ++n;
        return n;
    }
};

}  // namespace

// ---------------------------------------------------------------- ruler and templates

TEST_F(CanvasTools, RulerPreviewStaysOnTheWindowUntilTheRelease)
{
    Use(4);
    scene_SetCurrentColor(65025, 0, 0, 0);
    Drag(200, 100, 300, 150);
    EXPECT_EQ(WindowPixel(250, 125), kRed) << "the preview";
    EXPECT_EQ(PixelOf(scene.canvasBitmap, 103, 109), kWhite) << "never in the picture";
    EXPECT_EQ(scene.objects[4].active, 1);
    Release(300, 150);
    EXPECT_EQ(PixelOf(scene.canvasBitmap, 103, 109), kRed);
    EXPECT_EQ(WindowPixel(250, 125), kRed);
    EXPECT_EQ(scene.objects[4].active, 0);
    // A press and release at one point leaves a dot as wide as the size.
    Press(400, 300);
    Release(400, 300);
    EXPECT_EQ(PixelOf(scene.canvasBitmap, 253, 284), kRed);
}

TEST_F(CanvasTools, RulerWhileMagnifiedPreviewsTwiceAsThickAndDrawsHalfTheLength)
{
    Use(4);
    scene_SetCurrentColor(65025, 0, 0, 0);
    scene.zoomed = 1;
    scene.scroll = {0, 0};
    scene_ShowAll();
    Drag(200, 100, 300, 100);
    int thick = 0;
    for (int y = 80; y < 120; ++y) thick += WindowPixel(250, y) == kRed;
    EXPECT_EQ(thick, 8);
    Release(300, 100);
    // In picture pixels: from (26, 42) to (76, 42), 4 wide.
    int across = 0;
    for (int y = 30; y < 55; ++y) across += PixelOf(scene.canvasBitmap, 51, y) == kRed;
    EXPECT_EQ(across, 4);
    EXPECT_EQ(PixelOf(scene.canvasBitmap, 40, 42), kRed);
    EXPECT_EQ(PixelOf(scene.canvasBitmap, 82, 42), kWhite);
    EXPECT_EQ(PixelOf(scene.canvasBitmap, 120, 42), kWhite);
}

TEST_F(CanvasTools, RubberBandsLeaveNothingBehindAsTheyMove)
{
    // Each move wipes the last preview from the window as closely as it can: after every move the
    // window differs from the room's bitmap only where the new preview may lie.
    const RECT& c = scene.layout.canvas;
    const int W = scene.layout.width, H = scene.layout.height;
    const ScenePoint path[] = {{300, 60}, {600, 370}, {160, 370}, {610, 30}, {400, 380}, {150, 200}, {615, 200}};
    scene_SetCurrentColor(0, 0, 65025, 0);
    struct Case {
        int tool, mode;
    } cases[] = {{4, 0}, {5, 0}, {5, 1}, {5, 2}, {5, 3}};
    for (int zoomed = 0; zoomed < 2; ++zoomed) {
        scene.zoomed = zoomed;
        scene.scroll = zoomed ? ScenePoint{60, 40} : ScenePoint{0, 0};
        scene_ShowAll();
        for (const Case& k : cases)
            for (int size : {1, 8, 32}) {
                SCOPED_TRACE(testing::Message() << "tool " << k.tool << " mode " << k.mode << " size " << size
                                                << (zoomed ? " magnified" : ""));
                Use(k.tool);
                Tool().mode = k.mode;
                Tool().size = size;
                const double reach = (k.tool == 4 ? size * (zoomed ? 2 : 1) / 2.0 : 0) + 1.5;
                {
                    ButtonHeld held;
                    Press(380, 210);
                    for (const ScenePoint& to : path) {
                        Move(to.x, to.y);
                        // The ends as the tool took them: the routing keeps the ruler's inside the canvas.
                        const ScenePoint start = Tool().lastPoint, p = Tool().currentPoint;
                        std::vector<uint32_t> window = GrabWindow(W, H);
                        std::vector<uint32_t> room = Room();
                        // Where the preview may be: near the segment, or on the figure's rectangle.
                        auto mayShow = [&](int x, int y) {
                            if (k.tool == 5)
                                return x >= std::min(start.x, p.x) - reach && x <= std::max(start.x, p.x) + reach &&
                                       y >= std::min(start.y, p.y) - reach && y <= std::max(start.y, p.y) + reach;
                            const double dx = p.x - start.x, dy = p.y - start.y, len2 = dx * dx + dy * dy;
                            double t = len2 > 0 ? ((x - start.x) * dx + (y - start.y) * dy) / len2 : 0;
                            t = t < 0 ? 0 : (t > 1 ? 1 : t);
                            const double ex = start.x + t * dx - x, ey = start.y + t * dy - y;
                            return ex * ex + ey * ey <= reach * reach;
                        };
                        int left = 0;
                        for (int y = c.top; y < c.bottom; ++y)
                            for (int x = c.left; x < c.right; ++x)
                                left += window[size_t(y) * W + x] != room[size_t(y) * W + x] && !mayShow(x, y);
                        EXPECT_EQ(left, 0) << "after the move to " << to.x << "," << to.y;
                    }
                }
                // A filled figure's release leaves the window alone where the last preview still
                // shows as the figure: not after a repaint has wiped it (size 8), nor where the
                // last move was kept inside the canvas, away from the release (size 32).
                const bool repainted = size == 8, filled = k.tool == 5 && k.mode % 2 == 1;
                if (repainted) scene_ShowAll();
                const unsigned draws = tb_WindowDraws();
                Release(path[6].x, path[6].y);
                if (filled && !zoomed && size == 1) {
                    EXPECT_EQ(tb_WindowDraws(), draws) << "the preview is the figure";
                }
                std::vector<uint32_t> window = GrabWindow(W, H), room = Room();
                EXPECT_TRUE(window == room) << "after the release";
                scene_Undo();
                scene_ShowAll();
            }
    }
}

TEST_F(CanvasTools, TemplatesDrawNormalisedFiguresWithOnePixelOutlines)
{
    Use(5);
    scene_SetCurrentColor(65025, 0, 0, 0);
    SceneObject& t = Tool();
    t.size = 24;
    // Filled rectangle, dragged up and to the left of the press.
    t.mode = 3;
    Drag(300, 200, 250, 150);
    EXPECT_EQ(PixelOf(scene.canvasBitmap, 120, 150), kWhite) << "the preview is the window's";
    Release(250, 150);
    const RECT filled = {103, 134, 153, 184};
    EXPECT_EQ(CountIn(scene.canvasBitmap, {90, 120, 170, 200}, kRed), 50 * 50);
    EXPECT_EQ(PixelOf(scene.canvasBitmap, filled.left, filled.top), kRed);
    EXPECT_EQ(PixelOf(scene.canvasBitmap, filled.right - 1, filled.bottom - 1), kRed);
    // Rectangle outline: one pixel whatever the size.
    t.mode = 2;
    Drag(400, 100, 460, 160);
    Release(460, 160);
    EXPECT_EQ(CountIn(scene.canvasBitmap, {250, 80, 320, 150}, kRed), 4 * 60 - 4);
    EXPECT_EQ(PixelOf(scene.canvasBitmap, 253, 84), kRed);
    EXPECT_EQ(PixelOf(scene.canvasBitmap, 312, 143), kRed);
    EXPECT_EQ(PixelOf(scene.canvasBitmap, 254, 85), kWhite);
    // Magnified: the figure has half its on-screen size in the picture.
    scene.zoomed = 1;
    scene.scroll = {200, 100};
    t.mode = 1;
    Drag(200, 250, 300, 350);
    Release(300, 350);
    int across = 0;
    for (int x = 200; x < 300; ++x) across += PixelOf(scene.canvasBitmap, x, 100 + (300 - 16) / 2) == kRed;
    EXPECT_EQ(across, 50);
}

// ---------------------------------------------------------------- dropper and scissors

TEST_F(CanvasTools, DropperPicksTheExactPixelWhilePressingAndDragging)
{
    Use(7);
    tb_SetPixelRGB(scene.canvasBitmap, 10, 20, 10 * 255, 20 * 255, 30 * 255);
    tb_SetPixelRGB(scene.canvasBitmap, 11, 20, 200 * 255, 100 * 255, 50 * 255);
    ButtonHeld held;
    Press(157, 36);
    EXPECT_EQ(scene.currentColor.red, 2550u);
    EXPECT_EQ(scene.currentColor.green, 5100u);
    EXPECT_EQ(scene.currentColor.blue, 7650u);
    Move(158, 36);
    EXPECT_EQ(scene.currentColor.red, 51000u);
    EXPECT_EQ(scene.currentColor.green, 25500u);
    EXPECT_EQ(scene.currentColor.blue, 12750u);
    // The paint blot shows it at once.
    const RECT& blot = scene.layout.paintBlot;
    EXPECT_GT(CountIn(scene.sceneBitmap, blot, Channels{200, 100, 50}), 50);
}

// Magnified, a canvas of odd width and height shows its last column and row at the canvas's
// last window pixels: a point there names them, not the pixel past the picture.
TEST_F(CanvasTools, MagnifiedTheLastColumnAndRowOfAnOddCanvasAreOnThePicture)
{
    scene_Shutdown();
    StartAt(641, 481);
    Use(7);
    const int cw = scene.layout.canvasWidth, ch = scene.layout.canvasHeight;
    ASSERT_EQ(cw % 2, 1);
    ASSERT_EQ(ch % 2, 1);
    tb_SetPixelRGB(scene.canvasBitmap, cw - 1, ch - 1, 10 * 255, 20 * 255, 30 * 255);
    scene.zoomed = 1;
    scene.scroll = {cw - cw / 2, ch - ch / 2};
    scene_ShowAll();
    ButtonHeld held;
    Press(scene.layout.canvas.right - 1, scene.layout.canvas.bottom - 1);
    EXPECT_EQ(scene.currentColor.red, 2550u);
    EXPECT_EQ(scene.currentColor.green, 5100u);
    EXPECT_EQ(scene.currentColor.blue, 7650u);
    scene.zoomed = 0;
}

TEST_F(CanvasTools, ScissorsTakeAPieceFrom8PixelsAndNotFrom7)
{
    Use(8);
    RedSquare({40, 40, 100, 100});
    struct {
        int w, h;
        bool taken;
    } cases[] = {{7, 20, false}, {20, 7, false}, {8, 8, true}, {7, 7, false}};
    for (auto& c : cases) {
        SCOPED_TRACE(c.w * 100 + c.h);
        Use(8);
        scene.objects[8].active = 0;
        scissors_DisposePiece();
        Drag(200, 70, 200 + c.w, 70 + c.h);
        Release(200 + c.w, 70 + c.h);
        int w, h;
        scissors_PieceSize(&w, &h);
        EXPECT_EQ(Tool().mode, c.taken ? 1 : 0);
        EXPECT_EQ(Tool().active, c.taken ? 1 : 0);
        EXPECT_EQ(w, c.taken ? c.w : 0);
        EXPECT_EQ(h, c.taken ? c.h : 0);
        int sw, sh;
        sceneServices.pieceSize(8, &sw, &sh);
        EXPECT_EQ(sw, w);
        if (c.taken) {
            EXPECT_EQ(PixelOf(scissorsPiece.bitmap, 3, 3), kRed);
        } else {
            EXPECT_EQ(Tool().size, 1);
        }
    }
}

TEST_F(CanvasTools, ScissorsStampHalfSizeWhileMagnifiedAndLeaveStampModeOnC)
{
    Use(8);
    RedSquare({10, 10, 30, 30});
    scene.zoomed = 1;
    scene.scroll = {0, 0};
    scene_ShowAll();
    // The 20 x 20 square shows as 40 x 40 at (167, 36); the piece is the screen image.
    Drag(167, 36, 207, 76);
    Release(207, 76);
    int w, h;
    scissors_PieceSize(&w, &h);
    ASSERT_EQ(w, 40);
    ASSERT_EQ(h, 40);
    // The piece follows the pointer with the button up, over the window only.
    Move(400, 300);
    EXPECT_EQ(WindowPixel(400, 300), kRed);
    EXPECT_EQ(PixelOf(scene.canvasBitmap, 126, 142), kWhite);
    {
        ButtonHeld held;
        Press(400, 300);
    }
    Release(400, 300);
    const RECT stamp = {116, 132, 136, 152};
    EXPECT_EQ(CountIn(scene.canvasBitmap, stamp, kRed), 400) << "half size in the picture";
    EXPECT_EQ(CountIn(scene.canvasBitmap, {0, 0, 200, 200}, kRed), 800);
    EXPECT_EQ(Tool().mode, 1);
    EXPECT_EQ(Tool().size, 40);

    // A tap, over before its press is handled (a touch screen, a busy machine), stamps as well.
    Press(300, 120);
    Release(300, 120);
    const RECT tapped = {66, 42, 86, 62};
    EXPECT_EQ(CountIn(scene.canvasBitmap, tapped, kRed), 400) << "the tap's stamp";
    tb_SetForeColor(scene.canvasBitmap, 65025, 65025, 65025);
    tb_PaintRect(scene.canvasBitmap, &tapped);
    scene_ShowAll();

    // A press outside the canvas stamps nothing and keeps the piece.
    {
        ButtonHeld held;
        Press(100, 300);
    }
    EXPECT_EQ(CountIn(scene.canvasBitmap, {0, 0, 200, 200}, kRed), 800);
    EXPECT_EQ(Tool().active, 1);

    // C held during a move leaves stamp mode; the piece goes from the window, which shows the
    // picture there even where the scene bitmap's view has not caught up with it.
    Move(300, 200);
    const ScenePoint from = scene_ToPicture(280, 180), to = scene_ToPicture(340, 240);
    const RECT under = {from.x, from.y, to.x, to.y};
    tb_SetForeColor(scene.canvasBitmap, 0, 65025, 0);
    tb_PaintRect(scene.canvasBitmap, &under);
    scene_Refresh(&scene.layout.canvas);
    {
        KeyHeld c('C');
        Move(310, 210);
    }
    EXPECT_EQ(Tool().active, 0);
    EXPECT_EQ(Tool().mode, 0);
    EXPECT_EQ(Tool().size, 1);
    EXPECT_EQ(WindowDiffers({280, 180, 340, 240}), 0);
    // The piece stays for the next use.
    scissors_PieceSize(&w, &h);
    EXPECT_EQ(w, 40);
}

// ---------------------------------------------------------------- bump patterns

TEST_F(CanvasTools, BumpPatternsBuildTheirReliefOncePerStrokeAndDabWeakerFirst)
{
    Use(9);
    tb_SetForeColor(scene.canvasBitmap, 128 * 255, 128 * 255, 128 * 255);
    tb_PaintRect(scene.canvasBitmap, &scene.layout.picture);
    const int slots = BitmapSlotsInUse();
    auto deltas = [](int x0, int y0) {
        int sum = 0;
        for (int y = y0 - 16; y < y0 + 16; ++y)
            for (int x = x0 - 16; x < x0 + 16; ++x) sum += std::abs(PixelOf(scene.canvasBitmap, x, y).r - 128);
        return sum;
    };
    {
        ButtonHeld held;
        Press(147 + 50, 16 + 50);
        EXPECT_EQ(BitmapSlotsInUse(), slots + 1) << "the relief bitmap";
        Move(147 + 50 + 128, 16 + 50);  // the same place of the next tile
        EXPECT_EQ(BitmapSlotsInUse(), slots + 1);
    }
    Release(147 + 50 + 128, 16 + 50);
    EXPECT_EQ(BitmapSlotsInUse(), slots);
    EXPECT_EQ(Tool().previewWindow, -1);
    const int first = deltas(50, 50), second = deltas(50 + 128, 50);
    EXPECT_GT(first, 0);
    EXPECT_GT(second, first);
    EXPECT_LT(second, first * 2);
    EXPECT_EQ(PixelOf(scene.canvasBitmap, 50 + 40, 50), (Channels{128, 128, 128})) << "outside the squares";
}

// ---------------------------------------------------------------- sounds and cursors

TEST_F(CanvasTools, EveryToolsSoundsAndCursor)
{
    typedef std::vector<std::pair<TB_SoundKind, int>> Sounds;
    const TB_SoundKind L = TB_SOUND_LOOP, N = TB_SOUND_NOSTOP, P = TB_SOUND_PLAY, S = TB_SOUND_STOP;
    struct {
        int object;
        Sounds press, move, release;
    } cases[] = {
        {1, {{L, 1001}}, {}, {{S, 0}}},
        {2, {}, {{N, 1003}}, {}},
        {3, {{L, 1023}}, {}, {{S, 0}}},
        {4, {}, {}, {{N, 1002}}},
        {5, {{N, 1029}}, {}, {{S, 0}}},
        {6, {{N, 1004}}, {}, {}},
        {7, {{N, 1019}}, {{N, 1019}}, {}},
        {8, {}, {{N, 1005}}, {{P, 1006}}},
        {9, {{L, 1027}}, {}, {{S, 0}}},
        {14, {{L, 1027}}, {}, {{S, 0}}},
        {18, {{L, 1037}}, {}, {{S, 0}}},
        {19, {{L, 1032}}, {}, {{S, 0}}},
        {20, {{L, 1033}}, {}, {{S, 0}}},
        {21, {{L, 1030}}, {}, {{S, 0}}},
        {22, {{L, 1038}}, {}, {{S, 0}}},
        {23, {{L, 1036}}, {}, {{S, 0}}},
        {24, {{L, 1026}}, {}, {{S, 0}}},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.object);
        Use(c.object);
        SoundsHeard().clear();
        {
            ButtonHeld held;
            Press(300, 200);
            EXPECT_TRUE(SoundsHeard() == c.press);
            EXPECT_TRUE(CursorIs(Tool().cursorId));
            SoundsHeard().clear();
            Move(330, 230);
            EXPECT_TRUE(SoundsHeard() == c.move);
            SoundsHeard().clear();
        }
        Release(330, 230);
        EXPECT_TRUE(SoundsHeard() == c.release);
        if (c.object == 8) {
            // The next press stamps the piece.
            SoundsHeard().clear();
            ButtonHeld held;
            Press(400, 300);
            EXPECT_TRUE(SoundsHeard() == (Sounds{{P, 1020}}));
            Release(400, 300);
        }
    }
}

// ---------------------------------------------------------------- faults of the room

TEST_F(CanvasTools, AGestureWithoutItsReleaseEndsAsTheReleaseWould)
{
    // The pencil's looping sound stops; the ruler draws its line; the marquee is dropped.
    Use(0);
    Press(300, 200);
    EXPECT_EQ(Tool().active, 1);
    SoundsHeard().clear();
    scene_EndGesture();
    EXPECT_EQ(Tool().active, 0);
    EXPECT_TRUE(SoundsHeard().size() >= 1 && SoundsHeard()[0].first == TB_SOUND_STOP);

    Use(4);
    scene_SetCurrentColor(65025, 0, 0, 0);
    Drag(200, 100, 300, 150);
    scene_EndGesture();
    EXPECT_EQ(Tool().active, 0);
    EXPECT_EQ(PixelOf(scene.canvasBitmap, 103, 109), kRed);
    EXPECT_EQ(WindowPixel(250, 125), kRed);

    Use(8);
    Drag(400, 200, 450, 250);
    scene_EndGesture();
    EXPECT_EQ(Tool().active, 0);
    EXPECT_EQ(Tool().mode, 0);
    EXPECT_EQ(scissorsPiece.bitmap, -1) << "no piece taken";
    EXPECT_EQ(WindowDiffers({390, 190, 460, 260}), 0) << "the marquee is gone";

    // A floating piece keeps floating.
    Drag(400, 200, 450, 250);
    Release(450, 250);
    ASSERT_EQ(Tool().mode, 1);
    scene_EndGesture();
    EXPECT_EQ(Tool().active, 1);
    EXPECT_EQ(Tool().mode, 1);

    // A bump stroke cut by a display change gives its relief bitmap back.
    Use(10);
    const int slots = BitmapSlotsInUse();
    Press(300, 200);
    EXPECT_EQ(BitmapSlotsInUse(), slots + 1);
    scene_Relayout();
    EXPECT_EQ(BitmapSlotsInUse(), slots);
    EXPECT_EQ(scene.objects[10].active, 0);
}

TEST_F(CanvasTools, TheShellEndsTheGestureOnFocusLossAndTheCommandMenu)
{
    ShellState saved = shell;
    shell.started = 1;
    Use(3);
    Press(300, 200);
    ASSERT_EQ(Tool().active, 1);
    shell_WindowProc(tb_GetWindowHandle(SceneTestWindow()), WM_KILLFOCUS, 0, 0);
    EXPECT_EQ(Tool().active, 0);
    EXPECT_EQ(shell.focusLost, 1);

    Use(1);
    Press(300, 200);
    ASSERT_EQ(Tool().active, 1);
    shell_PrePopupHook();
    EXPECT_EQ(Tool().active, 0);
    shell = saved;
}

TEST_F(CanvasTools, KeepInsideNeverLeavesTheCanvasWithAMarginOf0)
{
    const RECT& c = scene.layout.canvas;
    Use(8);  // size 1: margin 0
    int x = c.right + 30, y = c.bottom + 30;
    scene_KeepInside(&x, &y);
    EXPECT_EQ(x, c.right - 1);
    EXPECT_EQ(y, c.bottom - 1);
    EXPECT_TRUE(scene_OnCanvas(x, y));
    x = c.left - 5;
    y = c.top - 5;
    scene_KeepInside(&x, &y);
    EXPECT_EQ(x, c.left);
    EXPECT_EQ(y, c.top);
    Use(4);  // size 4: two pixels in
    x = c.right + 30;
    y = c.bottom + 30;
    scene_KeepInside(&x, &y);
    EXPECT_EQ(x, c.right - 2);
    EXPECT_EQ(y, c.bottom - 2);
}

TEST_F(CanvasTools, CancellingWithCErasesThePieceOverTheFrameToo)
{
    ShellState saved = shell;
    shell.started = 1;
    Use(8);
    RedSquare({0, 0, 60, 60});
    Drag(150, 20, 190, 60);
    Release(190, 60);
    ASSERT_EQ(Tool().mode, 1);
    Move(155, 100);  // half the piece lies over the frame left of the canvas
    EXPECT_EQ(WindowPixel(140, 100), kRed);
    {
        KeyHeld c('C');
        shell_IdleTick();
    }
    EXPECT_EQ(Tool().active, 0);
    EXPECT_EQ(WindowDiffers({125, 70, 185, 130}), 0);
    EXPECT_FALSE(WindowPixel(140, 100) == kRed);
    shell = saved;
}

TEST_F(CanvasTools, PieceServicesAnswerForTheScissorsAndTheBooks)
{
    int w = -1, h = -1;
    sceneServices.pieceSize(8, &w, &h);
    EXPECT_EQ(w, 0);
    sceneServices.pieceSize(16, &w, &h);
    EXPECT_EQ(w, 0);
    TakeFirstSheetsStamp();
    sceneServices.pieceSize(16, &w, &h);
    EXPECT_EQ(w, 48);
    EXPECT_EQ(h, 48);
    sceneServices.pieceSize(8, &w, &h);
    EXPECT_EQ(w, 0);
    Use(8);
    Drag(200, 100, 240, 130);
    Release(240, 130);
    // The cut piece, the stamp and its mask go back.
    const int slots = BitmapSlotsInUse();
    sceneServices.disposeToolBitmaps();
    EXPECT_EQ(BitmapSlotsInUse(), slots - 3);
    sceneServices.pieceSize(8, &w, &h);
    EXPECT_EQ(w, 0);
    sceneServices.pieceSize(16, &w, &h);
    EXPECT_EQ(w, 0);
}

TEST_F(CanvasTools, TheJarsPressShowsItsWholeFillPlainOrMagnified)
{
    // The refresh after the jar's press covers the area it filled, however far that reaches.
    const RECT& c = scene.layout.canvas;
    Use(6);
    for (int zoomed = 0; zoomed < 2; ++zoomed) {
        SCOPED_TRACE(zoomed ? "magnified" : "plain");
        scene.zoomed = zoomed;
        scene.scroll = zoomed ? ScenePoint{30, 50} : ScenePoint{0, 0};
        // A frame in the picture: the fills inside it and around it.
        tb_SetForeColor(scene.canvasBitmap, 0, 0, 0);
        RECT frame = {60, 70, 200, 160};
        tb_FrameRect(scene.canvasBitmap, &frame);
        scene_ShowAll();
        const ScenePoint inside = {130, 100}, around = {35, 60};
        int n = 0;
        for (ScenePoint at : {inside, around}) {
            scene_SetCurrentColor(n++ % 2 ? 65025 : 0, 157 * 255, 0, 0);
            const int x = zoomed ? c.left + (at.x - scene.scroll.x) * 2 : c.left + at.x;
            const int y = zoomed ? c.top + (at.y - scene.scroll.y) * 2 : c.top + at.y;
            {
                ButtonHeld held;
                Press(x, y);
            }
            EXPECT_EQ(PixelOf(scene.canvasBitmap, at.x, at.y).g, 157) << "the fill happened";
            EXPECT_EQ(ShownWrong(), 0) << "after the fill at " << at.x << "," << at.y;
            Release(x, y);
        }
        tb_SetForeColor(scene.canvasBitmap, 65025, 65025, 65025);
        tb_PaintRect(scene.canvasBitmap, &scene.layout.picture);
    }
}

TEST_F(CanvasTools, AfterAFillOfTheWholePictureWhatWipesOrCutsSeesTheFill)
{
    // The jar's fill of the whole picture reaches the window before the room's back buffer: the
    // wipes of a rubber band and a marquee, and the scissors' cut, must show or take the filled
    // picture, never the white one before it.
    const Channels fill{0, 157, 255};
    struct Reader {
        int tool;
        ScenePoint moves[2];
        ScenePoint wiped;  // a window point the first move's preview covered and the second's not
    };
    for (Reader r : {Reader{4, {{500, 100}, {200, 300}}, {350, 100}}, Reader{8, {{500, 300}, {250, 150}}, {500, 200}},
                     Reader{8, {{300, 200}, {300, 200}}, {0, 0}}}) {
        SCOPED_TRACE(testing::Message() << "tool " << r.tool << (r.wiped.x ? " wiping" : " cutting"));
        tb_SetForeColor(scene.canvasBitmap, 65025, 65025, 65025);
        tb_PaintRect(scene.canvasBitmap, &scene.layout.picture);
        scene_ShowAll();
        Use(6);
        scene_SetCurrentColor(0, 157 * 255, 65025, 0);
        Drag(400, 200, 400, 200);
        Release(400, 200);
        ASSERT_EQ(ShownWrong(), 0) << "the fill is on the window";
        Use(r.tool);
        Tool().size = 8;
        {
            ButtonHeld held;
            Press(200, 100);
            Move(r.moves[0].x, r.moves[0].y);
            Move(r.moves[1].x, r.moves[1].y);
        }
        if (r.wiped.x) {
            EXPECT_EQ(WindowPixel(r.wiped.x, r.wiped.y), fill);
        }
        Release(r.moves[1].x, r.moves[1].y);
        if (!r.wiped.x) {
            EXPECT_EQ(CountIn(scissorsPiece.bitmap, {10, 10, 90, 90}, fill), 80 * 80);
        }
        scissors_DisposePiece();
    }
}

TEST_F(CanvasTools, ThePressesOfTheDecorationsAndBooksShowWhatTheyPrint)
{
    // Their presses print under the pointer and their releases print nothing: after each the
    // window shows the picture, though neither refreshes the whole canvas.
    TakeFirstSheetsStamp();
    scene_SetCurrentColor(0, 30000, 65025, 0);
    for (int zoomed = 0; zoomed < 2; ++zoomed) {
        scene.zoomed = zoomed;
        scene.scroll = zoomed ? ScenePoint{40, 30} : ScenePoint{0, 0};
        scene_ShowAll();
        for (int index : {15, 25, 26, 27, 28, 29}) {
            SCOPED_TRACE(testing::Message() << "tool " << index << (zoomed ? " magnified" : ""));
            Use(index);
            Tool().size = 48;
            Tool().mode = index == 26 ? 2 : 0;  // the cog mirrored four ways
            if (index == 15) Tool().active = 1;  // the stamp floats with the pointer
            const RECT& p = scene.layout.picture;
            // The pointer comes from close by, or jumps from far away (the floating stamp left
            // there goes with the press).
            struct Step {
                ScenePoint from, at;
            };
            for (Step step : {Step{{253, 145}, {260, 140}}, Step{{250, 130}, {450, 300}}, Step{{163, 365}, {170, 360}}}) {
                const ScenePoint at = step.at;
                Move(step.from.x, step.from.y);
                const std::vector<uint32_t> before = GrabPixels(tb_GetBitmapDC(scene.canvasBitmap), p.right, p.bottom);
                {
                    ButtonHeld held;
                    Press(at.x, at.y);
                }
                EXPECT_NE(GrabPixels(tb_GetBitmapDC(scene.canvasBitmap), p.right, p.bottom), before) << "it printed";
                EXPECT_EQ(ShownWrong(), 0) << "after the press at " << at.x << "," << at.y;
                Release(at.x, at.y);
                EXPECT_EQ(ShownWrong(), 0) << "after the release at " << at.x << "," << at.y;
            }
            Tool().active = 0;
            // A white picture for the next tool, whose marks could fall inside these.
            tb_SetForeColor(scene.canvasBitmap, 65025, 65025, 65025);
            tb_PaintRect(scene.canvasBitmap, &p);
            scene_ShowAll();
        }
    }
}

TEST_F(CanvasTools, AfterEachGestureTheWindowShowsThePicture)
{
    // The refreshes after a press and a release cover what changed: the window then shows
    // exactly the picture, previews and marquees gone.
    const RECT& c = scene.layout.canvas;
    auto differences = [&]() {
        int n = 0;
        for (int y = c.top; y < c.bottom; y += 4)
            for (int x = c.left; x < c.right; x += 4) {
                Channels w = WindowPixel(x, y), p = PixelOf(scene.canvasBitmap, x - c.left, y - c.top);
                if (!(w == p)) ++n;
            }
        return n;
    };
    scene_SetCurrentColor(0, 0, 65025, 0);
    for (int index : {1, 2, 3, 4, 5, 6, 8, 9, 18, 21, 24}) {
        SCOPED_TRACE(index);
        Use(index);
        {
            ButtonHeld held;
            Press(250, 150);
            for (int i = 1; i <= 6; ++i) Move(250 + i * 25, 150 + i * 15);
        }
        Release(400, 240);
        if (index == 8) {
            // Stamp the piece once, then let it go outside the canvas.
            Move(300, 300);
            {
                ButtonHeld held;
                Press(300, 300);
            }
            Release(300, 300);
            Release(60, 60);
        }
        EXPECT_EQ(differences(), 0);
    }
    // Magnified, the rubber bands' previews differ from the figures they leave.
    scene.zoomed = 1;
    scene.scroll = {100, 80};
    scene_ShowAll();
    for (int index : {4, 5}) {
        SCOPED_TRACE(index);
        Use(index);
        Tool().mode = 0;
        {
            ButtonHeld held;
            Press(250, 150);
            for (int i = 1; i <= 6; ++i) Move(250 + i * 25, 150 + i * 15);
        }
        Release(400, 240);
        scene_CatchUpView(&c);
        int n = 0;
        for (int y = c.top; y < c.bottom; y += 3)
            for (int x = c.left; x < c.right; x += 3) n += !(WindowPixel(x, y) == PixelOf(scene.sceneBitmap, x, y));
        EXPECT_EQ(n, 0);
        ScenePoint mid = scene_ToPicture(325, 195);
        if (index == 4) {
            EXPECT_EQ(PixelOf(scene.canvasBitmap, mid.x, mid.y).b, 255) << "the line was drawn";
        }
    }
}

// A press keeps for the cleaner bottle only what the last gesture changed, and the cleaner bottle
// puts back only what the gesture before it changed: after any tool's gesture and the cleaner
// bottle the picture is exactly the one before the gesture, and the window shows it (the button
// held in-process, through the toolbox's input seam).
namespace {
bool g_held = false;
int HeldButton(int key) { return key == VK_LBUTTON && g_held; }
}  // namespace

TEST_F(CanvasTools, TheCleanerBottleTakesBackExactlyTheLastGestureOfEveryTool)
{
    TakeFirstSheetsStamp();
    tb_SetInputReader(HeldButton);
    const SceneLayout& L = scene.layout;
    int bx = (L.cleaner.left + L.cleaner.right) / 2, by = (L.cleaner.top + L.cleaner.bottom) / 2;
    auto picture = [&] { return GrabPixels(tb_GetBitmapDC(scene.canvasBitmap), L.canvasWidth, L.canvasHeight); };
    auto gesture = [&](int index, int x, int y) {
        Use(index);
        Tool().size = index <= 3 ? 36 : 24;
        if (index == 15) Tool().active = 1;  // the stamp floats with the pointer
        g_held = true;
        Move(x - 30, y - 20);
        Press(x, y);
        for (int i = 1; i <= 6; ++i) Move(x + 9 * i, y + (i % 3) * 7);
        g_held = false;
        Release(x + 54, y + 6);
        if (index == 15) {
            // The stamp stops floating (as C makes it): the window under it shows the room again.
            Tool().active = 0;
            scene_ShowRect(&L.canvas);
        }
    };
    // Each tool magnified or not, with the spare copy of the picture left behind or caught up by
    // the idle ticks between the two gestures (the press then takes it as the undo copy).
    for (int pass = 0; pass < 4; ++pass) {
        const int zoomed = pass & 1, caughtUp = pass >> 1;
        scene.zoomed = zoomed;
        scene.scroll = zoomed ? ScenePoint{60, 40} : ScenePoint{0, 0};
        RedSquare(RECT{0, 0, L.canvasWidth, L.canvasHeight});
        for (int x = 0; x < L.canvasWidth; x += 24) {
            tb_SetForeColor(scene.canvasBitmap, x * 120, 65025 - x * 100, 20000);
            RECT band = {x, 0, x + 12, L.canvasHeight};
            tb_PaintRect(scene.canvasBitmap, &band);
        }
        scene_SaveUndo();
        scene_ShowAll();
        for (int index : {0, 1, 2, 3, 4, 5, 6, 9, 14, 15, 18, 21, 23, 24, 25, 26, 27, 28, 29}) {
            SCOPED_TRACE(testing::Message() << "tool " << index << (zoomed ? " magnified" : "")
                                            << (caughtUp ? ", spare caught up" : ""));
            scene.objects[5].mode = 1;   // a filled shape
            scene.objects[26].mode = 2;  // mirrored four ways, far across the picture
            gesture(index == 6 ? 0 : index, 250, 150);  // (before the jar: a stroke that makes its area)
            scene_SetCurrentColor(index * 2000, 65025 - index * 1000, 30000, 0);
            while (caughtUp && scene_CatchUpSpare()) {
            }
            const std::vector<uint32_t> before = picture();
            gesture(index, 330, 230);
            EXPECT_FALSE(picture() == before) << "the gesture changed the picture";
            Press(bx, by);
            Release(bx, by);
            EXPECT_TRUE(picture() == before) << "the cleaner bottle took back exactly the last gesture";
            EXPECT_EQ(ShownWrong(), 0);
        }
    }
    tb_SetInputReader(nullptr);
    scene.zoomed = 0;
}
