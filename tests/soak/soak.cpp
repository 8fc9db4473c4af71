// The soak engine: events through the program's window procedure, dialogs answered by a thread
// hook, invariants checked after every event (see soak.h).
#include "soak.h"

#include <windows.h>
#include <psapi.h>

#include <cstdarg>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "pictures/picture_files.h"
#include "pictures/pictures.h"
#include "pictures/preferences.h"
#include "pictures/recovery.h"
#include "scene/scene.h"
#include "scene/scene_routing.h"
#include "shell/shell.h"
#include "tb_internal.h"
#include "toolbox.h"
#include "tools/dropper_scissors.h"
#include "tools/palette.h"
#include "tools/preferences_dialog.h"
#include "tools/remote.h"
#include "tools/stamps.h"
#include "../support/gdi_count.h"

namespace {

const UINT kInspect = WM_APP + 0x3B0;  // posted to a dialog on activation, answered once it runs its loop
const DWORD kNudgeAfterMs = 1500;      // a dialog still open this long after its answer is cancelled
const int kNudgesBeforeFailing = 4;    // ... and after this many cancels it is a fault
// GDI objects the process may keep after a run: what the system caches on first use (fonts of the
// dialogs, cursors) is not the room's.
const long kGdiSlack = 32;
// Long runs count the GDI objects of the built room at rest every so many events too.
const long kGdiEvery = 50000;
const long kProgressEvery = 100000;
// The process's private bytes are sampled every so many events, at rest on the run's own size; the
// mean of the last third of the samples may exceed the first third's by 10 % and 8 MB at most.
const long kMemoryEvery = 200;
const double kMemorySlackKb = 8192;

// The two sizes of the display.
const SIZE kSizes[2] = {{800, 600}, {1920, 1080}};

struct OpenDialog {
    HWND hwnd;
    DWORD lastAction;
    int nudges;
};

struct Soak {
    const SoakRun* run;
    SoakFigures* figures;
    std::mt19937 random;
    HWND hwnd;
    HHOOK cbt, getMessage;
    UINT_PTR watchdog;
    std::vector<OpenDialog> dialogs;
    bool button;        // the left button as tb_IsMouseDown reads it
    bool keyC;          // the C key as tb_IsKeyDown reads it
    bool cancelAll;     // every dialog and box is cancelled (the warm-up)
    bool looping;       // a looping sound was started and not stopped or replaced since
    std::vector<std::string> baseThreadWindows;  // the classes of the thread's windows at the start
    long gdiRoom;       // GDI objects with the room built, at the start
    DWORD start;        // when the first event was fed
    int pendingMenuItem;  // the command the menu chose, delivered after the right click as the menu posts it
    int baseBitmaps, baseRegions, baseWindows;
    std::string failure;  // the first fault a hook saw, reported after the event
    char files[2][MAX_PATH];  // the pictures this run saves and opens
    std::vector<double> privateKb;  // private bytes at rest on the run's own size, in kB
    bool memoryDue;                 // a sample of them is due
};

Soak* g = nullptr;

int Rand(int n) { return n <= 1 ? 0 : int(g->random() % unsigned(n)); }
int Between(int low, int high) { return low + Rand(high - low + 1); }
bool Chance(int percent) { return Rand(100) < percent; }

void NoteFault(const char* format, ...)
{
    if (!g || !g->failure.empty()) return;
    char text[400];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    g->failure = text;
}

// ---------------------------------------------------------------- the seams the soak fills in

int ReadInput(int virtualKey)
{
    if (virtualKey == VK_LBUTTON) return g && g->button;
    if (virtualKey == 'C') return g && g->keyC;
    return 0;
}

void PrintOff(void)
{
    // What printing does up to the page, on an A4 page at 300 dpi; no job reaches a printer.
    ++g->figures->prints;
    RECT destination;
    int work = pictures_PreparePrint(2479, 3508, &destination);
    if (work >= 0) tb_DisposeBitmap(work);
}

void HearSound(TB_SoundKind kind, int)
{
    if (kind == TB_SOUND_LOOP) g->looping = true;
    else if (kind == TB_SOUND_STOP || kind == TB_SOUND_PLAY) g->looping = false;
}

void WritePreferencesOff(void) { ++g->figures->preferenceWrites; }

void CloseRequestOff(void) {}

BOOL WINAPI WinHelpOff(HWND, LPCSTR, UINT, ULONG_PTR) { return TRUE; }
HINSTANCE WINAPI ShellExecuteOff(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT) { return (HINSTANCE)(INT_PTR)42; }

int PaletteForScene(SceneColor* chosen) { return palette_Run(chosen) == 1 ? 1 : 0; }

// The shell's dispatcher, with the two places where it would write the shared preferences file
// (the remote's and the menu's Preferences) going through the preferences service instead.
void Dispatch(int command)
{
    if (command >= 0 && command < 8) ++g->figures->commands[command];
    switch (command) {
    case SHELL_ASK_REMOTE: {
        int chosen = remote_Run();
        tb_SetCursor(203);
        if (chosen >= 0) Dispatch(chosen);
        return;
    }
    case SHELL_PREFERENCES:
        if (prefsDialog_Run() != 1) return;
        scene_DrawSpeaker();
        scene_ShowRect(&scene.layout.speaker);
        sceneServices.writePreferences();
        return;
    default:
        shell_DispatchCommand(command);
    }
}

void DispatchFromScene(int command) { shellHooks.dispatch(command); }

// The command menu: dismissed, or one of its items chosen.
void ShowMenu(int, int)
{
    static const int items[] = {40019, 40020, 40021, 40022, 40023, 40025, 40026, 40027};
    if (Chance(30)) {
        ++g->figures->menusDismissed;
        return;
    }
    g->pendingMenuItem = items[Rand(8)];
}

// ---------------------------------------------------------------- answering dialogs

bool IsDialogClass(HWND hwnd)
{
    char cls[64] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    return lstrcmpA(cls, "#32770") == 0;
}

bool VisibleItem(HWND dialog, int id)
{
    HWND item = GetDlgItem(dialog, id);
    return item && IsWindowVisible(item);
}

bool IsMessageBox(HWND dialog)
{
    HWND text = GetDlgItem(dialog, 0xFFFF);
    char cls[32] = {};
    if (text) GetClassNameA(text, cls, sizeof cls);
    return text && lstrcmpiA(cls, "Static") == 0;
}

bool IsFileDialog(HWND dialog) { return GetDlgItem(dialog, 0x47c) || GetDlgItem(dialog, 0x480); }

void Press(HWND dialog, int id) { PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dialog, id)); }

