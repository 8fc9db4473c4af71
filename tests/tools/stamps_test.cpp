// The books of stamps: the picker's paging and choices (driven through the real dialog), the one
// current stamp shared by the books, printing through the mask at 1:1 and while magnified, the
// floating stamp and the C key, and each book's page memory.
#include <gtest/gtest.h>

#include <vector>

#include "../scene/scene_window.h"
#include "input_events.h"
#include "boxes.h"
#include "scene/scene.h"
#include "scene/scene_routing.h"
#include "toolbox.h"
#include "tools/stamps.h"

namespace {

POINT SlotCentre(int i) { return {stampSlots[i].x + 24, stampSlots[i].y + 24}; }
POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
const POINT kNext = Centre(stampNextArrow), kPrevious = Centre(stampPreviousArrow), kClose = Centre(stampCloseArea);
const POINT kEmpty = {310, 120};  // the fold of the book: no slot, no arrow

// The picker's clicks, posted in order to the dialog once its modal loop runs.
void ScriptPicker(BoxScript& boxes, std::vector<POINT> clicks, bool escapeAfter = false)
{
    boxes.onDialog([clicks, escapeAfter](HWND dialog) {
        for (POINT p : clicks) PostMessageA(dialog, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
        if (escapeAfter) PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return true;
    });
}

// ---------------------------------------------------------------- the picker's hit areas

TEST(StampPicker, PagingAndHitsFollowThePage)
{
    struct Case {
        int page;
        POINT at;
        int result, pageAfter, reacts;
    } cases[] = {
        {0, kNext, -2, 8, 1},        {32, kNext, -2, 40, 1},     {40, kNext, -2, 40, 0},  // no page after 40
        {0, kPrevious, -2, 0, 0},    {8, kPrevious, -2, 0, 1},   {40, SlotCentre(0), 40, 40, 1},
        {40, SlotCentre(7), 47, 40, 1}, {16, SlotCentre(5), 21, 16, 1}, {0, kClose, -1, 0, 1},
        {0, kEmpty, -2, 0, 0},
    };
    for (const Case& c : cases) {
        StampPicker p = {-1, -1, STAMPS_PER_BOOK, c.page};
        EXPECT_EQ(stamps_PickerReacts(&p, c.at.x, c.at.y), c.reacts) << "page " << c.page << " at " << c.at.x;
        EXPECT_EQ(stamps_PickerClick(&p, c.at.x, c.at.y), c.result) << "page " << c.page << " at " << c.at.x;
        EXPECT_EQ(p.page, c.pageAfter) << "page " << c.page << " at " << c.at.x;
    }
}

// ---------------------------------------------------------------- the picker as a child uses it

class StampBookTest : public SceneTest {
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        StartAt(800, 600);
        ShowWindow(tb_GetWindowHandle(SceneTestWindow()), SW_SHOW);
        stamps_DisposeStamp();
        for (int b = 0; b < STAMP_BOOKS; ++b) stamps_SetBookPage(b, 0);
        ListenToSounds();
    }
    void TearDown() override
    {
        tb_SetSoundObserver(nullptr);
        stamps_DisposeStamp();
        SceneTest::TearDown();
    }
    int Choose(int* page) { return stamps_ChooseStamp(1005, 1006, STAMPS_PER_BOOK, page); }
    int Count(int id)
    {
        int n = 0;
        for (auto& s : SoundsHeard()) n += s.second == id;
        return n;
    }
};

TEST_F(StampBookTest, LastPageSlotBecomesTheCurrentStamp)
{
    ScriptPicker(*boxes, {kNext, kNext, kNext, kNext, kNext, kNext, SlotCentre(0)});
    int page = 0;
    EXPECT_EQ(Choose(&page), 40);
    EXPECT_EQ(page, 40);
    // The stamp is cell 40 of the sheet: column 0 of the last row.
    RECT r = {0, 0, 0, 0};
    int sheet = tb_CreateBitmap(&r, 1005, 24);
    ASSERT_GE(stamps_CurrentImage(), 0);
    ASSERT_GE(stamps_CurrentMask(), 0);
    int differences = 0;
    for (int y = 0; y < STAMP_SIZE; ++y)
        for (int x = 0; x < STAMP_SIZE; ++x) differences += !(PixelOf(stamps_CurrentImage(), x, y) == PixelOf(sheet, 1 + x, 197 + y));
    tb_DisposeBitmap(sheet);
    EXPECT_EQ(differences, 0);
}

TEST_F(StampBookTest, EmptyClickKeepsThePickerOpenWithItsSound)
{
    ScriptPicker(*boxes, {kEmpty, SlotCentre(3)});
    int page = 8;
    EXPECT_EQ(Choose(&page), 11);
    ASSERT_EQ(SoundsHeard().size(), 2u);
    EXPECT_EQ(SoundsHeard()[0], std::make_pair(TB_SOUND_NOSTOP, 1040));
    EXPECT_EQ(SoundsHeard()[1].second, 1034);
}

TEST_F(StampBookTest, CloseAreaAndEscapeChooseNothingAndKeepThePreviousStamp)
{
    ScriptPicker(*boxes, {SlotCentre(2)});
    int page = 0;
    ASSERT_EQ(Choose(&page), 2);
    const int image = stamps_CurrentImage();
    const Channels before = PixelOf(image, 24, 24);

    struct Case {
        const char* what;
        std::vector<POINT> clicks;
        bool escape;
    } cases[] = {{"close area", {kNext, kClose}, false}, {"Escape", {kNext}, true}};
    for (const Case& c : cases) {
        ScriptPicker(*boxes, c.clicks, c.escape);
        EXPECT_EQ(Choose(&page), -1) << c.what;
        EXPECT_EQ(stamps_CurrentImage(), image) << c.what;
        EXPECT_EQ(PixelOf(image, 24, 24), before) << c.what;
    }
    EXPECT_EQ(page, 16);  // the pages turned before closing are remembered
}

TEST_F(StampBookTest, EachBookRemembersItsOwnPage)
{
    SceneObject& volume3 = scene.objects[15];
    SceneObject& volume2 = scene.objects[16];
    ScriptPicker(*boxes, {kNext, kNext, kClose});
    EXPECT_EQ(stamps_Book(&volume3), 0);
    ScriptPicker(*boxes, {kNext, kClose});
    EXPECT_EQ(stamps_Book(&volume2), 0);
    EXPECT_EQ(stamps_BookPage(0), 16);
    EXPECT_EQ(stamps_BookPage(1), 8);
    EXPECT_EQ(stamps_BookPage(2), 0);
    // Reopened, Volume 3 shows its page 16: its first slot is stamp 16.
    ScriptPicker(*boxes, {SlotCentre(0)});
    EXPECT_EQ(stamps_Book(&volume3), 1);
    EXPECT_EQ(volume3.mode, 16);
}

// ---------------------------------------------------------------- printing and floating

// The bounding box of the picture's pixels that are not white.
RECT Painted(int picture)
{
    RECT box = {100000, 100000, -1, -1};
    for (int y = 0; y < tb_GetBitmapHeight(picture); ++y)
        for (int x = 0; x < tb_GetBitmapWidth(picture); ++x) {
            if (PixelOf(picture, x, y) == Channels{255, 255, 255}) continue;
            box.left = std::min<LONG>(box.left, x);
            box.top = std::min<LONG>(box.top, y);
            box.right = std::max<LONG>(box.right, x + 1);
            box.bottom = std::max<LONG>(box.bottom, y + 1);
        }
    return box;
}

TEST_F(StampBookTest, PrintedThroughItsMaskAt48PicturePixelsMagnifiedOrNot)
{
    ScriptPicker(*boxes, {SlotCentre(0)});
    int page = 0;
    ASSERT_EQ(Choose(&page), 0);
    SceneObject& book = scene.objects[15];
    const int image = stamps_CurrentImage();
    // The 8-bit mask read through a 24-bit copy.
    RECT cell = {0, 0, STAMP_SIZE, STAMP_SIZE};
    RECT r = cell;
    const int mask = tb_CreateBitmap(&r, TB_SOURCE_BLANK, 24);
    tb_CopyBitmap(stamps_CurrentMask(), mask, &cell, &cell);

    struct Case {
        int zoomed;
        ScenePoint scroll;
        POINT at;          // window point of the press
        ScenePoint topLeft;  // where the stamp lands in the picture
        int screenSize;
    } cases[] = {{0, {0, 0}, {400, 300}, {400 - 147 - 24, 300 - 16 - 24}, 48},
                 {1, {10, 20}, {400, 300}, {(400 - 48 - 147) / 2 + 10, (300 - 48 - 16) / 2 + 20}, 96}};
    for (const Case& c : cases) {
        RECT all = scene.layout.picture;
        tb_SetForeColor(scene.canvasBitmap, 65025, 65025, 65025);
        tb_PaintRect(scene.canvasBitmap, &all);
        scene.zoomed = c.zoomed;
        scene.scroll = c.scroll;
        book.Press(&book, c.at.x, c.at.y);
        EXPECT_EQ(book.size, c.screenSize);
        EXPECT_TRUE(book.active);
        RECT painted = Painted(scene.canvasBitmap);
        EXPECT_GE(painted.left, c.topLeft.x);
        EXPECT_GE(painted.top, c.topLeft.y);
        EXPECT_LE(painted.right, c.topLeft.x + STAMP_SIZE);
        EXPECT_LE(painted.bottom, c.topLeft.y + STAMP_SIZE);
        // Where the mask shows the stamp, the picture holds the stamp; elsewhere it stays white.
        int wrong = 0, shown = 0;
        for (int y = 0; y < STAMP_SIZE; ++y)
            for (int x = 0; x < STAMP_SIZE; ++x) {
                Channels want = PixelOf(mask, x, y) == Channels{255, 255, 255} ? PixelOf(image, x, y)
                                                                              : Channels{255, 255, 255};
                shown += !(want == Channels{255, 255, 255});
                wrong += !(PixelOf(scene.canvasBitmap, c.topLeft.x + x, c.topLeft.y + y) == want);
            }
        EXPECT_GT(shown, 200) << "zoomed " << c.zoomed;
        EXPECT_EQ(wrong, 0) << "zoomed " << c.zoomed;
    }
    scene.zoomed = 0;
    tb_DisposeBitmap(mask);
    EXPECT_EQ(Count(1020), 2);
}

TEST_F(StampBookTest, CStopsTheFloatingStampAndTheNextPressPrintsAgain)
{
    ScriptPicker(*boxes, {SlotCentre(0)});
    SceneObject& book = scene.objects[15];
    ASSERT_EQ(stamps_Book(&book), 1);
    book.active = 1;
    scene.currentObject = 15;
    const Channels white = {255, 255, 255};

    book.Drag(&book, 400, 300);
    int floating = 0;
    for (int d = -20; d <= 20; d += 4) floating += !(WindowPixel(400 + d, 300) == white);
    EXPECT_GT(floating, 2) << "the stamp floats under the pointer";

    SendKey('C', false);
    book.Drag(&book, 420, 300);
    SendKey('C', true);
    EXPECT_FALSE(book.active);
    EXPECT_EQ(book.size, 1);
    int left = 0;
    for (int d = -20; d <= 20; d += 4) left += !(WindowPixel(400 + d, 300) == white);
    EXPECT_EQ(left, 0) << "the floating stamp is wiped";

    // Not active: the routing no longer moves it, and a press prints the same stamp again.
    RECT all = scene.layout.picture;
    tb_SetForeColor(scene.canvasBitmap, 65025, 65025, 65025);
    tb_PaintRect(scene.canvasBitmap, &all);
    book.Press(&book, 300, 200);
    EXPECT_TRUE(book.active);
    RECT painted = Painted(scene.canvasBitmap);
    EXPECT_LT(painted.left, painted.right) << "the press printed the stamp";
}

TEST_F(StampBookTest, TheRoomErasesAndDisposesOfTheStampThroughItsPieceServices)
{
    int w = -1, h = -1;
    sceneServices.pieceSize(15, &w, &h);
    EXPECT_EQ(w, 0) << "no stamp yet";
    ScriptPicker(*boxes, {SlotCentre(0)});
    ASSERT_EQ(stamps_Book(&scene.objects[16]), 1);
    for (int book = 15; book <= 17; ++book) {
        sceneServices.pieceSize(book, &w, &h);
        EXPECT_EQ(w, STAMP_SIZE);
        EXPECT_EQ(h, STAMP_SIZE);
    }
    const int inUse = BitmapSlotsInUse();
    sceneServices.disposeToolBitmaps();
    EXPECT_EQ(BitmapSlotsInUse(), inUse - 2);
    EXPECT_EQ(stamps_CurrentImage(), -1);
}

}  // namespace
