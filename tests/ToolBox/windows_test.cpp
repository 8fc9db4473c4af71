// The window table: slots, the main/owner window, the variants' styles, the failure messages,
// and the modal-dialog wrapper's owner.
#include <gtest/gtest.h>

#include "boxes.h"
#include "tb_internal.h"

namespace {

const char kClass[] = "TbWindowTest";

LRESULT CALLBACK childProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefMDIChildProcA(hwnd, message, wParam, lParam);
}

HWND g_dialogOwner;

INT_PTR CALLBACK endAtOnce(HWND dialog, UINT message, WPARAM, LPARAM)
{
    if (message == WM_INITDIALOG) {
        g_dialogOwner = GetWindow(dialog, GW_OWNER);
        EndDialog(dialog, 1234);
        return TRUE;
    }
    return FALSE;
}

struct WindowTable : testing::Test {
    void SetUp() override
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kClass;
        RegisterClassA(&wc);
        wc.lpfnWndProc = childProc;
        wc.lpszClassName = "MyChild";
        RegisterClassA(&wc);
        tb_SetClassName(kClass);
        tb_InitToolbox();
    }
    void TearDown() override
    {
        for (int i = TB_MAX_WINDOWS - 1; i >= 0; --i)
            if (!tb.windows[i].free && IsWindow(tb.windows[i].hwnd)) DestroyWindow(tb.windows[i].hwnd);
        tb_InitToolbox();
    }
    RECT rect(int l, int t, int r, int b) { RECT x = {l, t, r, b}; return x; }
    int open()
    {
        RECT r = rect(10, 20, 210, 170);
        return tb_OpenWindow(&r, "w");
    }
};

TEST_F(WindowTable, TenSlotsThenNoMoreAndLowestFreeSlotIsTakenAgain)
{
    BoxScript script;
    for (int i = 0; i < TB_MAX_WINDOWS; ++i) EXPECT_EQ(open(), TB_WINDOW_BASE + i);
    EXPECT_EQ(script.count(), 0u);
    EXPECT_EQ(open(), -1);
    ASSERT_EQ(script.count(), 1u);
    EXPECT_EQ(script.seen()[0].caption, "Error...");
    EXPECT_EQ(script.lastText(), "No more available Windows! (tb_OpenWindow)");

    HWND third = tb_GetWindowHandle(5003);
    tb_DisposeOfWindow(5003);
    tb_DisposeOfWindow(5001);
    EXPECT_FALSE(IsWindow(third));
    EXPECT_EQ(tb_GetWindowHandle(5003), nullptr);
    EXPECT_EQ(open(), 5001);
    EXPECT_EQ(open(), 5003);
    EXPECT_EQ(open(), -1);
    RECT r = rect(0, 0, 10, 10);
    EXPECT_EQ(tb_OpenStaticWindow(&r, "STATIC"), -1);
    EXPECT_EQ(script.lastText(), "No more available Windows! (tb_OpenStaticWindow)");
    EXPECT_EQ(tb_OpenChildWindow("c", 5000), -1);
    EXPECT_EQ(script.lastText(), "No more available Windows! (tb_OpenChildWindow)");
}