// A click at a random point of the dialog, on whatever child lies there.
void ClickInside(HWND dialog)
{
    RECT client;
    GetClientRect(dialog, &client);
    POINT p = {Between(0, client.right > 0 ? client.right - 1 : 0), Between(0, client.bottom > 0 ? client.bottom - 1 : 0)};
    HWND target = ChildWindowFromPointEx(dialog, p, CWP_SKIPINVISIBLE | CWP_SKIPDISABLED);
    if (!target) target = dialog;
    if (target != dialog) MapWindowPoints(dialog, target, &p, 1);
    LPARAM at = MAKELPARAM(p.x, p.y);
    PostMessageA(target, WM_MOUSEMOVE, 0, at);
    PostMessageA(target, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(target, WM_LBUTTONUP, 0, at);
}

// Typing into the dialog's text fields and picking in its lists, as a child at the keyboard and
// the pointer would: replacing the selection keeps the field's own length limit.
BOOL CALLBACK TypeAndPick(HWND child, LPARAM)
{
    char cls[32] = {};
    GetClassNameA(child, cls, sizeof cls);
    if (!IsWindowVisible(child) || !IsWindowEnabled(child) || !Chance(50)) return TRUE;
    if (lstrcmpiA(cls, "Edit") == 0) {
        static const char letters[] = "abcXYZ 0123456789 .,!?-_'\"%&\xe9\xfc\xdf\xa9";
        std::string typed;
        for (int n = Chance(10) ? 0 : Between(1, Chance(20) ? 400 : 30); n > 0; --n)
            typed += letters[Rand(int(sizeof letters) - 1)];
        SendMessageA(child, EM_SETSEL, 0, -1);
        SendMessageA(child, EM_REPLACESEL, TRUE, (LPARAM)typed.c_str());
    } else if (lstrcmpiA(cls, "ListBox") == 0) {
        LRESULT n = SendMessageA(child, LB_GETCOUNT, 0, 0);
        if (n > 0) {
            SendMessageA(child, LB_SETCURSEL, (WPARAM)Rand(int(n)), 0);
            SendMessageA(GetParent(child), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(child), LBN_SELCHANGE), (LPARAM)child);
        }
    }
    return TRUE;
}

void ChangeDisplay(void);

void Answer(HWND dialog)
{
    if (!IsWindow(dialog)) return;
    if (g->cancelAll) {
        Press(dialog, IDCANCEL);
        return;
    }
    SoakFigures* f = g->figures;
    char caption[256] = {};
    GetWindowTextA(dialog, caption, sizeof caption);
    if (IsMessageBox(dialog)) {
        ++f->messageBoxes;
        char text[512] = {};
        GetWindowTextA(GetDlgItem(dialog, 0xFFFF), text, sizeof text);
        // The toolbox tells of its own misuse (a bad index, a full table) in an "Error..." box.
        if (lstrcmpA(caption, "Error...") == 0) NoteFault("toolbox error box \"%s\"", text);
        int buttons[4], n = 0;
        for (int id : {IDOK, IDCANCEL, IDYES, IDNO})
            if (VisibleItem(dialog, id)) buttons[n++] = id;
        Press(dialog, n ? buttons[Rand(n)] : IDCANCEL);
        return;
    }
    g->dialogs.push_back({dialog, GetTickCount(), 0});
    if (IsFileDialog(dialog)) {
        ++f->fileDialogs;
        if (Chance(30)) {
            Press(dialog, IDCANCEL);
            return;
        }
        // A picture of the run's own, in the temporary folder: never the shared Gallery.
        const char* path = g->files[Rand(2)];
        if (GetDlgItem(dialog, 0x47c)) SetDlgItemTextA(dialog, 0x47c, path);
        if (GetDlgItem(dialog, 0x480)) SetDlgItemTextA(dialog, 0x480, path);
        Press(dialog, IDOK);
        return;
    }
    ++f->dialogs;
    // The display may change while a dialog is up: the main window hears of it from the dialog's loop.
    if (g->run->displayChanges && Chance(3)) ChangeDisplay();
    EnumChildWindows(dialog, TypeAndPick, 0);
    for (int i = Between(0, 4); i > 0; --i) ClickInside(dialog);
    const int close = Rand(3);
    if (close == 0 && VisibleItem(dialog, IDOK)) Press(dialog, IDOK);
    else if (close == 2) PostMessageA(dialog, WM_KEYDOWN, VK_ESCAPE, 0);
    else Press(dialog, IDCANCEL);
}

