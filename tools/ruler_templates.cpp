// The ruler and the templates work in window coordinates while the button is held: the preview
// is drawn straight onto the main window and wiped by copying the scene bitmap back; only the
// release converts the two end points to picture coordinates and draws into the picture.
#include "tools/ruler_templates.h"

#include <cmath>
#include <vector>

#include "toolbox.h"
#include "tools/pencil.h"

namespace {

const int kPanelWidth = 94, kPanelHeight = 82;

struct ShapeCell {
    RECT cell;
    int widen;  // extra pixels on the left and right of the hit area
};

const ShapeCell kCells[SHAPE_COUNT] = {
    {{8, 3, 43, 39}, 2},
    {{49, 3, 84, 39}, 2},
    {{8, 42, 43, 78}, 0},
    {{49, 42, 84, 78}, 0},
};

void DrawShape(int target, int shape, const RECT* r)
{
    switch (shape) {
    case SHAPE_ELLIPSE: tb_FrameEllipse(target, r); break;
    case SHAPE_FILLED_ELLIPSE: tb_PaintEllipse(target, r); break;
    case SHAPE_RECT: tb_FrameRect(target, r); break;
    default: tb_PaintRect(target, r); break;
    }
}

void SetColors(int target, SceneObject* object)
{
    tb_SetForeColor(target, object->red, object->green, object->blue);
    tb_SetBackColor(target, object->red, object->green, object->blue);
}

// Window to picture coordinates, halved and scrolled while the picture is magnified.
int PictureX(int x)
{
    int v = x - scene.layout.canvas.left;
    return scene.zoomed ? v / 2 + scene.scroll.x : v;
}

int PictureY(int y)
{
    int v = y - scene.layout.canvas.top;
    return scene.zoomed ? v / 2 + scene.scroll.y : v;
}

void Start(SceneObject* object, int x, int y)
{
    // Nothing is shown yet: the first move wipes only the press point, not a line to wherever the
    // last drag ended.
    object->lastPoint = object->currentPoint = {x, y};
    object->active = 1;
    tb_SetCursor(object->cursorId);
}

void RulerPress(SceneObject* object, int x, int y) { Start(object, x, y); }

void TemplatesPress(SceneObject* object, int x, int y)
{
    tb_PlaySoundNoStop(TEMPLATES_SOUND);
    Start(object, x, y);
}

// The pieces of the window a move wipes, shown together.
std::vector<RECT> g_wipe;

void CollectWipe(const RECT* rect) { g_wipe.push_back(*rect); }

// Wipes the previous preview and draws the new one on the window. The previous preview lies
// inside the union of the old and new rectangles grown by the pen; only the places it covers are
// copied back from the scene bitmap.
void RubberDrag(SceneObject* object, int x, int y, bool ruler)
{
    if (!object->active) return;
    const int z = scene.zoomed ? 2 : 1;
    const int margin = rubberBand_PenReach(object->size * z);
    const ScenePoint previous = object->currentPoint;
    RECT before = rubberBand_Normalised(object->lastPoint, previous);
    object->currentPoint = {x, y};
    RECT now = rubberBand_Normalised(object->lastPoint, object->currentPoint);
    const int window = object->previewWindow;
    g_wipe.clear();
    if (ruler)
        rubberBand_WipeLine(CollectWipe, object->lastPoint, previous, margin);
    else
        rubberBand_WipeShape(CollectWipe, object->mode, before, &now, 2);  // one-pixel outlines
    if (!g_wipe.empty()) scene_ShowRects(g_wipe.data(), int(g_wipe.size()));
    SetColors(window, object);
    if (ruler)
        tb_Line(window, object->lastPoint.x, object->lastPoint.y, x, y, object->size * z);
    else
        DrawShape(window, object->mode, &now);
    // The routing shows the tool's cursor after every move.
}

void RulerDrag(SceneObject* object, int x, int y) { RubberDrag(object, x, y, true); }
void TemplatesDrag(SceneObject* object, int x, int y) { RubberDrag(object, x, y, false); }

void RulerRelease(SceneObject* object, int x, int y)
{
    if (!object->active) return;
    tb_PlaySoundNoStop(RULER_SOUND);
    object->currentPoint = {x, y};
    SetColors(object->pictureBitmap, object);
    tb_Line(object->pictureBitmap, PictureX(object->lastPoint.x), PictureY(object->lastPoint.y), PictureX(x),
            PictureY(y), object->size);
    object->active = 0;
}

void TemplatesRelease(SceneObject* object, int x, int y)
{
    if (!object->active) return;
    tb_StopSound();
    object->currentPoint = {x, y};
    SetColors(object->pictureBitmap, object);
    RECT r = rubberBand_Normalised(object->lastPoint, object->currentPoint);
    RECT inPicture = {PictureX(r.left), PictureY(r.top), PictureX(r.right), PictureY(r.bottom)};
    DrawShape(object->pictureBitmap, object->mode, &inPicture);
    object->active = 0;
}

}  // namespace

