// The bump patterns lighten and darken the picture along a height map tiled from the picture's
// top-left corner, so that crossing strokes line up. The tiled map (the relief bitmap) is built
// once at the press and freed at the release; each dab only does the per-pixel work of its square.
#include "tools/bump.h"

#include "toolbox.h"
#include "tools/brush.h"

namespace {

const int kBarTop = 9, kBarBottom = 73;

int Half(int size) { return size / 2 >= 1 ? size / 2 : 1; }

void FreeRelief(SceneObject* object)
{
    if (object->previewWindow >= 0 && tb_GetBitmapDIB(object->previewWindow)) tb_DisposeBitmap(object->previewWindow);
    object->previewWindow = -1;
}

void Dab(SceneObject* object, int x, int y, int strength)
{
    const int h = Half(object->size);
    RECT square = {x - h, y - h, x + h, y + h};
    tb_BumpMap(object->pictureBitmap, object->previewWindow, &square, strength, BUMP_SHIFT);
}

void BumpPress(SceneObject* object, int x, int y)
{
    tb_LoopSound(BUMP_SOUND);
    FreeRelief(object);  // a stroke that never saw its release
    RECT picture;
    tb_GetBitmapRect(object->pictureBitmap, &picture);
    object->previewWindow = tb_CreateTiledBitmap(&picture, object->mode);
    if (object->previewWindow >= 0) Dab(object, x, y, BUMP_FIRST_STRENGTH);
    object->active = 1;
    tb_SetCursor(object->cursorId);
}

void BumpDrag(SceneObject* object, int x, int y)
{
    if (!object->active || object->previewWindow < 0) return;
    Dab(object, x, y, BUMP_STRENGTH);
    tb_SetCursor(object->cursorId);
}

void BumpRelease(SceneObject* object, int x, int y)
{
    if (!object->active) return;
    object->active = 0;
    FreeRelief(object);
    tb_StopSound();
}

// A re-layout or the shutdown in the middle of a stroke still gives the relief back.
void BumpDestroy(SceneObject* object)
{
    FreeRelief(object);
    scene_DefaultDestroy(object);
}

}  // namespace

void panelE_Draw(SceneObject* object, const RECT* rect) { barPanel_Draw(object, rect, panelE); }

void panelE_Click(SceneObject* object, int x, int y, const RECT* rect)
{
    object->size = barPanel_SizeAt(panelE, kBarTop, kBarBottom, x - rect->left, y - rect->top, object->size);
}

void bump_Install(SceneObject* object)
{
    object->Press = BumpPress;
    object->Drag = BumpDrag;
    object->Release = BumpRelease;
    object->Destroy = BumpDestroy;
    object->DrawOptions = panelE_Draw;
    object->ClickOptions = panelE_Click;
}
