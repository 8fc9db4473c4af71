// Composition of the room in the scene bitmap, the canvas view with its 2x zoom, refreshing parts
// of the window, the paint blot and the cans, and the single level of undo.
#include <algorithm>

#include "scene/scene.h"
#include "scene/scene_routing.h"
#include "toolbox.h"
#include "tools/effects.h"

namespace {

// A picture resource held for the moment of a draw.
struct Picture {
    int index;
    RECT rect;
};

Picture Load(int id, int depth)
{
    Picture p = {-1, {0, 0, 0, 0}};
    p.index = tb_CreateBitmap(&p.rect, id, depth);
    return p;
}

void Drop(Picture& p)
{
    if (p.index >= 0) tb_DisposeBitmap(p.index);
    p.index = -1;
}

RECT At(int x, int y, const RECT& size) { return {x, y, x + size.right, y + size.bottom}; }

// Draws picture id through mask id into the target with its top-left corner at (x, y).
void DrawMasked(int target, int imageId, int maskId, int x, int y)
{
    Picture image = Load(imageId, 24), mask = Load(maskId, 8);
    if (image.index >= 0 && mask.index >= 0) {
        RECT dest = At(x, y, image.rect);
        tb_CopyBitmapMasked(image.index, mask.index, target, &image.rect, &mask.rect, &dest);
    }
    Drop(image);
    Drop(mask);
}

// A frame strip copied whole, unmasked.
void Strip(const Picture& strip, int x, int y)
{
    RECT dest = At(x, y, strip.rect);
    tb_CopyBitmapTransparent(strip.index, scene.sceneBitmap, &strip.rect, &dest, 0);
}

// The wall picture laid edge to edge from the scene's corner, as tb_TileBitmap lays it, but only
// where it can show: the tiles wholly inside the canvas rectangle, which the canvas view covers
// next, are left out (on a large screen the canvas is most of the room).
void TileWallAroundCanvas(void)
{
    const SceneLayout& L = scene.layout;
    Picture tile = Load(SCENE_PIC_WALL, 24);
    const int tw = tile.rect.right, th = tile.rect.bottom;
    if (tile.index >= 0 && tw > 0 && th > 0 && L.width >= tw && L.height >= th) {
        for (int y = 0; y < L.height; y += th)
            for (int x = 0; x < L.width; x += tw) {
                RECT to = {x, y, x + tw < L.width ? x + tw : L.width, y + th < L.height ? y + th : L.height};
                RECT inside;
                if (IntersectRect(&inside, &to, &L.canvas) && EqualRect(&inside, &to)) continue;
                RECT from = {0, 0, to.right - to.left, to.bottom - to.top};
                tb_CopyBitmapTransparent(tile.index, scene.sceneBitmap, &from, &to, 0);
            }
    }
    Drop(tile);
}

// The frame around the canvas; the canvas rectangle painted white unless the canvas view is
// about to cover it.
void DrawFrame(bool viewFollows)
{
    const int W = scene.layout.width, H = scene.layout.height;
    Picture p;

    p = Load(105, 24);  // left edge
    if (p.index >= 0) Strip(p, 130, H - 479);
    Drop(p);
    if (H - 479 > 16) {
        p = Load(112, 24);
        if (p.index >= 0)
            for (int y = 0; y < H - 479; y += 385) Strip(p, 130, y);
        Drop(p);
    }

    p = Load(106, 24);  // bottom edge
    if (p.index >= 0) Strip(p, 130, H - 96);
    Drop(p);
    if (W > 639) {
        p = Load(113, 24);
        if (p.index >= 0)
            for (int x = W - 492; x > 130; x -= 492) Strip(p, x, H - 96);
        Drop(p);
    }

    p = Load(110, 24);  // top edge
    if (p.index >= 0)
        for (int x = 130; x < W - 19; x += 500) Strip(p, x, 0);
    Drop(p);

    p = Load(107, 24);  // top-left corner
    if (p.index >= 0) Strip(p, 130, 1);
    Drop(p);

    p = Load(111, 24);  // right edge
    if (p.index >= 0) {
        for (int y = H - 485; y >= -388; y -= 389) Strip(p, W - 19, y);
        Strip(p, W - 19, 0);
    }
    Drop(p);

    p = Load(108, 24);  // top-right corner
    if (p.index >= 0) Strip(p, W - 32, 0);
    Drop(p);
    p = Load(109, 24);  // bottom-right corner
    if (p.index >= 0) Strip(p, W - 20, H - 112);
    Drop(p);

    if (viewFollows) return;
    tb_SetForeColor(scene.sceneBitmap, 65025, 65025, 65025);
    tb_PaintRect(scene.sceneBitmap, &scene.layout.canvas);
}

void DrawTable(int whole)
{
    const int H = scene.layout.height;
    Picture image = Load(SCENE_PIC_TABLE, 24), mask = Load(SCENE_MASK_TABLE, 8);
    if (image.index >= 0 && mask.index >= 0) {
        RECT part = image.rect, maskPart = mask.rect;
        if (!whole) {
            part.right = 475;  // the cans to the right keep their colours
            maskPart.right = 475;
        }
        RECT dest = At(0, H - 96, part);
        tb_CopyBitmapMasked(image.index, mask.index, scene.sceneBitmap, &part, &maskPart, &dest);
    }
    Drop(image);
    Drop(mask);
}

void TakeTableBackup(void)
{
    if (scene.tableBackup >= 0) tb_DisposeBitmap(scene.tableBackup);
    const RECT& middle = scene.layout.tableMiddle;
    RECT size = {0, 0, middle.right - middle.left, middle.bottom - middle.top};
    scene.tableBackup = tb_CreateBitmap(&size, TB_SOURCE_BLANK, 24);
    if (scene.tableBackup >= 0) tb_CopyBitmap(scene.sceneBitmap, scene.tableBackup, &middle, &size);
}

const RECT& GroupButton(int group)
{
    const SceneLayout& L = scene.layout;
    switch (group) {
    case 1: return L.rockButton;
    case 2: return L.booksButton;
    case 3: return L.magicHatButton;
    case 4: return L.toysButton;
    default: return L.toolBoxButton;
    }
}

// Clears an indicator with the part of the table picture behind it, then draws its picture.
void DrawIndicator(const RECT& place, int tableLeft, int pictureId)
{
    Picture table = Load(SCENE_PIC_TABLE, 24);
    if (table.index >= 0) {
        RECT part = {tableLeft, 75, tableLeft + (place.right - place.left), 96};
        tb_CopyBitmap(table.index, scene.sceneBitmap, &part, &place);
    }
    Drop(table);
    RECT drawn;
    tb_DrawPictureToBitmap(scene.sceneBitmap, pictureId, place.left, place.top, &drawn);
}

int Scale80(unsigned component) { return tb_Round(component * 0.8); }

void RepaintCan(int can, const SceneColor& color)
{
    const SceneLayout& L = scene.layout;
    const int H = L.height;
    Picture cans = Load(SCENE_PIC_CANS, 24), mask = Load(scene.canMasks[can], 8);
    if (cans.index >= 0 && mask.index >= 0) {
        tb_SetForeColor(cans.index, color.red, color.green, color.blue);
        tb_SetBackColor(cans.index, color.red, color.green, color.blue);
        tb_FloodFill(cans.index, scene.canFillPoints[can].x, scene.canFillPoints[can].y, 0, 0, 0);
        RECT lid = L.canLids[can];
        RECT part = lid;
        OffsetRect(&part, -475, -(H - 96));
        tb_CopyBitmapMasked(cans.index, mask.index, scene.sceneBitmap, &part, &part, &lid);
    }
    Drop(cans);
    Drop(mask);

    // The front cans show their bodies: a darker shade of the same colour.
    ScenePoint body;
    switch (can) {
    case 0: body = {486, H - 83}; break;
    case 5: body = {511, H - 69}; break;
    case 6: body = {551, H - 64}; break;
    case 7: body = {597, H - 63}; break;
    default: return;
    }
    long r, g, b;
    tb_GetPixelRGB(scene.sceneBitmap, body.x, body.y, &r, &g, &b);
    tb_SetForeColor(scene.sceneBitmap, Scale80(color.red), Scale80(color.green), Scale80(color.blue));
    tb_FloodFill(scene.sceneBitmap, body.x, body.y, r, g, b);
}

void DrawPaintBlot(const SceneColor& color)
{
    Picture blot = Load(SCENE_PIC_PAINT_BLOT, 24), mask = Load(SCENE_MASK_PAINT_BLOT, 8);
    if (blot.index >= 0 && mask.index >= 0) {
        tb_SetForeColor(blot.index, color.red, color.green, color.blue);
        tb_SetBackColor(blot.index, color.red, color.green, color.blue);
        tb_FloodFill(blot.index, 21, 8, 0, 0, 0);
        tb_CopyBitmapMasked(blot.index, mask.index, scene.sceneBitmap, &blot.rect, &mask.rect,
                            &scene.layout.paintBlot);
    }
    Drop(blot);
    Drop(mask);
}

}  // namespace

