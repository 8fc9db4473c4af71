// The window table: the program's windows named by index 5000..5009, the modal-dialog
// wrapper. The first top-level window opened becomes the main window and the owner of
// every dialog and "Attention!" box.
#include "tb_internal.h"

// The MDI client numbers the document windows it lists in its window menu from here on.
static const UINT kFirstChildId = 50000;

// Lowest free slot, or -1 when every slot is in use.
static int tb_FreeWindowSlot(void)
{
    for (int slot = 0; slot < TB_MAX_WINDOWS; ++slot)
        if (tb.windows[slot].free) return slot;
    return -1;
}

int tb_WindowsInUse(void)
{
    int n = 0;
    for (const TB_WindowSlot& slot : tb.windows) n += !slot.free;
    return n;
}

// Stores the new window in its slot, shows it with the start-up show command and returns its index.
static int tb_AdoptWindow(int slot, HWND hwnd)
{
    tb.windows[slot].hwnd = hwnd;
    tb.windows[slot].free = 0;
    ShowWindow(hwnd, tb.showCommand);
    UpdateWindow(hwnd);
    return TB_WINDOW_BASE + slot;
}

// The common path of the three top-level variants.
static int tb_OpenTopLevel(const RECT* rect, const char* title, DWORD style, HINSTANCE instance)
{
    int slot = tb_FreeWindowSlot();
    if (slot < 0) {
        tb_ErrorBox("No more available Windows! (tb_OpenWindow)");
        return TB_NONE;
    }
    HWND hwnd = CreateWindowExA(0, tb.className, title, style, rect->left, rect->top, rect->right - rect->left,
                                rect->bottom - rect->top, nullptr, nullptr, instance, nullptr);
    if (!hwnd) {
        tb_ErrorBox("Failed to create Window! (tb_OpenWindow)");
        return TB_NONE;
    }
    if (!tb.mainWindow) {
        tb.mainWindow = hwnd;
        tb.ownerWindow = hwnd;
    }
    return tb_AdoptWindow(slot, hwnd);
}

int tb_OpenWindow(RECT* rect, const char* title)
{
    return tb_OpenTopLevel(rect, title, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, tb.instance);
}

int tb_OpenWindow(RECT* rect, const char* title, TB_FixedFrame)
{
    return tb_OpenTopLevel(rect, title, WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX, tb.instance);
}

int tb_OpenWindow(RECT* rect, const char* title, HINSTANCE instance)
{
    return tb_OpenTopLevel(rect, title, WS_POPUP, instance);
}

// The handle of an open window, or nullptr (no message).
HWND tb_GetWindowHandle(int index)
{
    return tb_WindowInUse(index) ? tb.windows[index - TB_WINDOW_BASE].hwnd : nullptr;
}

int tb_OpenChildWindow(const char* title, int parent, int scrollFlag)
{
    int slot = tb_FreeWindowSlot();
    if (slot < 0) {
        tb_ErrorBox("No more available Windows! (tb_OpenChildWindow)");
        return TB_NONE;
    }
    HWND client = tb_GetWindowHandle(parent);
    if (!client) {
        tb_ErrorBox("Invalid parent window! (tb_OpenChildWindow)");
        return TB_NONE;
    }
    DWORD style = scrollFlag ? (WS_HSCROLL | WS_VSCROLL) : WS_VISIBLE;
    HWND hwnd = CreateMDIWindowA("MyChild", title, style, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                 CW_USEDEFAULT, client, tb.instance, 0);
    if (!hwnd) {
        tb_ErrorBox("Failed to create child window! (tb_OpenChildWindow)");
        return TB_NONE;
    }
    return tb_AdoptWindow(slot, hwnd);
}

int tb_OpenChildWindow(const char* title, int parent)
{
    int slot = tb_FreeWindowSlot();
    if (slot < 0) {
        tb_ErrorBox("No more available Windows! (tb_OpenChildWindow)");
        return TB_NONE;
    }
    HWND frame = tb_GetWindowHandle(parent);
    if (!frame) {
        tb_ErrorBox("Invalid parent window! (tb_OpenChildWindow)");
        return TB_NONE;
    }
    CLIENTCREATESTRUCT ccs = {};
    HMENU menu = GetMenu(frame);
    ccs.hWindowMenu = menu ? GetSubMenu(menu, 6) : nullptr;
    ccs.idFirstChild = kFirstChildId;
    HWND hwnd = CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", title, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 0,
                                0, frame, nullptr, tb.instance, &ccs);
    if (!hwnd) {
        tb_ErrorBox("Failed to create Client window! (tb_OpenChildWindow)");
        return TB_NONE;
    }
    RECT area;
    GetClientRect(frame, &area);
    MoveWindow(hwnd, area.left, area.top, area.right - area.left, area.bottom - area.top, TRUE);
    return tb_AdoptWindow(slot, hwnd);
}

int tb_OpenStaticWindow(RECT* rect, const char* className)
{
    int slot = tb_FreeWindowSlot();
    if (slot < 0) {
        tb_ErrorBox("No more available Windows! (tb_OpenStaticWindow)");
        return TB_NONE;
    }
    HWND hwnd = CreateWindowExA(0, className, "", WS_CHILD | WS_VISIBLE, rect->left, rect->top,
                                rect->right - rect->left, rect->bottom - rect->top, tb.mainWindow, nullptr,
                                tb.instance, nullptr);
    if (!hwnd) {
        tb_ErrorBox("Failed to create Window! (tb_OpenStaticWindow)");
        return TB_NONE;
    }
    return tb_AdoptWindow(slot, hwnd);
}

void tb_DisposeOfWindow(int index)
{
    HWND hwnd = tb_GetWindowHandle(index);
    if (!hwnd) {
        tb_ErrorBox("Invalid window hanlde, can't destroy! (tb_DisposeOfWindow)");
        return;
    }
    TB_WindowSlot& slot = tb.windows[index - TB_WINDOW_BASE];
    slot.free = 1;
    slot.hwnd = nullptr;
    // The clip went with the window; a window opened in this slot later starts without one.
    SetRect(&slot.clip, -1, -1, -1, -1);
    DestroyWindow(hwnd);
}

void tb_GetClientRect(int index, RECT* rect)
{
    HWND hwnd = tb_GetWindowHandle(index);
    if (!hwnd) {
        tb_ErrorBox("Invalid window! (tb_GetClientRect)");
        return;
    }
    GetClientRect(hwnd, rect);
}

void tb_GetWindowRect(int index, RECT* rect)
{
    HWND hwnd = tb_GetWindowHandle(index);
    if (!hwnd) {
        tb_ErrorBox("Invalid window! (tb_GetWindowRect)");
        return;
    }
    GetWindowRect(hwnd, rect);
}

void tb_SetWindowTitle(int index, const char* text)
{
    HWND hwnd = tb_GetWindowHandle(index);
    if (!hwnd) {
        tb_ErrorBox("Invalid window! (tb_SetWindowTitle)");
        return;
    }
    SetWindowTextA(hwnd, text);
}

INT_PTR tb_DoDialog(int templateId, DLGPROC procedure)
{
    return DialogBoxParamA(tb.instance, MAKEINTRESOURCEA(templateId), tb.ownerWindow, procedure, 0);
}
