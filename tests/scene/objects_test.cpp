// The scene object record: its construction, hit test, destroy and the default pen on a picture.
#include "scene_window.h"

#include <vector>

namespace {

// A white 40 x 30 picture and a pen record drawing into it.
struct PenBench {
    PenBench()
    {
        RECT r = {0, 0, 40, 30};
        picture = tb_CreateBitmap(&r, TB_SOURCE_BLANK, 24);
        tb_SetForeColor(picture, 65025, 65025, 65025);
        tb_PaintRect(picture, &r);
        tb_SetClipRect(picture, &r);
        scene_DefaultConstruct(&pen, -1, picture);
        pen.SetColor(&pen, 0, 0, 65025);
        ListenToSounds();
    }
    ~PenBench()
    {
        tb_SetSoundObserver(nullptr);
        tb_DisposeBitmap(picture);
    }
    // The painted pixels (not white) and their bounding box.
    int Painted(RECT* box = nullptr) const
    {
        int n = 0;
        RECT b = {1000, 1000, -1, -1};
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 40; ++x)
                if (!(PixelOf(picture, x, y) == Channels{255, 255, 255})) {
                    ++n;
                    b.left = std::min<LONG>(b.left, x);
                    b.top = std::min<LONG>(b.top, y);
                    b.right = std::max<LONG>(b.right, x + 1);
                    b.bottom = std::max<LONG>(b.bottom, y + 1);
                }
        if (box) *box = b;
        return n;
    }
    int picture;
    SceneObject pen;
};

}  // namespace

TEST_F(SceneTest, ConstructGivesTheFieldDefaultsAndDefaultSlots)
{
    SceneObject o;
    memset(&o, 0x77, sizeof o);
    EXPECT_EQ(scene_DefaultConstruct(&o, 3, 8), &o);
    EXPECT_EQ(o.group, 0);
    EXPECT_EQ(o.cursorId, 0);
    EXPECT_EQ(o.imageId, -1);
    EXPECT_EQ(o.maskId, -1);
    EXPECT_EQ(o.size, 4);
    EXPECT_EQ(o.red + o.green + o.blue, 0u);
    EXPECT_EQ(o.bounds.left | o.bounds.top | o.bounds.right | o.bounds.bottom, 0);
    EXPECT_EQ(o.active, 0);
    EXPECT_EQ(o.sceneBitmap, 3);
    EXPECT_EQ(o.pictureBitmap, 8);
    EXPECT_EQ(o.mode, 0);
    EXPECT_EQ(o.region, -1);
    EXPECT_EQ(o.previewWindow, -1);
    EXPECT_EQ(o.soundId, 0);
    EXPECT_EQ(o.Construct, &scene_DefaultConstruct);
    EXPECT_EQ(o.HitTest, &scene_DefaultHitTest);
    EXPECT_EQ(o.Drag, &scene_DefaultDrag);
    EXPECT_EQ(o.Release, &scene_DefaultRelease);
    EXPECT_EQ(o.ClickOptions, &scene_DefaultClickOptions);
    EXPECT_EQ(o.SetColor, &scene_DefaultSetColor);
    EXPECT_EQ(o.Destroy, &scene_DefaultDestroy);

    // Hit test: left and top inclusive, right and bottom exclusive.
    SetRect(&o.bounds, 10, 20, 30, 40);
    EXPECT_TRUE(o.HitTest(&o, 10, 20));
    EXPECT_TRUE(o.HitTest(&o, 29, 39));
    EXPECT_FALSE(o.HitTest(&o, 30, 25));
    EXPECT_FALSE(o.HitTest(&o, 15, 40));
    EXPECT_FALSE(o.HitTest(&o, 9, 25));

    // Destroy without a region does nothing (no box about a bad region); with one it frees it.
    o.Destroy(&o);
    TB_Point square[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {TB_POINT_END, TB_POINT_END}};
    o.region = tb_CreateRegion(square);
    ASSERT_GE(o.region, 0);
    int region = o.region;
    o.Destroy(&o);
    EXPECT_EQ(o.region, -1);
    // The slot is free again: the next region takes it.
    EXPECT_EQ(tb_CreateRegion(square), region);
    tb_DisposeRegion(region);
}

TEST_F(SceneTest, PenAtSizeOneSetsExactlyOnePixel)
{
    PenBench b;
    b.pen.size = 1;
    b.pen.soundId = 1000;
    b.pen.Press(&b.pen, 12, 7);
    EXPECT_EQ(b.Painted(), 1);
    EXPECT_EQ(PixelOf(b.picture, 12, 7), (Channels{0, 0, 255}));
    EXPECT_EQ(b.pen.active, 1);
    EXPECT_EQ(b.pen.lastPoint.x, 12);
    ASSERT_EQ(SoundsHeard().size(), 1u);
    EXPECT_EQ(SoundsHeard()[0].first, TB_SOUND_LOOP);
    EXPECT_EQ(SoundsHeard()[0].second, 1000);
    b.pen.Release(&b.pen, 12, 7);
    EXPECT_EQ(b.pen.active, 0);
    ASSERT_EQ(SoundsHeard().size(), 2u);
    EXPECT_EQ(SoundsHeard()[1].first, TB_SOUND_STOP);
    // A press outside the picture at size 1 changes nothing.
    b.pen.Press(&b.pen, 40, 3);
    EXPECT_EQ(b.Painted(), 1);
}