// ---------------------------------------------------------------- composition

void scene_Compose(int background, int cans, int full)
{
    const SceneLayout& L = scene.layout;
    if (background) {
        // Shown whole at the end, the canvas rectangle gets the canvas view over the wall and white.
        if (full) {
            TileWallAroundCanvas();
        } else {
            RECT whole = {0, 0, L.width, L.height};
            tb_TileBitmap(scene.sceneBitmap, SCENE_PIC_WALL, &whole);
        }
        DrawFrame(full != 0);
    }
    DrawMasked(scene.sceneBitmap, SCENE_PIC_LEFT_PANEL, SCENE_MASK_LEFT_PANEL, 0, L.height - 480);
    DrawTable(cans);
    if (cans)
        scene.currentCaption = 0;  // the whole table covers the strip: no caption shows there now
    else
        scene_ShowCaption(0);
    if (background) TakeTableBackup();
    if (cans)
        for (int i = 0; i < SCENE_CANS; ++i) RepaintCan(i, scene.canColors[i]);
    scene_DrawGroupMarker(scene.sceneBitmap);
    scene_DrawToolsOfGroup();
    scene_SetCurrentColor(scene.currentColor.red, scene.currentColor.green, scene.currentColor.blue, 0);
    scene_DrawSpeaker();
    scene_DrawSpyglass();
    if (full) scene_ShowAll();
}