// A dialog whose answer did not end it is cancelled, and then closed; one that stays after that
// is a fault, and it is ended so that the run goes on.
VOID CALLBACK Watchdog(HWND, UINT, UINT_PTR, DWORD)
{
    if (!g) return;
    DWORD now = GetTickCount();
    for (size_t i = 0; i < g->dialogs.size();) {
        OpenDialog& d = g->dialogs[i];
        if (!IsWindow(d.hwnd)) {
            g->dialogs.erase(g->dialogs.begin() + i);
            continue;
        }
        if (now - d.lastAction >= kNudgeAfterMs) {
            d.lastAction = now;
            ++d.nudges;
            ++g->figures->nudged;
            if (d.nudges >= kNudgesBeforeFailing) {
                char caption[256] = {};
                GetWindowTextA(d.hwnd, caption, sizeof caption);
                NoteFault("dialog \"%s\" still open after Cancel and Close", caption);
                EndDialog(d.hwnd, IDCANCEL);
            } else if (d.nudges % 2) {
                Press(d.hwnd, IDCANCEL);
            } else {
                PostMessageA(d.hwnd, WM_CLOSE, 0, 0);
            }
        }
        ++i;
    }
}

LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (g && code == HCBT_ACTIVATE) {
        HWND hwnd = (HWND)wParam;
        if (IsDialogClass(hwnd) && !GetPropA(hwnd, "SoakSeen")) {
            SetPropA(hwnd, "SoakSeen", (HANDLE)1);
            PostMessageA(hwnd, kInspect, 0, 0);
        }
    }
    return CallNextHookEx(g ? g->cbt : nullptr, code, wParam, lParam);
}

LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam)
{
    MSG* msg = (MSG*)lParam;
    if (g && code == HC_ACTION && wParam == PM_REMOVE && msg->message == kInspect) {
        HWND hwnd = msg->hwnd;
        msg->message = WM_NULL;
        Answer(hwnd);
    }
    return CallNextHookEx(g ? g->getMessage : nullptr, code, wParam, lParam);
}

// Any dialog of this thread still on the screen.
BOOL CALLBACK FindDialog(HWND hwnd, LPARAM found)
{
    if (IsDialogClass(hwnd) && IsWindowVisible(hwnd)) {
        *(HWND*)found = hwnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CountWindow(HWND, LPARAM count)
{
    ++*(size_t*)count;
    return TRUE;
}

BOOL CALLBACK NameWindow(HWND hwnd, LPARAM names)
{
    char name[128] = {};
    GetClassNameA(hwnd, name, sizeof name);
    ((std::vector<std::string>*)names)->push_back(name);
    return TRUE;
}

// The classes of this thread's top-level windows.
std::vector<std::string> ThreadWindows(void)
{
    std::vector<std::string> names;
    EnumThreadWindows(GetCurrentThreadId(), NameWindow, (LPARAM)&names);
    return names;
}

std::string Joined(const std::vector<std::string>& names)
{
    std::string list;
    for (const std::string& name : names) list += (list.empty() ? "" : ", ") + name;
    return list;
}

// ---------------------------------------------------------------- events

void Deliver(UINT message, WPARAM wParam, int x, int y)
{
    shell_WindowProc(g->hwnd, message, wParam, MAKELPARAM(x, y));
}

POINT In(const RECT& r)
{
    POINT p = {r.left, r.top};
    if (r.right > r.left) p.x = Between(r.left, r.right - 1);
    if (r.bottom > r.top) p.y = Between(r.top, r.bottom - 1);
    return p;
}

// A point on an object's outline of the given group (any group: -1), or on its bounds.
POINT OnObject(int group)
{
    int candidates[SCENE_OBJECTS], n = 0;
    for (int i = 0; i < SCENE_OBJECTS; ++i)
        if (group < 0 || scene.objects[i].group == group) candidates[n++] = i;
    const SceneObject& o = scene.objects[candidates[Rand(n)]];
    POINT p = In(o.bounds);
    for (int tries = 0; tries < 6 && o.region >= 0 && !tb_PtInRegion(p.x, p.y, o.region); ++tries) p = In(o.bounds);
    return p;
}

// Where the pointer goes: the canvas, the tools and every hot spot of the room, and anywhere.
POINT Target(void)
{
    const SceneLayout& L = scene.layout;
    int r = Rand(100);
    if (r < 30) return In(L.canvas);
    if (r < 33) {
        RECT edge = L.canvas;
        InflateRect(&edge, 12, 12);
        return In(edge);
    }
    if (r < 50) return OnObject(scene.currentGroup);
    if (r < 53) return OnObject(-1);
    if (r < 60) {
        const RECT* groups[] = {&L.rockButton, &L.booksButton, &L.toolBoxButton, &L.magicHatButton, &L.toysButton};
        return In(*groups[Rand(5)]);
    }
    if (r < 66) return Chance(60) ? In(L.canLids[Rand(SCENE_CANS)]) : In(L.canBodies[Rand(SCENE_CAN_BODIES)]);
    if (r < 68) return In(L.paintTube);
    if (r < 71) return In(L.cleaner);
    if (r < 73) return In(L.spyglass);
    if (r < 74) return In(L.speaker);
    if (r < 75) return In(L.printer);
    if (r < 76) return In(L.remote);
    if (r < 77) return In(L.keyboard);
    if (r < 82) return In(L.optionPanel);
    if (r < 85) return Chance(50) ? In(L.captionStrip) : In(L.paintBlot);
    if (r < 98) return {Between(0, L.width - 1), Between(0, L.height - 1)};
    // Outside the window, as a captured pointer reports it.
    return {Between(-30, L.width + 30), Between(-30, L.height + 30)};
}

POINT Near(POINT p, int step)
{
    return {p.x + Between(-step, step), p.y + Between(-step, step)};
}

std::string Check(void);
std::string Say(const char* format, ...);

void SampleMemory(void)
{
    // The commit charge: the private bytes (under Wine, the anonymous memory held), less the
    // surfaces the toolbox keeps for its next bitmaps (bounded, and printed apart).
    PROCESS_MEMORY_COUNTERS c = {};
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &c, sizeof c)) return;
    const double pooled = tb_PooledBytes() / 1024.0;
    if (pooled > g->figures->pooledPeakKb) g->figures->pooledPeakKb = pooled;
    const double kb = c.PagefileUsage / 1024.0 - pooled;
    g->privateKb.push_back(kb);
    if (kb > g->figures->privatePeakKb) g->figures->privatePeakKb = kb;
}

