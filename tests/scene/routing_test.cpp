// The pointer handlers driven with window coordinates: picking tools, groups and cans, the pencil
// on the canvas, undo, the spyglass, hover feedback and the double-click.
#include "scene_window.h"

#include <vector>

#include "input_events.h"
#include "scene/scene_routing.h"
#include "shell/shell.h"
#include "tools/pencil.h"

namespace {

bool Heard(int id)
{
    for (auto& s : SoundsHeard())
        if (s.second == id) return true;
    return false;
}

std::vector<Channels> Snapshot(int bitmap)
{
    std::vector<Channels> v;
    int w = tb_GetBitmapWidth(bitmap), h = tb_GetBitmapHeight(bitmap);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) v.push_back(PixelOf(bitmap, x, y));
    return v;
}

int Changed(const std::vector<Channels>& before, int bitmap)
{
    std::vector<Channels> now = Snapshot(bitmap);
    int n = 0;
    for (size_t i = 0; i < now.size() && i < before.size(); ++i)
        if (!(now[i] == before[i])) ++n;
    return n;
}

const Channels kWhite{255, 255, 255}, kRed{255, 0, 0};

class Routing : public SceneTest {
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        ListenToSounds();
        scene_ResetRouting();
        savedServices = sceneServices;
        tb_SetPointerMode(2);
    }
    void TearDown() override
    {
        sceneServices = savedServices;
        tb_SetSoundObserver(nullptr);
        SceneTest::TearDown();
    }
    int W() const { return scene.layout.width; }
    void Click(int x, int y)
    {
        scene_PressHandler(SceneTestWindow(), x, y);
        scene_ReleaseHandler(SceneTestWindow(), x, y);
    }
    void Press(int x, int y) { scene_PressHandler(SceneTestWindow(), x, y); }
    void Release(int x, int y) { scene_ReleaseHandler(SceneTestWindow(), x, y); }
    void Move(int x, int y) { scene_MoveHandler(SceneTestWindow(), x, y); }
    void Centre(const RECT& r, int* x, int* y)
    {
        *x = (r.left + r.right) / 2;
        *y = (r.top + r.bottom) / 2;
    }
    // Window and scene bitmap agree over a rectangle (what was refreshed shows the scene).
    int WindowDiffers(const RECT& r, int step = 3)
    {
        int n = 0;
        for (int y = r.top; y < r.bottom; y += step)
            for (int x = r.left; x < r.right; x += step)
                if (!(WindowPixel(x, y) == PixelOf(scene.sceneBitmap, x, y))) ++n;
        return n;
    }

    SceneServices savedServices;
};

}  // namespace

TEST_F(Routing, ToolsArePickedByTheirOutlineNotTheirBounds)
{
    StartAt(640, 480);
    scene.currentObject = 6;
    const RECT& b = scene.objects[0].bounds;
    // Inside the pencil's bounds, above its slanted outline: nothing is picked, nothing heard.
    ASSERT_TRUE(tb_PtInRect(366, H() - 35, &b));
    Click(366, H() - 35);
    EXPECT_EQ(scene.currentObject, 6);
    EXPECT_TRUE(SoundsHeard().empty());

    // On the outline: the pencil becomes the current tool, with the current colour.
    scene.currentColor = {0, 0, 65025};
    Click(395, H() - 30);
    EXPECT_EQ(scene.currentObject, 0);
    EXPECT_TRUE(Heard(1034));
    EXPECT_EQ(scene.objects[0].blue, 65025u);
    EXPECT_EQ(scene.objects[0].red, 0u);
    // Its panel A is in the monitor on the window: bar 2 (size 4) green.
    const RECT& panel = scene.layout.optionPanel;
    EXPECT_EQ(WindowPixel(panel.left + 13, panel.top + 40), (Channels{0, 255, 0}));
    EXPECT_EQ(WindowPixel(panel.left + 7, panel.top + 40), (Channels{0, 0, 0}));

    // Picking the scissors resets their mode; objects of other groups are not hit.
    scene.objects[8].mode = 1;
    Click(240, H() - 52);
    EXPECT_EQ(scene.currentObject, 8);
    EXPECT_EQ(scene.objects[8].mode, 0);
    Click(300, H() - 70);  // inside the bump pattern 10's bounds, group 1, and no tool of group 0
    EXPECT_NE(scene.currentObject, 10);
}

