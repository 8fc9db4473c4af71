// The shell's start-up steps and its window procedure, driven with real messages on a real
// main window of class "Paint". The hooks that later work fills in are replaced by recorders.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "boxes.h"
#include "input_events.h"
#include "shell/shell.h"
#include "toolbox.h"

namespace {

std::vector<std::string> g_log;
int g_escapeGuard;
int g_idleTicks;

void note(const std::string& s) { g_log.push_back(s); }
std::string at(const char* what, int a, int b, int c)
{
    return std::string(what) + " " + std::to_string(a) + " " + std::to_string(b) + " " + std::to_string(c);
}

void rec_press(int w, int x, int y) { note(at("press", w, x, y)); }
void rec_release(int w, int x, int y) { note(at("release", w, x, y)); }
void rec_move(int w, int x, int y) { note(at("move", w, x, y)); }
void rec_double(int w, int x, int y) { note(at("double", w, x, y)); }
void rec_redraw(int w) { note("redraw " + std::to_string(w)); }
void rec_relayout() { note("relayout"); }
int rec_guard() { return g_escapeGuard; }
void rec_prePopup() { note("prepopup"); }
void rec_menu(int x, int y) { note("menu " + std::to_string(x) + " " + std::to_string(y)); }
void rec_dispatch(int c) { note("dispatch " + std::to_string(c)); }
void rec_cleanup() { note("cleanup"); }
void rec_idle()
{
    note("idle");
    if (++g_idleTicks == 3) PostQuitMessage(7);
}

bool logged(const std::string& s)
{
    for (const auto& e : g_log)
        if (e == s) return true;
    return false;
}

RECT desktopRect()
{
    RECT r;
    GetWindowRect(GetDesktopWindow(), &r);
    return r;
}

void expectRect(const RECT& a, const RECT& b)
{
    EXPECT_EQ(a.left, b.left);
    EXPECT_EQ(a.top, b.top);
    EXPECT_EQ(a.right, b.right);
    EXPECT_EQ(a.bottom, b.bottom);
}

struct Shell : testing::Test {
    ShellHooks saved;
    HINSTANCE instance = GetModuleHandleA(nullptr);

    void SetUp() override
    {
        UnregisterClassA("Paint", instance);
        ASSERT_TRUE(shell_RegisterClass(instance));
        shell_SetUpToolbox(instance, SW_SHOWNORMAL);
        shell = ShellState{-1, 0, 0, nullptr, {0, 0, 0, 0}, 0, 0};
        saved = shellHooks;
        shellHooks.press = rec_press;
        shellHooks.release = rec_release;
        shellHooks.move = rec_move;
        shellHooks.doubleClick = rec_double;
        shellHooks.redraw = rec_redraw;
        shellHooks.relayout = rec_relayout;
        shellHooks.escapeGuard = rec_guard;
        shellHooks.prePopup = rec_prePopup;
        shellHooks.showMenu = rec_menu;
        shellHooks.dispatch = rec_dispatch;
        shellHooks.cleanup = rec_cleanup;
        shellHooks.idle = rec_idle;
        g_log.clear();
        g_escapeGuard = 0;
        g_idleTicks = 0;
    }
    void TearDown() override
    {
        HWND main = tb_GetMainWindow();
        if (main && IsWindow(main)) DestroyWindow(main);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
        shellHooks = saved;
        UnregisterClassA("Paint", instance);
    }
    HWND openMain()
    {
        EXPECT_EQ(shell_OpenMainWindow(instance), 5000);
        g_log.clear();
        return tb_GetWindowHandle(shell.mainWindow);
    }
    LRESULT send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return SendMessageA(tb_GetWindowHandle(shell.mainWindow), message, wParam, lParam);
    }
};

TEST_F(Shell, MainWindowIsABorderlessPopupOverTheDesktop)
{
    HWND main = openMain();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(tb_GetMainWindow(), main);
    RECT r;
    GetWindowRect(main, &r);
    expectRect(r, desktopRect());
    LONG style = GetWindowLongA(main, GWL_STYLE);
    EXPECT_NE(style & WS_POPUP, 0);
    EXPECT_EQ(style & (WS_CAPTION | WS_THICKFRAME | WS_BORDER), 0);
    EXPECT_TRUE(IsWindowVisible(main));
    char text[32] = {}, cls[32] = {};
    GetWindowTextA(main, text, sizeof text);
    GetClassNameA(main, cls, sizeof cls);
    EXPECT_STREQ(text, "Tintwell");
    EXPECT_STREQ(cls, "Paint");

    WNDCLASSA wc = {};
    ASSERT_TRUE(GetClassInfoA(instance, "Paint", &wc));
    EXPECT_EQ(wc.style, 11u);
    EXPECT_EQ(wc.hbrBackground, (HBRUSH)GetStockObject(BLACK_BRUSH));
    EXPECT_EQ(wc.hCursor, nullptr);
    EXPECT_EQ(wc.cbClsExtra, 0);
    EXPECT_EQ(wc.cbWndExtra, 0);
    EXPECT_EQ(wc.lpszMenuName, nullptr);
}

