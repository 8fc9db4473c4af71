// The toys: every press and every drag while a toy is active makes one mark, in the current colour
// or, in the random mode, in a colour of its own.
#include "tools/decorations.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "toolbox.h"

const int decorSizesSmall[DECOR_SIZES] = {32, 48, 64};
const int decorSizesCog[DECOR_SIZES] = {8, 16, 24};
const int decorSizesGun[DECOR_SIZES] = {60, 90, 120};

namespace {

enum {
    SOUND_BALL_FIRST = 1006,  // 1006..1010, one per ball
    SOUND_SPLAT_FIRST = 1012,  // 1012..1014, one per splat
    PIC_SPLAT_BEFORE = 411,    // splat n is picture 411 + n with mask 414 + n
    MASK_SPLAT_BEFORE = 414,
    PANEL_WIDTH = 94,
    PANEL_HEIGHT = 82,
    FULL = 65025,
};

const double kPi = 3.14159265358979323846;

// The cog's mirror centre: where the current stroke began.
ScenePoint cogCentre = {0, 0};
// The picture rectangles that the cog's last drag drew into, one per segment.
RECT cogDirty[4];
int cogDirtyCount = 0;

// Draws one mirrored segment and notes where it went.
void CogSegment(int picture, int x0, int y0, int x1, int y1, int width)
{
    tb_Line(picture, x0, y0, x1, y1, width);
    const int grow = width / 2 + 2;
    cogDirty[cogDirtyCount++] = {std::min(x0, x1) - grow, std::min(y0, y1) - grow, std::max(x0, x1) + grow + 1,
                                 std::max(y0, y1) + grow + 1};
}

// ---------------------------------------------------------------- scatter

int Half(int size) { return size / 2 >= 1 ? size / 2 : 1; }

// One offset component: a radius in [0, reach], a sign, an angle in [0, 90] degrees.
int Offset(int reach, bool sine)
{
    int r = tb_Random(0, reach);
    int s = tb_Random(1, 2) == 1 ? 1 : -1;
    int a = tb_Random(0, 90);
    double angle = a * kPi / 180.0;
    return tb_Round((sine ? std::sin(angle) : std::cos(angle)) * r * s);
}

// The scattered centre and diameter of a ball or star of the tool's size around (x, y).
void Scatter(int size, int x, int y, int* cx, int* cy, int* d)
{
    int h = Half(size);
    int dx = Offset(h / 2, false);
    int dy = Offset(h / 2, true);
    *cx = x + dx;
    *cy = y + dy;
    *d = tb_Random(h / 2, h);
}

void SetColors(int target, SceneColor c)
{
    tb_SetForeColor(target, c.red, c.green, c.blue);
    tb_SetBackColor(target, c.red, c.green, c.blue);
}

unsigned Clamp(long v) { return v > (long)FULL ? (unsigned)FULL : (v < 0 ? 0u : (unsigned)v); }

// ---------------------------------------------------------------- the option panel

const RECT kBars[DECOR_SIZES] = {{6, 9, 21, 50}, {27, 9, 50, 50}, {57, 9, 89, 50}};
const RECT kCells[2] = {{11, 55, 39, 79}, {53, 55, 81, 79}};
const int kColourModes[2] = {0, 1};
const int kMirrorModes[2] = {1, 2};

void FillEllipse(int target, int l, int t, int r, int b, SceneColor c)
{
    RECT e = {l, t, r, b};
    SetColors(target, c);
    tb_PaintEllipse(target, &e);
}

void FillRect(int target, int l, int t, int r, int b, SceneColor c)
{
    RECT e = {l, t, r, b};
    SetColors(target, c);
    tb_PaintRect(target, &e);
}

// The panel: white, the three bars (the current size green), a grey line and the two mode cells,
// the cell of the current mode framed in green; `cells` draws the cells' contents.
void DrawPanel(SceneObject* o, const RECT* rect, const int sizes[DECOR_SIZES], const int modes[2],
               void (*cells)(SceneObject*, int))
{
    RECT whole = {0, 0, PANEL_WIDTH, PANEL_HEIGHT};
    int panel = tb_CreateBitmap(&whole, TB_SOURCE_BLANK, 24);
    if (panel < 0) return;
    FillRect(panel, 0, 0, PANEL_WIDTH, PANEL_HEIGHT, {FULL, FULL, FULL});
    for (int i = 0; i < DECOR_SIZES; ++i) {
        SceneColor c = o->size == sizes[i] ? SceneColor{0, FULL, 0} : SceneColor{0, 0, 0};
        FillRect(panel, kBars[i].left, kBars[i].top, kBars[i].right, kBars[i].bottom, c);
    }
    tb_SetForeColor(panel, 32640, 32640, 32640);
    tb_Line(panel, 6, 52, 89, 52, 1);
    for (int i = 0; i < 2; ++i) {
        if (o->mode != modes[i]) continue;
        tb_SetForeColor(panel, 0, 58000, 0);
        tb_FrameRect(panel, &kCells[i]);
    }
    cells(o, panel);
    tb_CopyBitmap(panel, o->sceneBitmap, &whole, rect);
    tb_DisposeBitmap(panel);
}

// Left: three discs in the current colour; right: three discs, each in a fresh random colour.
void ColourCells(SceneObject* o, int panel)
{
    SceneColor own = {o->red, o->green, o->blue};
    FillEllipse(panel, 20, 57, 30, 67, own);
    FillEllipse(panel, 13, 67, 23, 77, own);
    FillEllipse(panel, 27, 67, 37, 77, own);
    FillEllipse(panel, 62, 57, 72, 67, decor_RandomColor());
    FillEllipse(panel, 55, 67, 65, 77, decor_RandomColor());
    FillEllipse(panel, 69, 67, 79, 77, decor_RandomColor());
}

// Left: two bars (two-way mirror); right: four squares (four-way mirror).
void MirrorCells(SceneObject* o, int panel)
{
    SceneColor own = {o->red, o->green, o->blue};
    FillRect(panel, 13, 57, 20, 77, own);
    FillRect(panel, 30, 57, 37, 77, own);
    FillRect(panel, 55, 57, 62, 65, own);
    FillRect(panel, 55, 69, 62, 77, own);
    FillRect(panel, 72, 57, 79, 65, own);
    FillRect(panel, 72, 69, 79, 77, own);
}

void ClickPanel(SceneObject* o, int x, int y, const RECT* rect, const int sizes[DECOR_SIZES], const int modes[2])
{
    int px = x - rect->left, py = y - rect->top;
    o->size = decor_PanelSizeAt(sizes, px, py, o->size);
    o->mode = decor_PanelModeAt(modes, px, py, o->mode);
}

void DrawSmallPanel(SceneObject* o, const RECT* r) { DrawPanel(o, r, decorSizesSmall, kColourModes, ColourCells); }
void ClickSmallPanel(SceneObject* o, int x, int y, const RECT* r) { ClickPanel(o, x, y, r, decorSizesSmall, kColourModes); }
void DrawGunPanel(SceneObject* o, const RECT* r) { DrawPanel(o, r, decorSizesGun, kColourModes, ColourCells); }
void ClickGunPanel(SceneObject* o, int x, int y, const RECT* r) { ClickPanel(o, x, y, r, decorSizesGun, kColourModes); }
void DrawCogPanel(SceneObject* o, const RECT* r) { DrawPanel(o, r, decorSizesCog, kMirrorModes, MirrorCells); }
void ClickCogPanel(SceneObject* o, int x, int y, const RECT* r) { ClickPanel(o, x, y, r, decorSizesCog, kMirrorModes); }

// ---------------------------------------------------------------- marks per tool

void BallMark(SceneObject* o, int x, int y)
{
    SceneColor c = decor_MarkColor(o);
    int cx, cy, d;
    Scatter(o->size, x, y, &cx, &cy, &d);
    decor_DrawBall(o->pictureBitmap, cx, cy, d, c);
    tb_PlaySoundNoStop(SOUND_BALL_FIRST + tb_Random(1, 5) - 1);
}

void StarMark(SceneObject* o, int x, int y)
{
    SceneColor c = decor_MarkColor(o);
    int cx, cy, d;
    Scatter(o->size, x, y, &cx, &cy, &d);
    decor_DrawStar(o->pictureBitmap, cx, cy, d, c);
}

void StitchMark(SceneObject* o, int x, int y)
{
    decor_DrawStitches(o->pictureBitmap, x, y, o->size, decor_MarkColor(o));
}

void SplatMark(SceneObject* o, int x, int y)
{
    SceneColor c = decor_MarkColor(o);
    int n = tb_Random(1, 3);
    decor_DrawSplat(o->pictureBitmap, x, y, o->size, n, c);
    tb_PlaySoundNoStop(SOUND_SPLAT_FIRST + tb_Random(1, 3) - 1);
}

void Begin(SceneObject* o, int x, int y)
{
    o->lastPoint = {x, y};
    o->active = 1;
    tb_SetCursor(o->cursorId);
}

void BallPress(SceneObject* o, int x, int y) { Begin(o, x, y); BallMark(o, x, y); }
void StarPress(SceneObject* o, int x, int y)
{
    if (o->soundId) tb_LoopSound(o->soundId);
    Begin(o, x, y);
    StarMark(o, x, y);
}
void StitchPress(SceneObject* o, int x, int y)
{
    if (o->soundId) tb_LoopSound(o->soundId);
    Begin(o, x, y);
    StitchMark(o, x, y);
}
void SplatPress(SceneObject* o, int x, int y) { Begin(o, x, y); SplatMark(o, x, y); }

template <void (*Mark)(SceneObject*, int, int)>
void MarkDrag(SceneObject* o, int x, int y)
{
    if (!o->active) return;
    o->currentPoint = {x, y};
    Mark(o, x, y);
    o->lastPoint = {x, y};
}

void QuietRelease(SceneObject* o, int x, int y)
{
    o->lastPoint = o->currentPoint = {x, y};
    o->active = 0;
}

void SilencingRelease(SceneObject* o, int x, int y)
{
    QuietRelease(o, x, y);
    tb_StopSound();
}

// ---------------------------------------------------------------- the cog

void CogPress(SceneObject* o, int x, int y)
{
    tb_LoopSound(o->soundId ? o->soundId : 1025);
    cogCentre = {x, y};
    o->lastPoint = {x, y};
    SetColors(o->pictureBitmap, {o->red, o->green, o->blue});
    if (o->size > 0 && (o->mode == 1 || o->mode == 2)) tb_Line(o->pictureBitmap, x, y, x, y, o->size);
    o->active = 1;
    tb_SetCursor(o->cursorId);
}

void CogDrag(SceneObject* o, int x, int y)
{
    if (!o->active) return;
    o->currentPoint = {x, y};
    const ScenePoint m = cogCentre;
    const int d0x = o->lastPoint.x - m.x, d0y = o->lastPoint.y - m.y;
    const int d1x = x - m.x, d1y = y - m.y;
    const int p = o->pictureBitmap, w = o->size;
    SetColors(p, {o->red, o->green, o->blue});
    cogDirtyCount = 0;
    if (o->mode == 1 || o->mode == 2) {
        CogSegment(p, m.x + d0x, m.y + d0y, m.x + d1x, m.y + d1y, w);
        CogSegment(p, m.x - d0x, m.y + d0y, m.x - d1x, m.y + d1y, w);
    }
    if (o->mode == 2) {
        CogSegment(p, m.x + d0x, m.y - d0y, m.x + d1x, m.y - d1y, w);
        CogSegment(p, m.x - d0x, m.y - d0y, m.x - d1x, m.y - d1y, w);
    }
    o->lastPoint = o->currentPoint;
    tb_SetCursor(o->cursorId);
}

void CogRelease(SceneObject* o, int x, int y)
{
    o->lastPoint = o->currentPoint = {x, y};
    cogCentre = {x, y};
    o->active = 0;
    tb_StopSound();
}

}  // namespace