TEST_F(Routing, GroupButtonsPutTheirToolsOnTheTable)
{
    StartAt(800, 600);
    const SceneLayout& L = scene.layout;
    struct {
        const RECT* button;
        int group;
    } buttons[] = {{&L.rockButton, 1}, {&L.booksButton, 2}, {&L.magicHatButton, 3}, {&L.toysButton, 4},
                   {&L.toolBoxButton, 0}};
    for (auto& b : buttons) {
        int x, y;
        Centre(*b.button, &x, &y);
        SoundsHeard().clear();
        Click(x, y);
        EXPECT_EQ(scene.currentGroup, b.group);
        EXPECT_TRUE(Heard(1034));
        // The table and the left panel on the window are the freshly composed scene, and the rest
        // of the window shows it as well.
        EXPECT_EQ(WindowDiffers(L.tableMiddle), 0) << "group " << b.group;
        EXPECT_EQ(WindowDiffers(L.leftPanel, 5), 0) << "group " << b.group;
        EXPECT_TRUE(GrabWindow(W(), H()) == GrabPixels(tb_GetBitmapDC(scene.sceneBitmap), W(), H())) << "group " << b.group;
    }
    // With the Rock's tools on the table the pencil's place picks a bump pattern.
    int x, y;
    Centre(L.rockButton, &x, &y);
    Click(x, y);
    Click(395, H() - 30);
    EXPECT_EQ(scene.currentObject, 9);
    EXPECT_EQ(scene.objects[9].group, 1);
}

TEST_F(Routing, CansGiveTheirColourByLidAndBody)
{
    StartAt(640, 480);
    const SceneLayout& L = scene.layout;
    // Can 1 by its lid.
    Click(520, H() - 92);
    EXPECT_TRUE(Heard(1019));
    EXPECT_EQ(scene.currentColor.red, 0u);
    EXPECT_EQ(scene.currentColor.green, 0u);
    EXPECT_EQ(scene.objects[0].red, 0u);
    EXPECT_EQ(WindowPixel(L.paintBlot.left + 21, L.paintBlot.top + 8), (Channels{0, 0, 0}));
    // Can 0 by the lower part of its body, outside the can cluster.
    ASSERT_FALSE(tb_PtInRect(480, H() - 50, &L.canCluster));
    Click(480, H() - 50);
    EXPECT_EQ(scene.currentColor.red, 65025u);
    EXPECT_EQ(scene.currentColor.green, 65025u);
    EXPECT_EQ(scene.currentColor.blue, 65025u);
    // Can 5 by its lid, which lies over its body.
    Click(500, H() - 78);
    EXPECT_EQ(scene.currentColor.blue, 0u);
    EXPECT_EQ(scene.currentColor.green, 65025u);
    // In the cluster but on no can: nothing happens.
    SoundsHeard().clear();
    Click(612, H() - 90);
    EXPECT_TRUE(SoundsHeard().empty());
    EXPECT_EQ(scene.currentColor.green, 65025u);
    // The crayon keeps its own colour.
    scene.currentObject = 22;
    Click(520, H() - 92);
    EXPECT_EQ(scene.objects[22].red, 1u);
}

TEST_F(Routing, PencilDotsAreOnePixelOrRoundAndLandAtPictureCoordinates)
{
    StartAt(640, 480);
    std::vector<Channels> before = Snapshot(scene.canvasBitmap);
    scene.objects[0].size = 1;
    Click(200, 100);
    EXPECT_EQ(Changed(before, scene.canvasBitmap), 1);
    EXPECT_EQ(PixelOf(scene.canvasBitmap, 53, 84), kRed);
    EXPECT_EQ(WindowPixel(200, 100), kRed);
    EXPECT_EQ(scene.modified, 1);
    EXPECT_EQ(scene.undoAvailable, 1);
    EXPECT_EQ(scene.objects[0].active, 0);

    // Size 4: a round dot, about 4 across, its bounding square's corners left white.
    before = Snapshot(scene.canvasBitmap);
    scene.objects[0].size = 4;
    Click(300, 200);
    int changed = Changed(before, scene.canvasBitmap);
    EXPECT_GE(changed, 9);
    EXPECT_LE(changed, 16);
    int left = 1000, right = -1, top = 1000, bottom = -1;
    for (int y = 176; y < 192; ++y)
        for (int x = 145; x < 161; ++x)
            if (PixelOf(scene.canvasBitmap, x, y) == kRed) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    EXPECT_GE(right - left + 1, 3);
    EXPECT_LE(right - left + 1, 5);
    EXPECT_GE(bottom - top + 1, 3);
    EXPECT_LE(bottom - top + 1, 5);
    EXPECT_EQ(PixelOf(scene.canvasBitmap, left, top), kWhite);  // round, not square
}

