// The picture-dialog frame: placed in the middle of the main window, the scene behind it as its
// background with the owner's face over it, cursors 202/203, Escape and the owner's own ending.
#include <gtest/gtest.h>

#include "input_events.h"
#include "boxes.h"
#include "scene/scene.h"
#include "../scene/scene_window.h"
#include "toolbox.h"
#include "tools/picture_dialog.h"

namespace {

struct Seen {
    RECT window;
    Channels corner, behind, elsewhere;
    bool activeCursor, arrowCursor;
    int closes;
};
Seen seen;

Channels DialogPixel(HWND dialog, int x, int y)
{
    HDC dc = GetDC(dialog);
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(dialog, dc);
    return {GetRValue(c), GetGValue(c), GetBValue(c)};
}

// The face: a green square in the top-left corner; only that square reacts to the pointer.
void DrawGreenCorner(PictureDialog*, int face)
{
    RECT r = {0, 0, 10, 10};
    tb_SetForeColor(face, 0, 65025, 0);
    tb_PaintRect(face, &r);
}
int CornerReacts(PictureDialog*, int x, int y) { return x < 10 && y < 10; }
void EndWithSeven(PictureDialog* d, int x, int y)
{
    if (CornerReacts(d, x, y)) picture_EndDialog(d, 7);
}
void CountClose(PictureDialog*) { ++seen.closes; }

// Looks at the dialog once its modal loop has shown and painted it, then presses Escape.
void CALLBACK LookThenEscape(HWND hwnd, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(hwnd, timer);
    GetWindowRect(hwnd, &seen.window);
    seen.corner = DialogPixel(hwnd, 5, 5);
    seen.behind = DialogPixel(hwnd, 150, 50);     // scene (370, 240): blue half
    seen.elsewhere = DialogPixel(hwnd, 50, 90);   // scene (270, 280): red half
    SendMessageA(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    seen.activeCursor = CursorIs(202);
    SendMessageA(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(100, 50));
    seen.arrowCursor = CursorIs(203);
    PostMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
}

class PictureDialogTest : public testing::Test {
protected:
    void SetUp() override
    {
        ResizeSceneTestWindow(640, 480);
        ShowWindow(tb_GetWindowHandle(SceneTestWindow()), SW_SHOW);
        // A scene bitmap whose left half is red and right half blue.
        RECT all = {0, 0, 640, 480}, right = {320, 0, 640, 480};
        scene.sceneBitmap = tb_CreateBitmap(&all, TB_SOURCE_BLANK, 24);
        tb_SetForeColor(scene.sceneBitmap, 65025, 0, 0);
        tb_PaintRect(scene.sceneBitmap, &all);
        tb_SetForeColor(scene.sceneBitmap, 0, 0, 65025);
        tb_PaintRect(scene.sceneBitmap, &right);
        seen = {};
        dialog = {};
        dialog.width = 200;
        dialog.height = 100;
        dialog.escapeResult = -1;
        dialog.draw = DrawGreenCorner;
        dialog.reacts = CornerReacts;
        dialog.release = EndWithSeven;
        dialog.close = CountClose;
    }
    void TearDown() override { tb_DisposeBitmap(scene.sceneBitmap); }
    PictureDialog dialog;
};

TEST_F(PictureDialogTest, CentredOverTheSceneWithTheOwnersFaceAndCursors)
{
    BoxScript boxes;
    boxes.onDialog([](HWND hwnd) {
        SetTimer(hwnd, 99, 200, LookThenEscape);
        return true;
    });
    EXPECT_EQ(picture_RunDialog(&dialog), -1);  // Escape gives the owner's escape result
    EXPECT_EQ(seen.window.left, 220);
    EXPECT_EQ(seen.window.top, 190);
    EXPECT_EQ(seen.window.right, 420);
    EXPECT_EQ(seen.window.bottom, 290);
    EXPECT_EQ(seen.corner, (Channels{0, 255, 0}));
    EXPECT_EQ(seen.behind, (Channels{0, 0, 255}));
    EXPECT_EQ(seen.elsewhere, (Channels{255, 0, 0}));
    EXPECT_TRUE(seen.activeCursor);
    EXPECT_TRUE(seen.arrowCursor);
    EXPECT_EQ(seen.closes, 1);
    EXPECT_EQ(dialog.hwnd, nullptr);
}

TEST_F(PictureDialogTest, TheOwnerEndsItWithItsOwnResult)
{
    BoxScript boxes;
    boxes.onDialog([](HWND hwnd) {
        // A click that misses the reacting square leaves the dialog open; the square ends it.
        PostMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 50));
        PostMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(50, 50));
        PostMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4));
        PostMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(4, 4));
        return true;
    });
    EXPECT_EQ(picture_RunDialog(&dialog), 7);
    EXPECT_EQ(seen.closes, 1);
}

}  // namespace
