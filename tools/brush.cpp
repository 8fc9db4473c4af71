// The brush and the effect brushes stamp one dab per press and per move: the square under the
// pointer is copied into a scratch bitmap, painted or filtered there, and copied back through a
// footprint of five rectangles, so that the scratch's outermost pixels (which the kernels darken
// for want of neighbours) never reach the picture.
#include "tools/brush.h"

#include <cmath>

#include "toolbox.h"
#include "tools/effects.h"
#include "tools/pencil.h"

const PanelBar panelC[BAR_PANEL_BARS] = {{6, 21, 16}, {27, 50, 28}, {57, 89, 40}};
const PanelBar panelE[BAR_PANEL_BARS] = {{6, 21, 24}, {27, 50, 32}, {57, 89, 48}};

namespace {

const int kPanelWidth = 94, kPanelHeight = 82;
const int kBarTop = 9, kBarBottom = 73;       // panel C and E
const int kCrayonBarBottom = 50;              // panel D

// Panel D's three channel swatches and their colours.
const RECT kSwatches[3] = {{6, 60, 28, 73}, {36, 60, 58, 73}, {66, 60, 88, 73}};
const long kSwatchColors[3][3] = {{65025, 40800, 40800}, {40800, 65025, 40800}, {40800, 40800, 65025}};

int Half(int size) { return size / 2 >= 1 ? size / 2 : 1; }

// A blank white panel, or -1.
int WhitePanel(RECT* whole)
{
    tb_SetRect(whole, 0, 0, kPanelWidth, kPanelHeight);
    RECT r = *whole;
    int panel = tb_CreateBitmap(&r, TB_SOURCE_BLANK, 24);
    if (panel < 0) return -1;
    tb_SetForeColor(panel, 65025, 65025, 65025);
    tb_SetBackColor(panel, 65025, 65025, 65025);
    tb_PaintRect(panel, whole);
    return panel;
}

void ShowPanel(int panel, SceneObject* object, const RECT* whole, const RECT* rect)
{
    tb_CopyBitmap(panel, object->sceneBitmap, whole, rect);
    tb_DisposeBitmap(panel);
}

// The part of the square R that lies on the picture, in the square's own coordinates; false when
// the square misses the picture.
bool VisiblePart(int picture, const RECT& square, RECT* q)
{
    RECT whole;
    tb_GetBitmapRect(picture, &whole);
    RECT inside;
    tb_IntersectRect(&inside, &square, &whole);
    if (inside.right <= inside.left || inside.bottom <= inside.top) {
        tb_SetRect(q, 0, 0, 0, 0);
        return false;
    }
    *q = inside;
    tb_OffsetRect(q, -square.left, -square.top);
    return true;
}

int Within(int v, int high) { return v < 0 ? 0 : (v > high ? high : v); }

// Where the square reaches beyond the source, the scratch repeats the source's nearest pixel: the
// kernels then blend the picture's edge with itself, as they blend its middle, instead of with the
// black of a fresh bitmap.
void RepeatEdges(int source, int scratch, const RECT& square, int w)
{
    const TB_DIB* from = tb_GetBitmapDIB(source);
    TB_DIB* to = tb_GetBitmapDIB(scratch);
    if (!from || !to || !from->lpBits || !to->lpBits) return;
    const int width = grfx_Width(from), height = grfx_Height(from);
    if (width <= 0 || height <= 0) return;
    if (square.left >= 0 && square.top >= 0 && square.right <= width && square.bottom <= height) return;
    GdiFlush();
    for (int y = 0; y < w; ++y)
        for (int x = 0; x < w; ++x) {
            const int px = square.left + x, py = square.top + y;
            if (px >= 0 && px < width && py >= 0 && py < height) continue;
            BYTE r, g, b;
            grfx_GetPixel24(from, Within(px, width - 1), Within(py, height - 1), &r, &g, &b);
            grfx_SetPixel24(to, x, y, r, g, b);
        }
}

// A w x w scratch holding the square R of the source, or -1.
int ScratchOf(int source, const RECT& square, int w)
{
    RECT r = {0, 0, w, w};
    int scratch = tb_CreateBitmap(&r, TB_SOURCE_BLANK, 24);
    if (scratch < 0) return -1;
    RECT whole = {0, 0, w, w};
    tb_CopyBitmap(source, scratch, &square, &whole);
    RepeatEdges(source, scratch, square, w);
    return scratch;
}

void ApplyEffect(SceneObject* object, int scratch, const RECT* q)
{
    switch (object->mode) {
    case 1: tb_Sharpen(scratch, q); break;
    case 2: tb_Darken(scratch, q, 5); break;
    case 3: tb_Brighten(scratch, q, 5); break;
    case 4: tb_Soften3(scratch, q); break;
    case 5:
        if (object->red == 1) tb_RedBoost(scratch, q, 20);
        if (object->green == 1) tb_GreenBoost(scratch, q, 20);
        if (object->blue == 1) tb_BlueBoost(scratch, q, 20);
        break;
    case 6: tb_Noise(scratch, q, 10); break;
    case 7: tb_Emboss(scratch, q); break;
    default: break;
    }
}

void StartStroke(SceneObject* object)
{
    if (object->soundId) tb_LoopSound(object->soundId);
    object->active = 1;
}

void BrushPress(SceneObject* object, int x, int y)
{
    StartStroke(object);
    brush_Dab(object, x, y);
    tb_SetCursor(object->cursorId);
}

void BrushDrag(SceneObject* object, int x, int y)
{
    if (object->active) brush_Dab(object, x, y);
    tb_SetCursor(object->cursorId);
}

void EffectPress(SceneObject* object, int x, int y)
{
    // The routing has just saved the picture as it was before this stroke.
    object->previewWindow = scene.undoBitmap;
    StartStroke(object);
    effectBrush_Dab(object, x, y);
    tb_SetCursor(object->cursorId);
}

void EffectDrag(SceneObject* object, int x, int y)
{
    if (object->active) effectBrush_Dab(object, x, y);
    tb_SetCursor(object->cursorId);
}

void DabRelease(SceneObject* object, int x, int y)
{
    tb_StopSound();
    object->active = 0;
}

}  // namespace