TEST_F(Routing, StrokeFollowsTheDragAndIsClippedAtThePicturesEdge)
{
    StartAt(800, 600);
    const SceneLayout& L = scene.layout;
    scene.objects[0].size = 8;
    RECT frame = {L.canvas.right, 100, L.canvas.right + 19, 140};
    std::vector<Channels> frameBefore;
    for (int y = frame.top; y < frame.bottom; ++y)
        for (int x = frame.left; x < frame.right; ++x) frameBefore.push_back(PixelOf(scene.sceneBitmap, x, y));

    Press(L.canvas.right - 30, 120);
    {
        ButtonHeld held;
        for (int x = L.canvas.right - 25; x <= L.canvas.right + 15; x += 5) Move(x, 120);
    }
    EXPECT_EQ(scene.objects[0].active, 1);  // the stroke goes on outside the canvas
    Release(L.canvas.right + 15, 120);
    EXPECT_EQ(scene.objects[0].active, 0);

    // Drawn to the last column of the picture, on the window too; the frame is untouched.
    EXPECT_EQ(PixelOf(scene.canvasBitmap, L.canvasWidth - 1, 104), kRed);
    EXPECT_EQ(PixelOf(scene.canvasBitmap, L.canvasWidth - 20, 104), kRed);
    EXPECT_EQ(WindowPixel(L.canvas.right - 1, 120), kRed);
    EXPECT_EQ(WindowPixel(L.canvas.right - 20, 120), kRed);
    int i = 0, differ = 0;
    for (int y = frame.top; y < frame.bottom; ++y)
        for (int x = frame.left; x < frame.right; ++x)
            if (!(PixelOf(scene.sceneBitmap, x, y) == frameBefore[i++])) ++differ;
    EXPECT_EQ(differ, 0);
    EXPECT_EQ(WindowDiffers(frame, 2), 0);
}

TEST_F(Routing, CleanerBottleUndoesOnceAndTheSecondClickIsSilent)
{
    StartAt(640, 480);
    int x, y;
    Centre(scene.layout.cleaner, &x, &y);
    Click(x, y);  // nothing to undo yet
    EXPECT_FALSE(Heard(1028));

    Click(300, 200);
    ASSERT_EQ(PixelOf(scene.canvasBitmap, 153, 184), kRed);
    Click(x, y);
    EXPECT_TRUE(Heard(1028));
    EXPECT_EQ(PixelOf(scene.canvasBitmap, 153, 184), kWhite);
    EXPECT_EQ(WindowPixel(300, 200), kWhite);
    EXPECT_TRUE(GrabWindow(W(), H()) == GrabPixels(tb_GetBitmapDC(scene.sceneBitmap), W(), H()));
    SoundsHeard().clear();
    Click(x, y);
    EXPECT_TRUE(SoundsHeard().empty());
    EXPECT_EQ(scene.undoAvailable, 0);
}