void scene_DrawGroupMarker(int target)
{
    const RECT& button = GroupButton(scene.currentGroup);
    DrawMasked(target, SCENE_PIC_GROUP_MARKER, SCENE_MASK_GROUP_MARKER, button.right - 24, button.bottom - 20);
}

void scene_DrawSelectionMarker(void)
{
    const SceneObject& o = scene.objects[scene.currentObject];
    if (o.group != scene.currentGroup) return;
    int cx = (o.bounds.left + o.bounds.right) / 2, cy = (o.bounds.top + o.bounds.bottom) / 2;
    DrawMasked(scene.sceneBitmap, SCENE_PIC_SELECTION, SCENE_MASK_SELECTION, cx, cy - 20);
}

void scene_DrawToolsOfGroup(void)
{
    const SceneLayout& L = scene.layout;
    if (scene.tableBackup >= 0) {
        RECT size = {0, 0, L.tableMiddle.right - L.tableMiddle.left, L.tableMiddle.bottom - L.tableMiddle.top};
        tb_CopyBitmap(scene.tableBackup, scene.sceneBitmap, &size, &L.tableMiddle);
    }
    for (int i = 0; i < SCENE_OBJECTS; ++i) {
        SceneObject& o = scene.objects[i];
        if (o.group == scene.currentGroup && o.Draw) o.Draw(&o);
    }
    SceneObject& current = scene.objects[scene.currentObject];
    if (current.DrawOptions) current.DrawOptions(&current, &L.optionPanel);
    scene_DrawSelectionMarker();
}

void scene_DrawSpeaker(void)
{
    DrawIndicator(scene.layout.speaker, 618, tb_GetSoundPreference() ? SCENE_PIC_SOUND_ON : SCENE_PIC_SOUND_OFF);
}

void scene_DrawSpyglass(void)
{
    DrawIndicator(scene.layout.spyglass, 590, scene.zoomed ? SCENE_PIC_ZOOMED : SCENE_PIC_NOT_ZOOMED);
}

void scene_ShowCaption(int captionId)
{
    if (captionId == scene.currentCaption) return;
    const RECT& strip = scene.layout.captionStrip;
    RECT drawn;
    tb_DrawPictureToBitmap(scene.sceneBitmap, SCENE_CAPTION_EMPTY, strip.left, strip.top, &drawn);
    if (captionId != 0) tb_DrawPictureToBitmap(scene.sceneBitmap, captionId, strip.left, strip.top, &drawn);
    scene_ShowRect(&strip);
    scene.currentCaption = captionId;
}

// ---------------------------------------------------------------- the canvas view

static bool HasWindow(void) { return scene.mainWindow >= 0 && tb_GetWindowHandle(scene.mainWindow); }

static void CatchUpUnder(const RECT* rects, int count);