namespace {

const int kBand = 48;  // rows per band of a wipe

void Wipe(RubberShow show, int left, int top, int right, int bottom)
{
    if (right <= left || bottom <= top) return;
    RECT r = {left, top, right, bottom};
    show(&r);
}

// Half the width of an ellipse with half-axes a, b at vertical distance d from its centre.
double HalfWidth(double a, double b, double d)
{
    if (b <= 0 || d >= b) return 0;
    return a * std::sqrt(1.0 - (d / b) * (d / b));
}

// The ellipse on r, band by band: for each band the widest and the narrowest half-width.
struct EllipseBand {
    double widest, narrowest;
    bool touches;  // the ellipse reaches into the band at all
};

EllipseBand BandOf(const RECT& r, int y0, int y1)
{
    const double cy = (r.top + r.bottom) / 2.0;
    const double a = (r.right - r.left) / 2.0, b = (r.bottom - r.top) / 2.0;
    EllipseBand e = {0, 0, false};
    if (y1 <= r.top || y0 >= r.bottom) return e;
    e.touches = true;
    const double d0 = std::fabs(y0 - cy), d1 = std::fabs(y1 - cy);
    const double nearest = (y0 <= cy && cy <= y1) ? 0 : (d0 < d1 ? d0 : d1);
    const double farthest = d0 > d1 ? d0 : d1;
    e.widest = HalfWidth(a, b, nearest);
    e.narrowest = (y0 >= r.top && y1 <= r.bottom) ? HalfWidth(a, b, farthest) : 0;
    return e;
}

}  // namespace

void rubberBand_WipeLine(RubberShow show, ScenePoint a, ScenePoint b, int margin)
{
    const int top = (a.y < b.y ? a.y : b.y) - margin, bottom = (a.y > b.y ? a.y : b.y) + margin + 1;
    for (int y0 = top; y0 < bottom; y0 += kBand) {
        const int y1 = y0 + kBand < bottom ? y0 + kBand : bottom;
        // The part of the segment whose pen can reach the band's rows.
        double lowX, highX;
        if (a.y == b.y) {
            lowX = a.x < b.x ? a.x : b.x;
            highX = a.x > b.x ? a.x : b.x;
        } else {
            auto xAt = [&](double y) {
                double t = (y - a.y) / double(b.y - a.y);
                t = t < 0 ? 0 : (t > 1 ? 1 : t);
                return a.x + t * (b.x - a.x);
            };
            double x0 = xAt(y0 - margin), x1 = xAt(y1 + margin);
            lowX = x0 < x1 ? x0 : x1;
            highX = x0 > x1 ? x0 : x1;
        }
        Wipe(show, int(std::floor(lowX)) - margin, y0, int(std::ceil(highX)) + margin + 1, y1);
    }
}

void rubberBand_WipeFrame(RubberShow show, const RECT& r, int margin)
{
    const int m = margin + 1;
    Wipe(show, r.left - m, r.top - m, r.right + m, r.top + m);
    Wipe(show, r.left - m, r.bottom - 1 - m, r.right + m, r.bottom + m);
    Wipe(show, r.left - m, r.top + m, r.left + m, r.bottom - 1 - m);
    Wipe(show, r.right - 1 - m, r.top + m, r.right + m, r.bottom - 1 - m);
}