TEST_F(Routing, SpyglassZoomsAroundTheChosenPointWithinThePicture)
{
    StartAt(640, 480);
    const SceneLayout& L = scene.layout;
    const int cw = L.canvasWidth, ch = L.canvasHeight;  // 474 x 368
    int sx, sy;
    Centre(L.spyglass, &sx, &sy);
    tb_SetPixelRGB(scene.canvasBitmap, 200, 150, 0, 0, 65025);

    Click(sx, sy);
    EXPECT_TRUE(Heard(1015));
    EXPECT_EQ(routing.zoomPending, 1);
    EXPECT_EQ(scene.zoomed, 0);
    Move(300, 200);
    EXPECT_TRUE(CursorIs(212));
    // The press of the choosing click does not draw.
    std::vector<Channels> before = Snapshot(scene.canvasBitmap);
    Press(147 + 200, 16 + 150);
    EXPECT_EQ(Changed(before, scene.canvasBitmap), 0);
    Release(147 + 200, 16 + 150);
    EXPECT_EQ(scene.zoomed, 1);
    EXPECT_EQ(routing.zoomPending, 0);
    EXPECT_EQ(scene.scroll.x, 200 - (cw / 2) / 2);
    EXPECT_EQ(scene.scroll.y, 150 - (ch / 2) / 2);
    // The chosen point is the centre of the view, twice its size.
    int wx = 147 + (200 - scene.scroll.x) * 2, wy = 16 + (150 - scene.scroll.y) * 2;
    EXPECT_EQ(WindowPixel(wx, wy), (Channels{0, 0, 255}));
    EXPECT_EQ(WindowPixel(wx + 1, wy + 1), (Channels{0, 0, 255}));
    EXPECT_EQ(WindowPixel(wx + 2, wy), kWhite);
    // The spyglass itself shows the zoomed picture.
    EXPECT_EQ(WindowDiffers(L.spyglass, 1), 0);

    // A second click zooms out at once.
    Click(sx, sy);
    EXPECT_EQ(scene.zoomed, 0);
    EXPECT_EQ(WindowPixel(147 + 200, 16 + 150), (Channels{0, 0, 255}));

    // Near the corners the view stays inside the picture.
    Click(sx, sy);
    Click(150, 20);
    EXPECT_EQ(scene.scroll.x, 0);
    EXPECT_EQ(scene.scroll.y, 0);
    Click(sx, sy);
    Click(sx, sy);
    Click(L.canvas.right - 2, L.canvas.bottom - 2);
    EXPECT_EQ(scene.scroll.x, cw - cw / 2);
    EXPECT_EQ(scene.scroll.y, ch - ch / 2);
    // A zoom pending consumed by a release off the canvas does nothing.
    Click(sx, sy);
    Click(sx, sy);
    EXPECT_EQ(scene.zoomed, 0);
    Click(50, 50);
    EXPECT_EQ(routing.zoomPending, 0);
    EXPECT_EQ(scene.zoomed, 0);
}

TEST_F(Routing, ZoomedStrokesLandAtHalfPlusScrollAndRefreshTheDoubledView)
{
    StartAt(800, 600);
    scene.zoomed = 1;
    scene.scroll = {100, 50};
    scene_ShowAll();
    scene.objects[0].size = 4;
    // A stroke from near the canvas corner out over the frame.
    Press(151, 21);
    {
        ButtonHeld held;
        Move(140, 10);
        Move(120, 5);
    }
    Release(120, 5);
    // Picture point of (151, 21): (2 + 100, 2 + 50).
    EXPECT_EQ(PixelOf(scene.canvasBitmap, 102, 52), kRed);
    // The window shows it doubled at the canvas corner; the frame around is the scene's.
    EXPECT_EQ(WindowPixel(147 + 4, 16 + 4), kRed);
    RECT corner = {100, 0, 147, 16};
    EXPECT_EQ(WindowDiffers(corner, 2), 0);
    RECT view = {147, 16, 200, 60};
    EXPECT_EQ(WindowDiffers(view, 1), 0);
}

TEST_F(Routing, SizePanelsAnswerTheirHitAreasThroughTheMonitor)
{
    StartAt(640, 480);
    const RECT& p = scene.layout.optionPanel;
    struct {
        int px, size;
    } clicks[] = {{4, 1}, {17, 4}, {18, 4}, {20, 8}, {40, 16}, {2, 16}, {59, 24}, {85, 32}, {9, 1}, {10, 4}};
    for (auto& c : clicks) {
        SoundsHeard().clear();
        Click(p.left + c.px, p.top + 30);
        EXPECT_EQ(scene.objects[0].size, c.size) << "panel x " << c.px;
        EXPECT_TRUE(Heard(1035));
    }
    // Above the bars nothing changes; after a pick exactly one bar is green.
    Click(p.left + 64, p.top + 5);
    EXPECT_EQ(scene.objects[0].size, 4);
    const int drawnMiddle[6] = {6, 13, 23, 35, 52, 75};
    int green = 0;
    for (int bar = 0; bar < 6; ++bar)
        if (WindowPixel(p.left + drawnMiddle[bar], p.top + 40) == (Channels{0, 255, 0})) ++green;
    EXPECT_EQ(green, 1);
    EXPECT_EQ(WindowPixel(p.left + 13, p.top + 40), (Channels{0, 255, 0}));

    // A tool with the plain monitor: the click is silent and the monitor stays empty.
    scene.currentObject = 6;
    SoundsHeard().clear();
    Click(p.left + 40, p.top + 30);
    EXPECT_FALSE(Heard(1035));
    EXPECT_EQ(scene.objects[6].size, 4);
}