// ---------------------------------------------------------------- colours

SceneColor decor_RandomColor(void)
{
    unsigned component[3];
    for (int i = 0; i < 3; ++i) {
        int c = tb_Random(12000, 65000);
        int p = tb_Random(0, 200);
        component[i] = Clamp(tb_Round(p / 100.0 * c));
    }
    return {component[0], component[1], component[2]};
}

SceneColor decor_MarkColor(const SceneObject* o)
{
    if (o->mode == 1) return decor_RandomColor();
    return {o->red, o->green, o->blue};
}

// ---------------------------------------------------------------- the marks

void decor_DrawBall(int picture, int cx, int cy, int d, SceneColor c)
{
    if (d < 1) return;
    RECT b = {cx - d / 2, cy - d / 2, cx + d / 2, cy + d / 2};
    double l = std::sqrt((double)c.red * c.red + (double)c.green * c.green + (double)c.blue * c.blue);
    long light = tb_Round(l);
    // Dark colours still get a highlight.
    if (0.6 * light < 2000) light = FULL;

    double step = 1.0;
    int shiftX = 0, shiftY = 0;
    if (d >= 10) {
        int q = d / 10;
        step = q / 2.0 < 1.0 ? 1.0 : q / 2.0;
        shiftX = 1;
        shiftY = q / 4;
    }
    SetColors(picture, c);
    tb_PaintEllipse(picture, &b);
    const float lift = 0.06f;
    for (int j = 1; j <= d - 1; ++j) {
        int inset = tb_Round(j * step);
        RECT r = {b.left + inset, b.top + inset, b.right - inset, b.bottom - inset};
        if (r.right < r.left || r.bottom < r.top) break;
        OffsetRect(&r, -shiftX, -shiftY);
        double add = j * (double)light * lift;
        SceneColor ring = {Clamp(tb_Round(c.red + add)), Clamp(tb_Round(c.green + add)), Clamp(tb_Round(c.blue + add))};
        SetColors(picture, ring);
        tb_PaintEllipse(picture, &r);
    }
}

