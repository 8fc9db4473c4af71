// The toolbox's tables, start-up and quit, and the target lookups shared by its sources.
#include <cstring>

#include "tb_internal.h"

TB_Globals tb;

void tb_SetInstance(HINSTANCE instance, int showCommand)
{
    tb.instance = instance;
    tb.showCommand = showCommand;
}

void tb_SetClassName(const char* className)
{
    lstrcpynA(tb.className, className ? className : "", sizeof tb.className);
}

static void tb_ResetClip(RECT* r) { SetRect(r, -1, -1, -1, -1); }

FARPROC tb_SystemProc(const char* library, const char* name)
{
    HMODULE module = GetModuleHandleA(library);
    if (!module) module = LoadLibraryA(library);
    return module ? GetProcAddress(module, name) : nullptr;
}

void tb_InitToolbox(void)
{
    HINSTANCE instance = tb.instance;
    int showCommand = tb.showCommand;
    char className[sizeof tb.className];
    memcpy(className, tb.className, sizeof className);
    TB_SoundObserver observer = tb.soundObserver;

    memset(&tb, 0, sizeof tb);
    tb.instance = instance ? instance : GetModuleHandleA(nullptr);
    tb.showCommand = showCommand ? showCommand : SW_SHOWNORMAL;
    memcpy(tb.className, className, sizeof className);
    tb.soundObserver = observer;
    tb_ForgetCursor();

    for (auto& slot : tb.bitmaps) {
        slot.free = 1;
        tb_ResetClip(&slot.clip);
    }
    for (auto& slot : tb.windows) {
        slot.free = 1;
        tb_ResetClip(&slot.clip);
    }
    for (auto& slot : tb.regions) slot.free = 1;

    tb.copyMode = SRCCOPY;
    tb.soundOn = 1;
    tb.pointerMode = 1;
    tb.buttonMode = 0;
    tb.file = INVALID_HANDLE_VALUE;
    GetCurrentDirectoryA(sizeof tb.currentDir, tb.currentDir);
    lstrcpynA(tb.dialogFolder, tb.currentDir, sizeof tb.dialogFolder);
    tb_RandomSeed(0, 100, 1);
}

LRESULT tb_QuitToolbox(void)
{
    if (tb.palette) {
        DeleteObject(tb.palette);
        tb.palette = nullptr;
    }
    return tb.mainWindow ? SendMessageA(tb.mainWindow, WM_CLOSE, 0, 0) : 0;
}

HWND tb_GetMainWindow(void) { return tb.mainWindow; }

HPALETTE tb_GetProgramPalette(void) { return tb.palette; }

TB_DrawState* tb_DrawStateOf(int target)
{
    if (target == TB_PRINTER) return &tb.printerDraw;
    if (tb_IsBitmapIndex(target)) return &tb.bitmapDraw[target];
    int slot = target - TB_WINDOW_BASE;
    if (slot >= 0 && slot < TB_MAX_WINDOWS) return &tb.windowDraw[slot];
    return nullptr;
}

HDC tb_AcquireSurface(int target)
{
    if (target < TB_WINDOW_BASE) return tb_BitmapInUse(target) ? tb.bitmaps[target].dc : nullptr;
    if (target == TB_PRINTER) return tb.printerDC;
    return tb_WindowInUse(target) ? GetDC(tb.windows[target - TB_WINDOW_BASE].hwnd) : nullptr;
}

void tb_ReleaseSurface(int target, HDC dc)
{
    if (dc && target >= TB_WINDOW_BASE && target != TB_PRINTER && tb_WindowInUse(target)) {
        ReleaseDC(tb.windows[target - TB_WINDOW_BASE].hwnd, dc);
        ++tb.windowDraws;
    }
}

unsigned tb_WindowDraws(void) { return tb.windowDraws; }

void tb_SelectProgramPalette(HDC dc)
{
    if (!tb.palette || !dc) return;
    SelectPalette(dc, tb.palette, FALSE);
    RealizePalette(dc);
}

void tb_SelectPaletteForCopy(int target, HDC dc)
{
    const bool window = target >= TB_WINDOW_BASE && target != TB_PRINTER;
    if (window && dc && !(GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE)) return;
    tb_SelectProgramPalette(dc);
}

RECT* tb_ClipOf(int index)
{
    if (tb_IsBitmapIndex(index)) return &tb.bitmaps[index].clip;
    int slot = index - TB_WINDOW_BASE;
    if (slot >= 0 && slot < TB_MAX_WINDOWS) return &tb.windows[slot].clip;
    return nullptr;
}

void tb_SetPrinterDC(HDC dc) { tb.printerDC = dc; }
HDC tb_GetPrinterDC(void) { return tb.printerDC; }