TEST_F(SceneTest, PenAtSizeFourLeavesARoundDot)
{
    PenBench b;
    b.pen.Press(&b.pen, 20, 15);
    RECT box;
    int n = b.Painted(&box);
    EXPECT_EQ(box.right - box.left, 4);
    EXPECT_EQ(box.bottom - box.top, 4);
    // Round: fewer than the 16 pixels of a square, the corners stay white.
    EXPECT_GE(n, 10);
    EXPECT_LT(n, 16);
    EXPECT_EQ(PixelOf(b.picture, box.left, box.top), (Channels{255, 255, 255}));
    EXPECT_TRUE(b.pen.active);
    EXPECT_TRUE(SoundsHeard().empty());  // soundId 0: silent
}

TEST_F(SceneTest, PenStrokesAreClippedAtThePictureEdge)
{
    PenBench b;
    b.pen.size = 6;
    // A drag that never had a press changes nothing.
    b.pen.Drag(&b.pen, 5, 5);
    b.pen.Release(&b.pen, 5, 5);
    EXPECT_EQ(b.Painted(), 0);
    EXPECT_TRUE(SoundsHeard().empty());

    b.pen.Press(&b.pen, 30, 15);
    b.pen.Drag(&b.pen, 60, 15);
    EXPECT_EQ(b.pen.lastPoint.x, 60);
    EXPECT_EQ(b.pen.currentPoint.x, 60);
    EXPECT_EQ(PixelOf(b.picture, 35, 15), (Channels{0, 0, 255}));
    EXPECT_EQ(PixelOf(b.picture, 39, 15), (Channels{0, 0, 255}));
    EXPECT_EQ(PixelOf(b.picture, 25, 15), (Channels{255, 255, 255}));
    b.pen.Drag(&b.pen, 60, 50);  // beyond the corner: clipped, nothing reported
    b.pen.Release(&b.pen, 60, 50);
    EXPECT_EQ(b.pen.active, 0);
    EXPECT_EQ(b.pen.lastPoint.y, 50);
}

// The masked picture on the table, with a picture pair that the artwork already has (the stamp
// book, 134 with its mask 135): the picture shows where the mask is white, the table elsewhere.
TEST_F(SceneTest, DefaultDrawCopiesThePictureThroughItsMask)
{
    ASSERT_TRUE(HasPicture(134) && HasPicture(135));
    RECT sceneRect = {0, 0, 640, 260};
    int target = tb_CreateBitmap(&sceneRect, TB_SOURCE_BLANK, 24);
    tb_SetForeColor(target, 0, 65025, 0);
    tb_PaintRect(target, &sceneRect);
    SceneObject o;
    scene_DefaultConstruct(&o, target, -1);
    // Without a picture nothing is drawn.
    SetRect(&o.bounds, 5, 7, 5 + 627, 7 + 241);
    o.Draw(&o);
    EXPECT_EQ(PixelOf(target, 300, 100), (Channels{0, 255, 0}));
    o.imageId = 134;
    o.Draw(&o);  // still no mask
    EXPECT_EQ(PixelOf(target, 300, 100), (Channels{0, 255, 0}));
    o.maskId = 135;
    int slots = BitmapSlotsInUse();
    o.Draw(&o);
    EXPECT_EQ(BitmapSlotsInUse(), slots);

    RECT r = {0, 0, 0, 0};
    int image = tb_CreateBitmap(&r, 134, 24);
    int mask = tb_CreateBitmap(&r, 135, 8);
    TB_DIB* maskDib = tb_GetBitmapDIB(mask);
    // The mask's corner is black (the table stays); its other value is white (the picture shows).
    // Where the mask is black the picture is combined with the table (AND), where white it replaces it.
    BYTE black = *grfx_GetPixelAddress(maskDib, 0, 0);
    int shown = 0, kept = 0, wrong = 0;
    for (int y = 0; y < 241; y += 3)
        for (int x = 0; x < 627; x += 3) {
            bool white = *grfx_GetPixelAddress(maskDib, x, y) != black;
            Channels picture = PixelOf(image, x, y);
            Channels expected = white ? picture : Channels{0, picture.g, 0};
            if (!(PixelOf(target, 5 + x, 7 + y) == expected)) ++wrong;
            (white ? shown : kept)++;
        }
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(shown, 100);
    EXPECT_GT(kept, 100);
    EXPECT_EQ(PixelOf(target, 4, 100), (Channels{0, 255, 0}));  // outside the bounds
    tb_DisposeBitmap(image);
    tb_DisposeBitmap(mask);
    tb_DisposeBitmap(target);
}
