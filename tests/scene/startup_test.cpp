// The splash dialog and the shell's start-up and clean-up hooks with the scene.
#include "scene_window.h"

#include "scene/scene_routing.h"
#include "shell/shell.h"

#include <vector>

TEST(Splash, CentredPictureThatAClickEndsWithOneAndEscapeWithZero)
{
    SceneTestWindow();
    BoxScript script;
    RECT seen = {0, 0, 0, 0};
    LRESULT erase = 0;
    script.onDialog([&](HWND dialog) {
        GetWindowRect(dialog, &seen);
        HDC dc = GetDC(dialog);
        erase = SendMessageA(dialog, WM_ERASEBKGND, (WPARAM)dc, 0);
        ReleaseDC(dialog, dc);
        PostMessageA(dialog, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
        return true;
    });
    EXPECT_EQ(shell_ShowSplash(), 1);
    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    EXPECT_EQ(seen.right - seen.left, 448);
    EXPECT_EQ(seen.bottom - seen.top, 324);
    EXPECT_EQ(seen.left, desktop.left + (desktop.right - desktop.left - 448) / 2);
    EXPECT_EQ(seen.top, desktop.top + (desktop.bottom - desktop.top - 324) / 2);
    EXPECT_EQ(erase, 1);

    // Escape is the Cancel command.
    script.onDialog([&](HWND dialog) {
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return true;
    });
    EXPECT_EQ(shell_ShowSplash(), 0);
    // The picture is painted 1:1 from the top-left corner.
    script.onDialog([&](HWND dialog) {
        ShowWindow(dialog, SW_SHOWNORMAL);
        RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        RECT source = {0, 0, 0, 0};
        int picture = tb_CreateBitmap(&source, 902, 24);
        HDC dc = GetDC(dialog);
        int same = 0;
        for (int i = 0; i < 10; ++i) {
            int x = 20 + i * 40, y = 15 + i * 30;
            COLORREF c = GetPixel(dc, x, y);
            Channels want = PixelOf(picture, x, y);
            Channels got{GetRValue(c), GetGValue(c), GetBValue(c)};
            same += want == got;
            if (!(want == got)) ADD_FAILURE() << x << "," << y << " " << got << " want " << want;
        }
        ReleaseDC(dialog, dc);
        tb_DisposeBitmap(picture);
        EXPECT_EQ(same, 10);
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return true;
    });
    EXPECT_EQ(shell_ShowSplash(), 0);
}

namespace {
HWND g_splash;
int g_onScreen = -1;
// The work behind the splash: how many of ten points of the picture the screen shows by then.
void LookAtTheScreen()
{
    RECT source = {0, 0, 0, 0}, at;
    int picture = tb_CreateBitmap(&source, 902, 24);
    GetWindowRect(g_splash, &at);
    HDC screen = GetDC(nullptr);
    g_onScreen = 0;
    for (int i = 0; i < 10; ++i) {
        int x = 20 + i * 40, y = 15 + i * 30;
        COLORREF c = GetPixel(screen, at.left + x, at.top + y);
        g_onScreen += PixelOf(picture, x, y) == Channels{GetRValue(c), GetGValue(c), GetBValue(c)};
    }
    ReleaseDC(nullptr, screen);
    tb_DisposeBitmap(picture);
    PostMessageA(g_splash, WM_COMMAND, IDCANCEL, 0);
}
}  // namespace

TEST(Splash, ThePictureIsOnTheScreenBeforeTheWorkBehindItStarts)
{
    SceneTestWindow();
    BoxScript script;
    script.onDialog([&](HWND dialog) {
        g_splash = dialog;
        return true;
    });
    g_onScreen = -1;
    EXPECT_EQ(shell_ShowSplashThen(LookAtTheScreen), 0);
    EXPECT_EQ(g_onScreen, 10);
}

TEST(ShellScene, StartUpBuildsTheSceneAndCleanUpReleasesEverything)
{
    int window = SceneTestWindow();
    ResizeSceneTestWindow(640, 480);
    BoxScript script;
    ShellState saved = shell;
    int bitmapsBefore = BitmapSlotsInUse();
    shell.mainWindow = window;
    shell.started = 0;
    // Before the start nothing reaches the scene.
    shell_ScenePress(window, 300, 200);
    shell_CleanupHook();
    EXPECT_EQ(BitmapSlotsInUse(), bitmapsBefore);

    shell_StartupHook();
    shell.started = 1;
    EXPECT_EQ(scene.layout.canvasWidth, 474);
    EXPECT_EQ(scene.objects[0].DrawOptions == scene_DefaultDrawOptions, false);
    EXPECT_GT(BitmapSlotsInUse(), bitmapsBefore);
    EXPECT_TRUE(GetCursor() == LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(203)));
    // The remote control reaches the shell's dispatcher, asking the remote (-1).
    static int asked;
    asked = 0;
    ShellHooks savedHooks = shellHooks;
    shellHooks.dispatch = [](int command) { asked = command; };
    sceneServices.dispatchCommand(-1);
    EXPECT_EQ(asked, -1);
    shellHooks = savedHooks;
    // The redraw hook shows the whole scene.
    HWND hwnd = tb_GetWindowHandle(window);
    HDC dc = GetDC(hwnd);
    SetPixel(dc, 5, 5, RGB(1, 2, 3));
    ReleaseDC(hwnd, dc);
    shell_RedrawHook(window);
    EXPECT_EQ(WindowPixel(5, 5), PixelOf(scene.sceneBitmap, 5, 5));

    shell_CleanupHook();
    EXPECT_EQ(BitmapSlotsInUse(), bitmapsBefore);
    for (int i = 0; i < SCENE_OBJECTS; ++i) EXPECT_EQ(scene.objects[i].region, -1) << i;
    EXPECT_EQ(script.count(), 0u) << script.lastText();
    sceneServices.dispatchCommand = scene_DispatchCommandNotYet;
    shell = saved;
}

