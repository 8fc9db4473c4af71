// New's clearing of the canvas: four wipe animations used in turn (curtain, melt, shrink, slide),
// each with its sound, or, with the animation preference off, a beep and a plain white canvas.
//
// Every frame notes the clock, draws into the canvas bitmap, refreshes the canvas on the window
// and waits, polling the clock, until its period has passed. The old picture is kept in the undo
// copy, from which the frames draw.
#include <algorithm>

#include "pictures/preferences.h"
#include "scene/scene.h"
#include "shell/shell.h"
#include "toolbox.h"

ShellClearingStats shellClearingStats;

namespace {

enum { SOUND_CURTAIN = 1016, SOUND_MELT = 1017, SOUND_SLIDE = 1018, SOUND_SHRINK = 1031 };
enum { MELT_COLUMNS = 100 };

struct Frame {
    DWORD start;
};

Frame BeginFrame(void) { return Frame{tb_GetTime()}; }

// Shows what the frame drew and waits out the rest of its period.
void EndFrame(const Frame& frame, DWORD period)
{
    scene_Refresh(&scene.layout.canvas);
    GdiFlush();
    DWORD work = tb_GetTime() - frame.start;
    ShellClearingStats& s = shellClearingStats;
    ++s.frames;
    s.periodSum += period;
    s.period = period;
    if (work > s.slowestWork) s.slowestWork = work;
    if (work > period) ++s.late;
    while (tb_GetTime() - frame.start < period) Sleep(0);
}

void White(int left, int top, int right, int bottom)
{
    if (right <= left || bottom <= top) return;
    RECT r = {left, top, right, bottom};
    tb_PaintRect(scene.canvasBitmap, &r);
}

// Copies a part of the old picture into a part of the canvas, stretched when the sizes differ.
void FromOld(int sl, int st, int sr, int sb, int dl, int dt, int dr, int db)
{
    if (sr <= sl || sb <= st || dr <= dl || db <= dt) return;
    RECT source = {sl, st, sr, sb}, dest = {dl, dt, dr, db};
    tb_CopyBitmap(scene.undoBitmap, scene.canvasBitmap, &source, &dest);
}

void Curtain(int cw, int ch)
{
    int r = tb_Random(0, 100);
    if (r >= 50) {
        // A white band comes down from the top.
        for (int v = 10; v <= ch; v += std::max(ch / 50, 1)) {
            Frame f = BeginFrame();
            White(0, 0, cw, v);
            EndFrame(f, 15);
        }
    } else {
        // Two white bands close in from the sides.
        for (int v = 10; v <= cw / 2; v += std::max(cw / 50, 1)) {
            Frame f = BeginFrame();
            White(0, 0, v, ch);
            White(cw - v, 0, cw, ch);
            EndFrame(f, 30);
        }
    }
}

void Melt(int cw, int ch)
{
    const int w = cw / MELT_COLUMNS + 1;
    int speed[MELT_COLUMNS], drop[MELT_COLUMNS];
    int m = 0;
    for (int i = 0; i < MELT_COLUMNS; ++i) {
        speed[i] = tb_Random(ch / 20, ch / 20 + 10);
        drop[i] = 0;
        if (i == 0 || speed[i] < m) m = speed[i];
    }
    m = std::max(m, 1);
    int v = ch;
    for (int t = 0; t <= ch; t += m) {
        Frame f = BeginFrame();
        v = std::min(std::max(v - 2 * m, 0), ch);
        for (int i = 0; i < MELT_COLUMNS; ++i) {
            int x0 = i * w;
            if (x0 >= cw) break;
            drop[i] += speed[i];
            int d = std::min(drop[i], ch);
            // The column slides down, squeezed, and leaves white above it.
            FromOld(x0, 0, x0 + w, v, x0, d, x0 + w, ch);
            White(x0, 0, x0 + w, d);
        }
        EndFrame(f, 30);
    }
}

void Shrink(int cw, int ch)
{
    const int sx = cw / 30 + 1, sy = ch / 30 + 1;
    int l = 0, t = 0, r = cw, b = ch;
    while (l <= cw / 2 || t <= ch / 2) {
        Frame f = BeginFrame();
        White(l, t, r, b);
        l += sx;
        r = std::max(r - sx, l);
        t += sy;
        b = std::max(b - sy, t);
        FromOld(0, 0, cw, ch, l, t, r, b);
        EndFrame(f, 30);
    }
}

void Slide(int cw, int ch)
{
    const int sx = cw / 30 + 1, sy = ch / 30 + 1;
    int direction = tb_Random(0, 3);
    int l = 0, t = 0, r = cw, b = ch;
    for (;;) {
        bool more = direction == 0 ? l <= cw : direction == 1 ? r >= 0 : direction == 2 ? t <= ch : b >= 0;
        if (!more) return;
        Frame f = BeginFrame();
        White(l, t, r, b);
        switch (direction) {
        case 0:  // the picture leaves to the right
            l += sx;
            FromOld(0, 0, cw - l, ch, l, t, r, b);
            break;
        case 1:  // to the left
            r -= sx;
            FromOld(cw - r, 0, cw, ch, l, t, r, b);
            break;
        case 2:  // downwards
            t += sy;
            FromOld(0, 0, cw, ch - t, l, t, r, b);
            break;
        default:  // upwards
            b -= sy;
            FromOld(0, ch - b, cw, ch, l, t, r, b);
            break;
        }
        EndFrame(f, 30);
    }
}

}  // namespace

void shell_RunClearing(int type)
{
    const SceneLayout& L = scene.layout;
    const int cw = L.canvasWidth, ch = L.canvasHeight;
    shellClearingStats = ShellClearingStats{};
    scene_SaveUndo();
    tb_SetClipRect(scene.sceneBitmap, &L.canvas);
    tb_SetForeColor(scene.canvasBitmap, 65025, 65025, 65025);
    switch (type) {
    case SHELL_CURTAIN: Curtain(cw, ch); break;
    case SHELL_MELT: Melt(cw, ch); break;
    case SHELL_SHRINK: Shrink(cw, ch); break;
    default: Slide(cw, ch); break;
    }
    White(0, 0, cw, ch);
    scene_Refresh(&L.canvas);
    tb_ClearClipRect(scene.sceneBitmap);
}

void shell_ClearCanvasForNew(void)
{
    static const int sounds[] = {0, SOUND_CURTAIN, SOUND_MELT, SOUND_SHRINK, SOUND_SLIDE};
    if (preferences.animation) {
        int type = commands.nextAnimation;
        if (type < SHELL_CURTAIN || type > SHELL_SLIDE) type = SHELL_CURTAIN;
        tb_PlaySoundNoStop(sounds[type]);
        shell_RunClearing(type);
        commands.nextAnimation = type % SHELL_SLIDE + 1;
    } else {
        tb_Beep();
        tb_SetForeColor(scene.canvasBitmap, 65025, 65025, 65025);
        tb_PaintRect(scene.canvasBitmap, &scene.layout.picture);
        scene_Refresh(&scene.layout.canvas);
    }
    lstrcpynA(scene.fileName, "Tintwell.bmp", sizeof scene.fileName);
}
