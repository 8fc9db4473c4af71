// Sounds, cursors, timing, random numbers, rounding and input state.
#include <cmath>
#include <cstdlib>
#include <ctime>

#include "tb_internal.h"

#include <mmsystem.h>

// ---------------------------------------------------------------- sounds

void tb_SetSoundPreference(int on) { tb.soundOn = on; }

int tb_GetSoundPreference(void) { return tb.soundOn; }

void tb_SetSoundObserver(TB_SoundObserver observer) { tb.soundObserver = observer; }

static void tb_NotifySound(TB_SoundKind kind, int id)
{
    if (tb.soundObserver) tb.soundObserver(kind, id);
}

// The multimedia library's calls, found when first needed.
static BOOL tb_PlayWave(LPCSTR sound, HMODULE module, DWORD flags)
{
    typedef BOOL(WINAPI * PlaySoundProc)(LPCSTR, HMODULE, DWORD);
    static PlaySoundProc play = (PlaySoundProc)(void*)tb_SystemProc("WINMM", "PlaySoundA");
    return play ? play(sound, module, flags) : FALSE;
}

static DWORD tb_Milliseconds(void)
{
    typedef DWORD(WINAPI * TimeProc)(void);
    static TimeProc time = (TimeProc)(void*)tb_SystemProc("WINMM", "timeGetTime");
    return time ? time() : GetTickCount();
}

// Starts the WAVE resource of the program module with the given number.
static void tb_StartWave(TB_SoundKind kind, int id, DWORD flags)
{
    WORD number = (WORD)id;
    tb_NotifySound(kind, number);
    tb_PlayWave(MAKEINTRESOURCEA(number), tb.instance, SND_RESOURCE | SND_ASYNC | flags);
}

void tb_PlaySound(int id)
{
    if ((short)id > 0 && tb.soundOn) tb_StartWave(TB_SOUND_PLAY, id, 0);
}

void tb_PlaySoundNoStop(int id)
{
    if ((short)id > 0 && tb.soundOn) tb_StartWave(TB_SOUND_NOSTOP, id, SND_NOSTOP);
}

void tb_LoopSound(int id)
{
    if (tb.soundOn) tb_StartWave(TB_SOUND_LOOP, id, SND_LOOP);
}

// Stops whatever is playing, a looping sound too, whether sounds are on or not.
void tb_StopSound(void)
{
    tb_NotifySound(TB_SOUND_STOP, 0);
    tb_PlayWave(nullptr, nullptr, 0);
}

void tb_Beep(void)
{
    if (!tb.soundOn) return;
    tb_NotifySound(TB_SOUND_BEEP, 0);
    MessageBeep(MB_ICONEXCLAMATION);
}

// ---------------------------------------------------------------- cursor

// Cursors are shared resources that stay loaded for the life of the module, so each is looked up
// once: the pointer handlers set the cursor on every mouse move.
static HCURSOR tb_LoadCursorCached(int cursorId)
{
    struct Entry {
        HINSTANCE module;
        WORD id;
        HCURSOR cursor;
    };
    static Entry cache[64];
    static int used;
    WORD id = (WORD)cursorId;
    for (int i = 0; i < used; ++i)
        if (cache[i].module == tb.instance && cache[i].id == id) return cache[i].cursor;
    HCURSOR cursor = LoadCursorA(tb.instance, MAKEINTRESOURCEA(id));
    if (cursor && used < (int)(sizeof cache / sizeof cache[0])) cache[used++] = {tb.instance, id, cursor};
    return cursor;
}

static unsigned tb_cursorSets;
static int tb_lastCursorId;
static HCURSOR tb_shownCursor;
static bool tb_cursorKnown;  // the system shows tb_shownCursor, set here last

HCURSOR tb_SetCursor(int cursorId)
{
    ++tb_cursorSets;
    HCURSOR cursor = tb_LoadCursorCached(cursorId);
    if (tb_cursorKnown && cursorId == tb_lastCursorId && cursor == tb_shownCursor) return cursor;
    tb_lastCursorId = cursorId;
    tb_shownCursor = cursor;
    tb_cursorKnown = true;
    return SetCursor(cursor);
}