void rubberBand_WipeShape(RubberShow show, int shape, const RECT& before, const RECT* after, int margin)
{
    const RECT none = {0, 0, 0, 0};
    const RECT& now = after ? *after : none;
    switch (shape) {
    case SHAPE_RECT:
        rubberBand_WipeFrame(show, before, margin);
        return;
    case SHAPE_FILLED_RECT: {
        // What the new rectangle will not paint over: at most four pieces of the old one.
        RECT old = before;
        tb_InsetRect(&old, -margin, -margin);
        RECT keep;
        tb_IntersectRect(&keep, &old, &now);
        if (keep.right <= keep.left || keep.bottom <= keep.top) {
            Wipe(show, old.left, old.top, old.right, old.bottom);
            return;
        }
        Wipe(show, old.left, old.top, old.right, keep.top);
        Wipe(show, old.left, keep.bottom, old.right, old.bottom);
        Wipe(show, old.left, keep.top, keep.left, keep.bottom);
        Wipe(show, keep.right, keep.top, old.right, keep.bottom);
        return;
    }
    default: {
        // Ellipses, band by band: the old outline's (or the old disc's) columns on each side,
        // less what the new filled disc covers.
        const bool filled = shape == SHAPE_FILLED_ELLIPSE;
        const double cxOld = (before.left + before.right) / 2.0, cxNew = (now.left + now.right) / 2.0;
        const int top = before.top - margin, bottom = before.bottom + margin;
        for (int y0 = top; y0 < bottom; y0 += kBand) {
            const int y1 = y0 + kBand < bottom ? y0 + kBand : bottom;
            EllipseBand o = BandOf(before, y0, y1);
            if (!o.touches) continue;
            const int left = int(std::floor(cxOld - o.widest)) - margin, right = int(std::ceil(cxOld + o.widest)) + margin + 1;
            int innerLeft = int(std::ceil(cxOld - o.narrowest)) + margin, innerRight = int(std::floor(cxOld + o.narrowest)) - margin;
            if (filled) {
                // Inside the old disc everything goes, but for what the new disc paints again.
                EllipseBand n = after ? BandOf(now, y0, y1) : EllipseBand{0, 0, false};
                innerLeft = int(std::ceil(cxNew - n.narrowest)) + 1;
                innerRight = int(std::floor(cxNew + n.narrowest)) - 1;
                if (n.narrowest <= 0) innerLeft = innerRight = left;
            }
            if (innerRight - innerLeft <= 0) {
                Wipe(show, left, y0, right, y1);
            } else {
                Wipe(show, left, y0, innerLeft > right ? right : innerLeft, y1);
                Wipe(show, innerRight < left ? left : innerRight, y0, right, y1);
            }
        }
        return;
    }
    }
}

int rubberBand_PenReach(int width) { return width / 2 + 2; }

RECT rubberBand_Normalised(ScenePoint a, ScenePoint b)
{
    RECT r = {a.x < b.x ? a.x : b.x, a.y < b.y ? a.y : b.y, a.x > b.x ? a.x : b.x, a.y > b.y ? a.y : b.y};
    return r;
}

int shapePanel_ShapeAt(int px, int py, int current)
{
    int shape = current;
    for (int i = 0; i < SHAPE_COUNT; ++i) {
        RECT hit = kCells[i].cell;
        tb_InsetRect(&hit, -kCells[i].widen, 0);
        if (tb_PtInRect(px, py, &hit)) shape = i;
    }
    return shape;
}

void shapePanel_Draw(SceneObject* object, const RECT* rect)
{
    RECT whole = {0, 0, kPanelWidth, kPanelHeight};
    RECT r = whole;
    int panel = tb_CreateBitmap(&r, TB_SOURCE_BLANK, 24);
    if (panel < 0) return;
    tb_SetForeColor(panel, 65025, 65025, 65025);
    tb_SetBackColor(panel, 65025, 65025, 65025);
    tb_PaintRect(panel, &whole);
    for (int i = 0; i < SHAPE_COUNT; ++i) {
        if (object->mode == i) {
            tb_SetForeColor(panel, 0, 65025, 0);
            tb_SetBackColor(panel, 0, 65025, 0);
        } else {
            tb_SetForeColor(panel, 0, 0, 0);
            tb_SetBackColor(panel, 0, 0, 0);
        }
        DrawShape(panel, i, &kCells[i].cell);
    }
    tb_CopyBitmap(panel, object->sceneBitmap, &whole, rect);
    tb_DisposeBitmap(panel);
}

void shapePanel_Click(SceneObject* object, int x, int y, const RECT* rect)
{
    object->mode = shapePanel_ShapeAt(x - rect->left, y - rect->top, object->mode);
}

void ruler_Install(SceneObject* object)
{
    object->Press = RulerPress;
    object->Drag = RulerDrag;
    object->Release = RulerRelease;
    object->DrawOptions = sizePanel_DrawA;
    object->ClickOptions = sizePanel_ClickA;
}

void templates_Install(SceneObject* object)
{
    object->Press = TemplatesPress;
    object->Drag = TemplatesDrag;
    object->Release = TemplatesRelease;
    object->DrawOptions = shapePanel_Draw;
    object->ClickOptions = shapePanel_Click;
}