namespace {
std::vector<POINT> g_releases;
void RecordRelease(int, int x, int y) { g_releases.push_back({x, y}); }
}  // namespace

TEST(Splash, TheClickThatClosesItOrTheAboutBoxPicksNothingInTheRoom)
{
    int window = SceneTestWindow();
    HWND hwnd = tb_GetWindowHandle(window);
    ShellState saved = shell;
    ShellHooks savedHooks = shellHooks;
    shell.mainWindow = window;
    shell.focusLost = 0;
    shellHooks.release = RecordRelease;
    g_releases.clear();

    BoxScript script;
    script.onDialog([&](HWND dialog) {
        PostMessageA(dialog, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 22));
        return true;
    });
    EXPECT_EQ(shell_ShowSplash(), 1);
    // The button comes up over the room (here over the Books button of a 640 x 480 room).
    shell_WindowProc(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(99, 100));
    EXPECT_TRUE(g_releases.empty());
    // The next click in the room is the room's, press and release.
    shell_WindowProc(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(99, 100));
    shell_WindowProc(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(99, 100));
    ASSERT_EQ(g_releases.size(), 1u);
    EXPECT_EQ(g_releases[0].x, 99);
    // A release without a press of its own (the press was elsewhere) still reaches the room.
    shell_WindowProc(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(40, 50));
    EXPECT_EQ(g_releases.size(), 2u);
    // Closing the splash with Escape or its timer leaves the next release alone.
    script.onDialog([&](HWND dialog) {
        PostMessageA(dialog, WM_TIMER, 1000, 0);
        return true;
    });
    EXPECT_EQ(shell_ShowSplash(), 1);
    shell_WindowProc(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(60, 70));
    EXPECT_EQ(g_releases.size(), 3u);

    // The About box closes on a press too; its release would otherwise place pending text, drop
    // a floating piece or pick a zoom centre under the box.
    script.onDialog([&](HWND dialog) {
        PostMessageA(dialog, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
        return true;
    });
    EXPECT_EQ(shell_ShowAbout(), 1);
    shell_WindowProc(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(300, 200));
    EXPECT_EQ(g_releases.size(), 3u);
    shell_WindowProc(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(300, 200));
    EXPECT_EQ(g_releases.size(), 4u);

    shellHooks = savedHooks;
    shell = saved;
}