// The samples' first and last thirds: a fault when the private bytes grew with use.
std::string MemoryGrowth(void)
{
    SoakFigures* f = g->figures;
    const std::vector<double>& v = g->privateKb;
    f->privateSamples = long(v.size());
    if (v.size() < 6) return std::string();
    const size_t third = v.size() / 3;
    for (size_t i = 0; i < third; ++i) {
        f->privateFirstKb += v[i] / third;
        f->privateLastKb += v[v.size() - third + i] / third;
    }
    if (f->privateLastKb - f->privateFirstKb > 0.10 * f->privateFirstKb + kMemorySlackKb)
        return Say("private bytes grew with use: %.0f kB in the first third of the samples, %.0f kB in the last",
                   f->privateFirstKb, f->privateLastKb);
    return std::string();
}

// One event done: the idle tick the loop gives an empty queue, then the invariants.
bool After(SoakKind kind)
{
    SoakFigures* f = g->figures;
    ++f->kinds[kind];
    ++f->events;
    shellHooks.idle();
    if (g->pendingMenuItem) {
        int item = g->pendingMenuItem;
        g->pendingMenuItem = 0;
        Deliver(WM_COMMAND, MAKEWPARAM(item, 0), 0, 0);
    }
    std::string broken = g->failure.empty() ? Check() : g->failure;
    if (f->events % kProgressEvery == 0) {
        // A long run tells how far it got, so that one cut short still leaves its figures.
        printf("  ... %ld events, %.0f s, peak slots: bitmaps %d, regions %d, windows %d\n", f->events,
               (GetTickCount() - g->start) / 1000.0, f->peakBitmaps, f->peakRegions, f->peakWindows);
        fflush(stdout);
    }
    if (broken.empty() && f->events % kGdiEvery == 0 && !g->button) {
        // The surfaces the toolbox keeps for its next bitmaps are bounded and not the room's.
        long grown = GdiObjectsInUse() - 2 * tb_PooledSurfaces() - g->gdiRoom;
        if (grown > kGdiSlack) broken = Say("%ld more GDI objects than the room held at the start", grown);
    }
    // The sample falls due every so many events and is taken at the next rest on the run's own size.
    if (f->events % kMemoryEvery == 0) g->memoryDue = true;
    if (broken.empty() && g->memoryDue && !g->button && scene.layout.width == g->run->width &&
        scene.layout.height == g->run->height) {
        SampleMemory();
        g->memoryDue = false;
    }
    if (broken.empty()) return f->events < g->run->events;
    f->failedEvent = f->events;
    snprintf(f->failure, sizeof f->failure, "seed %u event %ld: %s", g->run->seed, f->events, broken.c_str());
    return false;
}

bool Move(POINT p)
{
    Deliver(WM_MOUSEMOVE, g->button ? MK_LBUTTON : 0, p.x, p.y);
    return After(g->button ? SOAK_DRAG : SOAK_MOVE);
}

bool PressAt(POINT p)
{
    g->button = true;
    if (scene_OnCanvas(p.x, p.y) && !routing.textPending && !routing.zoomPending)
        ++g->figures->toolPresses[scene.currentObject];
    Deliver(WM_LBUTTONDOWN, MK_LBUTTON, p.x, p.y);
    return After(SOAK_PRESS);
}

bool ReleaseAt(POINT p)
{
    g->button = false;
    Deliver(WM_LBUTTONUP, 0, p.x, p.y);
    return After(SOAK_RELEASE);
}

bool RightClick(POINT p)
{
    Deliver(WM_RBUTTONDOWN, MK_RBUTTON, p.x, p.y);
    Deliver(WM_RBUTTONUP, 0, p.x, p.y);
    return After(SOAK_RIGHT_CLICK);
}

bool Key(WPARAM key, SoakKind kind)
{
    Deliver(WM_KEYDOWN, key, 1, 0);
    Deliver(WM_KEYUP, key, 1, 0xC000);
    return After(kind);
}

// The display switches to the other size: the main window covers it again and the room is laid out anew.
void ChangeDisplay(void)
{
    ++g->figures->displayChanges;
    const SceneLayout& L = scene.layout;
    const SIZE next = (L.width == kSizes[0].cx && L.height == kSizes[0].cy) ? kSizes[1] : kSizes[0];
    SetWindowPos(g->hwnd, nullptr, 0, 0, next.cx, next.cy, SWP_NOZORDER | SWP_NOACTIVATE);
    shellHooks.relayout();
}

