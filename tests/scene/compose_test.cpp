// Composition, the canvas view with its zoom, refreshing the window, the cans and undo.
#include "scene_window.h"

#include <vector>

namespace {

void Fill(int bitmap, const RECT& r, long red, long green, long blue)
{
    tb_SetForeColor(bitmap, red, green, blue);
    tb_PaintRect(bitmap, &r);
}

}  // namespace

TEST_F(SceneTest, UndoRestoresOnceAndTheSecondClickIsSilent)
{
    StartAt(640, 480);
    ListenToSounds();
    // The cleaner bottle does nothing before the first change.
    scene_CleanerBottle();
    EXPECT_TRUE(SoundsHeard().empty());

    scene_SaveUndo();
    EXPECT_EQ(scene.undoAvailable, 1);
    RECT spot = {100, 100, 120, 110};
    Fill(scene.canvasBitmap, spot, 0, 65025, 0);
    scene_PictureChanged(&spot);  // what draws into the picture says where
    scene_ShowAll();
    EXPECT_EQ(WindowPixel(147 + 105, 16 + 105), (Channels{0, 255, 0}));

    scene_CleanerBottle();
    ASSERT_EQ(SoundsHeard().size(), 1u);
    EXPECT_EQ(SoundsHeard()[0].first, TB_SOUND_NOSTOP);
    EXPECT_EQ(SoundsHeard()[0].second, 1028);
    EXPECT_EQ(scene.undoAvailable, 0);
    EXPECT_EQ(PixelOf(scene.canvasBitmap, 105, 105), (Channels{255, 255, 255}));
    EXPECT_EQ(WindowPixel(147 + 105, 16 + 105), (Channels{255, 255, 255}));

    // A change after the undo, then a second click: nothing restored, nothing heard.
    Fill(scene.canvasBitmap, spot, 65025, 0, 0);
    scene_CleanerBottle();
    EXPECT_EQ(SoundsHeard().size(), 1u);
    EXPECT_EQ(PixelOf(scene.canvasBitmap, 105, 105), (Channels{255, 0, 0}));
    tb_SetSoundObserver(nullptr);
}

TEST_F(SceneTest, RefreshPartlyOutsideTheCanvasCopiesThePictureOnlyInside)
{
    StartAt(640, 480);
    scene_ComposeCanvasView();  // the scene bitmap's view up to date: a small refresh composes
    RECT picture = scene.layout.picture;
    Fill(scene.canvasBitmap, picture, 65025, 0, 0);
    // A mark in the scene bitmap left of the canvas, where the picture must not go.
    RECT beside = {100, 50, 147, 100};
    Fill(scene.sceneBitmap, beside, 0, 0, 65025);
    RECT rect = {120, 60, 200, 90};
    scene_Refresh(&rect);
    EXPECT_EQ(PixelOf(scene.sceneBitmap, 146, 70), (Channels{0, 0, 255}));
    EXPECT_EQ(PixelOf(scene.sceneBitmap, 147, 70), (Channels{255, 0, 0}));
    EXPECT_EQ(PixelOf(scene.sceneBitmap, 199, 89), (Channels{255, 0, 0}));
    // Only the rectangle: the canvas beyond it keeps the old view.
    EXPECT_EQ(PixelOf(scene.sceneBitmap, 200, 70), (Channels{255, 255, 255}));
    EXPECT_EQ(PixelOf(scene.sceneBitmap, 150, 95), (Channels{255, 255, 255}));
    // The window shows the rectangle of the scene bitmap, both parts.
    EXPECT_EQ(WindowPixel(130, 70), (Channels{0, 0, 255}));
    EXPECT_EQ(WindowPixel(160, 70), (Channels{255, 0, 0}));

    // A rectangle wholly outside the canvas only copies the scene bitmap to the window.
    RECT outside = {0, 400, 100, 480};
    Fill(scene.sceneBitmap, outside, 0, 65025, 0);
    scene_Refresh(&outside);
    EXPECT_EQ(WindowPixel(50, 450), (Channels{0, 255, 0}));

    // A tool clips the scene bitmap to the canvas while it draws. A view left behind by a refresh
    // that went straight to the window still catches up under a wipe reaching two pixels into it.
    Fill(scene.canvasBitmap, picture, 0, 65025, 0);
    const RECT canvas = scene.layout.canvas;
    scene_Refresh(&canvas);
    tb_SetClipRect(scene.sceneBitmap, &canvas);
    RECT edge = {100, 60, 149, 108};
    scene_ShowRects(&edge, 1);
    tb_ClearClipRect(scene.sceneBitmap);
    EXPECT_EQ(WindowPixel(147, 61), (Channels{0, 255, 0}));
    EXPECT_EQ(WindowPixel(148, 107), (Channels{0, 255, 0}));

    // A large refresh reaching off the canvas on every side goes to the window in one copy: the
    // picture inside the canvas, the scene bitmap around it, each piece in its own place.
    RECT side = {100, 200, 147, 260};
    Fill(scene.sceneBitmap, side, 0, 0, 65025);
    Fill(scene.canvasBitmap, picture, 65025, 65025, 0);
    RECT large = {100, 0, scene.layout.width, scene.layout.height};
    scene_Refresh(&large);
    EXPECT_EQ(WindowPixel(120, 230), (Channels{0, 0, 255}));
    EXPECT_EQ(WindowPixel(146, 259), (Channels{0, 0, 255}));
    EXPECT_EQ(WindowPixel(canvas.left, canvas.top), (Channels{255, 255, 0}));
    EXPECT_EQ(WindowPixel(canvas.right - 1, canvas.bottom - 1), (Channels{255, 255, 0}));
    const POINT around[] = {{canvas.left, canvas.top - 1}, {canvas.right, canvas.bottom - 1},
                            {canvas.left, canvas.bottom}, {scene.layout.width - 1, scene.layout.height - 1}};
    for (const POINT& p : around)
        EXPECT_EQ(WindowPixel(p.x, p.y), PixelOf(scene.sceneBitmap, p.x, p.y)) << p.x << "," << p.y;
}