void decor_DrawStar(int picture, int cx, int cy, int d, SceneColor c)
{
    if (d < 1) return;
    static const int outline[11][2] = {{15, 0}, {20, 11}, {30, 11}, {22, 17}, {28, 30}, {15, 21},
                                       {2, 30}, {8, 17},  {0, 11},  {10, 11}, {15, 0}};
    const double k = d / 32.0;
    auto at = [k](int v) { return tb_Round(v * k); };
    RECT whole = {0, 0, d, d};
    RECT r = whole;
    int image = tb_CreateBitmap(&r, TB_SOURCE_BLANK, 24);
    r = whole;
    int mask = tb_CreateBitmap(&r, TB_SOURCE_BLANK, 8);
    if (image >= 0 && mask >= 0) {
        // The star in its colour on white, and its mask: white on black.
        struct Layer {
            int bitmap;
            SceneColor ink, surface;
        };
        const Layer layers[2] = {{image, c, {FULL, FULL, FULL}}, {mask, {FULL, FULL, FULL}, {0, 0, 0}}};
        for (const Layer& layer : layers) {
            SetColors(layer.bitmap, layer.surface);
            tb_PaintRect(layer.bitmap, &whole);
            SetColors(layer.bitmap, layer.ink);
            for (int i = 0; i + 1 < 11; ++i)
                tb_Line(layer.bitmap, at(outline[i][0]), at(outline[i][1]), at(outline[i + 1][0]), at(outline[i + 1][1]), 1);
            tb_FloodFill(layer.bitmap, d / 2, d / 2, layer.surface.red, layer.surface.green, layer.surface.blue);
            // Small stars: the fill does not reach the lower arms; these lines fill them.
            tb_Line(layer.bitmap, at(20), at(11), at(2), at(30), 1);
            tb_Line(layer.bitmap, at(28), at(30), at(10), at(11), 1);
        }
        RECT dest = {cx - d / 2, cy - d / 2, cx + d / 2, cy + d / 2};
        tb_CopyBitmapMasked(image, mask, picture, &whole, &whole, &dest);
    }
    if (image >= 0) tb_DisposeBitmap(image);
    if (mask >= 0) tb_DisposeBitmap(mask);
}

