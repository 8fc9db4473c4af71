// The room's layout, the scene bitmaps and the object table at two window sizes; re-layout.
#include "scene_window.h"

#include <vector>

namespace {

// Every rectangle of the layout that belongs to a fixed place of the room (not the canvas, the
// table or the left panel, which follow the window's size).
std::vector<RECT> FixedRects(const SceneLayout& L)
{
    std::vector<RECT> v = {L.optionPanel, L.rockButton, L.booksButton, L.toolBoxButton, L.magicHatButton,
                           L.printer,     L.toysButton, L.keyboard,    L.cleaner,       L.remote,
                           L.paintTube,   L.paintBlot,  L.spyglass,    L.speaker,       L.captionStrip,
                           L.canCluster,  L.tableMiddle};
    for (const RECT& r : L.canLids) v.push_back(r);
    for (const RECT& r : L.canBodies) v.push_back(r);
    for (const RECT& r : L.highlights) v.push_back(r);
    for (const SceneObject& o : scene.objects) v.push_back(o.bounds);
    return v;
}

}  // namespace

TEST_F(SceneTest, CanvasAndHotSpotsAt640And800)
{
    StartAt(640, 480);
    SceneLayout small = scene.layout;
    EXPECT_EQ(small.width, 640);
    EXPECT_EQ(small.height, 480);
    EXPECT_EQ(small.canvasWidth, 474);
    EXPECT_EQ(small.canvasHeight, 368);
    EXPECT_EQ(small.canvas.left, 147);
    EXPECT_EQ(small.canvas.top, 16);
    EXPECT_EQ(small.canvas.right, 621);
    EXPECT_EQ(small.canvas.bottom, 384);
    EXPECT_EQ(tb_GetBitmapWidth(scene.sceneBitmap), 640);
    EXPECT_EQ(tb_GetBitmapHeight(scene.sceneBitmap), 480);
    EXPECT_EQ(tb_GetBitmapWidth(scene.canvasBitmap), 474);
    EXPECT_EQ(tb_GetBitmapHeight(scene.canvasBitmap), 368);
    EXPECT_EQ(tb_GetBitmapWidth(scene.undoBitmap), 474);
    EXPECT_EQ(tb_GetBitmapHeight(scene.undoBitmap), 368);
    EXPECT_EQ(tb_GetBitmapWidth(scene.tableBackup), 283);
    EXPECT_EQ(tb_GetBitmapHeight(scene.tableBackup), 96);
    std::vector<RECT> before = FixedRects(small);
    scene_Shutdown();

    StartAt(800, 600);
    const SceneLayout& big = scene.layout;
    EXPECT_EQ(big.canvasWidth, 634);
    EXPECT_EQ(big.canvasHeight, 488);
    EXPECT_EQ(big.canvas.right, 781);
    EXPECT_EQ(big.canvas.bottom, 504);
    EXPECT_EQ(tb_GetBitmapWidth(scene.canvasBitmap), 634);
    EXPECT_EQ(tb_GetBitmapHeight(scene.canvasBitmap), 488);
    EXPECT_EQ(big.table.right, 800);
    EXPECT_EQ(big.leftPanel.bottom, 600);
    EXPECT_EQ(big.panelOffset, 120);
    std::vector<RECT> after = FixedRects(big);
    ASSERT_EQ(before.size(), after.size());
    for (size_t i = 0; i < before.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(after[i].left, before[i].left);
        EXPECT_EQ(after[i].right, before[i].right);
        EXPECT_EQ(600 - after[i].top, 480 - before[i].top);
        EXPECT_EQ(600 - after[i].bottom, 480 - before[i].bottom);
    }
}

TEST_F(SceneTest, StartupStateAndBitmapsAreWhite)
{
    StartAt(640, 480);
    EXPECT_EQ(scene.currentObject, 0);
    EXPECT_EQ(scene.currentGroup, 0);
    EXPECT_EQ(scene.currentColor.red, 65025u);
    EXPECT_EQ(scene.currentColor.green, 0u);
    EXPECT_EQ(scene.currentColor.blue, 0u);
    EXPECT_EQ(scene.canColors[7].green, 32640u);
    EXPECT_EQ(scene.canMasks[3], 144);
    EXPECT_EQ(scene.canFillPoints[6].x, 75);
    EXPECT_EQ(scene.highlightPictures[9], 138);
    EXPECT_EQ(scene.undoAvailable, 0);
    EXPECT_EQ(scene.zoomed, 0);
    EXPECT_STREQ(scene.text, "Type your text in here.");
    EXPECT_STREQ(scene.fileName, "Tintwell.bmp");
    EXPECT_EQ(scene.textSizes[4], 80);
    EXPECT_EQ(PixelOf(scene.canvasBitmap, 0, 0), (Channels{255, 255, 255}));
    EXPECT_EQ(PixelOf(scene.canvasBitmap, 473, 367), (Channels{255, 255, 255}));
    EXPECT_EQ(PixelOf(scene.undoBitmap, 200, 100), (Channels{255, 255, 255}));
    EXPECT_EQ(PixelOf(scene.sceneBitmap, 300, 200), (Channels{255, 255, 255}));
    // The scene keeps five bitmaps (the spare copy of the picture with them) and nothing more:
    // pictures are disposed of right after use.
    EXPECT_EQ(BitmapSlotsInUse(), 5);
    scene_Compose(1, 1, 1);
    scene_Compose(0, 0, 0);
    EXPECT_EQ(BitmapSlotsInUse(), 5);
}

