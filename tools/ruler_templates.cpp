// The ruler and the templates work in window coordinates while the button is held: the preview
// is drawn straight onto the main window and wiped by copying the scene bitmap back; only the
// release converts the two end points to picture coordinates and draws into the picture.
#include "tools/ruler_templates.h"

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
    object->lastPoint = {x, y};
    object->active = 1;
    tb_SetCursor(object->cursorId);
}

void RulerPress(SceneObject* object, int x, int y) { Start(object, x, y); }

void TemplatesPress(SceneObject* object, int x, int y)
{
    tb_PlaySoundNoStop(TEMPLATES_SOUND);
    Start(object, x, y);
}

// Wipes the previous preview (the union of the old and new rectangles, grown by the pen) and
// draws the new one on the window.
void RubberDrag(SceneObject* object, int x, int y, bool ruler)
{
    if (!object->active) return;
    const int z = scene.zoomed ? 2 : 1;
    RECT before = rubberBand_Normalised(object->lastPoint, object->currentPoint);
    object->currentPoint = {x, y};
    RECT now = rubberBand_Normalised(object->lastPoint, object->currentPoint);
    RECT wipe;
    UnionRect(&wipe, &before, &now);
    InflateRect(&wipe, object->size * z, object->size * z);
    const int window = object->previewWindow;
    tb_CopyBitmap(object->sceneBitmap, window, &wipe, &wipe);
    SetColors(window, object);
    if (ruler)
        tb_Line(window, object->lastPoint.x, object->lastPoint.y, x, y, object->size * z);
    else
        DrawShape(window, object->mode, &now);
    tb_SetCursor(object->cursorId);
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
        InflateRect(&hit, kCells[i].widen, 0);
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
