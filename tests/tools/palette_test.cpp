// The colour palette and the preferences screen over the room.
#include <gtest/gtest.h>

#include "../scene/scene_window.h"
#include "boxes.h"
#include "pictures/preferences.h"
#include "toolbox.h"
#include "tools/effects.h"
#include "tools/palette.h"
#include "tools/preferences_dialog.h"

namespace {

Channels DialogPixel(HWND dialog, int x, int y)
{
    HDC dc = GetDC(dialog);
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(dialog, dc);
    return {GetRValue(c), GetGValue(c), GetBValue(c)};
}

Channels PalettePixel(int x, int y)
{
    RECT size;
    int picture = tb_CreateBitmap(&size, 136, 24);
    Channels c = PixelOf(picture, x, y);
    tb_DisposeBitmap(picture);
    return c;
}

void Click(HWND dialog, int x, int y)
{
    SendMessageA(dialog, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageA(dialog, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

Channels ToChannels(const SceneColor& c) { return {int(c.red / 255), int(c.green / 255), int(c.blue / 255)}; }

class ColourPalette : public SceneTest {
protected:
    void SetUp() override
    {
        SceneTest::SetUp();
        StartAt(640, 480);
        ShowWindow(tb_GetWindowHandle(SceneTestWindow()), SW_SHOW);
        tb_SetSoundPreference(0);
    }
};

// The colour comes from the palette picture even where the screen shows something else; the
// corners pick nothing, OK before a pick does nothing, the last pick is kept and shown.
TEST_F(ColourPalette, PicksFromThePicturePaletteNotTheScreen)
{
    static Channels swatch;
    boxes->onDialog([](HWND dialog) {
        ShowWindow(dialog, SW_SHOW);
        UpdateWindow(dialog);
        Click(dialog, 2, 2);      // a white corner
        Click(dialog, 140, 100);  // OK with nothing picked: stays open
        // Something else on the screen where the next pick lands.
        HDC dc = GetDC(dialog);
        RECT r = {190, 50, 210, 70};
        HBRUSH magenta = CreateSolidBrush(RGB(255, 0, 255));
        FillRect(dc, &r, magenta);
        DeleteObject(magenta);
        ReleaseDC(dialog, dc);
        Click(dialog, 300, 100);
        Click(dialog, 200, 60);
        swatch = DialogPixel(dialog, 39, 172);
        Click(dialog, 140, 100);  // OK
        return true;
    });
    SceneColor chosen = {1, 2, 3};
    int regionBefore = tb_CreateCircleRegion(5, 5, 3);
    tb_DisposeRegion(regionBefore);
    EXPECT_EQ(palette_Run(&chosen), 1);
    EXPECT_EQ(ToChannels(chosen), PalettePixel(200, 60));
    EXPECT_FALSE(ToChannels(chosen) == (Channels{255, 0, 255}));
    EXPECT_EQ(swatch, PalettePixel(200, 60));
    // The outline region was released.
    int regionAfter = tb_CreateCircleRegion(5, 5, 3);
    EXPECT_EQ(regionAfter, regionBefore);
    tb_DisposeRegion(regionAfter);
}

TEST_F(ColourPalette, CloseAndEscapeLeaveTheColourAlone)
{
    static int step;
    step = 0;
    boxes->onDialog([](HWND dialog) {
        Click(dialog, 200, 60);
        if (step++ == 0)
            Click(dialog, 160, 100);  // close
        else
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return true;
    });
    SceneColor chosen = {1, 2, 3};
    EXPECT_EQ(palette_Run(&chosen), -1);
    EXPECT_EQ(palette_Run(&chosen), 0);
    EXPECT_EQ(chosen.red, 1u);
    EXPECT_EQ(chosen.blue, 3u);
}

class PrefsScreen : public ColourPalette {
protected:
    void SetUp() override
    {
        ColourPalette::SetUp();
        tb_SetSoundPreference(1);
        preferences = {1, 1, 1};
    }
    static POINT CellCentre(int column, int top)
    {
        RECT r = prefsDialog_Cell(column, top);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
};

// Cells clicked and then cancelled (or Escape) change nothing; OK takes every column's choice,
// the print column inverted into light printing.
TEST_F(PrefsScreen, CancelKeepsTheOldSettingsAndOkTakesTheChoices)
{
    static int ending;
    static Channels frame, noFrame;
    boxes->onDialog([](HWND dialog) {
        ShowWindow(dialog, SW_SHOW);
        UpdateWindow(dialog);
        for (int column = 0; column < PREFS_COLUMNS; ++column) {
            POINT p = CellCentre(column, column == PREFS_PRINT ? 1 : 0);
            Click(dialog, p.x, p.y);
        }
        RECT chosen = prefsDialog_Cell(PREFS_SOUND, 0), other = prefsDialog_Cell(PREFS_SOUND, 1);
        frame = DialogPixel(dialog, chosen.left, chosen.top + 20);
        noFrame = DialogPixel(dialog, other.left, other.top + 20);
        if (ending == 0) Click(dialog, 340, 250);                       // cancel
        if (ending == 1) PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);  // Escape
        if (ending == 2) Click(dialog, 300, 250);                       // OK
        return true;
    });
    ending = 0;
    EXPECT_EQ(prefsDialog_Run(), -1);
    EXPECT_EQ(frame, (Channels{0, 255, 0}));
    EXPECT_FALSE(noFrame == (Channels{0, 255, 0}));
    ending = 1;
    EXPECT_EQ(prefsDialog_Run(), 0);
    EXPECT_EQ(tb_GetSoundPreference(), 1);
    EXPECT_EQ(preferences.animation, 1);
    EXPECT_EQ(preferences.stretchPictures, 1);
    EXPECT_EQ(preferences.lightPrint, 1);
    ending = 2;
    EXPECT_EQ(prefsDialog_Run(), 1);
    EXPECT_EQ(tb_GetSoundPreference(), 0);
    EXPECT_EQ(preferences.animation, 0);
    EXPECT_EQ(preferences.stretchPictures, 0);
    EXPECT_EQ(preferences.lightPrint, 0);  // full strength chosen
}

}  // namespace