TEST_F(SceneTest, ObjectTableFromConstruction)
{
    StartAt(640, 480);
    const int main = SceneTestWindow();
    for (int i = 0; i < SCENE_OBJECTS; ++i) {
        SCOPED_TRACE(i);
        const SceneObject& o = scene.objects[i];
        EXPECT_EQ(o.sceneBitmap, scene.sceneBitmap);
        EXPECT_EQ(o.pictureBitmap, scene.canvasBitmap);
        EXPECT_NE(o.region, -1);
        bool preview = i == 4 || i == 5 || i == 8 || (i >= 15 && i <= 17);
        EXPECT_EQ(o.previewWindow, preview ? main : -1);
        EXPECT_EQ(o.active, 0);
        for (int j = 0; j < i; ++j) EXPECT_NE(o.region, scene.objects[j].region);
        // Every object has plugged in its own slots; the pencil keeps the default pen; the jar, the
        // dropper, the scissors and the books keep the empty monitor.
        const bool books = i >= 15 && i <= 17;
        EXPECT_NE(scene_ToolInstaller(i), nullptr);
        EXPECT_EQ(o.Press == &scene_DefaultPress, i == 0);
        EXPECT_EQ(o.Draw, &scene_DefaultDraw);
        const bool ownPanel = i != 6 && i != 7 && i != 8 && !books;
        EXPECT_EQ(o.DrawOptions != &scene_DefaultDrawOptions, ownPanel);
    }
    const SceneObject* t = scene.objects;
    EXPECT_EQ(t[0].size, 4);
    EXPECT_EQ(t[0].soundId, 1000);
    EXPECT_EQ(t[0].cursorId, 204);
    EXPECT_EQ(t[0].imageId, 154);
    EXPECT_EQ(t[0].maskId, 163);
    EXPECT_EQ(t[3].soundId, 0);
    EXPECT_EQ(t[8].size, 1);
    EXPECT_EQ(t[11].imageId, 202);
    EXPECT_EQ(t[11].maskId, 208);
    EXPECT_EQ(t[11].mode, 214);
    EXPECT_EQ(t[11].group, 1);
    EXPECT_EQ(t[16].imageId, 501);
    EXPECT_EQ(t[16].group, 2);
    EXPECT_EQ(t[21].mode, 4);
    EXPECT_EQ(t[22].red, 1u);
    EXPECT_EQ(t[22].green + t[22].blue, 0u);
    EXPECT_EQ(t[26].size, 16);
    EXPECT_EQ(t[29].size, 90);
    EXPECT_EQ(t[29].group, 4);
    EXPECT_EQ(t[0].bounds.left, 363);
    EXPECT_EQ(t[0].bounds.top, 480 - 36);
    EXPECT_EQ(t[0].bounds.right, 428);
    EXPECT_EQ(t[0].bounds.bottom, 480 - 22);
}

TEST_F(SceneTest, PencilOutlineIsASlantedQuadrilateral)
{
    StartAt(640, 480);
    const SceneObject& pencil = scene.objects[0];
    // Left end: the polygon spans H-30..H-23 at x = 364, so H-35 lies in the bounds but not in it.
    EXPECT_TRUE(tb_PtInRect(365, H() - 35, &pencil.bounds));
    EXPECT_FALSE(tb_PtInRegion(365, H() - 35, pencil.region));
    EXPECT_TRUE(tb_PtInRegion(366, H() - 27, pencil.region));
    // Right end: the polygon spans H-37..H-28 at x = 425, so H-25 lies in the bounds but not in it.
    EXPECT_TRUE(tb_PtInRect(420, H() - 25, &pencil.bounds));
    EXPECT_FALSE(tb_PtInRegion(420, H() - 25, pencil.region));
    EXPECT_TRUE(tb_PtInRegion(420, H() - 33, pencil.region));
    // Objects outlined by their bounds' corners are hit at their centre, not next to them.
    const SceneObject& ball = scene.objects[25];
    EXPECT_TRUE(tb_PtInRegion(306, H() - 37, ball.region));
    EXPECT_FALSE(tb_PtInRegion(292, H() - 37, ball.region));
    // The outline follows the window's height.
    scene_Shutdown();
    StartAt(800, 600);
    EXPECT_FALSE(tb_PtInRegion(365, 600 - 35, scene.objects[0].region));
    EXPECT_TRUE(tb_PtInRegion(366, 600 - 27, scene.objects[0].region));
}

