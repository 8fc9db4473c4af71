// The dropper makes the picture's pixel under the pointer the current colour. The scissors draw
// a marquee on the window, take the marked part of the screen image as a piece, float it under the
// pointer and stamp copies into the picture (at half size while the picture is magnified).
#include "tools/dropper_scissors.h"

#include "toolbox.h"
#include "tools/effects.h"
#include "tools/ruler_templates.h"

ScissorsPiece scissorsPiece = {-1, {0, 0, 0, 0}};

namespace {

// ---------------------------------------------------------------- dropper

void Pick(SceneObject* object, int x, int y)
{
    tb_PlaySoundNoStop(DROPPER_SOUND);
    long red, green, blue;
    tb_GetPixelRGB(object->pictureBitmap, x, y, &red, &green, &blue);
    const SceneColor& now = scene.currentColor;
    // The paint blot already shows an unchanged colour.
    if (now.red != (unsigned)red || now.green != (unsigned)green || now.blue != (unsigned)blue)
        scene_SetCurrentColor((unsigned)red, (unsigned)green, (unsigned)blue, 1);
    tb_SetCursor(object->cursorId);
}

void DropperRelease(SceneObject* object, int x, int y) {}

// ---------------------------------------------------------------- scissors

int Larger(int a, int b) { return a > b ? a : b; }

bool HavePiece(void) { return scissorsPiece.bitmap >= 0 && tb_GetBitmapDIB(scissorsPiece.bitmap); }

void LeaveStampMode(SceneObject* object)
{
    object->active = 0;
    object->mode = 0;
    object->size = 1;
}

int ToPictureX(int x)
{
    int v = x - scene.layout.canvas.left;
    return scene.zoomed ? v / 2 + scene.scroll.x : v;
}

int ToPictureY(int y)
{
    int v = y - scene.layout.canvas.top;
    return scene.zoomed ? v / 2 + scene.scroll.y : v;
}

void ScissorsPress(SceneObject* object, int x, int y)
{
    if (!scene_OnCanvas(x, y)) return;
    object->lastPoint = {x, y};
    object->active = 1;
    if (object->mode == 1 && HavePiece()) {
        tb_PlaySound(STAMP_SOUND);
        int w, h;
        scissors_PieceSize(&w, &h);
        RECT d = scissors_PieceRect(x, y, w, h);
        // The press is the button going down: a tap that is already over by now stamps all the
        // same. Into the picture; the routing's refresh after the press shows it there.
        RECT inPicture = {ToPictureX(d.left), ToPictureY(d.top), ToPictureX(d.right), ToPictureY(d.bottom)};
        tb_CopyBitmap(scissorsPiece.bitmap, object->pictureBitmap, &scissorsPiece.rect, &inPicture);
        object->size = Larger(w, h);
    } else {
        object->currentPoint = {x, y};
    }
    tb_SetCursor(object->cursorId);
}

ScenePoint ClampToCanvas(int x, int y)
{
    const RECT& c = scene.layout.canvas;
    if (x < c.left) x = c.left;
    if (x > c.right - 1) x = c.right - 1;
    if (y < c.top) y = c.top;
    if (y > c.bottom - 1) y = c.bottom - 1;
    return {x, y};
}

RECT Normalised(ScenePoint a, ScenePoint b)
{
    RECT r = {a.x < b.x ? a.x : b.x, a.y < b.y ? a.y : b.y, a.x > b.x ? a.x : b.x, a.y > b.y ? a.y : b.y};
    return r;
}

void DrawMarquee(SceneObject* object, int x, int y)
{
    tb_PlaySoundNoStop(MARQUEE_SOUND);
    RECT before = Normalised(object->lastPoint, object->currentPoint);
    object->currentPoint = ClampToCanvas(x, y);
    RECT now = Normalised(object->lastPoint, object->currentPoint);
    (void)now;
    // Only the old marquee's four sides go back to the scene: the same sight as wiping the union
    // of the old and new rectangles.
    rubberBand_WipeFrame(scene_ShowRect, before, object->size);
    tb_SetForeColor(object->previewWindow, 0, 0, 0);
    tb_SetBackColor(object->previewWindow, 0, 0, 0);
    tb_FrameRect(object->previewWindow, &now);
}

void FloatPiece(SceneObject* object, int x, int y)
{
    int w, h;
    scissors_PieceSize(&w, &h);
    const int window = object->previewWindow;
    RECT before = scissors_PieceRect(object->currentPoint.x, object->currentPoint.y, w, h);
    scene_ShowRect(&before);  // the piece is wiped with the scene bitmap's view of the picture
    RECT now = scissors_PieceRect(x, y, w, h);
    tb_CopyBitmap(scissorsPiece.bitmap, window, &scissorsPiece.rect, &now);
    tb_SetForeColor(window, 0, 0, 0);
    tb_SetBackColor(window, 0, 0, 0);
    tb_FrameRect(window, &now);
    object->size = Larger(w, h);
    object->currentPoint = {x, y};
    if (tb_IsKeyDown('C')) {
        // C leaves stamp mode; the piece just drawn goes from the window with it.
        LeaveStampMode(object);
        scene_ShowRect(&now);
    }
}

void ScissorsDrag(SceneObject* object, int x, int y)
{
    if (!object->active) return;
    if (object->mode == 0) {
        if (tb_IsMouseDown()) DrawMarquee(object, x, y);
    } else if (object->mode == 1 && HavePiece()) {
        FloatPiece(object, x, y);
    }
}

void ScissorsRelease(SceneObject* object, int x, int y)
{
    if (!object->active) return;
    if (!scene_OnCanvas(x, y)) {
        LeaveStampMode(object);
        return;
    }
    if (object->mode != 0) return;  // the next press stamps another copy
    object->currentPoint = {x, y};
    RECT r = Normalised(object->lastPoint, object->currentPoint);
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 7 || h <= 7) {
        LeaveStampMode(object);
        return;
    }
    scene_CatchUpView(&r);  // the piece is cut from the scene bitmap's view of the picture
    tb_CopyBitmap(object->sceneBitmap, object->previewWindow, &r, &r);
    RECT pieceRect = {0, 0, w, h};
    scissors_DisposePiece();
    RECT create = pieceRect;
    scissorsPiece.bitmap = tb_CreateBitmap(&create, TB_SOURCE_BLANK, 24);
    if (scissorsPiece.bitmap < 0) {
        LeaveStampMode(object);
        return;
    }
    scissorsPiece.rect = pieceRect;
    tb_CopyBitmap(object->sceneBitmap, scissorsPiece.bitmap, &r, &pieceRect);
    object->mode = 1;
    object->size = Larger(w, h);
    tb_PlaySound(PIECE_TAKEN_SOUND);
}

}  // namespace

void scissors_PieceSize(int* width, int* height)
{
    *width = HavePiece() ? scissorsPiece.rect.right - scissorsPiece.rect.left : 0;
    *height = HavePiece() ? scissorsPiece.rect.bottom - scissorsPiece.rect.top : 0;
}

void scissors_DisposePiece(void)
{
    if (scissorsPiece.bitmap >= 0 && tb_GetBitmapDIB(scissorsPiece.bitmap)) tb_DisposeBitmap(scissorsPiece.bitmap);
    scissorsPiece.bitmap = -1;
    tb_SetRect(&scissorsPiece.rect, 0, 0, 0, 0);
}

RECT scissors_PieceRect(int x, int y, int w, int h)
{
    RECT r = {x - w / 2, y - h / 2, x - w / 2 + w, y - h / 2 + h};
    return r;
}

void dropper_Install(SceneObject* object)
{
    object->Press = Pick;
    object->Drag = Pick;
    object->Release = DropperRelease;
}

void scissors_Install(SceneObject* object)
{
    object->Press = ScissorsPress;
    object->Drag = ScissorsDrag;
    object->Release = ScissorsRelease;
}