bool DisplayChange(void)
{
    ChangeDisplay();
    return After(SOAK_DISPLAY_CHANGE);
}

// Something that can break into a gesture: the menu, Escape, a display change.
bool Interruption(POINT p)
{
    int r = Rand(3);
    if (r == 0) return RightClick(p);
    if (r == 1) return Key(VK_ESCAPE, SOAK_KEY_ESCAPE);
    if (g->run->displayChanges) return DisplayChange();
    return Key(VK_F1, SOAK_KEY_F1);
}

bool Drag(void)
{
    const SceneLayout& L = scene.layout;
    POINT p = Chance(85) ? In(L.canvas) : Target();
    if (!PressAt(p)) return false;
    for (int n = Between(1, 25); n > 0; --n) {
        p = Chance(8) ? Target() : Near(p, Between(2, 40));
        if (!Move(p)) return false;
        if (Rand(400) == 0 && !Interruption(p)) return false;
    }
    if (Chance(80)) p = Chance(70) ? Near(p, 3) : In(L.canvas);
    else p = Target();
    return ReleaseAt(p);
}

bool Click(POINT p)
{
    if (!PressAt(p)) return false;
    if (Chance(20) && !Move(Near(p, 2))) return false;
    return ReleaseAt(Chance(85) ? p : Near(p, 3));
}

bool DoubleClick(void)
{
    const SceneLayout& L = scene.layout;
    POINT p = Chance(60) ? (Chance(60) ? In(L.canLids[Rand(SCENE_CANS)]) : In(L.canBodies[Rand(SCENE_CAN_BODIES)]))
                         : Target();
    if (!PressAt(p) || !ReleaseAt(p)) return false;
    g->button = true;
    Deliver(WM_LBUTTONDBLCLK, MK_LBUTTON, p.x, p.y);
    if (!After(SOAK_DOUBLE_CLICK)) return false;
    return ReleaseAt(p);
}

bool HoldC(void)
{
    g->keyC = true;
    Deliver(WM_KEYDOWN, 'C', 1, 0);
    bool going = After(SOAK_KEY_C);
    for (int n = Between(0, 3); going && n > 0; --n) going = Move(Target());
    g->keyC = false;
    Deliver(WM_KEYUP, 'C', 1, 0xC000);
    return going;
}

// One gesture of the child: a few events.
bool Gesture(void)
{
    int r = Rand(1000);
    if (r < 280) {
        for (int n = Between(1, 4); n > 0; --n)
            if (!Move(Target())) return false;
        return true;
    }
    if (r < 560) return Click(Target());
    if (r < 860) return Drag();
    if (r < 900) return DoubleClick();
    if (r < 920) return RightClick(Target());
    if (r < 945) return HoldC();
    if (r < 965) return Key(VK_ESCAPE, SOAK_KEY_ESCAPE);
    if (r < 975) return Key(VK_F1, SOAK_KEY_F1);
    if (r < 977 && g->run->displayChanges) return DisplayChange();
    // A release whose press went elsewhere (a dialog that closed on it).
    if (r < 987) return ReleaseAt(Target());
    return Click(Target());
}

// ---------------------------------------------------------------- invariants

bool Legal(const SceneColor& c) { return c.red <= 65025 && c.green <= 65025 && c.blue <= 65025; }

std::string Say(const char* format, ...)
{
    char text[400];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}

// The pieces that live for the whole run while they exist: the scissors' cut piece, the current
// stamp and its mask.
int ProgramWideBitmaps(void)
{
    return (scissorsPiece.bitmap >= 0) + (stamps_CurrentImage() >= 0) + (stamps_CurrentMask() >= 0);
}

// Outside what the room says changed since the last save of undo, the canvas and the undo copy
// hold the same pixels, else the cleaner bottle would leave part of a change behind; and outside
// what the idle ticks have still to copy, the canvas and the spare do, else a press that takes the
// spare as its undo copy would keep a wrong picture.
std::string Agrees(int copy, const RECT& behind, const char* what)
{
    const TB_DIB* canvas = tb_GetBitmapDIB(scene.canvasBitmap);
    const TB_DIB* other = tb_GetBitmapDIB(copy);
    if (!canvas || !other || !canvas->lpBits || !other->lpBits) return std::string();
    const SceneLayout& L = scene.layout;
    RECT changed;
    if (!IntersectRect(&changed, &behind, &L.picture)) SetRectEmpty(&changed);
    const int stride = grfx_StorageWidth(L.canvasWidth, 24);
    GdiFlush();
    for (int y = 0; y < L.canvasHeight; ++y) {
        const BYTE* c = canvas->lpBits + (size_t)(L.canvasHeight - 1 - y) * stride;
        const BYTE* u = other->lpBits + (size_t)(L.canvasHeight - 1 - y) * stride;
        const bool inside = y >= changed.top && y < changed.bottom;
        for (int x = 0; x < L.canvasWidth; ++x) {
            if (inside && x == changed.left) x = changed.right;
            if (x >= L.canvasWidth) break;
            if (memcmp(c + 3 * x, u + 3 * x, 3) != 0)
                return Say("canvas and %s differ at (%d, %d), outside what changed (%ld, %ld, %ld, %ld); tool %d%s",
                           what, x, y, changed.left, changed.top, changed.right, changed.bottom, scene.currentObject,
                           scene.zoomed ? ", magnified" : "");
        }
    }
    return std::string();
}