TEST_F(Shell, ExtendedRegistrationOnlyOnTheOtherFamilyFromVersionFour)
{
    EXPECT_EQ(shell_UseExtendedRegistration(0x0A280105), 0);  // NT 5.1
    EXPECT_EQ(shell_UseExtendedRegistration(0x00000004), 0);  // NT 4.0
    EXPECT_EQ(shell_UseExtendedRegistration(0xC0000A04), 1);  // 4.10 of the other family
    EXPECT_EQ(shell_UseExtendedRegistration(0x80000004), 1);  // 4.0
    EXPECT_EQ(shell_UseExtendedRegistration(0x80000A03), 0);  // 3.10
    EXPECT_EQ(shell_UseExtendedRegistration(GetVersion()), 0);
}

TEST_F(Shell, DepthRefusalAndResolutionAdvice)
{
    BoxScript script;
    EXPECT_EQ(shell_RefuseDisplayDepth(16), 0);
    EXPECT_EQ(shell_RefuseDisplayDepth(24), 0);
    EXPECT_EQ(shell_RefuseDisplayDepth(32), 0);
    EXPECT_EQ(script.count(), 0u);
    EXPECT_EQ(shell_RefuseDisplayDepth(8), 1);
    ASSERT_EQ(script.count(), 1u);
    EXPECT_EQ(script.seen()[0].caption, "Attention!");
    EXPECT_EQ(script.lastText(),
              "Tintwell requires that your display be set to 16 or 24 bits per pixel color mode. Please adjust "
              "your display settings and then restart Tintwell.");

    shell_AdviseResolution(800, 600);
    shell_AdviseResolution(640, 480);
    EXPECT_EQ(script.count(), 1u);
    shell_AdviseResolution(1024, 768);
    ASSERT_EQ(script.count(), 2u);
    EXPECT_EQ(script.seen()[1].caption, "Attention!");
    EXPECT_EQ(script.lastText(), "Tintwell works best when your display is set to a resultion of 800x600 or 640x480.");
    shell_AdviseResolution(801, 600);
    shell_AdviseResolution(800, 601);
    EXPECT_EQ(script.count(), 4u);
}

TEST_F(Shell, ARunningInstanceIsRestoredAndBroughtForward)
{
    EXPECT_EQ(shell_ActivateRunningInstance(), 0);
    HWND main = openMain();
    ShowWindow(main, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(main));
    EXPECT_EQ(shell_ActivateRunningInstance(), 1);
    EXPECT_FALSE(IsIconic(main));
    RECT r;
    GetWindowRect(main, &r);
    expectRect(r, desktopRect());
}

TEST_F(Shell, SizingAndMovingPutTheDesktopOverTheProposal)
{
    openMain();
    RECT proposal = {5, 7, 50, 70};
    EXPECT_EQ(send(WM_SIZING, WMSZ_BOTTOMRIGHT, (LPARAM)&proposal), 1);
    expectRect(proposal, desktopRect());
    expectRect(shell.desktop, desktopRect());
    RECT moved = {-300, 200, 500, 800};
    EXPECT_EQ(send(WM_MOVING, 0, (LPARAM)&moved), 1);
    expectRect(moved, desktopRect());
}

TEST_F(Shell, EscapeShowsTheRemoteHintUnlessAGestureIsInProgress)
{
    HWND main = openMain();
    BoxScript script;
    EXPECT_EQ(send(WM_KEYDOWN, VK_ESCAPE), 0);
    ASSERT_EQ(script.count(), 1u);
    const SeenBox& box = script.seen()[0];
    EXPECT_EQ(box.caption, "Attention!");
    EXPECT_EQ(box.text,
              "Press the Remote Control (on the yellow table below,\nnext to the monitor and cleaner bottle) to "
              "access the\nmenu options such as Open, Save, Quit, New, Help, etc");
    EXPECT_EQ(box.owner, main);
    EXPECT_TRUE(box.hasOk);
    EXPECT_FALSE(box.hasCancel);
    EXPECT_TRUE(box.hasIcon);

    g_escapeGuard = 1;
    send(WM_KEYDOWN, VK_ESCAPE);
    send(WM_KEYDOWN, VK_SPACE);
    EXPECT_EQ(script.count(), 1u);
    EXPECT_TRUE(g_log.empty());
}