TEST_F(SceneTest, CanZeroIsItsLidAndTwoBodies)
{
    StartAt(640, 480);
    EXPECT_EQ(scene_CanAt(480, H() - 90), 0);  // lid
    EXPECT_EQ(scene_CanAt(510, H() - 95), 0);  // upper body, above the lid
    EXPECT_EQ(scene_CanAt(480, H() - 50), 0);  // lower body
    EXPECT_EQ(scene_CanAt(495, H() - 50), 5);  // beside it: can 5's body
    EXPECT_EQ(scene_CanAt(520, H() - 90), 1);
    EXPECT_EQ(scene_CanAt(560, H() - 90), 2);  // can 2's body over its lid
    EXPECT_EQ(scene_CanAt(600, H() - 30), 7);
    EXPECT_EQ(scene_CanAt(616, H() - 58), -1);  // in the cluster, on no can
    EXPECT_EQ(scene_CanAt(300, 100), -1);
}

TEST_F(SceneTest, RelayoutKeepsThePictureStretchedAndTheChoices)
{
    StartAt(640, 480);
    // Left half of the picture blue, right half white.
    RECT left = {0, 0, 237, 368};
    tb_SetForeColor(scene.canvasBitmap, 0, 0, 65025);
    tb_PaintRect(scene.canvasBitmap, &left);
    scene.currentObject = 5;
    scene.currentGroup = 3;
    scene.currentColor = {100 * 255, 0, 50 * 255};
    scene_RecolorCan(3, 65025, 0, 65025, 0);
    scene.objects[1].size = 36;
    scene.objects[5].active = 1;
    int slots = BitmapSlotsInUse();
    int pencilRegion = scene.objects[0].region;

    ResizeSceneTestWindow(800, 600);
    scene_Relayout();
    EXPECT_EQ(scene.layout.canvasWidth, 634);
    EXPECT_EQ(tb_GetBitmapWidth(scene.canvasBitmap), 634);
    EXPECT_EQ(tb_GetBitmapHeight(scene.canvasBitmap), 488);
    // 237 of 474 columns stretch to 317 of 634.
    EXPECT_EQ(PixelOf(scene.canvasBitmap, 10, 10), (Channels{0, 0, 255}));
    EXPECT_EQ(PixelOf(scene.canvasBitmap, 310, 480), (Channels{0, 0, 255}));
    EXPECT_EQ(PixelOf(scene.canvasBitmap, 325, 10), (Channels{255, 255, 255}));
    EXPECT_EQ(PixelOf(scene.canvasBitmap, 633, 487), (Channels{255, 255, 255}));
    // The picture is also on the window and in the undo copy.
    EXPECT_EQ(WindowPixel(147 + 10, 16 + 400), (Channels{0, 0, 255}));
    EXPECT_EQ(PixelOf(scene.undoBitmap, 300, 300), (Channels{0, 0, 255}));
    EXPECT_EQ(scene.undoAvailable, 1);
    EXPECT_EQ(scene.currentObject, 5);
    EXPECT_EQ(scene.currentGroup, 3);
    EXPECT_EQ(scene.currentColor.red, 100u * 255);
    EXPECT_EQ(scene.currentColor.blue, 50u * 255);
    EXPECT_EQ(scene.canColors[3].blue, 65025u);
    EXPECT_EQ(scene.canColors[3].green, 0u);
    // The tools go back to their construction values.
    EXPECT_EQ(scene.objects[1].size, 24);
    EXPECT_EQ(scene.objects[5].active, 0);
    EXPECT_EQ(scene.objects[0].bounds.top, 600 - 36);
    // Nothing leaks: the same bitmaps and regions are made again.
    EXPECT_EQ(BitmapSlotsInUse(), slots);
    EXPECT_EQ(scene.objects[0].region, pencilRegion);
}

TEST_F(SceneTest, RelayoutWhileZoomedKeepsTheMagnifiedQuarterOnThePicture)
{
    StartAt(1280, 1024);
    // A red block in the picture's bottom-right corner, zoomed in on that corner.
    RECT corner = {1000, 800, 1114, 912};
    tb_SetForeColor(scene.canvasBitmap, 65025, 0, 0);
    tb_PaintRect(scene.canvasBitmap, &corner);
    scene.zoomed = 1;
    scene.scroll = {1114 - 557, 912 - 456};

    ResizeSceneTestWindow(640, 480);
    scene_Relayout();
    EXPECT_EQ(scene.zoomed, 1);
    // The quarter lies inside the smaller picture (474 x 368) and still shows its corner.
    EXPECT_GE(scene.scroll.x, 0);
    EXPECT_LE(scene.scroll.x, 474 - 237);
    EXPECT_GE(scene.scroll.y, 0);
    EXPECT_LE(scene.scroll.y, 368 - 184);
    EXPECT_EQ(WindowPixel(600, 370), (Channels{255, 0, 0}));
    EXPECT_EQ(WindowPixel(300, 200), (Channels{255, 255, 255}));
    // A point of the canvas still names a point of the picture.
    ScenePoint p = scene_ToPicture(147 + 473, 16 + 367);
    EXPECT_LT(p.x, 474);
    EXPECT_LT(p.y, 368);
    scene.zoomed = 0;
}