std::string UndoAgrees(void)
{
    const std::string undo = Agrees(scene.undoBitmap, scene.undoChanged, "undo copy");
    return undo.empty() ? Agrees(scene.spareBitmap, scene.spareChanged, "spare") : undo;
}

std::string Check(void)
{
    SoakFigures* f = g->figures;
    const SceneLayout& L = scene.layout;
    const int bitmaps = tb_BitmapsInUse(), regions = tb_RegionsInUse(), windows = tb_WindowsInUse();
    if (bitmaps > f->peakBitmaps) f->peakBitmaps = bitmaps;
    if (regions > f->peakRegions) f->peakRegions = regions;
    if (windows > f->peakWindows) f->peakWindows = windows;

    // Between events no file is current; the recovery copy keeps its own off the channel.
    if (tb.file != INVALID_HANDLE_VALUE) return Say("a file was left open on the channel");
    if (recovery.opened != (recovery.file.file != nullptr)) return Say("the recovery copy lost its file");
    if (scene.currentObject < 0 || scene.currentObject >= SCENE_OBJECTS)
        return Say("current tool %d is no tool", scene.currentObject);
    if (scene.currentGroup < 0 || scene.currentGroup >= SCENE_GROUPS)
        return Say("current group %d is no group", scene.currentGroup);
    const SceneColor& c = scene.currentColor;
    if (!Legal(c)) return Say("current colour (%u, %u, %u) off the scale", c.red, c.green, c.blue);
    for (int i = 0; i < SCENE_CANS; ++i)
        if (!Legal(scene.canColors[i])) return Say("can %d's colour off the scale", i);

    RECT client;
    GetClientRect(g->hwnd, &client);
    if (L.width != client.right || L.height != client.bottom)
        return Say("layout %dx%d on a %ldx%ld window", L.width, L.height, client.right, client.bottom);
    if (L.canvas.right - L.canvas.left != L.canvasWidth || L.canvas.bottom - L.canvas.top != L.canvasHeight)
        return Say("canvas rectangle does not match the canvas size %dx%d", L.canvasWidth, L.canvasHeight);
    if (tb_GetBitmapWidth(scene.canvasBitmap) != L.canvasWidth || tb_GetBitmapHeight(scene.canvasBitmap) != L.canvasHeight)
        return Say("canvas bitmap %dx%d, layout's canvas %dx%d", tb_GetBitmapWidth(scene.canvasBitmap),
                   tb_GetBitmapHeight(scene.canvasBitmap), L.canvasWidth, L.canvasHeight);
    if (tb_GetBitmapWidth(scene.undoBitmap) != L.canvasWidth || tb_GetBitmapHeight(scene.undoBitmap) != L.canvasHeight)
        return Say("undo copy %dx%d, canvas %dx%d", tb_GetBitmapWidth(scene.undoBitmap),
                   tb_GetBitmapHeight(scene.undoBitmap), L.canvasWidth, L.canvasHeight);
    if (tb_GetBitmapWidth(scene.sceneBitmap) != L.width || tb_GetBitmapHeight(scene.sceneBitmap) != L.height)
        return Say("scene bitmap %dx%d on a %dx%d layout", tb_GetBitmapWidth(scene.sceneBitmap),
                   tb_GetBitmapHeight(scene.sceneBitmap), L.width, L.height);
    if (scene.zoomed && (scene.scroll.x < 0 || scene.scroll.y < 0 || scene.scroll.x > L.canvasWidth - L.canvasWidth / 2 ||
                         scene.scroll.y > L.canvasHeight - L.canvasHeight / 2))
        return Say("magnified view at (%d, %d) leaves the picture", scene.scroll.x, scene.scroll.y);

    for (int i = 0; i < SCENE_OBJECTS; ++i)
        if (i != scene.currentObject && scene.objects[i].active) return Say("object %d active but not the current tool", i);
    const RECT* clip = tb_ClipOf(scene.sceneBitmap);
    if (clip && clip->left != -1) return Say("scene bitmap left clipped to (%ld, %ld, %ld, %ld)", clip->left, clip->top, clip->right, clip->bottom);

    HWND open = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindDialog, (LPARAM)&open);
    if (open) {
        char caption[256] = {};
        GetWindowTextA(open, caption, sizeof caption);
        return Say("dialog \"%s\" left open after the event", caption);
    }

    if (g->button) return std::string();
    // At rest: no button held. Only a piece or a stamp that follows the pointer stays active.
    const int index = scene.currentObject;
    const SceneObject& o = scene.objects[index];
    const bool follows = (index == 8 && o.mode == 1) || (index >= 15 && index <= 17);
    if (o.active && !follows) return Say("tool %d still active with no button held", index);
    if (g->looping && !o.active) return Say("a looping sound still plays with no button held (tool %d)", index);
    const std::string undo = UndoAgrees();
    if (!undo.empty()) return undo;
    const int allowed = g->baseBitmaps + ProgramWideBitmaps();
    if (bitmaps > allowed)
        return Say("%d bitmap slots in use at rest, %d at start plus %d program-wide", bitmaps, g->baseBitmaps,
                   ProgramWideBitmaps());
    if (regions > g->baseRegions) return Say("%d region slots in use at rest, %d at start", regions, g->baseRegions);
    if (windows > g->baseWindows) return Say("%d window slots in use at rest, %d at start", windows, g->baseWindows);
    // Counted after every event; named only when there are more than at the start.
    size_t threadWindows = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountWindow, (LPARAM)&threadWindows);
    if (threadWindows > g->baseThreadWindows.size())
        return Say("windows of the program at rest: %s; at start: %s", Joined(ThreadWindows()).c_str(),
                   Joined(g->baseThreadWindows).c_str());
    return std::string();
}