// ---------------------------------------------------------------- panels

void barPanel_DrawBars(int bitmap, const PanelBar bars[BAR_PANEL_BARS], int top, int bottom, int size)
{
    for (int i = 0; i < BAR_PANEL_BARS; ++i) {
        if (bars[i].size == size)
            tb_SetForeColor(bitmap, 0, 65025, 0);
        else
            tb_SetForeColor(bitmap, 0, 0, 0);
        RECT r = {bars[i].left, top, bars[i].right, bottom};
        tb_PaintRect(bitmap, &r);
    }
}

int barPanel_SizeAt(const PanelBar bars[BAR_PANEL_BARS], int top, int bottom, int px, int py, int current)
{
    int size = current;
    if (py < top || py >= bottom) return size;
    for (int i = 0; i < BAR_PANEL_BARS; ++i)
        if (px >= bars[i].left && px < bars[i].right) size = bars[i].size;
    return size;
}

void barPanel_Draw(SceneObject* object, const RECT* rect, const PanelBar bars[BAR_PANEL_BARS])
{
    RECT whole;
    int panel = WhitePanel(&whole);
    if (panel < 0) return;
    barPanel_DrawBars(panel, bars, kBarTop, kBarBottom, object->size);
    ShowPanel(panel, object, &whole, rect);
}

void panelC_Draw(SceneObject* object, const RECT* rect) { barPanel_Draw(object, rect, panelC); }

void panelC_Click(SceneObject* object, int x, int y, const RECT* rect)
{
    object->size = barPanel_SizeAt(panelC, kBarTop, kBarBottom, x - rect->left, y - rect->top, object->size);
}

void panelD_Draw(SceneObject* object, const RECT* rect)
{
    RECT whole;
    int panel = WhitePanel(&whole);
    if (panel < 0) return;
    barPanel_DrawBars(panel, panelC, kBarTop, kCrayonBarBottom, object->size);
    tb_SetForeColor(panel, 32640, 32640, 32640);
    tb_Line(panel, 6, 52, 89, 52, 1);
    const unsigned switches[3] = {object->red, object->green, object->blue};
    for (int i = 0; i < 3; ++i) {
        tb_SetForeColor(panel, kSwatchColors[i][0], kSwatchColors[i][1], kSwatchColors[i][2]);
        tb_SetBackColor(panel, kSwatchColors[i][0], kSwatchColors[i][1], kSwatchColors[i][2]);
        tb_PaintEllipse(panel, &kSwatches[i]);
    }
    tb_SetForeColor(panel, 0, 58000, 0);
    tb_SetBackColor(panel, 0, 58000, 0);
    for (int i = 0; i < 3; ++i) {
        if (switches[i] != 1) continue;
        RECT ring = kSwatches[i];
        tb_InsetRect(&ring, -2, -2);
        tb_FrameEllipse(panel, &ring);
    }
    ShowPanel(panel, object, &whole, rect);
}

