// New's clearing of the canvas: four wipe animations used in turn (curtain, melt, shrink, slide),
// each with its sound, or, with the animation preference off, a beep and a plain white canvas.
//
// Every frame notes the clock, draws into the canvas bitmap, shows on the window what it changed
// and waits, polling the clock, until its period has passed. The old picture is kept in the undo
// copy, from which the frames draw.
#include <algorithm>
#include <cstring>
#include <vector>

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

// Shows a part of the picture that the frame changed (picture coordinates). The frames go
// straight from the canvas bitmap to the window: the scene bitmap takes the cleared picture once,
// at the end.
void Show(RECT changed)
{
    const SceneLayout& L = scene.layout;
    RECT inside;
    if (IntersectRect(&inside, &changed, &L.picture)) {
        if (scene.zoomed) {
            scene_Refresh(&L.canvas);
        } else if (scene.mainWindow >= 0 && tb_GetWindowHandle(scene.mainWindow)) {
            RECT onWindow = inside;
            OffsetRect(&onWindow, L.origin.x, L.origin.y);
            tb_CopyBitmap(scene.canvasBitmap, scene.mainWindow, &inside, &onWindow);
        }
    }
}

void EndFrame(const Frame& frame, DWORD period)
{
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
        int shown = 0;
        for (int v = 10; v <= ch; v += std::max(ch / 50, 1)) {
            Frame f = BeginFrame();
            White(0, 0, cw, v);
            Show(RECT{0, shown, cw, v});
            EndFrame(f, 15);
            shown = v;
        }
    } else {
        // Two white bands close in from the sides.
        int shown = 0;
        for (int v = 10; v <= cw / 2; v += std::max(cw / 50, 1)) {
            Frame f = BeginFrame();
            White(0, 0, v, ch);
            White(cw - v, 0, cw, ch);
            // Only the strips that turned white since the last frame.
            Show(RECT{shown, 0, v, ch});
            Show(RECT{cw - v, 0, cw - shown, ch});
            EndFrame(f, 30);
            shown = v;
        }
    }
}

// The 24-bit pixel row y (top row 0) of an image, or nullptr.
BYTE* Row(TB_DIB* dib, int y)
{
    return dib->lpBits + (size_t)(grfx_Height(dib) - 1 - y) * grfx_StorageWidth(grfx_Width(dib), 24);
}

bool Plain24(TB_DIB* dib, int cw, int ch)
{
    return dib && dib->lpBits && grfx_BitCount(dib) == 24 && grfx_Width(dib) >= cw && grfx_Height(dib) >= ch;
}

// The smallest rectangle around the picture's pixels that are not white (empty when none); left at
// -1 when the picture is not a plain 24-bit pixel array.
RECT StillDrawn(int cw, int ch)
{
    RECT r = {-1, -1, -1, -1};
    TB_DIB* canvas = tb_GetBitmapDIB(scene.canvasBitmap);
    if (!Plain24(canvas, cw, ch)) return r;
    GdiFlush();
    // Most rows are white by the end: a row compared whole against a white one costs a fraction of
    // the pixel by pixel look, which only the others get.
    const std::vector<BYTE> white((size_t)cw * 3, 255);
    int top = ch, bottom = -1, first = cw, last = -1;
    for (int y = 0; y < ch; ++y) {
        const BYTE* row = Row(canvas, y);
        if (memcmp(row, white.data(), white.size()) == 0) continue;
        int x = 0;
        while (x < cw && row[3 * x] == 255 && row[3 * x + 1] == 255 && row[3 * x + 2] == 255) ++x;
        if (x == cw) continue;
        int z = cw - 1;
        while (row[3 * z] == 255 && row[3 * z + 1] == 255 && row[3 * z + 2] == 255) --z;
        top = std::min(top, y);
        bottom = y;
        first = std::min(first, x);
        last = std::max(last, z);
    }
    if (bottom < 0) return RECT{0, 0, 0, 0};
    return RECT{first, top, last + 1, bottom + 1};
}

// One melt frame straight in the pixels: each column's top turns white down to its drop, and the
// old picture's top v rows are squeezed (nearest row) into the rest of the column. Gives what the
// stretched copies give, without a hundred system calls per frame; false when the images are not
// plain 24-bit pixel arrays.
bool MeltInPixels(int cw, int ch, int w, const int* drop, int v)
{
    TB_DIB* canvas = tb_GetBitmapDIB(scene.canvasBitmap);
    TB_DIB* old = tb_GetBitmapDIB(scene.undoBitmap);
    if (!Plain24(canvas, cw, ch) || !Plain24(old, cw, ch)) return false;
    GdiFlush();  // the system may still be drawing into the picture
    for (int i = 0; i < MELT_COLUMNS; ++i) {
        int x0 = i * w;
        if (x0 >= cw) break;
        size_t bytes = (size_t)(std::min(x0 + w, cw) - x0) * 3;
        int d = std::min(drop[i], ch);
        for (int y = 0; y < d; ++y) memset(Row(canvas, y) + x0 * 3, 255, bytes);
        if (v <= 0) continue;
        for (int y = d; y < ch; ++y) {
            int sy = (int)((long long)(y - d) * v / (ch - d));
            memcpy(Row(canvas, y) + x0 * 3, Row(old, sy) + x0 * 3, bytes);
        }
    }
    return true;
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
        for (int i = 0; i < MELT_COLUMNS; ++i) drop[i] += speed[i];
        if (!MeltInPixels(cw, ch, w, drop, v)) {
            for (int i = 0; i < MELT_COLUMNS; ++i) {
                int x0 = i * w;
                if (x0 >= cw) break;
                int d = std::min(drop[i], ch);
                // The column slides down, squeezed, and leaves white above it.
                FromOld(x0, 0, x0 + w, v, x0, d, x0 + w, ch);
                White(x0, 0, x0 + w, d);
            }
        }
        Show(RECT{0, 0, cw, ch});
        EndFrame(f, 30);
    }
}