TEST_F(WindowTable, FirstWindowOwnsLaterBoxesAndDialogs)
{
    EXPECT_EQ(tb_GetMainWindow(), nullptr);
    int first = open();
    RECT r = rect(0, 0, 100, 100);
    int second = tb_OpenWindow(&r, "second", GetModuleHandleA(nullptr));
    ASSERT_EQ(first, 5000);
    ASSERT_EQ(second, 5001);
    HWND main = tb_GetWindowHandle(first);
    EXPECT_EQ(tb_GetMainWindow(), main);

    BoxScript script;
    tb_AttentionBox("hello");
    tb_InfoBox("info");
    g_dialogOwner = nullptr;
    EXPECT_EQ(tb_DoDialog(7001, endAtOnce), 1234);
    EXPECT_EQ(g_dialogOwner, main);
    ASSERT_EQ(script.count(), 2u);
    EXPECT_EQ(script.seen()[0].caption, "Attention!");
    EXPECT_EQ(script.seen()[0].owner, main);
    EXPECT_FALSE(script.seen()[0].topmost);
    EXPECT_EQ(script.seen()[1].caption, "Information...");
    EXPECT_EQ(script.seen()[1].owner, main);
    // The error box and the questions belong to it too (so that the window takes no click while
    // they are up) and stay system-modal; an information box can belong to a window of its own.
    tb_ErrorBox("error");
    tb_AskYesNo("yes or no?");
    tb_AskYesNoCancel("yes, no or cancel?");
    HWND secondWindow = tb_GetWindowHandle(second);
    tb_InfoBox("named", secondWindow);
    ASSERT_EQ(script.count(), 6u);
    for (size_t i = 2; i < 6; ++i) {
        EXPECT_EQ(script.seen()[i].owner, i == 5 ? secondWindow : main) << script.seen()[i].text;
        EXPECT_EQ(script.seen()[i].topmost, i < 5) << script.seen()[i].text;
    }

    // The main window never changes, even once its slot is disposed of.
    tb_DisposeOfWindow(first);
    EXPECT_EQ(open(), 5000);
    EXPECT_EQ(tb_GetMainWindow(), main);
}

TEST_F(WindowTable, DialogBeforeAnyWindowHasNoOwner)
{
    g_dialogOwner = (HWND)1;
    EXPECT_EQ(tb_DoDialog(7001, endAtOnce), 1234);
    EXPECT_EQ(g_dialogOwner, nullptr);
    EXPECT_EQ(tb_DoDialog(7999, endAtOnce), -1);  // no such template
}

TEST_F(WindowTable, VariantsStylesPlacementAndTitle)
{
    RECT r = rect(30, 40, 330, 240);
    int overlapped = tb_OpenWindow(&r, "Overlapped");
    int fixed = tb_OpenWindow(&r, "Fixed", TB_FIXED_FRAME);
    int popup = tb_OpenWindow(&r, "Popup", GetModuleHandleA(nullptr));
    ASSERT_NE(overlapped, -1);
    ASSERT_NE(fixed, -1);
    ASSERT_NE(popup, -1);

    LONG s1 = GetWindowLongA(tb_GetWindowHandle(overlapped), GWL_STYLE);
    EXPECT_EQ(s1 & (WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN);
    LONG s2 = GetWindowLongA(tb_GetWindowHandle(fixed), GWL_STYLE);
    EXPECT_EQ(s2 & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX),
              WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX);
    EXPECT_EQ(s2 & WS_MAXIMIZEBOX, 0);
    LONG s3 = GetWindowLongA(tb_GetWindowHandle(popup), GWL_STYLE);
    EXPECT_NE(s3 & WS_POPUP, 0);
    EXPECT_EQ(s3 & (WS_CAPTION | WS_THICKFRAME), 0);

    for (int index : {overlapped, fixed, popup}) {
        HWND hwnd = tb_GetWindowHandle(index);
        EXPECT_TRUE(IsWindowVisible(hwnd));
        char cls[64] = {};
        GetClassNameA(hwnd, cls, sizeof cls);
        EXPECT_STREQ(cls, kClass);
        RECT w;
        tb_GetWindowRect(index, &w);
        EXPECT_EQ(w.left, 30);
        EXPECT_EQ(w.top, 40);
        EXPECT_EQ(w.right, 330);
        EXPECT_EQ(w.bottom, 240);
    }
    RECT client;
    tb_GetClientRect(popup, &client);
    EXPECT_EQ(client.right, 300);  // no frame: the client is the whole window
    EXPECT_EQ(client.bottom, 200);

    char title[64] = {};
    GetWindowTextA(tb_GetWindowHandle(fixed), title, sizeof title);
    EXPECT_STREQ(title, "Fixed");
    tb_SetWindowTitle(fixed, "Renamed");
    GetWindowTextA(tb_GetWindowHandle(fixed), title, sizeof title);
    EXPECT_STREQ(title, "Renamed");
}