void scene_ShowRect(const RECT* rect)
{
    if (!HasWindow()) return;
    CatchUpUnder(rect, 1);
    tb_CopyBitmap(scene.sceneBitmap, scene.mainWindow, rect, rect);
}

// The picture copied into the scene bitmap's view, whatever clip a tool has set on it while it
// draws: the toolbox skips a copy that overlaps a clip by four pixels or less, which would leave a
// thin edge of the view behind the picture. Every destination here lies inside the canvas.
static void CopyIntoView(const RECT* source, const RECT* dest)
{
    RECT clip;
    const int clipped = tb_GetClipRect(scene.sceneBitmap, &clip);
    if (clipped) tb_ClearClipRect(scene.sceneBitmap);
    tb_CopyBitmap(scene.canvasBitmap, scene.sceneBitmap, source, dest);
    if (clipped) tb_SetClipRect(scene.sceneBitmap, &clip);
}

void scene_ComposeCanvasView(void)
{
    const SceneLayout& L = scene.layout;
    if (scene.zoomed) {
        RECT quarter = {scene.scroll.x, scene.scroll.y, scene.scroll.x + L.canvasWidth / 2,
                        scene.scroll.y + L.canvasHeight / 2};
        CopyIntoView(&quarter, &L.canvas);
    } else {
        CopyIntoView(&L.picture, &L.canvas);
    }
    SetRectEmpty(&scene.viewBehind);
}

static bool ShowStraight(const RECT* rect);

// The room shown whole: the canvas goes straight from the picture to the window, as a large refresh
// does, and the rest comes from the scene bitmap.
void scene_ShowAll(void)
{
    RECT whole = {0, 0, scene.layout.width, scene.layout.height};
    if (ShowStraight(&whole)) return;
    scene_ComposeCanvasView();
    scene_ShowRect(&whole);
}

// While magnified, the part of the view under rect recomposed alone; false when only the whole
// view can be. With even canvas sides the view is the picture quarter at exactly twice its size:
// the window pixel (x, y) of the canvas shows the picture pixel (scroll x + (x - 147) / 2,
// scroll y + (y - 16) / 2). A part that starts and ends on even offsets from the canvas corner
// therefore shows the same pixels as the whole view, at the cost of its own size only.
static bool ComposeViewPart(const RECT* rect)
{
    const SceneLayout& L = scene.layout;
    if ((L.canvasWidth | L.canvasHeight) & 1) return false;
    RECT inside;
    if (!IntersectRect(&inside, rect, &L.canvas)) return true;  // nothing of the view lies under rect
    const int left = (inside.left - L.canvas.left) & ~1, top = (inside.top - L.canvas.top) & ~1;
    const int right = (inside.right - L.canvas.left + 1) & ~1, bottom = (inside.bottom - L.canvas.top + 1) & ~1;
    RECT source = {scene.scroll.x + left / 2, scene.scroll.y + top / 2, scene.scroll.x + right / 2,
                   scene.scroll.y + bottom / 2};
    RECT dest = {L.canvas.left + left, L.canvas.top + top, L.canvas.left + right, L.canvas.top + bottom};
    CopyIntoView(&source, &dest);
    return true;
}

// The picture under rect brought into the scene bitmap: the whole view while magnified.
static void ComposeUnder(const RECT* rect)
{
    const SceneLayout& L = scene.layout;
    if (scene.zoomed) {
        scene_ComposeCanvasView();
    } else {
        RECT inside, rest;
        if (IntersectRect(&inside, rect, &L.canvas)) {
            RECT source = inside;
            OffsetRect(&source, -L.origin.x, -L.origin.y);
            CopyIntoView(&source, &inside);
            if (SubtractRect(&rest, &scene.viewBehind, &inside)) scene.viewBehind = rest;
            else SetRectEmpty(&scene.viewBehind);
        }
    }
}

// The scene bitmap's view brought up to the picture under rects only, where it is behind: what
// shows or reads a small place pays for that place, not for the whole canvas. The view stays
// marked behind wherever these rectangles do not cut it down whole.
static void CatchUpUnder(const RECT* rects, int count)
{
    for (int i = 0; i < count && !IsRectEmpty(&scene.viewBehind); ++i) {
        RECT part;
        if (!IntersectRect(&part, &rects[i], &scene.viewBehind)) continue;
        if (scene.zoomed && ComposeViewPart(&part)) continue;
        ComposeUnder(&part);
    }
}