TEST_F(SceneTest, WhileZoomedARefreshRecomposesTheMagnifiedQuarter)
{
    StartAt(640, 480);
    scene_ComposeCanvasView();
    // One red block at picture (50..60, 40..50); the view shows the quarter from (30, 20).
    RECT block = {50, 40, 60, 50};
    Fill(scene.canvasBitmap, block, 65025, 0, 0);
    scene.zoomed = 1;
    scene.scroll = {30, 20};
    RECT small = {600, 300, 610, 310};  // far from where the block shows
    scene_Refresh(&small);
    // Picture (50, 40) shows at canvas (147 + 2 * 20, 16 + 2 * 20), twice its size.
    EXPECT_EQ(PixelOf(scene.sceneBitmap, 187, 56), (Channels{255, 0, 0}));
    EXPECT_EQ(PixelOf(scene.sceneBitmap, 187 + 19, 56 + 19), (Channels{255, 0, 0}));
    EXPECT_EQ(PixelOf(scene.sceneBitmap, 187 + 20, 56), (Channels{255, 255, 255}));
    EXPECT_EQ(PixelOf(scene.sceneBitmap, 186, 56), (Channels{255, 255, 255}));
    // The quarter (237 x 184) fills the whole canvas: its last column shows picture column 266.
    RECT edge = {266, 0, 267, 368};
    Fill(scene.canvasBitmap, edge, 0, 0, 65025);
    scene_Refresh(&small);
    EXPECT_EQ(PixelOf(scene.sceneBitmap, 620, 100), (Channels{0, 0, 255}));
    EXPECT_EQ(PixelOf(scene.sceneBitmap, 617, 100), (Channels{255, 255, 255}));
    // Only the rectangle reaches the window: the block's place there is still white.
    EXPECT_EQ(WindowPixel(190, 60), (Channels{255, 255, 255}));
    scene_ShowAll();
    EXPECT_EQ(WindowPixel(190, 60), (Channels{255, 0, 0}));

    // Zoom off: the view is the picture 1:1 again.
    scene.zoomed = 0;
    scene_ShowAll();
    EXPECT_EQ(WindowPixel(147 + 55, 16 + 45), (Channels{255, 0, 0}));
    EXPECT_EQ(WindowPixel(187, 56), (Channels{255, 255, 255}));
}