TEST_F(WindowTable, MisuseOfFreeOrForeignIndicesIsReported)
{
    BoxScript script;
    tb_DisposeOfWindow(5004);
    EXPECT_EQ(script.lastText(), "Invalid window hanlde, can't destroy! (tb_DisposeOfWindow)");
    tb_DisposeOfWindow(5010);
    tb_DisposeOfWindow(4999);
    EXPECT_EQ(script.count(), 3u);

    int w = open();
    tb_DisposeOfWindow(w);
    tb_DisposeOfWindow(w);  // twice
    EXPECT_EQ(script.count(), 4u);
    EXPECT_EQ(script.lastText(), "Invalid window hanlde, can't destroy! (tb_DisposeOfWindow)");

    RECT r = rect(1, 2, 3, 4);
    tb_GetClientRect(w, &r);
    EXPECT_EQ(script.lastText(), "Invalid window! (tb_GetClientRect)");
    tb_GetWindowRect(5009, &r);
    EXPECT_EQ(script.lastText(), "Invalid window! (tb_GetWindowRect)");
    tb_SetWindowTitle(12, "x");
    EXPECT_EQ(script.lastText(), "Invalid window! (tb_SetWindowTitle)");
    EXPECT_EQ(r.left, 1);  // left untouched
    EXPECT_EQ(r.bottom, 4);
    for (const SeenBox& box : script.seen()) {
        EXPECT_EQ(box.caption, "Error...");
        EXPECT_EQ(box.owner, nullptr);
    }

    size_t before = script.count();
    EXPECT_EQ(tb_GetWindowHandle(w), nullptr);  // quietly none
    EXPECT_EQ(tb_GetWindowHandle(0), nullptr);
    EXPECT_EQ(tb_GetWindowHandle(5010), nullptr);
    EXPECT_EQ(script.count(), before);
}

TEST_F(WindowTable, CreationFailureLeavesTheSlotFree)
{
    BoxScript script;
    tb_SetClassName("NoSuchClassAnywhere");
    EXPECT_EQ(open(), -1);
    EXPECT_EQ(script.lastText(), "Failed to create Window! (tb_OpenWindow)");
    EXPECT_EQ(tb_GetMainWindow(), nullptr);
    tb_SetClassName(kClass);
    EXPECT_EQ(open(), 5000);

    RECT r = rect(5, 6, 55, 36);
    EXPECT_EQ(tb_OpenStaticWindow(&r, "NoSuchClassAnywhere"), -1);
    EXPECT_EQ(script.lastText(), "Failed to create Window! (tb_OpenStaticWindow)");
    int child = tb_OpenStaticWindow(&r, "STATIC");
    EXPECT_EQ(child, 5001);
    HWND hwnd = tb_GetWindowHandle(child);
    EXPECT_EQ(GetParent(hwnd), tb_GetMainWindow());
    EXPECT_TRUE(IsWindowVisible(hwnd));
    RECT placed;
    GetWindowRect(hwnd, &placed);
    MapWindowPoints(nullptr, tb_GetMainWindow(), (POINT*)&placed, 2);
    EXPECT_EQ(placed.left, 5);
    EXPECT_EQ(placed.top, 6);
    EXPECT_EQ(placed.right, 55);
    EXPECT_EQ(placed.bottom, 36);
}

