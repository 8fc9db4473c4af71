// The scene object record's default slots and the scene-wide state that goes with the table.
#include "scene/scene.h"

#include "toolbox.h"
#include "tools/effects.h"

SceneState scene;

SceneObject* scene_DefaultConstruct(SceneObject* object, int sceneBitmap, int pictureBitmap)
{
    object->group = 0;
    object->cursorId = 0;
    object->imageId = -1;
    object->maskId = -1;
    object->size = 4;
    object->red = 0;
    object->green = 0;
    object->blue = 0;
    SetRect(&object->bounds, 0, 0, 0, 0);
    object->active = 0;
    object->sceneBitmap = sceneBitmap;
    object->pictureBitmap = pictureBitmap;
    object->lastPoint = {0, 0};
    object->currentPoint = {0, 0};
    object->mode = 0;
    object->region = -1;
    object->previewWindow = -1;
    object->soundId = 0;

    object->Construct = scene_DefaultConstruct;
    object->HitTest = scene_DefaultHitTest;
    object->Press = scene_DefaultPress;
    object->Drag = scene_DefaultDrag;
    object->Release = scene_DefaultRelease;
    object->Draw = scene_DefaultDraw;
    object->DrawOptions = scene_DefaultDrawOptions;
    object->ClickOptions = scene_DefaultClickOptions;
    object->SetColor = scene_DefaultSetColor;
    object->Destroy = scene_DefaultDestroy;
    return object;
}

int scene_DefaultHitTest(SceneObject* object, int x, int y)
{
    const RECT& b = object->bounds;
    return x >= b.left && x < b.right && y >= b.top && y < b.bottom;
}

// ---------------------------------------------------------------- the default pen

static void PenColors(SceneObject* object)
{
    tb_SetForeColor(object->pictureBitmap, object->red, object->green, object->blue);
    tb_SetBackColor(object->pictureBitmap, object->red, object->green, object->blue);
}

void scene_DefaultPress(SceneObject* object, int x, int y)
{
    if (object->soundId != 0) tb_LoopSound(object->soundId);
    PenColors(object);
    object->lastPoint = {x, y};
    if (object->size == 1)
        tb_SetPixelRGB(object->pictureBitmap, x, y, object->red, object->green, object->blue);
    else
        tb_Line(object->pictureBitmap, x, y, x, y, object->size);  // a round dot as wide as the pen
    object->active = 1;
    tb_SetCursor(object->cursorId);
}

void scene_DefaultDrag(SceneObject* object, int x, int y)
{
    if (!object->active) return;
    object->currentPoint = {x, y};
    PenColors(object);
    tb_Line(object->pictureBitmap, object->lastPoint.x, object->lastPoint.y, x, y, object->size);
    object->lastPoint = object->currentPoint;
    tb_SetCursor(object->cursorId);
}

void scene_DefaultRelease(SceneObject* object, int x, int y)
{
    if (!object->active) return;
    object->lastPoint = {x, y};
    object->currentPoint = {x, y};
    object->active = 0;
    tb_StopSound();
}

// ---------------------------------------------------------------- pictures and the monitor

void scene_DefaultDraw(SceneObject* object)
{
    if (object->imageId == -1 || object->maskId == -1) return;
    RECT imageRect = {0, 0, 0, 0}, maskRect = {0, 0, 0, 0};
    int image = tb_CreateBitmap(&imageRect, object->imageId, 24);
    int mask = tb_CreateBitmap(&maskRect, object->maskId, 8);
    if (image >= 0 && mask >= 0)
        tb_CopyBitmapMasked(image, mask, object->sceneBitmap, &imageRect, &maskRect, &object->bounds);
    if (image >= 0) tb_DisposeBitmap(image);
    if (mask >= 0) tb_DisposeBitmap(mask);
}

void scene_DefaultDrawOptions(SceneObject* object, const RECT* options)
{
    RECT monitorRect = {0, 0, 0, 0};
    int monitor = tb_CreateBitmap(&monitorRect, SCENE_PIC_MONITOR, 24);
    if (monitor < 0) return;
    tb_CopyBitmap(monitor, object->sceneBitmap, &monitorRect, options);
    tb_DisposeBitmap(monitor);
}

void scene_DefaultClickOptions(SceneObject* object, int x, int y, const RECT* options) {}

void scene_DefaultSetColor(SceneObject* object, unsigned red, unsigned green, unsigned blue)
{
    object->red = red;
    object->green = green;
    object->blue = blue;
}

void scene_DefaultDestroy(SceneObject* object)
{
    if (object->region == -1) return;
    tb_DisposeRegion(object->region);
    object->region = -1;
}
