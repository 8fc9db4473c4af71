// The room composed from the artwork: the frame, the monitor, the paint blot and the indicators.
#include "scene_window.h"

#include <vector>

namespace {

// A picture resource held for a test.
struct Held {
    explicit Held(int id, int depth = 24) { index = tb_CreateBitmap(&rect, id, depth); }
    ~Held()
    {
        if (index >= 0) tb_DisposeBitmap(index);
    }
    int index = -1;
    RECT rect = {0, 0, 0, 0};
};

// Mismatches between a picture and the scene bitmap at (x, y).
int Differences(const Held& picture, int x, int y)
{
    int n = 0;
    for (int py = 0; py < picture.rect.bottom; ++py)
        for (int px = 0; px < picture.rect.right; ++px)
            if (!(PixelOf(picture.index, px, py) == PixelOf(scene.sceneBitmap, x + px, y + py))) ++n;
    return n;
}

}  // namespace

TEST_F(SceneTest, MonitorBlotSpeakerAndSpyglassShowTheirPictures)
{
    StartAt(640, 480);
    const SceneLayout& L = scene.layout;
    scene.currentObject = 6;  // the jar shows the empty monitor
    scene_Compose(0, 0, 0);
    Held monitor(SCENE_PIC_MONITOR);
    ASSERT_GE(monitor.index, 0);
    EXPECT_EQ(monitor.rect.right, 94);
    EXPECT_EQ(Differences(monitor, L.optionPanel.left, L.optionPanel.top), 0);

    // The current colour fills the blot's black area around (21, 8).
    EXPECT_EQ(PixelOf(scene.sceneBitmap, L.paintBlot.left + 21, L.paintBlot.top + 8), (Channels{255, 0, 0}));
    scene_SetCurrentColor(0, 32640, 65025, 1);
    EXPECT_EQ(PixelOf(scene.sceneBitmap, L.paintBlot.left + 21, L.paintBlot.top + 8), (Channels{0, 128, 255}));
    EXPECT_EQ(WindowPixel(L.paintBlot.left + 21, L.paintBlot.top + 8), (Channels{0, 128, 255}));

    Held soundOn(SCENE_PIC_SOUND_ON), soundOff(SCENE_PIC_SOUND_OFF);
    Held notZoomed(SCENE_PIC_NOT_ZOOMED), zoomed(SCENE_PIC_ZOOMED);
    EXPECT_EQ(Differences(soundOn, L.speaker.left, L.speaker.top), 0);
    EXPECT_EQ(Differences(notZoomed, L.spyglass.left, L.spyglass.top), 0);
    tb_SetSoundPreference(0);
    scene.zoomed = 1;
    scene_DrawSpeaker();
    scene_DrawSpyglass();
    EXPECT_EQ(Differences(soundOff, L.speaker.left, L.speaker.top), 0);
    EXPECT_GT(Differences(soundOn, L.speaker.left, L.speaker.top), 0);
    EXPECT_EQ(Differences(zoomed, L.spyglass.left, L.spyglass.top), 0);
    EXPECT_GT(Differences(notZoomed, L.spyglass.left, L.spyglass.top), 0);
    tb_SetSoundPreference(1);
}

TEST_F(SceneTest, FrameCoversTheEdgesOfATallWindow)
{
    StartAt(800, 1300);
    ASSERT_EQ(scene.layout.height, 1300);
    const int W = 800, H = 1300;
    Held left(112), right(111);
    ASSERT_GE(left.index, 0);
    ASSERT_GE(right.index, 0);
    // Left edge above the panel: strip 112 repeated from the top.
    int wrong = 0;
    for (int y = 16; y < H - 480; ++y)
        for (int dx = 0; dx < 17; dx += 4)
            if (!(PixelOf(scene.sceneBitmap, 130 + dx, y) == PixelOf(left.index, dx, y % 385))) ++wrong;
    EXPECT_EQ(wrong, 0);
    // Right edge between the corners: strip 111 laid upwards from H - 485, and once at the top.
    wrong = 0;
    for (int y = 16; y < H - 112; ++y) {
        int row = y < 389 ? y : ((y - (H - 485)) % 389 + 389) % 389;
        for (int dx = 0; dx < 19; dx += 3)
            if (!(PixelOf(scene.sceneBitmap, W - 19 + dx, y) == PixelOf(right.index, dx, row))) ++wrong;
    }
    EXPECT_EQ(wrong, 0);
    // The canvas inside the frame is white.
    EXPECT_EQ(PixelOf(scene.sceneBitmap, 147, 16), (Channels{255, 255, 255}));
    EXPECT_EQ(PixelOf(scene.sceneBitmap, W - 20, H - 97), (Channels{255, 255, 255}));
}

TEST_F(SceneTest, ToolsOfTheCurrentGroupAndTheSelectionMarker)
{
    StartAt(640, 480);
    // The table middle of the backup has no tools on it; composing group 0 puts the pencil there.
    const SceneObject& pencil = scene.objects[0];
    int cx = (pencil.bounds.left + pencil.bounds.right) / 2, cy = (pencil.bounds.top + pencil.bounds.bottom) / 2;
    const RECT& middle = scene.layout.tableMiddle;
    auto backupAt = [&](int x, int y) { return PixelOf(scene.tableBackup, x - middle.left, y - middle.top); };
    int differ = 0;
    for (int x = pencil.bounds.left; x < pencil.bounds.right; ++x)
        if (!(PixelOf(scene.sceneBitmap, x, cy) == backupAt(x, cy))) ++differ;
    EXPECT_GT(differ, 20);
    // The selection marker stands with its bottom-left corner on the pencil's centre.
    Held marker(SCENE_PIC_SELECTION), markerMask(SCENE_MASK_SELECTION, 8);
    int markerDiffer = 0;
    for (int y = cy - 20; y < cy; ++y)
        for (int x = cx; x < cx + 20; ++x)
            if (!(PixelOf(scene.sceneBitmap, x, y) == backupAt(x, y))) ++markerDiffer;
    EXPECT_GT(markerDiffer, 20);

    // Group 3 on the table with the pencil still current: no marker. The pencil's marker place
    // looks exactly as it does when the crayon (group 3, marked far from there) is current.
    auto markerPlace = [&]() {
        std::vector<Channels> v;
        for (int y = cy - 20; y < cy; ++y)
            for (int x = cx; x < cx + 20; ++x) v.push_back(PixelOf(scene.sceneBitmap, x, y));
        return v;
    };
    scene.currentGroup = 3;
    scene_Compose(0, 0, 0);
    std::vector<Channels> withPencil = markerPlace();
    scene.currentObject = 22;
    scene_Compose(0, 0, 0);
    EXPECT_TRUE(withPencil == markerPlace());
    scene.currentObject = 0;
    scene.currentGroup = 0;
    scene_Compose(0, 0, 0);
    int again = 0;
    for (int y = cy - 20; y < cy; ++y)
        for (int x = cx; x < cx + 20; ++x)
            if (!(PixelOf(scene.sceneBitmap, x, y) == backupAt(x, y))) ++again;
    EXPECT_EQ(again, markerDiffer);
}