// ---------------------------------------------------------------- the run's frame

// A crash ends the process: the seed and the event it happened in are told first.
LONG WINAPI TellCrash(EXCEPTION_POINTERS* info)
{
    if (g) {
        const EXCEPTION_RECORD* r = info->ExceptionRecord;
        char text[256];
        snprintf(text, sizeof text, "seed %u event %ld: crash, exception 0x%08lx at %p\n", g->run->seed,
                 g->figures->events + 1, (unsigned long)r->ExceptionCode, r->ExceptionAddress);
        fputs(text, stdout);
        fputs(text, stderr);
        fflush(stdout);
        fflush(stderr);
    }
    return EXCEPTION_EXECUTE_HANDLER;
}

struct SavedSeams {
    ShellHooks hooks;
    SceneServices services;
    HelpServices help;
    ShellState shellState;
    Preferences preferences;
    int sound;
};

void TempPicture(char* path, int n)
{
    char folder[MAX_PATH] = {};
    GetTempPathA(sizeof folder, folder);
    snprintf(path, MAX_PATH, "%s%lu_soak_%d.bmp", folder, GetCurrentProcessId(), n);
}

// Every kind of dialog opened once and cancelled before the run counts anything: the system keeps
// what it loads for the first file dialog, font list and the like for the rest of the process, and
// the toolbox its cursors.
void WarmUp(void)
{
    g->cancelAll = true;
    pictureCommands.save();
    pictureCommands.open();
    shell_ShowAbout();
    sceneServices.textDialog();
    SceneColor color = scene.currentColor;
    palette_Run(&color);
    prefsDialog_Run();
    remote_Run();
    pictureCommands.browseGallery();
    sceneServices.stampBook(&scene.objects[15]);
    tb_AttentionBox("Warming up.");
    // The toolbox keeps every cursor it has loaded.
    for (int id = 200; id <= 228; ++id) tb_SetCursor(id);
    g->cancelAll = false;
}

}  // namespace

int soak_Window(void)
{
    static int index = TB_NONE;
    if (index >= 0) return index;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "SoakWindow";
    wc.style = CS_DBLCLKS;
    RegisterClassA(&wc);
    tb_SetClassName("SoakWindow");
    RECT r = {0, 0, 800, 600};
    index = tb_OpenWindow(&r, "Tintwell", GetModuleHandleA(nullptr));
    return index;
}