TEST_F(Shell, LostFocusGatesLeftPressAndReleaseOnly)
{
    openMain();
    send(WM_KILLFOCUS);
    EXPECT_EQ(shell.focusLost, 1);
    send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 20));
    send(WM_LBUTTONUP, 0, MAKELPARAM(10, 20));
    send(WM_MOUSEMOVE, 0, MAKELPARAM(11, 21));
    send(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(12, 22));
    EXPECT_EQ(g_log, (std::vector<std::string>{"move 5000 11 21", "double 5000 12 22"}));

    g_log.clear();
    send(WM_SETFOCUS);
    EXPECT_EQ(shell.focusLost, 0);
    send(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 40));
    send(WM_LBUTTONUP, 0, MAKELPARAM(0xFFFF, 0x8000));  // unsigned 16-bit coordinates
    EXPECT_EQ(g_log, (std::vector<std::string>{"press 5000 30 40", "release 5000 65535 32768"}));
}

TEST_F(Shell, OnlyPointerMessagesOverTheRoomKeepTheShapeTheRoomSet)
{
    HWND main = openMain();
    HCURSOR room = LoadCursorA(instance, MAKEINTRESOURCEA(203));
    const LPARAM over = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE), offUnderABox = MAKELPARAM(HTERROR, WM_MOUSEMOVE);
    const struct { UINT message; WPARAM wParam; LPARAM lParam; bool kept; } cases[] = {
        {WM_MOUSEMOVE, 0, 6, true}, {WM_LBUTTONDOWN, MK_LBUTTON, 6, true}, {WM_LBUTTONUP, 0, 6, true},
        {WM_SETCURSOR, (WPARAM)main, over, true}, {WM_SETCURSOR, (WPARAM)main, offUnderABox, false},
        {WM_MOUSELEAVE, 0, 0, false}, {WM_ENABLE, TRUE, 0, false}, {WM_ENTERMENULOOP, TRUE, 0, false}};
    for (const auto& c : cases) {
        tb_ForgetCursor();
        tb_SetCursor(203);
        SetCursor(nullptr);  // another shape, put up as another window would
        send(c.message, c.wParam, c.lParam);
        tb_SetCursor(203);  // set again: it reaches the system only when another shape may be up
        EXPECT_EQ(GetCursor() == room, !c.kept) << "message " << std::hex << c.message;
    }
    send(WM_MOUSEMOVE, 0, 6);  // a move after the leave asks again to be told of the next one
    EXPECT_EQ(shell.leaveTracked, 1);
}

TEST_F(Shell, PointerMessagesWaitForTheMainWindowIndex)
{
    HWND main = openMain();
    shell.mainWindow = -1;  // as after a failed tb_OpenWindow
    for (UINT m : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_MOUSEMOVE, WM_LBUTTONDBLCLK})
        EXPECT_EQ(SendMessageA(main, m, 0, MAKELPARAM(3, 4)), 0);
    EXPECT_TRUE(g_log.empty());
}

TEST_F(Shell, RightButtonAndF1PopTheMenuAtThePointer)
{
    openMain();
    EXPECT_EQ(send(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(120, 80)), 0);
    EXPECT_EQ(g_log, (std::vector<std::string>{"prepopup", "menu 120 80"}));

    g_log.clear();
    tb_SetPointerMode(2);
    SetCursorPos(200, 150);
    POINT expected = PointerSettlesAt(200, 150);
    ScreenToClient(tb_GetMainWindow(), &expected);
    EXPECT_EQ(send(WM_KEYDOWN, VK_F1), 0);
    EXPECT_EQ(g_log, (std::vector<std::string>{
                         "prepopup", "menu " + std::to_string(expected.x) + " " + std::to_string(expected.y)}));
}

TEST_F(Shell, MenuItemsReachTheDispatcherWithTheirCommandNumbers)
{
    openMain();
    for (int id = 40018; id <= 40028; ++id) EXPECT_EQ(send(WM_COMMAND, MAKEWPARAM(id, 0)), 0);
    EXPECT_EQ(g_log, (std::vector<std::string>{"dispatch 2", "dispatch 3", "dispatch 1", "dispatch 7", "dispatch 6",
                                               "dispatch 4", "dispatch 5", "dispatch 0"}));
}