void decor_DrawStitches(int picture, int x, int y, int size, SceneColor c)
{
    SetColors(picture, c);
    for (int i = 0; i < 4; ++i) {
        int dx = Offset(size / 2, false);
        int dy = Offset(size / 2, true);
        tb_Line(picture, x, y, x + dx, y + dy, 2);
    }
}

void decor_DrawSplat(int picture, int x, int y, int size, int n, SceneColor c)
{
    RECT ir = {0, 0, 0, 0}, mr = {0, 0, 0, 0};
    int image = tb_CreateBitmap(&ir, PIC_SPLAT_BEFORE + n, 24);
    int mask = tb_CreateBitmap(&mr, MASK_SPLAT_BEFORE + n, 8);
    TB_DIB* dib = image >= 0 ? tb_GetBitmapDIB(image) : nullptr;
    if (dib && mask >= 0) {
        // The splat is black on white: every pixel without red takes the colour.
        const BYTE red = (BYTE)(c.red / 255), green = (BYTE)(c.green / 255), blue = (BYTE)(c.blue / 255);
        GdiFlush();
        const int w = grfx_Width(dib), h = grfx_Height(dib);
        for (int row = 0; row < h; ++row) {
            BYTE* p = grfx_GetPixelAddress(dib, 0, row);
            for (int col = 0; col < w; ++col, p += 3)
                if (p[2] == 0) {
                    p[0] = blue;
                    p[1] = green;
                    p[2] = red;
                }
        }
        RECT dest = {x - size / 2, y - size / 2, x + size / 2, y + size / 2};
        tb_CopyBitmapMasked(image, mask, picture, &ir, &mr, &dest);
    }
    if (image >= 0) tb_DisposeBitmap(image);
    if (mask >= 0) tb_DisposeBitmap(mask);
}