int soak_Run(const SoakRun& run, SoakFigures* figures)
{
    memset(figures, 0, sizeof *figures);
    const int window = soak_Window();
    if (window < 0) {
        snprintf(figures->failure, sizeof figures->failure, "seed %u event 0: no window", run.seed);
        return 0;
    }
    Soak soak;
    soak.run = &run;
    soak.figures = figures;
    soak.random.seed(run.seed);
    soak.hwnd = tb_GetWindowHandle(window);
    soak.button = soak.keyC = soak.looping = soak.cancelAll = soak.memoryDue = false;
    soak.pendingMenuItem = 0;
    for (int i = 0; i < 2; ++i) TempPicture(soak.files[i], i);
    g = &soak;

    SavedSeams saved = {shellHooks, sceneServices, helpServices, shell, preferences, tb_GetSoundPreference()};
    // The recovery copy in a folder of the run's own, written at every idle tick while the picture
    // has changes: the file commands and the display changes meet it half-written.
    const Recovery savedRecovery = recovery;
    char recoveryFolder[MAX_PATH];
    TempPicture(recoveryFolder, 9);
    lstrcatA(recoveryFolder, "\\");
    CreateDirectoryA(recoveryFolder, nullptr);
    lstrcpynA(recovery.folder, recoveryFolder, sizeof recovery.folder);
    recovery.pause = 0;
    tb_SetInputReader(ReadInput);
    shellHooks.dispatch = Dispatch;
    shellHooks.showMenu = ShowMenu;
    shellHooks.closeRequest = CloseRequestOff;
    sceneServices.print = PrintOff;
    sceneServices.writePreferences = WritePreferencesOff;
    sceneServices.dispatchCommand = DispatchFromScene;
    sceneServices.paletteDialog = PaletteForScene;
    helpServices = {WinHelpOff, ShellExecuteOff};
    // New clears at once: the wipes pace themselves on the clock, and a soak of them would be a
    // soak of waiting. The preferences screen may switch them on again.
    preferences = {1, 0, 1};
    tb_SetSoundPreference(1);
    commands.nextAnimation = SHELL_CURTAIN;

    SetWindowPos(soak.hwnd, nullptr, 0, 0, run.width, run.height, SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(soak.hwnd, SW_SHOWNA);
    shell.mainWindow = window;
    shell.started = 1;
    shell.focusLost = 0;
    shell.splashClick = 0;
    scene_ResetRouting();
    // What the process holds before the room is built; compared after it is shut down again.
    soak.cbt = SetWindowsHookExA(WH_CBT, CbtHook, nullptr, GetCurrentThreadId());
    soak.getMessage = SetWindowsHookExA(WH_GETMESSAGE, GetMessageHook, nullptr, GetCurrentThreadId());
    soak.watchdog = SetTimer(nullptr, 0, 200, Watchdog);
    scene_Startup(window);
    WarmUp();
    sceneServices.disposeToolBitmaps();
    scene_Shutdown();
    const long gdiBefore = GdiObjectsInUse();
    scene_Startup(window);

    soak.baseBitmaps = tb_BitmapsInUse() - ProgramWideBitmaps();
    soak.baseRegions = tb_RegionsInUse();
    soak.baseWindows = tb_WindowsInUse();
    figures->startBitmaps = figures->peakBitmaps = soak.baseBitmaps;
    figures->startRegions = figures->peakRegions = soak.baseRegions;
    figures->startWindows = figures->peakWindows = soak.baseWindows;
    soak.baseThreadWindows = ThreadWindows();
    soak.gdiRoom = GdiObjectsInUse() - 2 * tb_PooledSurfaces();
    tb_SetSoundObserver(HearSound);

    LPTOP_LEVEL_EXCEPTION_FILTER previousFilter = SetUnhandledExceptionFilter(TellCrash);
    DWORD start = GetTickCount();
    soak.start = start;
    std::string broken = Check();
    if (!broken.empty())
        snprintf(figures->failure, sizeof figures->failure, "seed %u event 0: %s", run.seed, broken.c_str());
    else
        while (Gesture()) {
        }
    figures->milliseconds = double(GetTickCount() - start);
    const std::string grown = MemoryGrowth();
    if (!figures->failure[0] && !grown.empty())
        snprintf(figures->failure, sizeof figures->failure, "seed %u event %ld: %s", run.seed, figures->events,
                 grown.c_str());

    SetUnhandledExceptionFilter(previousFilter);
    KillTimer(nullptr, soak.watchdog);
    UnhookWindowsHookEx(soak.cbt);
    UnhookWindowsHookEx(soak.getMessage);
    // Shut down as the program does on its way out: the tools' own pictures, then the room.
    soak.button = soak.keyC = false;
    sceneServices.disposeToolBitmaps();
    scene_Shutdown();
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    for (int i = 0; i < 2; ++i) figures->picturesSaved += DeleteFileA(soak.files[i]) ? 1 : 0;
    tb_SetSoundObserver(nullptr);
    figures->gdiGrowth = GdiObjectsInUse() - gdiBefore;
    if (!figures->failure[0] && figures->gdiGrowth > kGdiSlack)
        snprintf(figures->failure, sizeof figures->failure, "seed %u event %ld: %ld more GDI objects after the room was shut down",
                 run.seed, figures->events, figures->gdiGrowth);

    recovery_Remove();
    RemoveDirectoryA(recoveryFolder);
    recovery = savedRecovery;
    tb_SetInputReader(nullptr);
    shellHooks = saved.hooks;
    sceneServices = saved.services;
    helpServices = saved.help;
    shell = saved.shellState;
    preferences = saved.preferences;
    tb_SetSoundPreference(saved.sound);
    g = nullptr;
    return figures->failure[0] == 0;
}

void soak_PrintFigures(FILE* out, const SoakRun& run, const SoakFigures& f)
{
    static const char* kinds[SOAK_KINDS] = {"move", "press", "drag", "release", "double", "right", "C", "Escape", "F1",
                                            "display"};
    static const char* commandNames[8] = {"Quit", "Save", "New", "Open", "About", "Help", "Preferences", "Gallery"};
    fprintf(out, "soak seed %u, %dx%d%s: %ld events in %.1f s (%.0f events/s)\n", run.seed, run.width, run.height,
            run.displayChanges ? " with display changes" : "", f.events, f.milliseconds / 1000.0,
            f.milliseconds > 0 ? f.events * 1000.0 / f.milliseconds : 0.0);
    fprintf(out, "  events:");
    for (int i = 0; i < SOAK_KINDS; ++i) fprintf(out, " %s %ld", kinds[i], f.kinds[i]);
    int tools = 0;
    for (long n : f.toolPresses) tools += n > 0;
    fprintf(out, "\n  tools pressed on the canvas: %d of 30 (", tools);
    for (int i = 0; i < 30; ++i) fprintf(out, "%s%ld", i ? " " : "", f.toolPresses[i]);
    fprintf(out, ")\n  dialogs %ld, message boxes %ld, file dialogs %ld, watchdog cancels %ld\n", f.dialogs,
            f.messageBoxes, f.fileDialogs, f.nudged);
    fprintf(out, "  commands:");
    for (int i = 0; i < 8; ++i) fprintf(out, " %s %ld", commandNames[i], f.commands[i]);
    fprintf(out, "; menus dismissed %ld; prints %ld; preference writes %ld\n", f.menusDismissed, f.prints,
            f.preferenceWrites);
    fprintf(out, "  display changes %ld; pictures saved %ld; GDI objects after the run %+ld\n", f.displayChanges,
            f.picturesSaved, f.gdiGrowth);
    fprintf(out, "  slots at start / peak: bitmaps %d / %d, regions %d / %d, windows %d / %d\n", f.startBitmaps,
            f.peakBitmaps, f.startRegions, f.peakRegions, f.startWindows, f.peakWindows);
    fprintf(out, "  private bytes at rest on %dx%d, %ld samples (less the kept surfaces, at most %.0f kB): first third "
                 "%.0f kB, last third %.0f kB, peak %.0f kB\n",
            run.width, run.height, f.privateSamples, f.pooledPeakKb, f.privateFirstKb, f.privateLastKb, f.privatePeakKb);
    if (f.failure[0]) fprintf(out, "%s\n", f.failure);
    fflush(out);
}