void scene_CatchUpView(const RECT* rect) { CatchUpUnder(rect, 1); }

// A refresh of much of the picture sends it straight from the canvas bitmap to the window: through
// the scene bitmap each of its pixels would be copied twice, and at 3840 x 2160 the first copy alone
// takes milliseconds. The scene bitmap's view catches up where something next shows or reads it.
// Once it is behind, every refresh goes straight, however small; magnified, only a refresh of the
// whole view does (with even canvas sides it is the picture quarter at exactly twice its size).
// False (nothing shown) without a window, or when the refresh is not of that kind.
static bool ShowStraight(const RECT* rect)
{
    const SceneLayout& L = scene.layout;
    RECT inside, source;
    if (!HasWindow() || !IntersectRect(&inside, rect, &L.canvas)) return false;
    if (scene.zoomed) {
        if (((L.canvasWidth | L.canvasHeight) & 1) || !EqualRect(&inside, &L.canvas)) return false;
        source = {scene.scroll.x, scene.scroll.y, scene.scroll.x + L.canvasWidth / 2,
                  scene.scroll.y + L.canvasHeight / 2};
    } else {
        const long long area = (long long)(inside.right - inside.left) * (inside.bottom - inside.top);
        if (IsRectEmpty(&scene.viewBehind) && area * 4 < (long long)L.canvasWidth * L.canvasHeight) return false;
        source = inside;
        OffsetRect(&source, -L.origin.x, -L.origin.y);
    }
    // What of rect lies off the canvas (the frame) comes from the scene bitmap as before.
    tb_CopyBitmapWithInset(scene.sceneBitmap, scene.mainWindow, rect, scene.canvasBitmap, &source, &inside);
    scene_ViewBehind(&inside);
    return true;
}

void scene_ViewBehind(const RECT* rect)
{
    RECT inside;
    if (!IntersectRect(&inside, rect, &scene.layout.canvas)) return;
    if (IsRectEmpty(&scene.viewBehind)) scene.viewBehind = inside;
    else UnionRect(&scene.viewBehind, &scene.viewBehind, &inside);
}

void scene_Refresh(const RECT* rect)
{
    if (ShowStraight(rect)) return;
    ComposeUnder(rect);
    if (HasWindow()) tb_CopyBitmap(scene.sceneBitmap, scene.mainWindow, rect, rect);  // composed just now
}

void scene_RefreshDrawn(const RECT* rect)
{
    scene_RefreshDrawnRects(rect, 1);
}

void scene_RefreshDrawnRects(const RECT* rects, int count)
{
    if (count == 1 && ShowStraight(rects)) return;
    bool whole = false;  // the whole magnified view composed once already
    for (int i = 0; i < count; ++i) {
        if (whole || (scene.zoomed && ComposeViewPart(&rects[i]))) continue;
        ComposeUnder(&rects[i]);
        whole = scene.zoomed != 0;
    }
    // Every rectangle's view was composed just now.
    if (HasWindow()) tb_CopyBitmapRects(scene.sceneBitmap, scene.mainWindow, rects, count);
}

void scene_ShowRects(const RECT* rects, int count)
{
    if (!HasWindow()) return;
    CatchUpUnder(rects, count);
    tb_CopyBitmapRects(scene.sceneBitmap, scene.mainWindow, rects, count);
}

// ---------------------------------------------------------------- colours

void scene_SetCurrentColor(unsigned red, unsigned green, unsigned blue, int show)
{
    SceneColor color = {red, green, blue};
    DrawPaintBlot(color);
    if (show) scene_ShowRect(&scene.layout.paintBlot);
    scene.currentColor = color;
}

void scene_RecolorCan(int can, unsigned red, unsigned green, unsigned blue, int show)
{
    if (can < 0 || can >= SCENE_CANS) return;
    SceneColor color = {red, green, blue};
    RepaintCan(can, color);
    if (show) scene_ShowAll();
    scene.canColors[can] = color;
}

// ---------------------------------------------------------------- undo

// On a large screen the whole picture is tens of megabytes: a press, which must keep the picture
// as it was for the cleaner bottle, copies only what the last gesture changed, and the cleaner
// bottle puts back only that. Every change of the canvas bitmap is gathered in
// scene.undoChanged for it (scene_PictureChanged).
//
// A spare bitmap is brought up to the picture by the idle ticks between gestures. A press whose
// gesture follows a large change (the jar, a figure over the whole canvas, an opened picture) then
// takes the spare as its undo copy instead of copying, and the old undo copy becomes the spare.

