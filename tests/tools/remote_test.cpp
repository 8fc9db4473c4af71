// The remote control panel over the room: its buttons, the press-here-release-there rule, the lit
// pictures while a button is held, Back and Escape.
#include <gtest/gtest.h>

#include "../scene/scene_window.h"
#include "boxes.h"
#include "test_clock.h"
#include "toolbox.h"
#include "tools/effects.h"
#include "tools/remote.h"

namespace {

POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

void Click(HWND dialog, UINT message, POINT p) { SendMessageA(dialog, message, message == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(p.x, p.y)); }

Channels DialogPixel(HWND dialog, POINT p)
{
    HDC dc = GetDC(dialog);
    COLORREF c = GetPixel(dc, p.x, p.y);
    ReleaseDC(dialog, dc);
    return {GetRValue(c), GetGValue(c), GetBValue(c)};
}

Channels PicturePixel(int id, int x, int y)
{
    RECT size;
    int picture = tb_CreateBitmap(&size, id, 24);
    Channels c = PixelOf(picture, x, y);
    tb_DisposeBitmap(picture);
    return c;
}

class Remote : public SceneTest {
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        StartAt(640, 480);
        ShowWindow(tb_GetWindowHandle(SceneTestWindow()), SW_SHOW);
    }
};

// Pressing Save lights it (and the indicator); moving to Gallery and releasing there carries out
// Gallery, after the panel has been drawn unlit again.
TEST_F(Remote, PressHereReleaseThere)
{
    static Channels litWhileHeld, plainBefore, lightWhileHeld, unlitAfter;
    static POINT probe, lightProbe;
    RECT save = remote_ButtonRect(1);
    probe = {save.left + 10, save.top + 10};
    lightProbe = {104 + 9, 2 + 8};
    boxes->onDialog([](HWND dialog) {
        ShowWindow(dialog, SW_SHOW);
        UpdateWindow(dialog);
        plainBefore = DialogPixel(dialog, probe);
        Click(dialog, WM_LBUTTONDOWN, probe);
        litWhileHeld = DialogPixel(dialog, probe);
        lightWhileHeld = DialogPixel(dialog, lightProbe);
        // A press between the buttons puts the light out of Save.
        Click(dialog, WM_LBUTTONDOWN, POINT{112, 60});
        unlitAfter = DialogPixel(dialog, probe);
        Click(dialog, WM_LBUTTONDOWN, probe);
        Click(dialog, WM_MOUSEMOVE, Centre(remote_ButtonRect(7)));
        PostMessageA(dialog, WM_LBUTTONUP, 0, MAKELPARAM(Centre(remote_ButtonRect(7)).x, Centre(remote_ButtonRect(7)).y));
        return true;
    });
    EXPECT_EQ(remote_Run(), 7);
    EXPECT_EQ(litWhileHeld, PicturePixel(126, 10, 10));
    EXPECT_EQ(lightWhileHeld, PicturePixel(133, 9, 8));
    EXPECT_EQ(unlitAfter, plainBefore);
    EXPECT_FALSE(litWhileHeld == plainBefore);
}

TEST_F(Remote, AClickBetweenTheButtonsKeepsItOpenAndEscapeMeansBack)
{
    boxes->onDialog([](HWND dialog) {
        PostMessageA(dialog, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(112, 60));
        PostMessageA(dialog, WM_LBUTTONUP, 0, MAKELPARAM(112, 60));
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return true;
    });
    SteppedClock clock(1);  // a pause would read it hundreds of times
    EXPECT_EQ(remote_Run(), -1);
    EXPECT_LT(SteppedClock::now, 100u) << "no pause when no command was chosen";
}

TEST_F(Remote, BackClosesWithoutACommand)
{
    boxes->onDialog([](HWND dialog) {
        PostMessageA(dialog, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 228));
        PostMessageA(dialog, WM_LBUTTONUP, 0, MAKELPARAM(50, 228));
        return true;
    });
    EXPECT_EQ(remote_Run(), -1);
}

}  // namespace