TEST_F(WindowTable, ClientAndDocumentChildren)
{
    BoxScript script;
    EXPECT_EQ(tb_OpenChildWindow("doc", 5000, 0), -1);
    EXPECT_EQ(script.lastText(), "Invalid parent window! (tb_OpenChildWindow)");
    EXPECT_EQ(tb_OpenChildWindow("client", 5007), -1);
    EXPECT_EQ(script.lastText(), "Invalid parent window! (tb_OpenChildWindow)");

    int frame = open();
    HWND frameHwnd = tb_GetWindowHandle(frame);
    HMENU bar = CreateMenu();
    HMENU windowMenu = nullptr;
    for (int i = 0; i < 7; ++i) {
        HMENU sub = CreatePopupMenu();
        AppendMenuA(sub, MF_STRING, 100 + i, "item");
        AppendMenuA(bar, MF_POPUP, (UINT_PTR)sub, "menu");
        if (i == 6) windowMenu = sub;
    }
    SetMenu(frameHwnd, bar);

    int client = tb_OpenChildWindow("", frame);
    ASSERT_EQ(client, 5001);
    HWND clientHwnd = tb_GetWindowHandle(client);
    char cls[64] = {};
    GetClassNameA(clientHwnd, cls, sizeof cls);
    EXPECT_STREQ(cls, "MDIClient");
    EXPECT_EQ(GetParent(clientHwnd), frameHwnd);
    EXPECT_NE(GetWindowLongA(clientHwnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
    EXPECT_NE(GetWindowLongA(clientHwnd, GWL_STYLE) & WS_CLIPCHILDREN, 0);
    RECT frameClient, clientRect;
    GetClientRect(frameHwnd, &frameClient);
    GetWindowRect(clientHwnd, &clientRect);
    EXPECT_EQ(clientRect.right - clientRect.left, frameClient.right);
    EXPECT_EQ(clientRect.bottom - clientRect.top, frameClient.bottom);

    int doc = tb_OpenChildWindow("Picture", client, 1);
    ASSERT_EQ(doc, 5002);
    HWND docHwnd = tb_GetWindowHandle(doc);
    GetClassNameA(docHwnd, cls, sizeof cls);
    EXPECT_STREQ(cls, "MyChild");
    EXPECT_EQ(GetParent(docHwnd), clientHwnd);
    LONG style = GetWindowLongA(docHwnd, GWL_STYLE);
    EXPECT_EQ(style & (WS_HSCROLL | WS_VSCROLL), WS_HSCROLL | WS_VSCROLL);
    char title[32] = {};
    GetWindowTextA(docHwnd, title, sizeof title);
    EXPECT_STREQ(title, "Picture");
    // The client lists its documents in the seventh submenu of the frame's menu.
    int n = GetMenuItemCount(windowMenu);
    EXPECT_GT(n, 1);
    EXPECT_EQ(GetMenuItemID(windowMenu, n - 1), 50000u);

    int plain = tb_OpenChildWindow("Plain", client, 0);
    ASSERT_EQ(plain, 5003);
    EXPECT_EQ(GetWindowLongA(tb_GetWindowHandle(plain), GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL), 0);
    EXPECT_EQ(tb_GetMainWindow(), frameHwnd);  // children never become the main window
}

}  // namespace

// A window opened in a slot another window had starts without that window's clip rectangle (its
// copies would otherwise be cut to a rectangle nobody set for it), as a bitmap in a reused bitmap
// slot does; the drawing state stays with the slot.
TEST_F(WindowTable, ReusedSlotForgetsTheClipButKeepsTheDrawingState)
{
    BoxScript script;
    int first = open();
    ASSERT_EQ(first, TB_WINDOW_BASE);
    RECT clip = rect(0, 0, 30, 30);
    tb_SetClipRect(first, &clip);
    tb_SetForeColor(first, 65025, 0, 0);
    tb_DisposeOfWindow(first);
    EXPECT_EQ(open(), first);
    EXPECT_TRUE(tb_ClipIsNone(tb.windows[0].clip));
    EXPECT_EQ(tb_GetForeColor(first), RGB(255, 0, 0));
    EXPECT_EQ(script.count(), 0u);
}