static long long Area(const RECT& r) { return IsRectEmpty(&r) ? 0 : (long long)(r.right - r.left) * (r.bottom - r.top); }

static void Grow(RECT* into, const RECT& r)
{
    if (IsRectEmpty(into)) *into = r;
    else UnionRect(into, into, &r);
}

void scene_PictureChanged(const RECT* picture)
{
    RECT r = picture ? *picture : scene.layout.picture;
    if (IsRectEmpty(&r)) return;
    Grow(&scene.undoChanged, r);
    Grow(&scene.spareChanged, r);
}

// What changed since the last save of undo (or since the spare last caught up), within the
// picture (empty when nothing did).
static RECT WithinPicture(const RECT& changed)
{
    RECT r;
    if (!IntersectRect(&r, &changed, &scene.layout.picture)) SetRectEmpty(&r);
    return r;
}

static RECT UndoChanged(void) { return WithinPicture(scene.undoChanged); }

void scene_SaveUndo(void)
{
    // The picture may have changed anywhere without a word (a picture opened, the canvas cleared).
    scene.undoChanged = scene.spareChanged = scene.layout.picture;
    scene_SaveUndoChanged();
}

void scene_SaveUndoChanged(void)
{
    RECT changed = UndoChanged(), spareBehind = WithinPicture(scene.spareChanged);
    if (Area(spareBehind) < Area(changed) && tb_SwapBitmapPixels(scene.undoBitmap, scene.spareBitmap)) {
        // The spare is the undo copy now, made whole where it was still behind; the old undo copy,
        // now the spare, differs from the picture where it changed since that copy was saved.
        if (!IsRectEmpty(&spareBehind))
            tb_CopyBitmap(scene.canvasBitmap, scene.undoBitmap, &spareBehind, &spareBehind);
        scene.spareChanged = changed;
    } else if (!IsRectEmpty(&changed)) {
        tb_CopyBitmap(scene.canvasBitmap, scene.undoBitmap, &changed, &changed);
    }
    SetRectEmpty(&scene.undoChanged);
    scene.undoAvailable = 1;
}

int scene_CatchUpSpare(void)
{
    RECT behind = WithinPicture(scene.spareChanged);
    if (IsRectEmpty(&behind) || scene.spareBitmap < 0 || scene_GestureGoesOn()) return 0;
    const int width = behind.right - behind.left;
    const int rows = std::max(1, (128 * 1024) / (width * 3));
    RECT band = behind;
    band.bottom = std::min(behind.bottom, behind.top + rows);
    tb_CopyBitmap(scene.canvasBitmap, scene.spareBitmap, &band, &band);
    behind.top = band.bottom;
    if (behind.top >= behind.bottom) SetRectEmpty(&behind);
    scene.spareChanged = behind;
    return 1;
}

// Puts the undo copy back where the picture changed; the window rectangle whose view changed
// (the whole canvas while magnified). The two bitmaps trade their pixels rather than copy them: the
// canvas then holds the picture as it was, the undo copy the picture as it is, and they differ
// where the gesture changed the picture.
static RECT PutBack(void)
{
    const SceneLayout& L = scene.layout;
    RECT changed = UndoChanged(), shown = L.canvas;
    if (!IsRectEmpty(&changed)) {
        if (tb_SwapBitmapPixels(scene.undoBitmap, scene.canvasBitmap)) {
            scene.undoChanged = changed;
        } else {
            tb_CopyBitmap(scene.undoBitmap, scene.canvasBitmap, &changed, &changed);
            SetRectEmpty(&scene.undoChanged);
        }
        Grow(&scene.spareChanged, changed);
    } else {
        SetRectEmpty(&scene.undoChanged);
    }
    scene.undoAvailable = 0;
    if (scene.zoomed) return shown;
    OffsetRect(&changed, L.origin.x, L.origin.y);
    return changed;
}

void scene_Undo(void)
{
    RECT shown = PutBack();
    if (!IsRectEmpty(&shown)) ComposeUnder(&shown);
}

void scene_CleanerBottle(void)
{
    if (!scene.undoAvailable) return;
    tb_PlaySoundNoStop(SCENE_SOUND_UNDO);
    // Only the canvas view changed, where the picture came back: that alone goes to the window.
    RECT shown = PutBack();
    if (!IsRectEmpty(&shown)) scene_Refresh(&shown);
}