void tb_ForgetCursor(void) { tb_cursorKnown = false; }

unsigned tb_CursorSets(int* lastId)
{
    if (lastId) *lastId = tb_lastCursorId;
    return tb_cursorSets;
}

// ---------------------------------------------------------------- time

static TB_Clock clockReader = nullptr;

void tb_SetClock(TB_Clock reader) { clockReader = reader; }

DWORD tb_GetTime(void) { return clockReader ? clockReader() : tb_Milliseconds(); }

// Spins on the millisecond clock; the unsigned difference survives the clock wrapping round.
void tb_Wait(DWORD milliseconds)
{
    DWORD start = tb_GetTime();
    while ((DWORD)(tb_GetTime() - start) < milliseconds) {
    }
}

// ---------------------------------------------------------------- random numbers and rounding

// The span is counted in 64 bits: over the whole int range it does not fit an int, and for a
// reversed pair (high = low - 1) it is empty; neither divides by zero, and the clamp settles them.
int tb_Random(int low, int high)
{
    long long span = (long long)high - low + 1;
    long long r = rand();
    long long v = low + (span > 0 ? r % span : r);
    if (v < low) v = low;
    if (v > high) v = high;
    return (int)v;
}

int tb_RandomSeed(int low, int high, int reseed)
{
    if (reseed) srand((unsigned)time(nullptr));
    return tb_Random(low, high);
}

// Rounds by the remainder over the truncated value: every value below 1 gives 0, and
// negative values are never rounded away from zero (-2.7 gives -2).
int tb_Round(double value)
{
    int t = (int)value;
    if (t == 0) return 0;
    return std::fmod(value, (double)t) >= 0.5 ? t + 1 : t;
}

int tb_Trunc(double value) { return (int)value; }

// ---------------------------------------------------------------- mouse and keys

void tb_SetButtonMode(int mode) { tb.buttonMode = mode; }

void tb_SetPointerMode(int mode) { tb.pointerMode = (short)mode; }

static TB_InputReader inputReader = nullptr;

void tb_SetInputReader(TB_InputReader reader) { inputReader = reader; }

static int tb_AsyncDown(int virtualKey)
{
    if (inputReader) return inputReader(virtualKey) != 0;
    return (GetAsyncKeyState(virtualKey) & 0xFF00) != 0;
}

static int pointerKeys = -1;

int tb_SetPointerKeys(int keys)
{
    int before = pointerKeys;
    pointerKeys = keys;
    return before;
}

// A message's flags name the buttons as the program sees them (MK_LBUTTON is the primary button,
// whichever the user has chosen). The asynchronous state is that of the physical buttons, so the
// primary button is the right one when the user has swapped them.
int tb_IsMouseDown(void)
{
    if (pointerKeys >= 0) {
        int buttons = tb.buttonMode == 0 ? MK_LBUTTON : (MK_LBUTTON | MK_RBUTTON);
        return (pointerKeys & buttons) != 0;
    }
    if (tb.buttonMode == 0) return tb_AsyncDown(GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON);
    return tb_AsyncDown(VK_LBUTTON) || tb_AsyncDown(VK_RBUTTON);
}

int tb_IsKeyDown(int virtualKey) { return tb_AsyncDown(virtualKey); }

void tb_GetCursorPos(POINT* point)
{
    if (tb.pointerMode == 1) {
        GetCursorPos(point);
    } else if (tb.pointerMode == 2) {
        POINT p;
        GetCursorPos(&p);
        ScreenToClient(tb.mainWindow, &p);
        *point = p;
    }
}

void tb_SetCursorPos(int x, int y)
{
    if (tb.pointerMode == 1) {
        SetCursorPos(x, y);
    } else if (tb.pointerMode == 2) {
        POINT p = {x, y};
        ClientToScreen(tb.mainWindow, &p);
        SetCursorPos(p.x, p.y);
    }
}