void panelD_Click(SceneObject* object, int x, int y, const RECT* rect)
{
    const int px = x - rect->left, py = y - rect->top;
    object->size = barPanel_SizeAt(panelC, kBarTop, kCrayonBarBottom, px, py, object->size);
    for (int i = 0; i < 3; ++i) {
        if (!tb_PtInRect(px, py, &kSwatches[i])) continue;
        object->red = i == 0;
        object->green = i == 1;
        object->blue = i == 2;
    }
}

// ---------------------------------------------------------------- the dab

void dab_FootprintHalves(int r, int dx[5], int dy[5])
{
    static const double kAngles[5] = {80.0, 10.0, 62.5, 27.5, 45.0};
    const double radians = 3.14159265358979323846 / 180.0;
    for (int i = 0; i < 5; ++i) {
        dx[i] = tb_Round(r * std::cos(kAngles[i] * radians));
        dy[i] = tb_Round(r * std::sin(kAngles[i] * radians));
    }
}

void dab_CopyThroughFootprint(int scratch, int picture, int c, int r, int x, int y)
{
    int dx[5], dy[5];
    dab_FootprintHalves(r, dx, dy);
    for (int i = 0; i < 5; ++i) {
        RECT from = {c - dx[i], c - dy[i], c + dx[i], c + dy[i]};
        RECT to = {x - dx[i], y - dy[i], x + dx[i], y + dy[i]};
        tb_CopyBitmap(scratch, picture, &from, &to);
    }
}

void brush_Dab(SceneObject* object, int x, int y)
{
    const int h = Half(object->size);
    const RECT square = {x - h - 2, y - h - 2, x + h + 2, y + h + 2};
    const int w = 2 * h + 4;
    RECT q;
    const bool visible = VisiblePart(object->pictureBitmap, square, &q);
    int scratch = ScratchOf(object->pictureBitmap, square, w);
    if (scratch < 0) return;
    tb_SetForeColor(scratch, object->red, object->green, object->blue);
    tb_SetBackColor(scratch, object->red, object->green, object->blue);
    RECT spot = {8, 8, w - 8, w - 8};
    tb_PaintEllipse(scratch, &spot);
    if (visible) tb_Soften5(scratch, &q);
    dab_CopyThroughFootprint(scratch, object->pictureBitmap, w / 2, h - 1, x, y);
    tb_DisposeBitmap(scratch);
}

void effectBrush_Dab(SceneObject* object, int x, int y)
{
    const int h = Half(object->size);
    const RECT square = {x - h, y - h, x + h, y + h};
    const int w = 2 * h;
    RECT q;
    const bool visible = VisiblePart(object->pictureBitmap, square, &q);
    // The hammer and chisel always carve the picture as it was when the stroke began.
    int source = object->pictureBitmap;
    if (object->mode == 7 && object->previewWindow >= 0 && tb_GetBitmapDIB(object->previewWindow))
        source = object->previewWindow;
    int scratch = ScratchOf(source, square, w);
    if (scratch < 0) return;
    // The whole square is filtered, also where it lies beyond the picture (that part is never copied
    // back): the pepper then draws as many random numbers for a dab at the edge as in the middle.
    const RECT all = {0, 0, w, w};
    if (visible) ApplyEffect(object, scratch, &all);
    dab_CopyThroughFootprint(scratch, object->pictureBitmap, w / 2, h - 1, x, y);
    tb_DisposeBitmap(scratch);
}

// ---------------------------------------------------------------- installers

void brush_Install(SceneObject* object)
{
    object->Press = BrushPress;
    object->Drag = BrushDrag;
    object->Release = DabRelease;
    object->DrawOptions = sizePanel_DrawB;
    object->ClickOptions = sizePanel_ClickB;
}

void effectBrush_Install(SceneObject* object)
{
    object->Press = EffectPress;
    object->Drag = EffectDrag;
    object->Release = DabRelease;
    object->DrawOptions = panelC_Draw;
    object->ClickOptions = panelC_Click;
}

void crayon_Install(SceneObject* object)
{
    effectBrush_Install(object);
    object->DrawOptions = panelD_Draw;
    object->ClickOptions = panelD_Click;
}