// Alt+F4 and the taskbar's Close run Quit (with its question) instead of closing at once; a close
// request (Quit's own, or another program's) still closes. The session's end asks nothing and
// ends the program only when the session really ends.
TEST_F(Shell, TheSystemCloseIsQuitAndTheSessionsEndAsksNothing)
{
    HWND main = openMain();
    shell.started = 1;
    EXPECT_EQ(send(WM_SYSCOMMAND, SC_CLOSE), 0);
    EXPECT_EQ(send(WM_SYSCOMMAND, SC_CLOSE | 2), 0);  // the system keeps the low four bits
    // A dialog of the program holds the window (it is disabled under it): the close waits for it.
    EnableWindow(main, FALSE);
    send(WM_SYSCOMMAND, SC_CLOSE);
    EnableWindow(main, TRUE);

    BoxScript script;
    shellHooks.endAtOnce = [] { note("ended"); };
    EXPECT_EQ(send(WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP), TRUE);
    EXPECT_EQ(send(WM_QUERYENDSESSION, 0, 0), TRUE);
    send(WM_ENDSESSION, FALSE, 0);  // called off
    send(WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP);
    EXPECT_EQ(g_log, (std::vector<std::string>{"dispatch 0", "dispatch 0", "ended"}));
    EXPECT_EQ(script.count(), 0u);

    send(WM_CLOSE);
    EXPECT_FALSE(IsWindow(main));
    EXPECT_EQ(g_log.back(), "cleanup");
}

TEST_F(Shell, PaintFocusAndDisplayChangeWaitForTheStart)
{
    HWND main = openMain();
    RECT r;
    MoveWindow(main, 10, 10, 100, 100, FALSE);
    InvalidateRect(main, nullptr, FALSE);
    UpdateWindow(main);
    send(WM_SETFOCUS);
    EXPECT_EQ(send(WM_DISPLAYCHANGE, 24, MAKELPARAM(800, 600)), 1);
    EXPECT_TRUE(g_log.empty());
    GetWindowRect(main, &r);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.right, 110);

    shell.started = 1;
    EXPECT_EQ(send(WM_DISPLAYCHANGE, 24, MAKELPARAM(800, 600)), 1);
    GetWindowRect(main, &r);
    expectRect(r, desktopRect());
    EXPECT_TRUE(logged("relayout"));

    g_log.clear();
    MoveWindow(main, 10, 10, 100, 100, FALSE);
    send(WM_SETFOCUS);
    GetWindowRect(main, &r);
    expectRect(r, desktopRect());
    EXPECT_TRUE(logged("redraw 5000"));

    g_log.clear();
    InvalidateRect(main, nullptr, FALSE);
    UpdateWindow(main);
    EXPECT_EQ(g_log, (std::vector<std::string>{"redraw 5000"}));
    RECT update;
    EXPECT_FALSE(GetUpdateRect(main, &update, FALSE));  // painting was begun and ended
}

TEST_F(Shell, DestroyReleasesTheMenuCleansUpAndPostsQuit)
{
    HWND main = openMain();
    HMENU menu = CreatePopupMenu();
    shell.commandMenu = menu;
    DestroyWindow(main);
    EXPECT_FALSE(IsMenu(menu));
    EXPECT_EQ(shell.commandMenu, nullptr);
    EXPECT_EQ(g_log, (std::vector<std::string>{"cleanup"}));
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 0u);
}

TEST_F(Shell, LoopDispatchesWaitingMessagesTicksWhenEmptyAndEndsWithTheQuitCode)
{
    HWND main = openMain();
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(40021, 0), 0);
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(40027, 0), 0);
    EXPECT_EQ(shell_MessageLoop(), 7);
    std::vector<std::string> seen;  // the real pointer may also send a move over the new window
    for (const auto& e : g_log)
        if (e.compare(0, 5, "move ") != 0) seen.push_back(e);
    EXPECT_EQ(seen, (std::vector<std::string>{"dispatch 1", "dispatch 0", "idle", "idle", "idle"}));
}

}  // namespace

namespace {

// Refuses the creation of every window of class "Paint" on this thread.
LRESULT CALLBACK refusePaintWindows(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND) {
        const CBT_CREATEWNDA* create = (const CBT_CREATEWNDA*)lParam;
        LPCSTR cls = create->lpcs->lpszClass;
        if (!IS_INTRESOURCE(cls) && lstrcmpiA(cls, "Paint") == 0) return 1;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

// A main window that cannot be created ends the program after the toolbox's message, instead of
// leaving an invisible loop running that nobody can close.
TEST(ShellStartup, EndsWhenTheMainWindowCannotBeCreated)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    UnregisterClassA("Paint", instance);
    BoxScript boxes;
    HHOOK hook = SetWindowsHookExA(WH_CBT, refusePaintWindows, nullptr, GetCurrentThreadId());
    int code = shell_Main(instance, nullptr, nullptr, SW_SHOWNORMAL);
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(shell.mainWindow, -1);
    EXPECT_EQ(shell.started, 0);
    ASSERT_GE(boxes.count(), 1u);
    EXPECT_EQ(boxes.lastText(), "Failed to create Window! (tb_OpenWindow)");
    UnregisterClassA("Paint", instance);
}