// The whole old picture squeezed (nearest pixel) into (l, t, r, b) of the canvas, straight in the
// pixels: what the stretched copy gives, at a fraction of its cost on a large canvas; false when
// the images are not plain 24-bit pixel arrays.
bool ShrinkInPixels(int cw, int ch, int l, int t, int r, int b)
{
    TB_DIB* canvas = tb_GetBitmapDIB(scene.canvasBitmap);
    TB_DIB* old = tb_GetBitmapDIB(scene.undoBitmap);
    if (!Plain24(canvas, cw, ch) || !Plain24(old, cw, ch)) return false;
    const int w = r - l, h = b - t;
    if (w <= 0 || h <= 0) return true;
    std::vector<int> from((size_t)w);
    for (int x = 0; x < w; ++x) from[(size_t)x] = (int)((long long)x * cw / w) * 3;
    GdiFlush();  // the system may still be drawing into the picture
    for (int y = 0; y < h; ++y) {
        const BYTE* source = Row(old, (int)((long long)y * ch / h));
        BYTE* to = Row(canvas, t + y) + (size_t)l * 3;
        for (int x = 0; x < w; ++x, to += 3) memcpy(to, source + from[(size_t)x], 3);
    }
    return true;
}

void Shrink(int cw, int ch)
{
    const int sx = cw / 30 + 1, sy = ch / 30 + 1;
    int l = 0, t = 0, r = cw, b = ch;
    while (l <= cw / 2 || t <= ch / 2) {
        Frame f = BeginFrame();
        RECT before = {l, t, r, b};
        l += sx;
        r = std::max(r - sx, l);
        t += sy;
        b = std::max(b - sy, t);
        if (ShrinkInPixels(cw, ch, l, t, r, b)) {
            // The old rectangle turns white around the new one, which the squeezed picture fills.
            White(before.left, before.top, before.right, std::min<int>(t, before.bottom));
            White(before.left, std::max<int>(b, before.top), before.right, before.bottom);
            White(before.left, t, std::min<int>(l, before.right), b);
            White(std::max<int>(r, before.left), t, before.right, b);
        } else {
            White(before.left, before.top, before.right, before.bottom);
            FromOld(0, 0, cw, ch, l, t, r, b);
        }
        Show(before);
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
        RECT before = {l, t, r, b};
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
        Show(before);
        EndFrame(f, 30);
    }
}

}  // namespace

void shell_RunClearing(int type)
{
    const SceneLayout& L = scene.layout;
    const int cw = L.canvasWidth, ch = L.canvasHeight;
    shellClearingStats = ShellClearingStats{};
    DWORD start = tb_GetTime();
    scene_SaveUndo();
    scene_PictureChanged(nullptr);  // every frame draws into the picture
    tb_SetClipRect(scene.sceneBitmap, &L.canvas);
    tb_SetForeColor(scene.canvasBitmap, 65025, 65025, 65025);
    GdiFlush();
    shellClearingStats.setup = tb_GetTime() - start;
    switch (type) {
    case SHELL_CURTAIN: Curtain(cw, ch); break;
    case SHELL_MELT: Melt(cw, ch); break;
    case SHELL_SHRINK: Shrink(cw, ch); break;
    default: Slide(cw, ch); break;
    }
    DWORD end = tb_GetTime();
    // The window shows what the last frame drew: only what is not white yet goes to it.
    RECT left = StillDrawn(cw, ch);
    if (left.left < 0) White(0, 0, cw, ch);
    else White(left.left, left.top, left.right, left.bottom);  // the rest is white already
    if (left.left < 0 || scene.zoomed) {
        scene_Refresh(&L.canvas);
    } else {
        tb_SetForeColor(scene.sceneBitmap, 65025, 65025, 65025);
        tb_PaintRect(scene.sceneBitmap, &L.canvas);  // the canvas view of a white picture
        SetRectEmpty(&scene.viewBehind);
        if (!IsRectEmpty(&left)) {
            OffsetRect(&left, L.origin.x, L.origin.y);
            scene_ShowRect(&left);
        }
    }
    tb_ClearClipRect(scene.sceneBitmap);
    GdiFlush();
    shellClearingStats.finish = tb_GetTime() - end;
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
        scene_PictureChanged(nullptr);
        scene_Refresh(&scene.layout.canvas);
    }
    lstrcpynA(scene.fileName, "Tintwell.bmp", sizeof scene.fileName);
}