TEST_F(Routing, AQuickSecondClickArrivesAsADoubleClickAndStartsNoStroke)
{
    StartAt(640, 480);
    Click(300, 200);
    std::vector<Channels> afterFirst = Snapshot(scene.canvasBitmap);
    // The second press comes as a double-click, then moves with the button down and the release.
    scene_DoubleClickHandler(SceneTestWindow(), 310, 210);
    {
        ButtonHeld held;
        Move(320, 220);
        Move(340, 240);
    }
    Release(340, 240);
    EXPECT_EQ(Changed(afterFirst, scene.canvasBitmap), 0);

    // On a can the double-click opens the palette for that can; a confirmed colour recolours it.
    static SceneColor offered;
    offered = {0, 32640, 65025};
    sceneServices.paletteDialog = [](SceneColor* chosen) {
        *chosen = offered;
        return 1;
    };
    Click(520, H() - 92);  // the first click picks can 1
    scene_DoubleClickHandler(SceneTestWindow(), 520, H() - 92);
    EXPECT_EQ(scene.canColors[1].blue, 65025u);
    EXPECT_EQ(scene.canColors[1].green, 32640u);
    EXPECT_EQ(scene.currentColor.blue, 65025u);
    EXPECT_TRUE(CursorIs(203));
    // A cancelled palette changes nothing.
    sceneServices.paletteDialog = [](SceneColor*) { return 0; };
    scene_DoubleClickHandler(SceneTestWindow(), 480, H() - 50);
    EXPECT_EQ(scene.canColors[0].green, 65025u);
    EXPECT_EQ(scene.currentColor.blue, 65025u);
    EXPECT_EQ(scene.currentColor.red, 0u);
}

TEST_F(Routing, HoverShowsCursorsCaptionsAndLeftPanelHighlights)
{
    StartAt(640, 480);
    const SceneLayout& L = scene.layout;
    Move(395, H() - 30);
    EXPECT_TRUE(CursorIs(201));
    EXPECT_EQ(scene.currentCaption, 701);
    Move(300, 200);
    EXPECT_TRUE(CursorIs(204));
    EXPECT_EQ(scene.currentCaption, 0);
    Move(520, H() - 92);
    EXPECT_TRUE(CursorIs(200));
    EXPECT_EQ(scene.currentCaption, 712);
    int x, y;
    Centre(L.speaker, &x, &y);
    Move(x, y);
    EXPECT_TRUE(CursorIs(226));
    EXPECT_EQ(scene.currentCaption, 739);
    Centre(L.paintBlot, &x, &y);
    Move(x, y);
    EXPECT_EQ(scene.currentCaption, 740);
    Centre(L.optionPanel, &x, &y);
    Move(x, y);
    EXPECT_TRUE(CursorIs(202));
    EXPECT_EQ(scene.currentCaption, 715);
    scene.currentObject = 6;  // the jar has the plain monitor
    Move(x, y + 1);
    EXPECT_TRUE(CursorIs(203));
    EXPECT_EQ(scene.currentCaption, 0);

    // The Rock button: its highlight is drawn on the window only, with its caption.
    Centre(L.rockButton, &x, &y);
    Move(x, y);
    EXPECT_TRUE(CursorIs(202));
    EXPECT_EQ(scene.currentCaption, 720);
    EXPECT_EQ(scene.highlightShown[SCENE_SPOT_ROCK], 1);
    EXPECT_GT(WindowDiffers(L.highlights[SCENE_SPOT_ROCK]), 20);
    // Moving off restores the window from the scene bitmap.
    Move(300, 200);
    EXPECT_EQ(scene.highlightShown[SCENE_SPOT_ROCK], 0);
    EXPECT_EQ(WindowDiffers(L.highlights[SCENE_SPOT_ROCK]), 0);

    // While the button is down nothing of this changes.
    {
        ButtonHeld held;
        Move(x, y);
    }
    EXPECT_EQ(scene.highlightShown[SCENE_SPOT_ROCK], 0);
}