ScenePoint decor_CogCentre(void) { return cogCentre; }

int decor_CogDirtyPictureRects(RECT rects[4])
{
    for (int i = 0; i < cogDirtyCount; ++i) rects[i] = cogDirty[i];
    return cogDirtyCount;
}

int decor_CogDirtyWindowRects(RECT rects[4])
{
    const SceneLayout& L = scene.layout;
    int n = 0;
    for (int i = 0; i < cogDirtyCount; ++i) {
        RECT r = cogDirty[i];
        if (scene.zoomed)
            r = {(r.left - scene.scroll.x) * 2, (r.top - scene.scroll.y) * 2, (r.right - scene.scroll.x) * 2,
                 (r.bottom - scene.scroll.y) * 2};
        OffsetRect(&r, L.origin.x, L.origin.y);
        if (IntersectRect(&rects[n], &r, &L.canvas)) ++n;
    }
    return n;
}

// ---------------------------------------------------------------- the panel's hit areas

int decor_PanelSizeAt(const int sizes[DECOR_SIZES], int px, int py, int current)
{
    for (int i = 0; i < DECOR_SIZES; ++i)
        if (tb_PtInRect(px, py, &kBars[i])) return sizes[i];
    return current;
}

int decor_PanelModeAt(const int modes[2], int px, int py, int current)
{
    for (int i = 0; i < 2; ++i)
        if (tb_PtInRect(px, py, &kCells[i])) return modes[i];
    return current;
}

// ---------------------------------------------------------------- installers

void decor_InstallBall(SceneObject* o)
{
    o->Press = BallPress;
    o->Drag = MarkDrag<BallMark>;
    o->Release = QuietRelease;
    o->DrawOptions = DrawSmallPanel;
    o->ClickOptions = ClickSmallPanel;
}

void decor_InstallCog(SceneObject* o)
{
    o->Press = CogPress;
    o->Drag = CogDrag;
    o->Release = CogRelease;
    o->DrawOptions = DrawCogPanel;
    o->ClickOptions = ClickCogPanel;
}

void decor_InstallWand(SceneObject* o)
{
    o->Press = StarPress;
    o->Drag = MarkDrag<StarMark>;
    o->Release = SilencingRelease;
    o->DrawOptions = DrawSmallPanel;
    o->ClickOptions = ClickSmallPanel;
}

void decor_InstallNeedle(SceneObject* o)
{
    o->Press = StitchPress;
    o->Drag = MarkDrag<StitchMark>;
    o->Release = SilencingRelease;
    o->DrawOptions = DrawSmallPanel;
    o->ClickOptions = ClickSmallPanel;
}

void decor_InstallGun(SceneObject* o)
{
    o->Press = SplatPress;
    o->Drag = MarkDrag<SplatMark>;
    o->Release = QuietRelease;
    o->DrawOptions = DrawGunPanel;
    o->ClickOptions = ClickGunPanel;
}