namespace {

// A picture whose every pixel differs from its neighbours: a view one pixel off shows.
void Pattern(int bitmap)
{
    TB_DIB* dib = tb_GetBitmapDIB(bitmap);
    for (int y = 0; y < grfx_Height(dib); ++y)
        for (int x = 0; x < grfx_Width(dib); ++x)
            grfx_SetPixel24(dib, x, y, BYTE(x * 7), BYTE(y * 13), BYTE((x + y) * 3));
}

// The canvas rectangle of the scene bitmap, pixel by pixel.
std::vector<BYTE> CanvasView()
{
    TB_DIB* dib = tb_GetBitmapDIB(scene.sceneBitmap);
    const RECT& c = scene.layout.canvas;
    std::vector<BYTE> v;
    for (int y = c.top; y < c.bottom; ++y)
        for (int x = c.left; x < c.right; ++x) {
            BYTE r, g, b;
            grfx_GetPixel24(dib, x, y, &r, &g, &b);
            v.insert(v.end(), {r, g, b});
        }
    return v;
}

}  // namespace

// A tool's drawing refreshed while magnified recomposes only the view under its rectangle: the
// scene bitmap (and so the window) must then hold exactly what recomposing the whole view gives,
// wherever the rectangle lies, on even and on odd canvas sides (the odd ones recompose the whole).
TEST_F(SceneTest, WhileMagnifiedARefreshOfWhatWasDrawnShowsWhatTheWholeViewShows)
{
    const POINT sizes[] = {{640, 480}, {641, 481}};
    const RECT rects[] = {
        {200, 100, 240, 140},  // odd offsets from the canvas corner (147, 16)
        {201, 101, 260, 151},  // even offsets
        {147, 16, 150, 19},    // the canvas corner
        {100, 300, 160, 320},  // reaching out of the canvas on the left
        {600, 350, 700, 500},  // over the canvas's right and bottom edges
        {10, 10, 20, 20},      // wholly outside the canvas
    };
    for (const POINT& size : sizes) {
        StartAt(size.x, size.y);
        Pattern(scene.canvasBitmap);
        scene.zoomed = 1;
        scene.scroll = {31, 17};
        scene_ShowAll();
        scene_ComposeCanvasView();
        TB_DIB* picture = tb_GetBitmapDIB(scene.canvasBitmap);
        for (const RECT& r : rects) {
            // The "tool" draws: every picture pixel shown under the rectangle changes.
            const RECT& c = scene.layout.canvas;
            RECT inside;
            if (IntersectRect(&inside, &r, &c)) {
                for (int y = inside.top; y < inside.bottom; ++y)
                    for (int x = inside.left; x < inside.right; ++x) {
                        ScenePoint p = scene_ToPicture(x, y);
                        BYTE red, green, blue;
                        grfx_GetPixel24(picture, p.x, p.y, &red, &green, &blue);
                        grfx_SetPixel24(picture, p.x, p.y, BYTE(255 - red), green, BYTE(blue ^ 0x55));
                    }
            }
            scene_RefreshDrawn(&r);
            std::vector<BYTE> drawn = CanvasView();
            Channels shown = WindowPixel(r.left + 2, r.top + 2);
            scene_ComposeCanvasView();
            EXPECT_TRUE(drawn == CanvasView()) << size.x << "x" << size.y << " at " << r.left << "," << r.top;
            EXPECT_EQ(shown, PixelOf(scene.sceneBitmap, r.left + 2, r.top + 2)) << r.left << "," << r.top;
        }
        scene.zoomed = 0;
        scene_Shutdown();
        started = false;
    }
}