TEST_F(Routing, TheRulerIsKeptInsideTheCanvasByHalfItsSizeDoubledWhileZoomed)
{
    StartAt(640, 480);
    scene.currentObject = 4;
    scene.objects[4].size = 10;
    Press(148, 100);
    EXPECT_EQ(routing.previous.x, 152);
    EXPECT_EQ(routing.previous.y, 100);
    POINT p;
    tb_GetCursorPos(&p);
    EXPECT_EQ(p.x, 152);
    EXPECT_EQ(p.y, 100);
    // The ruler got window coordinates.
    EXPECT_EQ(scene.objects[4].lastPoint.x, 152);
    Release(148, 100);

    scene.zoomed = 1;
    int x = 300, y = 17;
    scene_KeepInside(&x, &y);
    EXPECT_EQ(y, 26);
    // The stamp books are never held inside.
    scene.currentObject = 15;
    scene.objects[15].active = 1;
    scene.objects[15].size = 40;
    routing.previous = {0, 0};
    Move(150, 20);
    EXPECT_EQ(routing.previous.x, 150);
    EXPECT_EQ(routing.previous.y, 20);
}

TEST_F(Routing, HotSpotsOfLaterDialogsCallTheirEntryPoints)
{
    StartAt(640, 480);
    static int printed, texts, remotes, prefs;
    printed = texts = remotes = prefs = 0;
    sceneServices.print = [] { ++printed; };
    sceneServices.textDialog = [] { return ++texts, 1; };
    sceneServices.dispatchCommand = [](int command) { remotes += command == -1; };
    sceneServices.writePreferences = [] { ++prefs; };
    int x, y;
    Centre(scene.layout.printer, &x, &y);
    Click(x, y);
    Centre(scene.layout.remote, &x, &y);
    Click(x, y);
    Centre(scene.layout.speaker, &x, &y);
    Click(x, y);
    EXPECT_EQ(tb_GetSoundPreference(), 0);
    SoundsHeard().clear();
    Click(x, y);
    EXPECT_EQ(tb_GetSoundPreference(), 1);
    EXPECT_EQ(printed, 1);
    EXPECT_EQ(remotes, 1);
    EXPECT_EQ(prefs, 2);

    // The keyboard's confirmed dialog: undo saved, the next release on the canvas places the text.
    Centre(scene.layout.keyboard, &x, &y);
    Click(x, y);
    EXPECT_EQ(texts, 1);
    EXPECT_EQ(routing.textPending, 1);
    EXPECT_EQ(scene.undoAvailable, 1);
    Move(300, 200);
    EXPECT_TRUE(CursorIs(227));
    static ScenePoint placed;
    sceneServices.placeText = [](int px, int py) { placed = {px, py}; };
    SoundsHeard().clear();
    Click(300, 200);
    EXPECT_EQ(placed.x, 153);
    EXPECT_EQ(placed.y, 184);
    EXPECT_TRUE(Heard(1020));
    EXPECT_EQ(routing.textPending, 0);
    EXPECT_EQ(PixelOf(scene.canvasBitmap, 153, 184), kWhite);  // no pencil dot
}

TEST_F(Routing, LostFocusKeepsLeftPressAndReleaseFromTheScene)
{
    StartAt(640, 480);
    ShellState savedShell = shell;
    shell.mainWindow = SceneTestWindow();
    shell.started = 1;
    shell.desktop = {0, 0, 640, 480};
    HWND hwnd = tb_GetWindowHandle(SceneTestWindow());
    shell.focusLost = 1;
    shell_WindowProc(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, 200));
    shell_WindowProc(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(300, 200));
    EXPECT_EQ(PixelOf(scene.canvasBitmap, 153, 184), kWhite);
    shell_WindowProc(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(395, H() - 30));
    EXPECT_EQ(scene.currentCaption, 701);  // moves reach the scene regardless

    shell_WindowProc(hwnd, WM_SETFOCUS, 0, 0);
    EXPECT_EQ(shell.focusLost, 0);
    shell_WindowProc(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(300, 200));
    EXPECT_EQ(shellHooks.escapeGuard(), 1);  // a gesture is in progress
    shell_WindowProc(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(300, 200));
    EXPECT_EQ(PixelOf(scene.canvasBitmap, 153, 184), kRed);
    EXPECT_EQ(shellHooks.escapeGuard(), 0);
    shell = savedShell;
}

TEST_F(Routing, HoldingCDropsThePieceAtTheIdleTick)
{
    StartAt(640, 480);
    ShellState savedShell = shell;
    shell.started = 1;
    scene.currentObject = 8;
    SceneObject& scissors = scene.objects[8];
    scissors.active = 1;
    scissors.mode = 1;
    scissors.size = 30;
    shell_IdleTick();  // C is not held
    EXPECT_EQ(scissors.active, 1);
    // The piece drawn on the window is wiped by the canvas refresh.
    HWND hwnd = tb_GetWindowHandle(SceneTestWindow());
    HDC dc = GetDC(hwnd);
    SetPixel(dc, 300, 200, RGB(0, 0, 255));
    ReleaseDC(hwnd, dc);
    SendKey('C', false);
    shell_IdleTick();
    SendKey('C', true);
    DrainMessages();
    EXPECT_EQ(scissors.active, 0);
    EXPECT_EQ(scissors.mode, 0);
    EXPECT_EQ(scissors.size, 1);
    EXPECT_EQ(WindowPixel(300, 200), kWhite);

    // A book's stamp likewise; other tools are never touched.
    scene.currentObject = 16;
    scene.objects[16].active = 1;
    SendKey('C', false);
    shell_IdleTick();
    scene.currentObject = 0;
    scene.objects[0].active = 1;
    shell_IdleTick();
    SendKey('C', true);
    DrainMessages();
    EXPECT_EQ(scene.objects[16].active, 0);
    EXPECT_EQ(scene.objects[0].active, 1);
    scene.objects[0].active = 0;
    shell = savedShell;
}

TEST_F(Routing, DroppingACutPieceOutsideTheCanvasErasesIt)
{
    StartAt(640, 480);
    scene.currentObject = 8;
    SceneObject& scissors = scene.objects[8];
    scissors.active = 1;
    scissors.mode = 1;
    sceneServices.pieceSize = [](int, int* w, int* h) {
        *w = 40;
        *h = 20;
    };
    HWND hwnd = tb_GetWindowHandle(SceneTestWindow());
    HDC dc = GetDC(hwnd);
    for (int y = H() - 60; y < H() - 44; ++y)
        for (int x = 262; x < 298; ++x) SetPixel(dc, x, y, RGB(0, 0, 255));
    ReleaseDC(hwnd, dc);
    Release(280, H() - 52);
    EXPECT_EQ(scissors.active, 0);
    EXPECT_EQ(scissors.mode, 0);
    EXPECT_EQ(scissors.size, 1);
    RECT erased = {258, H() - 64, 302, H() - 40};
    EXPECT_EQ(WindowDiffers(erased, 1), 0);
    EXPECT_EQ(scene.currentObject, 8);  // no tool was picked by that release
}

TEST_F(Routing, EveryMoveEndsWithTheToolsCursorSetOnce)
{
    // Whatever cursor was up before, a move over the canvas ends with the tool's, set once: the
    // tools' drags and the hover's feedback set it, and the routing does not set it again.
    StartAt(640, 480);
    const RECT& c = scene.layout.canvas;
    const int x = (c.left + c.right) / 2, y = (c.top + c.bottom) / 2;
    struct {
        int tool;
        bool held;
    } cases[] = {{0, false}, {0, true}, {1, true}, {4, true}, {6, true}, {26, true}};
    for (auto& k : cases) {
        SCOPED_TRACE(testing::Message() << "tool " << k.tool << (k.held ? " dragged" : " hovering"));
        scene.currentObject = k.tool;
        scene.currentGroup = scene.objects[k.tool].group;
        std::unique_ptr<ButtonHeld> held;
        if (k.held) {
            held.reset(new ButtonHeld);
            Press(x, y);
        }
        tb_SetCursor(203);  // the room's arrow, set by something before the move
        const unsigned before = tb_CursorSets(nullptr);
        Move(x + 9, y + 7);
        EXPECT_TRUE(CursorIs(scene.objects[k.tool].cursorId));
        EXPECT_EQ(tb_CursorSets(nullptr) - before, 1u);
        held.reset();
        if (k.held) Release(x + 9, y + 7);
    }
}