TEST_F(SceneTest, RecolouringACanDarkensItsBodyToEightyPercent)
{
    StartAt(640, 480);
    // After the start-up composition every front can's body is 80 % of its colour.
    EXPECT_EQ(PixelOf(scene.sceneBitmap, 486, H() - 83), (Channels{204, 204, 204}));  // white
    EXPECT_EQ(PixelOf(scene.sceneBitmap, 511, H() - 69), (Channels{204, 204, 0}));    // yellow
    EXPECT_EQ(PixelOf(scene.sceneBitmap, 551, H() - 64), (Channels{204, 0, 204}));    // magenta
    EXPECT_EQ(PixelOf(scene.sceneBitmap, 597, H() - 63), (Channels{204, 102, 0}));    // orange
    // Can 5's body point: filled with 0.8 x the colour, rounded to nearest.
    scene_RecolorCan(5, 65025, 32640, 0, 1);
    EXPECT_EQ(scene.canColors[5].green, 32640u);
    EXPECT_EQ(PixelOf(scene.sceneBitmap, 511, H() - 69), (Channels{204, 102, 0}));
    EXPECT_EQ(WindowPixel(511, H() - 69), (Channels{204, 102, 0}));
    scene_RecolorCan(5, 1000, 65025, 40000, 0);
    // 800 -> 3, 52020 -> 204, 32000 -> 125 on the byte scale
    EXPECT_EQ(PixelOf(scene.sceneBitmap, 511, H() - 69), (Channels{3, 204, 125}));
    // Can 1 stands at the back: no body of its own is coloured.
    Channels before = PixelOf(scene.sceneBitmap, 511, H() - 69);
    scene_RecolorCan(1, 0, 0, 65025, 0);
    EXPECT_EQ(PixelOf(scene.sceneBitmap, 511, H() - 69), before);
    EXPECT_EQ(scene.canColors[1].blue, 65025u);
    // The lid takes the can's own colour where the cans picture is black around its fill point.
    const ScenePoint& fill = scene.canFillPoints[5];
    EXPECT_EQ(PixelOf(scene.sceneBitmap, 475 + fill.x, H() - 96 + fill.y), (Channels{4, 255, 157}));
    // The other cans keep theirs: can 0's body is still 80 % white.
    EXPECT_EQ(PixelOf(scene.sceneBitmap, 486, H() - 83), (Channels{204, 204, 204}));
}

TEST_F(SceneTest, AfterARelayoutTheCaptionShownBeforeIsDrawnAgain)
{
    if (!HasPicture(739)) GTEST_SKIP() << "no caption pictures";
    StartAt(640, 480);
    auto strip = [this]() {
        std::vector<Channels> row;
        for (int x = 0; x < 572; x += 2) row.push_back(PixelOf(scene.sceneBitmap, x, H() - 11));
        return row;
    };
    scene_ShowCaption(739);
    const std::vector<Channels> speaker = strip();

    // The new room is composed with the whole table over the strip; pointing at the speaker
    // again brings its caption back.
    ResizeSceneTestWindow(800, 600);
    scene_Relayout();
    EXPECT_EQ(scene.currentCaption, 0);
    scene_ShowCaption(739);
    EXPECT_EQ(scene.currentCaption, 739);
    EXPECT_TRUE(strip() == speaker);
}

// The full composition shown whole leaves out the wall and the white under the canvas, which the
// canvas view covers: the room it composes and shows is the one composed with them, pixel for
// pixel, plain and magnified, on a small and on a tall window (tiles across the canvas's edges).
TEST_F(SceneTest, TheFullCompositionShowsTheRoomItWouldComposeWithTheWallUnderTheCanvas)
{
    const struct {
        int width, height, zoomed;
    } cases[] = {{640, 480, 0}, {800, 1300, 1}, {1000, 700, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << (c.zoomed ? " magnified" : ""));
        if (started) scene_Shutdown();
        StartAt(c.width, c.height);
        const SceneLayout& L = scene.layout;
        for (int x = 0; x < L.canvasWidth; x += 30) Fill(scene.canvasBitmap, RECT{x, 0, x + 15, L.canvasHeight}, x * 50, 20000, 65025 - x * 40);
        scene.zoomed = c.zoomed;
        scene.scroll = {L.canvasWidth / 5, L.canvasHeight / 7};
        scene_Compose(1, 1, 0);
        scene_ComposeCanvasView();
        const std::vector<uint32_t> withWall = GrabPixels(tb_GetBitmapDC(scene.sceneBitmap), L.width, L.height);
        RECT whole = {0, 0, L.width, L.height};
        Fill(scene.sceneBitmap, whole, 0, 65025, 0);  // nothing left of the last composition
        scene_Compose(1, 1, 1);
        scene_CatchUpView(&whole);  // the window got the canvas view straight from the picture
        EXPECT_TRUE(GrabPixels(tb_GetBitmapDC(scene.sceneBitmap), L.width, L.height) == withWall);
        if (L.width <= GetSystemMetrics(SM_CXSCREEN) && L.height <= GetSystemMetrics(SM_CYSCREEN)) {
            EXPECT_TRUE(GrabWindow(L.width, L.height) == withWall);  // (a window off the screen shows nothing there)
        }
        scene.zoomed = 0;
    }
}
